#include "TrackingScope.h"

#include <utility>

#include "CFrame.h"

namespace gui {

TrackingScope::TrackingScope(CFrame* frame, CView* view, std::function<void()> onEnd)
    : frame(frame), view(view), onEnd(std::move(onEnd)) {
  if (frame) frame->holdForTracking();
  if (view) view->remember();
}

TrackingScope::~TrackingScope() {
  if (onEnd) onEnd();
  // The frame first: when it goes, it releases its views, and the tracking view outlives it.
  if (frame) frame->releaseFromTracking();
  if (view) view->forget();
}

bool TrackingScope::frameAlive() const { return !frame || !frame->isTrackingAbandoned(); }

}  // namespace gui
