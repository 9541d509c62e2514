// Keeps a frame and the view that tracks a press alive for as long as a blocking tracking loop
// runs on them, and ends the gesture once, however the loop ends: the buttons released, the
// frame's window destroyed, or the editor closed from inside an idle call of the loop (the host
// may close it from its idle callback). The last reference may then go when the scope ends.
#pragma once

#include <functional>

namespace gui {

class CFrame;
class CView;

class TrackingScope {
 public:
  // frame and view may be null; onEnd runs first when the scope ends.
  TrackingScope(CFrame* frame, CView* view, std::function<void()> onEnd);
  ~TrackingScope();
  TrackingScope(const TrackingScope&) = delete;
  TrackingScope& operator=(const TrackingScope&) = delete;

  // False once the frame's window is gone or nobody but tracking loops holds the frame.
  bool frameAlive() const;

 private:
  CFrame* frame;
  CView* view;
  std::function<void()> onEnd;
};

}  // namespace gui
