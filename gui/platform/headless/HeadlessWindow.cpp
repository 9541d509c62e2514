// The headless build has no windows: a frame window is a record of what was asked of it, and
// the mouse is whatever a test sets (see HeadlessPlatform.h).
#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <utility>

#include "../../CFrame.h"
#include "../GraphicsSystem.h"
#include "../PlatformIdle.h"
#include "../PlatformSettings.h"
#include "../PlatformWindow.h"
#include "HeadlessPlatform.h"

namespace gui {

namespace {

struct Window {
  CFrame* frame;
  void* parent;
  int32_t width;
  int32_t height;
  CPoint screenOrigin;
  bool dropRegistered = false;
  std::vector<CRect> invalidated;
  int32_t invalidationRequests = 0;
};

struct State {
  CPoint cursor;
  int32_t buttons = 0;
  int32_t majorVersion = 6;
  int32_t classUses = 0;
  int32_t oleBalance = 0;
  int32_t cursorType = -1;
  int32_t graphicsBalance = 0;
  std::vector<Window*> windows;
  bool testClock = false;  // ticks and sleeps follow the test's clock, not the system's
  uint32_t ticks = 0;
  std::vector<uint32_t> sleeps;
  int32_t pendingPaints = 0;
  float displayScale = 1.0f;
  int32_t menuChoice = -1;
  headless::HeadlessMenu lastMenu;
  std::map<std::string, int32_t> settings;  // "section/name"
};

State& state() {
  static State instance;
  return instance;
}

Window* find(void* window) {
  auto& windows = state().windows;
  auto it = std::find(windows.begin(), windows.end(), static_cast<Window*>(window));
  return it == windows.end() ? nullptr : *it;
}

// A stand-in for the default cursor handle.
int defaultCursorMarker;

}  // namespace

namespace platform {

uintptr_t startGraphicsSystem() {
  state().graphicsBalance++;
  return 1;
}
void stopGraphicsSystem(uintptr_t /*token*/) { state().graphicsBalance--; }

void initializeOle() { state().oleBalance++; }
void uninitializeOle() { state().oleBalance--; }
int32_t getSystemMajorVersion() { return state().majorVersion; }

uint32_t getTicks() {
  if (state().testClock) return state().ticks;
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

uint64_t currentThreadId() {
  // Numbered in order of first use, so that no thread gets 0.
  static std::atomic<uint64_t> next{1};
  thread_local const uint64_t id = next.fetch_add(1, std::memory_order_relaxed);
  return id;
}

void sleepMilliseconds(uint32_t milliseconds) {
  state().sleeps.push_back(milliseconds);
  if (state().testClock) {
    state().ticks += milliseconds;
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
}

bool dispatchOnePaintMessage() {
  if (state().pendingPaints == 0) return false;
  state().pendingPaints--;
  return true;
}

CPoint getCursorScreenPosition() { return state().cursor; }
int32_t getCurrentMouseButtons() { return state().buttons; }
void* getCurrentCursor() { return &defaultCursorMarker; }
void setCursor(int32_t type, void* /*defaultCursor*/) { state().cursorType = type; }
void restoreCursor(void* /*cursor*/) {}

void* createFrameWindow(CFrame* frame, void* parent, int32_t width, int32_t height) {
  if (!parent) return nullptr;
  state().classUses++;
  auto* window = new Window{frame, parent, width, height, CPoint(), false, {}};
  state().windows.push_back(window);
  return window;
}

void destroyFrameWindow(void* window) {
  Window* w = find(window);
  if (!w) return;
  auto& windows = state().windows;
  windows.erase(std::find(windows.begin(), windows.end(), w));
  delete w;
  state().classUses--;
}

void releaseLostFrameWindow() { state().classUses--; }

void invalidateWindowRect(void* window, const CRect& rect) {
  invalidateWindowRects(window, &rect, 1);
}

void invalidateWindowRects(void* window, const CRect* rects, int32_t count) {
  Window* w = find(window);
  if (!w) return;
  w->invalidated.insert(w->invalidated.end(), rects, rects + count);
  ++w->invalidationRequests;
}

void serviceWindow(void* /*window*/) {}

// Headless windows are no system's.
uintptr_t getSystemWindowId(void* /*window*/) { return 0; }

CPoint getWindowScreenOrigin(void* window) {
  Window* w = find(window);
  return w ? w->screenOrigin : CPoint();
}

void* registerDropTarget(void* window, CFrame* /*frame*/) {
  Window* w = find(window);
  if (!w) return nullptr;
  w->dropRegistered = true;
  return w;
}

void revokeDropTarget(void* window) {
  if (Window* w = find(window)) w->dropRegistered = false;
}

float getDisplayScale(void* /*window*/) { return state().displayScale; }

int32_t popUpMenu(void* window, const CPoint& windowPixel, const char* const* items, int32_t count,
                  int32_t checked) {
  if (!find(window) || !items || count <= 0) return -1;
  state().lastMenu =
      headless::HeadlessMenu{windowPixel, std::vector<std::string>(items, items + count), checked};
  return state().menuChoice < count ? state().menuChoice : -1;
}

bool readUserSetting(const char* section, const char* name, int32_t& value) {
  if (!section || !name) return false;
  const auto it = state().settings.find(std::string(section) + "/" + name);
  if (it == state().settings.end()) return false;
  value = it->second;
  return true;
}

bool writeUserSetting(const char* section, const char* name, int32_t value) {
  if (!section || !name) return false;
  state().settings[std::string(section) + "/" + name] = value;
  return true;
}

void* getOuterWindow(void* window) {
  Window* w = find(window);
  return w ? w->parent : nullptr;
}

bool getPositionInParent(void* window, CPoint& position) {
  if (!find(window)) return false;
  position = CPoint();
  return true;
}

bool getParentRect(void* window, CRect& rect) {
  Window* w = find(window);
  if (!w) return false;
  rect = CRect(0, 0, w->width, w->height);
  return true;
}

bool resizeWindowChain(void* window, int32_t width, int32_t height) {
  Window* w = find(window);
  if (!w) return false;
  w->width = width;
  w->height = height;
  return true;
}

}  // namespace platform

namespace headless {

void setCursorScreenPosition(const CPoint& position) { state().cursor = position; }
void setDisplayScale(float scale) { state().displayScale = scale; }
void setMenuChoice(int32_t index) { state().menuChoice = index; }
HeadlessMenu takeLastMenu() { return std::exchange(state().lastMenu, HeadlessMenu{}); }
void setMouseButtons(int32_t buttons) { state().buttons = buttons; }
void setSystemMajorVersion(int32_t major) { state().majorVersion = major; }

void destroyWindowFromOutside(void* window) {
  Window* w = find(window);
  if (!w) return;
  auto& windows = state().windows;
  windows.erase(std::find(windows.begin(), windows.end(), w));
  CFrame* frame = w->frame;
  delete w;
  if (frame) frame->windowDestroyed();
}

CPoint windowSize(void* window) {
  Window* w = find(window);
  return w ? CPoint(w->width, w->height) : CPoint();
}

void setWindowScreenOrigin(void* window, const CPoint& origin) {
  if (Window* w = find(window)) w->screenOrigin = origin;
}

std::vector<CRect> takeInvalidatedRects(void* window) {
  Window* w = find(window);
  if (!w) return {};
  std::vector<CRect> rects;
  rects.swap(w->invalidated);
  return rects;
}

int32_t takeInvalidationRequests(void* window) {
  Window* w = find(window);
  if (!w) return 0;
  return std::exchange(w->invalidationRequests, 0);
}

int32_t liveWindowCount() { return static_cast<int32_t>(state().windows.size()); }
int32_t classUseCount() { return state().classUses; }
int32_t oleInitBalance() { return state().oleBalance; }

bool isDropRegistered(void* window) {
  Window* w = find(window);
  return w && w->dropRegistered;
}

int32_t lastCursorType() { return state().cursorType; }

void setTicks(uint32_t ticks) {
  state().testClock = true;
  state().ticks = ticks;
}

std::vector<uint32_t> takeSleeps() {
  std::vector<uint32_t> sleeps;
  sleeps.swap(state().sleeps);
  return sleeps;
}

void queuePaintMessages(int32_t count) { state().pendingPaints += count; }
int32_t pendingPaintMessages() { return state().pendingPaints; }
int32_t graphicsSystemBalance() { return state().graphicsBalance; }

void reset() {
  const int32_t graphics = state().graphicsBalance;
  state() = State();
  // The graphics system's holders are real objects of the toolkit; their count stays.
  state().graphicsBalance = graphics;
}

}  // namespace headless
}  // namespace gui
