#include "WaveDisplay.h"

#include <cstring>

#include "CFontDesc.h"

void WaveDisplay::drawText(gui::CDrawContext* context, const char* text, gui::CBitmap* newBack) {
  if (!text || !std::strchr(text, '-')) {
    gui::CParamDisplay::drawText(context, text, newBack);
    return;
  }
  gui::CFontDesc* displayFont = fontID;
  fontID = gui::kNormalFontSmaller;
  gui::CParamDisplay::drawText(context, text, newBack);
  fontID = displayFont;
}
