// Lets tests see the effect's working values and modules, which are private to it.
#pragma once

#include "Ferrowin.h"

struct FerrowinProbe {
  explicit FerrowinProbe(Ferrowin& observed) : effect(observed) {}

  const NoteTable& noteTable() const { return *effect.noteTable; }
  EnvelopeFollover& follower1() const { return effect.follower1; }
  EnvelopeFollover& follower2() const { return effect.follower2; }
  NoiseOscilator& noise() const { return effect.noise; }
  MoogFilter& filterLeft() const { return effect.filterLeft; }
  MoogFilter& filterRight() const { return effect.filterRight; }
  FMOscilator& oscillator() const { return effect.oscillator; }
  WaveShaper& shaper() const { return effect.shaper; }
  FastChain::Modules chainModules() const { return effect.chainModules(); }
  FastChain::Settings chainSettings() const { return effect.chainSettings(); }
  FastChain::InstructionSet& instructionSet() const { return effect.instructionSet; }

  VstInt32 trackedNote() const { return effect.trackedNote; }
  float noiseAmount() const { return effect.noiseAmount; }
  float oscAmount() const { return effect.oscAmount; }
  float ef2CutoffDepth() const { return effect.ef2CutoffDepth; }
  float ef2FmDepth() const { return effect.ef2FmDepth; }
  float ef1OscDepth() const { return effect.ef1OscDepth; }
  float ef1NoiseDepth() const { return effect.ef1NoiseDepth; }
  float dry2Filter() const { return effect.dry2Filter; }
  float dryLevel() const { return effect.dryLevel; }
  float filterKeyOffset() const { return effect.filterKeyOffset; }
  float oscKeyOffset() const { return effect.oscKeyOffset; }

  Ferrowin& effect;
};
