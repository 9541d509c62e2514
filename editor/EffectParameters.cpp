#include "EffectParameters.h"

#include "AudioEffectX.h"

EffectParameters::EffectParameters(AudioEffect* effect)
    : effect(effect), effectX(dynamic_cast<AudioEffectX*>(effect)) {}

float EffectParameters::getParameter(int32_t index) {
  return effect ? effect->getParameter(index) : 0.0f;
}

void EffectParameters::setParameterAutomated(int32_t index, float value) {
  if (effect) effect->setParameterAutomated(index, value);
}

void EffectParameters::getParameterDisplay(int32_t index, char* text) {
  if (effect)
    effect->getParameterDisplay(index, text);
  else
    *text = 0;
}

void EffectParameters::beginEdit(int32_t index) {
  if (effectX) effectX->beginEdit(index);
}

void EffectParameters::endEdit(int32_t index) {
  if (effectX) effectX->endEdit(index);
}
