// Settings that keep every path of the effect's chain busy: oscillator and noise on and
// modulated by the first follower, cutoff and frequency moved by the second, key tracking on.
// Shared by the chain's tests and the benchmarks, so it lives beside the effect.
#pragma once

#include <utility>

#include "Ferrowin.h"

inline void setEveryModulation(Ferrowin& effect) {
  const std::pair<int, float> settings[] = {
      {kOscAmount, 0.8f},      {kOscNote, 0.45f},   {kOscWave, 0.6f},    {kNoiseAmount, 0.7f},
      {kNoiseColor, 0.4f},     {kCutoff, 0.55f},    {kResonance, 0.7f},  {kFilterType, 0.0f},
      {kEf1Smooth, 0.05f},     {kEf1OscAm, 0.9f},   {kEf1NoiseAm, 0.2f}, {kEf2Smooth, 0.2f},
      {kEf2Cutoff, 0.8f},      {kEf2OscFm, 0.7f},   {kDry2Filter, 0.6f}, {kDry, 0.7f},
      {kFilterKeyTrack, 0.5f}, {kOscKeyTrack, 0.5f}};
  for (const auto& [index, value] : settings) effect.setParameter(index, value);
}
