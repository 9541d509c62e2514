// Told by a frame when the mouse enters or leaves one of its views.
#pragma once

namespace gui {

class CFrame;
class CView;

class CMouseObserver {
 public:
  virtual ~CMouseObserver() = default;
  virtual void onMouseEntered(CView* view, CFrame* frame) = 0;
  virtual void onMouseExited(CView* view, CFrame* frame) = 0;
};

}  // namespace gui
