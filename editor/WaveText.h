// The oscillator's waveform as the wave display shows it. The effect names a morph with seven
// characters ("tri-saw"), about 32 pixels in the display's font: centred in a 30-pixel display
// it would be clipped to "ri-sav" and written over the display's outline. The display shows
// two letters of each waveform instead ("tr-sa"), which fit inside the outline.
#pragma once

// Rewrites the effect's waveform name in place: a morph "aaa-bbb" becomes "aa-bb"; a single
// waveform ("sin") and any other text stay as they are. text is terminated.
void fitWaveText(char* text);
