#include "FMOscilator.h"

#include "RoundedMath.h"

namespace {

const char* waveformName(std::int32_t wave) {
  switch (wave) {
    case 0:
      return "sin";
    case 1:
      return "tri";
    case 2:
      return "saw";
    default:
      return "sqr";
  }
}

// Appends text to the terminated buffer of the given capacity, cutting it short if needed.
void append(char* buffer, int capacity, const char* text) {
  int end = 0;
  while (buffer[end] != '\0') ++end;
  while (*text != '\0' && end < capacity - 1) buffer[end++] = *text++;
  buffer[end] = '\0';
}

}  // namespace

FMOscilator::FMOscilator()
    : stepsPerHz(static_cast<float>(FMWavetables::kLength) / sampleRate),
      wavetables(&FMWavetables::instance()) {
  channelCount = 2;
  const float pi = 3.14159265f;
  for (std::int32_t k = 0; k < clickLength; ++k) {
    clickTable[k] = -0.5f * rounded::cos(pi * static_cast<float>(k) / clickLength);
  }
}

FMOscilator::Morph FMOscilator::morphOf(float x) {
  // Outside 0..1 (or NaN) the truncations below could overflow.
  if (!(x >= 0.0f)) x = 0.0f;
  if (x > 1.0f) x = 1.0f;
  const float m = x * 3.0f;
  const auto waveA = static_cast<std::int32_t>(m);
  // Within 0.01 above a whole number the morph stays on one waveform and one name.
  return {waveA, static_cast<std::int32_t>(m + 0.99f), m - static_cast<float>(waveA)};
}

void FMOscilator::nameWaveform(float x, char (&name)[8]) {
  const Morph morph = morphOf(x);
  name[0] = '\0';
  append(name, sizeof name, waveformName(morph.waveA));
  if (morph.waveA != morph.waveB) {
    append(name, sizeof name, "-");
    append(name, sizeof name, waveformName(morph.waveB));
  }
}

void FMOscilator::setWaveform(float x) {
  waveformValue = x;
  const Morph morph = morphOf(x);
  waveA = morph.waveA;
  waveB = morph.waveB;
  weightB = morph.weightB;
  weightA = 1.0f - weightB;
  nameWaveform(x, waveName);
}

void FMOscilator::setSampleRate(float rateHz) {
  sampleRate = rateHz;
  if (rateHz > 0.0f) stepsPerHz = static_cast<float>(FMWavetables::kLength) / rateHz;
}
