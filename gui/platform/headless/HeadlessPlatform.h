// The headless window layer's state, for native tests: the mouse is whatever a test says, and
// windows are records that remember what was asked of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "../../CPoint.h"
#include "../../CRect.h"

namespace gui {
namespace headless {

void setCursorScreenPosition(const CPoint& position);
// What getDisplayScale answers for every window (1 after reset).
void setDisplayScale(float scale);
// The index that the next menus answer (-1, dismissed, after reset).
void setMenuChoice(int32_t index);
// The last menu shown since the last call: where, its items and the checked one; no items when
// none was shown.
struct HeadlessMenu {
  CPoint windowPixel;
  std::vector<std::string> items;
  int32_t checked = -1;
};
HeadlessMenu takeLastMenu();
// Button bits (kLButton ...) that getCurrentMouseButtons answers.
void setMouseButtons(int32_t buttons);
void setSystemMajorVersion(int32_t major);
// What the window procedure does when the host destroys its window first: the record goes
// and the frame is told.
void destroyWindowFromOutside(void* window);
void setWindowScreenOrigin(void* window, const CPoint& origin);
// Width (x) and height (y) of window as made or last resized; 0 x 0 for no window.
CPoint windowSize(void* window);
// The rectangles invalidated on window since the last call.
std::vector<CRect> takeInvalidatedRects(void* window);
// The requests that invalidated them (one may carry several rectangles).
int32_t takeInvalidationRequests(void* window);

int32_t liveWindowCount();
int32_t classUseCount();
// OLE initialisations minus uninitialisations.
int32_t oleInitBalance();
bool isDropRegistered(void* window);
// The type of the last setCursor call; -1 before any.
int32_t lastCursorType();
// Stops the system clock: from now on the tick count is `ticks`, and only a sleep (or another
// call) moves it. reset() brings the system clock back.
void setTicks(uint32_t ticks);
// The milliseconds of every sleep since the last call, in order.
std::vector<uint32_t> takeSleeps();
// Paint messages waiting in the thread's queue; dispatching one takes it away.
void queuePaintMessages(int32_t count);
int32_t pendingPaintMessages();
// Graphics-system start-ups minus shut-downs.
int32_t graphicsSystemBalance();
// From now on, until the process ends, the bitmap resource id loads as an image of that size.
void setResourceSize(int32_t id, int32_t width, int32_t height);
// Brings everything back to the state of a fresh process, user settings included (windows still
// alive are leaked).
void reset();

}  // namespace headless
}  // namespace gui
