// Observers for the controls' native tests: one log that the listener, the editor, bitmaps and
// a drawing surface all write into, so that tests read the order of everything a control did.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "CBitmap.h"
#include "CControl.h"
#include "CDrawContext.h"
#include "CFrame.h"
#include "GUIEditorInterface.h"
#include "platform/PlatformGraphics.h"
#include "platform/headless/HeadlessPlatform.h"

namespace gui::test {

using Log = std::vector<std::string>;

inline std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
inline std::string format(const char* pattern, ...) {
  char text[160];
  va_list args;
  va_start(args, pattern);
  std::vsnprintf(text, sizeof(text), pattern, args);
  va_end(args);
  return text;
}

class LoggingListener : public CControlListener {
 public:
  explicit LoggingListener(Log* log) : log(log) {}
  void valueChanged(CControl* control) override {
    log->push_back(format("changed %d %.4f", control->getTag(), control->getValue()));
    if (onChange) onChange(control);
  }
  int32_t controlModifierClicked(CControl* control, CButtonState buttons) override {
    log->push_back(format("modifier %d %d", control->getTag(), buttons));
    return takesModifierClicks ? 1 : 0;
  }
  void controlBeginEdit(CControl* control) override {
    log->push_back(format("listener begin %d", control->getTag()));
  }
  void controlEndEdit(CControl* control) override {
    log->push_back(format("listener end %d", control->getTag()));
  }

  Log* log;
  bool takesModifierClicks = false;
  std::function<void(CControl*)> onChange;
};

class LoggingEditor : public GUIEditorInterface {
 public:
  explicit LoggingEditor(Log* log) : log(log) {}
  void doIdleStuff() override {
    log->push_back("idle");
    if (onIdle) onIdle();
  }
  int32_t getKnobMode() const override { return knobMode; }
  void beginEdit(int32_t index) override { log->push_back(format("host begin %d", index)); }
  void endEdit(int32_t index) override { log->push_back(format("host end %d", index)); }

  Log* log;
  int32_t knobMode = 0;
  std::function<void()> onIdle;
};

// A bitmap of a given size whose draws are logged as "draw|transparent rect offset".
class LoggingBitmap : public CBitmap {
 public:
  LoggingBitmap(int32_t width, int32_t height, Log* log) : CBitmap(width, height), log(log) {}
  void draw(CDrawContext* /*context*/, const CRect& rect, const CPoint& offset) override {
    add("draw", rect, offset);
  }
  void drawTransparent(CDrawContext* /*context*/, const CRect& rect,
                       const CPoint& offset) override {
    add("transparent", rect, offset);
  }
  void add(const char* how, const CRect& r, const CPoint& o) {
    log->push_back(
        format("%s %d,%d,%d,%d from %d,%d", how, r.left, r.top, r.right, r.bottom, o.x, o.y));
  }
  Log* log;
};

inline std::string hex(const CColor& c) {
  return format("%02x%02x%02x%02x", c.red, c.green, c.blue, c.alpha);
}

// A surface that logs lines, fills and outlines with the colour they are drawn in.
class LoggingGraphics : public platform::PlatformGraphics {
 public:
  explicit LoggingGraphics(Log* log) : log(log) {}
  void setPenColor(const CColor& color) override { pen = color; }
  void setPenWidth(float /*width*/) override {}
  void setPenDashStyle(int32_t /*style*/) override {}
  void setFillColor(const CColor& color) override { fill = color; }
  void setFontColor(const CColor& /*color*/) override {}
  void setSmoothingNone() override {}
  void setClip(const CRect& /*rect*/) override {}
  void drawLine(const CPoint& from, const CPoint& to) override {
    log->push_back(format("line %d,%d-%d,%d %s", from.x, from.y, to.x, to.y, hex(pen).c_str()));
  }
  void fillRect(float left, float top, float width, float height) override {
    log->push_back(format("fill %g,%g %gx%g %s", left, top, width, height, hex(fill).c_str()));
  }
  void strokeRect(int32_t left, int32_t top, int32_t width, int32_t height) override {
    log->push_back(format("outline %d,%d %dx%d %s", left, top, width, height, hex(pen).c_str()));
  }
  void drawImage(platform::PlatformImage* /*image*/, int32_t /*destX*/, int32_t /*destY*/,
                 int32_t /*srcX*/, int32_t /*srcY*/, int32_t /*width*/, int32_t /*height*/,
                 uint8_t /*alpha*/) override {}
  void drawImageStretched(platform::PlatformImage* /*image*/, const CRect& /*dest*/,
                          const CRect& /*source*/, uint8_t /*alpha*/) override {}
  float measureString(const char16_t* /*text*/, platform::PlatformFont* /*font*/) override {
    return -1.0f;
  }
  void drawString(const char16_t* /*text*/, platform::PlatformFont* /*font*/, int32_t /*x*/,
                  int32_t /*bottomY*/) override {}

  Log* log;
  CColor pen;
  CColor fill;
};

// A drawing context on a logging surface.
class LoggingContext : public CDrawContext {
 public:
  explicit LoggingContext(Log* log) : CDrawContext(nullptr, nullptr, nullptr) {
    setPlatformGraphics(new LoggingGraphics(log));
  }
};

// A frame on the headless window layer with a logging editor; the pointer and buttons are
// whatever the test sets.
struct FrameWithEditor {
  explicit FrameWithEditor(Log* log) : editor(log) {
    headless::reset();
    static int parentMarker = 0;
    frame = new CFrame(CRect(0, 0, 400, 400), &parentMarker, &editor);
  }
  ~FrameWithEditor() {
    if (frame) frame->forget();
  }
  // Adds the view; the frame releases the creator's reference with its own.
  template <typename View>
  View* add(View* view) {
    frame->addView(view);
    return view;
  }

  LoggingEditor editor;
  CFrame* frame = nullptr;
};

}  // namespace gui::test
