// The parameters of an effect in the same process, as the editor reaches them: every call
// goes to the effect's own operation.
#pragma once

#include "EditorParameters.h"

class AudioEffect;
class AudioEffectX;

class EffectParameters final : public EditorParameters {
 public:
  // Gestures reach a host only through an extended effect; a plain one hears values only.
  explicit EffectParameters(AudioEffect* effect);

  float getParameter(int32_t index) override;
  void setParameterAutomated(int32_t index, float value) override;
  void getParameterDisplay(int32_t index, char* text) override;
  void beginEdit(int32_t index) override;
  void endEdit(int32_t index) override;

 private:
  AudioEffect* effect;
  AudioEffectX* effectX;
};
