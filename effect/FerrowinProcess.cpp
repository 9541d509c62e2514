// The signal chain, run once per sample frame, and the MIDI key tracking.
#include <cmath>

#include "DenormalGuard.h"
#include "FastChain.h"
#include "Ferrowin.h"

void Ferrowin::setSampleRate(float rateHz) {
  // A rate that is not a positive number would turn every coefficient into NaN.
  if (!(rateHz > 0.0f) || !std::isfinite(rateHz)) return;
  applyParameterChanges();
  AudioEffectX::setSampleRate(rateHz);
  filterLeft.setSampleRate(rateHz);
  filterRight.setSampleRate(rateHz);
  oscillator.setSampleRate(rateHz);
  follower1.setSampleRate(rateHz);
  follower2.setSampleRate(rateHz);
}

bool Ferrowin::buffersUsable(float** inputs, float** outputs, VstInt32 sampleFrames) {
  return inputs != nullptr && outputs != nullptr && inputs[0] != nullptr && outputs[0] != nullptr &&
         sampleFrames > 0;
}

void Ferrowin::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  if (!buffersUsable(inputs, outputs, sampleFrames)) return;
  applyParameterChanges();
  const FastChain::Modules modules = chainModules();
  if (!FastChain::accepts(modules, inputs[0], inputs[1], outputs[0], outputs[1], sampleFrames)) {
    processModuleChain(inputs, outputs, sampleFrames);
    return;
  }
  const DenormalGuard denormalGuard;
  FastChain chain(modules, chainSettings());
  chain.run(inputs[0], inputs[1], outputs[0], outputs[1], sampleFrames, instructionSet);
  chain.store();
}

FastChain::Modules Ferrowin::chainModules() {
  return {follower1, follower2, noise, oscillator, shaper, filterLeft, filterRight};
}

FastChain::Settings Ferrowin::chainSettings() const {
  return {dry2Filter, dryLevel, followerControls()};
}

FollowerControls Ferrowin::followerControls() const {
  return {noiseAmount,    oscAmount,  ef1NoiseDepth,   ef1OscDepth,
          ef2CutoffDepth, ef2FmDepth, filterKeyOffset, oscKeyOffset};
}

// The chain module by module, as the algorithm reads; the fast path gives the same bits.
void Ferrowin::processModuleChain(float** inputs, float** outputs, VstInt32 sampleFrames) {
  if (!buffersUsable(inputs, outputs, sampleFrames)) return;
  applyParameterChanges();
  const DenormalGuard denormalGuard;
  const float* inLeft = inputs[0];
  const float* inRight = inputs[1];  // may be null: mono input
  float* outLeft = outputs[0];
  float* outRight = outputs[1];  // may be null: only the left output is written

  const FollowerControls controls = followerControls();
  for (VstInt32 n = 0; n < sampleFrames; ++n) {
    // Both inputs are read before any output is written, so in-place buffers work.
    const float x0 = sample::finiteOrZero(inLeft[n]);
    const float x1 = inRight ? sample::finiteOrZero(inRight[n]) : x0;
    float dry[2] = {x0, x1};
    float generator[2] = {dry2Filter * x0, dry2Filter * x1};

    follower1.process(dry);
    follower2.process(dry);
    FollowerControls::write(controls.of(follower1.envelope, follower2.envelope),
                            NoiseOscilator::sideOf(x0, x1), noise, oscillator, filterLeft,
                            filterRight);
    noise.process(generator);
    oscillator.process(generator);
    shaper.process(generator);
    filterLeft.process(&generator[0]);
    filterRight.process(&generator[1]);
    MoogFilter::restartIfNotFinite(generator[0], filterLeft);
    MoogFilter::restartIfNotFinite(generator[1], filterRight);

    outLeft[n] = dry[0] * dryLevel + generator[0];
    if (outRight) outRight[n] = dry[1] * dryLevel + generator[1];
  }
}

VstInt32 Ferrowin::processEvents(VstEvents* events) {
  applyParameterChanges();
  // The list is declared with two entries but holds numEvents: indexing the declared array past
  // two would be undefined, reading through a pointer is not.
  VstEvent* const* list = events->events;
  for (VstInt32 i = 0; i < events->numEvents; ++i) {
    const VstEvent* event = list[i];
    if (event == nullptr || event->type != kVstMidiType) continue;
    const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
    const int status = static_cast<unsigned char>(midi->midiData[0]) & 0xf0;  // any channel
    const int data1 = midi->midiData[1] & 0x7f;
    const int data2 = midi->midiData[2] & 0x7f;
    if (status == 0x90 && data2 > 0) {
      trackKey(data1);
    } else if (status == 0x80 || status == 0x90) {
      if (data1 == trackedNote) filterKeyOffset = oscKeyOffset = 0.0f;
    } else if (status == 0xb0 && (data1 == 123 || data1 == 126)) {  // all notes off, mono on
      filterKeyOffset = oscKeyOffset = 0.0f;
    }
  }
  return 1;
}

// The offsets are taken once, at the note-on, against the cutoff and note of that moment.
void Ferrowin::trackKey(int key) {
  const float cutoffHz = filterLeft.cutoffHz;
  const float keyHz = noteTable->frequency[key];
  trackedNote = key;
  // Equals filterKeyTrack x (keyHz - cutoffHz) x 2 / rate: at 1 the cutoff moves to the key.
  filterKeyOffset =
      ((1.0f - filterKeyTrack) * (cutoffHz - keyHz) + keyHz - cutoffHz) * 2.0f / sampleRate;
  oscKeyOffset = (keyHz - oscillator.baseFrequency) * oscKeyTrack;
}
