// What the editor asks of whoever holds the parameters: the effect in the same process, or a
// user interface that reaches a plug-in elsewhere through its host. Values are normalized,
// 0..1; index is a parameter index.
#pragma once

#include <cstdint>

class EditorParameters {
 public:
  virtual ~EditorParameters() = default;

  virtual float getParameter(int32_t index) = 0;
  // The user set value; the holder stores it and tells the host.
  virtual void setParameterAutomated(int32_t index, float value) = 0;
  // The parameter's display text, at most 8 characters and the terminator.
  virtual void getParameterDisplay(int32_t index, char* text) = 0;
  // A gesture on the parameter begins or ends (a drag, a click).
  virtual void beginEdit(int32_t index) = 0;
  virtual void endEdit(int32_t index) = 0;
};
