// The wave display: a value display whose morph names ("tr-sa") are written one size smaller
// than its single waveform names, so that they fit inside its outline.
#pragma once

#include "CParamDisplay.h"

class WaveDisplay : public gui::CParamDisplay {
 public:
  explicit WaveDisplay(const gui::CRect& size) : gui::CParamDisplay(size) {}

 protected:
  void drawText(gui::CDrawContext* context, const char* text, gui::CBitmap* newBack) override;
};
