// What a control tells its owner: value changes, modifier clicks and the begin and end of a
// user gesture.
#pragma once

#include <cstdint>

#include "MouseEvents.h"

namespace gui {

class CControl;

class CControlListener {
 public:
  virtual ~CControlListener() = default;
  virtual void valueChanged(CControl* control) = 0;
  // 0: the control handles the click itself; any other answer: the listener has taken it.
  virtual int32_t controlModifierClicked(CControl* /*control*/, CButtonState /*buttons*/) {
    return 0;
  }
  virtual void controlBeginEdit(CControl* /*control*/) {}
  virtual void controlEndEdit(CControl* /*control*/) {}
};

}  // namespace gui
