// The oscillator's frequency as the note display shows it. The effect writes eight characters
// ("34.64782"), more than a 30-pixel display holds: centred and clipped at both edges it would
// read as another number ("4.6478"). The display gets the same frequency rounded to at most
// five characters instead, which fit.
#pragma once

// Rewrites text, a frequency in Hz, with four significant digits ("34.65", "440.0", "1047")
// and whole hertz from 10 kHz up ("12544"). Text that is not a finite number (a word such as
// "Huge!") stays as it is. text holds at least 16 bytes (a display's buffer holds 256).
void fitFrequencyText(char* text);
