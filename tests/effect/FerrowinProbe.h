// Lets tests see the effect's working values and modules, which are private to it, as the
// audio side sees them: with every parameter change set so far applied.
#pragma once

#include "Ferrowin.h"

struct FerrowinProbe {
  explicit FerrowinProbe(Ferrowin& observed) : effect(observed) {}

  const NoteTable& noteTable() const { return *effect.noteTable; }
  EnvelopeFollover& follower1() const { return applied().follower1; }
  EnvelopeFollover& follower2() const { return applied().follower2; }
  NoiseOscilator& noise() const { return applied().noise; }
  MoogFilter& filterLeft() const { return applied().filterLeft; }
  MoogFilter& filterRight() const { return applied().filterRight; }
  FMOscilator& oscillator() const { return applied().oscillator; }
  WaveShaper& shaper() const { return applied().shaper; }
  FastChain::Modules chainModules() const { return applied().chainModules(); }
  FastChain::Settings chainSettings() const { return applied().chainSettings(); }
  InstructionSet& instructionSet() const { return applied().instructionSet; }

  VstInt32 trackedNote() const { return applied().trackedNote; }
  float noiseAmount() const { return applied().noiseAmount; }
  float oscAmount() const { return applied().oscAmount; }
  float ef2CutoffDepth() const { return applied().ef2CutoffDepth; }
  float ef2FmDepth() const { return applied().ef2FmDepth; }
  float ef1OscDepth() const { return applied().ef1OscDepth; }
  float ef1NoiseDepth() const { return applied().ef1NoiseDepth; }
  float dry2Filter() const { return applied().dry2Filter; }
  float dryLevel() const { return applied().dryLevel; }
  float filterKeyOffset() const { return applied().filterKeyOffset; }
  float oscKeyOffset() const { return applied().oscKeyOffset; }

  Ferrowin& applied() const {
    effect.applyParameterChanges();
    return effect;
  }

  Ferrowin& effect;
};
