// A passive text display of a control value: "%2.2f" or its owner's conversion, on a filled,
// framed background, in a chosen font, colours and alignment.
#pragma once

#include <cstdint>
#include <string>

#include "CColor.h"
#include "CControl.h"
#include "CDrawContext.h"

namespace gui {

class CFontDesc;

// Style bits that the drawing tests; other bits have no effect on a display.
constexpr int32_t kShadowText = 1 << 2;
constexpr int32_t k3DIn = 1 << 7;
constexpr int32_t k3DOut = 1 << 8;
constexpr int32_t kNoTextStyle = 1 << 11;
constexpr int32_t kNoDrawStyle = 1 << 12;
constexpr int32_t kNoFrame = 1 << 14;

// Conversions write a terminated text of at most 255 characters into a 256-byte buffer whose
// first byte is 0.
using CParamDisplayValueToStringProc = void (*)(float value, char* string);
using CParamDisplayValueToStringProcWithUserData = void (*)(float value, char* string,
                                                            void* userData);
using CParamDisplayStringToValueProc = void (*)(char* string, float& output);

class CParamDisplay : public CControl {
 public:
  explicit CParamDisplay(const CRect& size);
  CParamDisplay(const CParamDisplay& other);
  ~CParamDisplay() override;

  void draw(CDrawContext* context) override;
  // A new value that shows the text already drawn leaves the display clean: nothing to redraw.
  bool isDirty() const override;
  bool isTypeOf(const char* name) const override;
  CView* newCopy() const override;
  // A display does not react to the mouse.
  void mouse(CDrawContext* context, CPoint& where, CButtonState buttons = -1) override;

  // Always marks the display dirty.
  virtual void setFont(CFontDesc* font);
  virtual CFontDesc* getFont() const;
  // The colour setters mark the display dirty only when the colour changes.
  virtual void setFontColor(CColor color);
  virtual CColor getFontColor() const;
  virtual void setBackColor(CColor color);
  virtual CColor getBackColor() const;
  virtual void setFrameColor(CColor color);
  virtual CColor getFrameColor() const;
  virtual void setShadowColor(CColor color);
  virtual CColor getShadowColor() const;
  virtual void setAntialias(bool flag);
  virtual bool getAntialias() const;
  virtual void setHoriAlign(int32_t align);
  virtual int32_t getHoriAlign() const;
  // The conversion with user data takes precedence over the one without.
  virtual void setStringConvert(CParamDisplayValueToStringProcWithUserData convert, void* userData);
  virtual void setStringConvert(CParamDisplayValueToStringProc convert);
  virtual void setString2FloatConvert(CParamDisplayStringToValueProc convert);
  virtual void setStyle(int32_t val);
  virtual int32_t getStyle() const;
  virtual void setTxtFace(int32_t val);
  virtual int32_t getTxtFace() const;
  virtual void setTextTransparency(bool flag);
  virtual bool getTextTransparency() const;

 protected:
  // The text the display shows for value, into a buffer of 256 bytes.
  void textFor(float shown, char* text) const;
  // Background, frame and text; newBack replaces the view's background bitmap when given.
  virtual void drawText(CDrawContext* context, const char* text, CBitmap* newBack = nullptr);

  CParamDisplayValueToStringProc stringConvert = nullptr;
  CParamDisplayValueToStringProcWithUserData stringConvert2 = nullptr;
  CParamDisplayStringToValueProc string2FloatConvert = nullptr;
  void* userData = nullptr;
  int32_t horiTxtAlign = kCenterText;
  int32_t style = 1;
  CFontDesc* fontID = nullptr;  // counted
  int32_t txtFace = 0;
  CColor fontColor = kWhiteCColor;
  CColor backColor = kBlackCColor;
  CColor frameColor = kBlackCColor;
  CColor shadowColor = {255, 0, 0, 255};
  bool textTransparency = true;
  bool antialias = true;
  std::string drawnText;  // the text of the last draw
  bool drawn = false;
};

}  // namespace gui
