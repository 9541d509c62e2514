// A drawing surface on a window or device: colours, pen, font, clip and coordinate offset.
// A context with neither device nor window draws nothing but keeps all of its state.
#pragma once

#include <cstdint>

#include "CBaseObject.h"
#include "CColor.h"
#include "CPoint.h"
#include "CRect.h"

namespace gui {

class CFrame;
class CFontDesc;
namespace platform {
class PlatformGraphics;
}

enum CDrawStyle : int32_t { kDrawStroked = 0, kDrawFilled = 1, kDrawFilledAndStroked = 2 };
enum CHoriTxtAlign : int32_t { kLeftText = 0, kCenterText = 1, kRightText = 2 };
enum CLineStyle : int32_t { kLineSolid = 0, kLineOnOffDash = 1 };
enum CDrawMode : int32_t { kCopyMode = 0, kAntialias = 1 };

class CDrawContext : public CBaseObject {
 public:
  // systemContext: a device context to draw on, or null; window: the window whose own device
  // context is taken when no device context is given, or null.
  CDrawContext(CFrame* frame, void* systemContext, void* window);
  ~CDrawContext() override;
  CDrawContext(const CDrawContext&) = delete;

  void setFrameColor(const CColor& color);
  CColor getFrameColor() const { return frameColor; }
  void setFillColor(const CColor& color);
  CColor getFillColor() const { return fillColor; }
  void setFontColor(const CColor& color);
  CColor getFontColor() const { return fontColor; }
  void setLineWidth(int32_t width);
  int32_t getLineWidth() const { return lineWidth; }
  void setLineStyle(int32_t style);
  int32_t getLineStyle() const { return lineStyle; }
  void setDrawMode(int32_t mode);
  int32_t getDrawMode() const { return drawMode; }

  // Both in this context's coordinates; stored with the offset applied.
  void setClipRect(const CRect& rect);
  CRect getClipRect() const;

  void moveTo(const CPoint& point);
  void lineTo(const CPoint& point);
  // The pen position with the offset applied, as drawn.
  CPoint getPenLoc() const { return penLoc; }
  void drawRect(const CRect& rect, int32_t style = kDrawStroked);

  // size above 0 or style other than -1 make a derived description of that size or style.
  void setFont(CFontDesc* font, int32_t size = 0, int32_t style = -1);
  CFontDesc* getFont() const { return font; }
  // Width in pixels of UTF-8 text; -1 without font, text or surface.
  int32_t getStringWidth(const char* text);
  // UTF-8 text; its bottom line sits a little below the rectangle's vertical centre.
  void drawString(const char* text, const CRect& rect, int32_t align = kCenterText);

  void* getSystemContext() const { return systemContext; }
  void* getWindow() const { return window; }
  CFrame* getFrame() const { return frame; }
  // Null when the context draws nothing.
  platform::PlatformGraphics* getPlatformGraphics() const { return graphics; }
  // Device pixels per logical pixel: the frame's scale on a window or device, else 1.
  float getScale() const { return scale; }

  // The window's top-left on the screen plus offsetScreen. The window is asked at the first
  // call only: on some systems that is a round trip to the window server, and most contexts
  // only draw.
  CPoint screenOffset();
  // Moved along by containers while they draw, from 0.
  CPoint offsetScreen;
  // Added to every coordinate that is drawn.
  CPoint offset;

 protected:
  // For off-screen contexts: replaces the surface (the old one is deleted).
  void setPlatformGraphics(platform::PlatformGraphics* newGraphics);
  // Stores the clip without telling the surface.
  void setClipRectRaw(const CRect& rect) { clipRect = rect; }

 private:
  // Fills a rectangle of device pixels; the surface's fill colour is left at color.
  void fillDevice(const CRect& r, const CColor& color);
  // Width in device pixels; negative without font, surface or measure.
  float deviceStringWidth(const char* text);

  void* systemContext = nullptr;
  void* window = nullptr;
  CFrame* frame = nullptr;
  CPoint windowOrigin;  // valid once windowOriginKnown
  bool windowOriginKnown = false;
  CFontDesc* font = nullptr;
  CColor fontColor = kWhiteCColor;
  CPoint penLoc;
  int32_t lineWidth = 1;
  CColor frameColor = kWhiteCColor;
  CColor fillColor = kBlackCColor;
  int32_t lineStyle = kLineSolid;
  int32_t drawMode = kCopyMode;
  CRect clipRect;
  platform::PlatformGraphics* graphics = nullptr;
  float scale = 1.0f;
};

}  // namespace gui
