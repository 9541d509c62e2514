#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "CKnob.h"
#include "COnOffButton.h"
#include "CVerticalSlider.h"
#include "ControlTestSupport.h"

namespace gui {
namespace {

using test::FrameWithEditor;
using test::Log;
using test::LoggingListener;

enum class Ending { Release, WindowDestroyed, EditorClosed };

const char* nameOf(Ending ending) {
  switch (ending) {
    case Ending::Release:
      return "release";
    case Ending::WindowDestroyed:
      return "window destroyed";
    case Ending::EditorClosed:
      return "editor closed";
  }
  return "";
}

// A press held in the middle of the frame; on the third idle call of the tracking loop the
// gesture ends the given way.
struct HeldPress {
  HeldPress(Ending ending) : listener(&log), host(&log) {
    knob = host.add(new CKnob(CRect(100, 100, 132, 132), &listener, 1, nullptr));
    slider = host.add(new CVerticalSlider(CRect(200, 100, 216, 260), &listener, 2, 100, 230,
                                          nullptr, nullptr, CPoint(0, 0), kVertical | kBottom));
    headless::setMouseButtons(kLButton);
    headless::setCursorScreenPosition(CPoint(116, 100));
    host.editor.onIdle = [this, ending] {
      if (++idleCalls != 3) return;
      switch (ending) {
        case Ending::Release:
          headless::setMouseButtons(0);
          break;
        case Ending::WindowDestroyed:
          headless::destroyWindowFromOutside(host.frame->getWindow());
          break;
        case Ending::EditorClosed:
          host.frame->forget();
          host.frame = nullptr;
          break;
      }
    };
  }
  int64_t count(const std::string& entry) const {
    return std::count(log.begin(), log.end(), entry);
  }

  Log log;
  LoggingListener listener;
  FrameWithEditor host;
  CKnob* knob = nullptr;
  CSlider* slider = nullptr;
  int idleCalls = 0;
};

TEST(GestureLifetime, TrackingLoopsEndEveryWayWithOneEndPerBegin) {
  const struct {
    const char* name;
    int32_t tag;
    std::function<void(HeldPress&)> track;
  } trackers[] = {
      {"frame", 1,
       [](HeldPress& p) {
         CPoint where(116, 116);
         p.host.frame->mouse(nullptr, where, kLButton);
       }},
      {"knob", 1,
       [](HeldPress& p) {
         CDrawContext* context = p.host.frame->createDrawContext();
         CPoint where(116, 116);
         p.knob->mouse(context, where, kLButton);
         context->forget();
       }},
      {"slider", 2,
       [](HeldPress& p) {
         CDrawContext* context = p.host.frame->createDrawContext();
         CPoint where(208, 180);
         p.slider->mouse(context, where, kLButton);
         context->forget();
       }},
  };
  for (const auto& tracker : trackers) {
    for (Ending ending : {Ending::Release, Ending::WindowDestroyed, Ending::EditorClosed}) {
      HeldPress press(ending);
      tracker.track(press);
      const std::string begin = test::format("host begin %d", tracker.tag);
      const std::string end = test::format("host end %d", tracker.tag);
      const std::string what = std::string(tracker.name) + ", " + nameOf(ending);
      EXPECT_EQ(press.count(begin), 1) << what;
      EXPECT_EQ(press.count(end), 1) << what;
      EXPECT_EQ(press.log.back(), test::format("listener end %d", tracker.tag)) << what;
      EXPECT_EQ(press.idleCalls, 3) << what << ": the loop ends at once";
      if (ending == Ending::EditorClosed) {
        EXPECT_EQ(headless::liveWindowCount(), 0) << what << ": the frame went with the loop";
      }
    }
  }
}

TEST(GestureLifetime, DragIsFollowedAndReportedBetweenBeginAndEnd) {
  HeldPress press(Ending::Release);
  press.host.editor.onIdle = [&] {
    // Up the slider's track, one step per idle call, then release.
    if (++press.idleCalls == 3) headless::setMouseButtons(0);
    headless::setCursorScreenPosition(CPoint(208, 180 - 13 * press.idleCalls));
  };
  headless::setCursorScreenPosition(CPoint(208, 180));
  CDrawContext* context = press.host.frame->createDrawContext();
  CPoint where(208, 180);
  press.slider->mouse(context, where, kLButton);
  context->forget();
  // Without a handle the pointer holds the track at 99: 13 pixels are a tenth.
  EXPECT_EQ(press.log,
            (Log{"listener begin 2", "host begin 2", "changed 2 0.3769", "idle", "changed 2 0.4769",
                 "idle", "changed 2 0.5769", "idle", "host end 2", "listener end 2"}));
}

TEST(GestureLifetime, WindowDestroyedDuringACapturedDragEndsIt) {
  Log log;
  LoggingListener listener(&log);
  auto host = std::make_unique<FrameWithEditor>(&log);
  host->add(new CKnob(CRect(100, 100, 132, 132), &listener, 1, nullptr));
  CPoint where(116, 102);
  ASSERT_EQ(host->frame->onMouseDown(where, kLButton), kMouseEventHandled);
  EXPECT_EQ(headless::classUseCount(), 1);
  headless::destroyWindowFromOutside(host->frame->getWindow());
  EXPECT_EQ(host->frame->getWindow(), nullptr) << "no dead handle is kept";
  EXPECT_FALSE(host->frame->getOpenFlag());
  EXPECT_EQ(log.back(), "listener end 1");
  CPoint later(120, 110);
  host->frame->onMouseUp(later, 0);  // a late release finds no gesture
  host->frame->invalid();
  EXPECT_EQ(std::count(log.begin(), log.end(), "host end 1"), 1);
  host.reset();
  EXPECT_EQ(headless::classUseCount(), 0) << "the window class is given up with the frame";
}

TEST(GestureLifetime, FrameDestroyedDuringACapturedDragEndsIt) {
  Log log;
  LoggingListener listener(&log);
  auto host = std::make_unique<FrameWithEditor>(&log);
  host->add(new CKnob(CRect(100, 100, 132, 132), &listener, 1, nullptr));
  CPoint where(116, 102);
  host->frame->onMouseDown(where, kLButton);
  host.reset();
  EXPECT_EQ(std::count(log.begin(), log.end(), "host end 1"), 1);
}

TEST(GestureLifetime, ButtonSurvivesTheEditorClosingInItsIdlePass) {
  Log log;
  LoggingListener listener(&log);
  FrameWithEditor host(&log);
  auto* button = host.add(new COnOffButton(CRect(0, 0, 26, 18), &listener, 7, nullptr));
  host.editor.onIdle = [&] {
    host.frame->forget();
    host.frame = nullptr;
  };
  CPoint where(3, 3);
  EXPECT_EQ(button->onMouseDown(where, kLButton), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
  EXPECT_EQ(log, (Log{"idle", "listener begin 7", "host begin 7", "changed 7 1.0000", "host end 7",
                      "listener end 7"}));
  EXPECT_EQ(headless::liveWindowCount(), 0);
}

}  // namespace
}  // namespace gui
