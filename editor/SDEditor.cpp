#include "SDEditor.h"

#include "CAnimKnob.h"
#include "CBitmap.h"
#include "CFontDesc.h"
#include "CFrame.h"
#include "COnOffButton.h"
#include "CParamDisplay.h"
#include "CVerticalSlider.h"
#include "FilterTypeSelector.h"
#include "FrequencyText.h"
#include "ParameterControls.h"
#include "ScaleMenu.h"
#include "WaveDisplay.h"
#include "WaveText.h"
#include "platform/PlatformWindow.h"

namespace {

constexpr gui::CColor kDisplayFrameColor = {127, 127, 127, 255};

// Bitmaps that open loads, by their place in this list.
enum BitmapSlot { kTrack, kHandle, kButton, kKnob, kBitmapCount };
constexpr int32_t kBitmapIds[kBitmapCount] = {
    EditorLayout::kSliderTrackBitmap, EditorLayout::kSliderHandleBitmap,
    EditorLayout::kButtonBitmap, EditorLayout::kKnobBitmap};

}  // namespace

SDEditor::SDEditor(AudioEffect* effect) : SDEditor(effect, nullptr) {}

SDEditor::SDEditor(EditorParameters& parameters) : SDEditor(nullptr, &parameters) {}

SDEditor::SDEditor(AudioEffect* effect, EditorParameters* parameters)
    : AEffGUIEditor(effect),
      effectParameters(effect),
      parameters(parameters ? *parameters : effectParameters) {
  settingsSection = "Ferrowin";
  backgroundBitmap = new gui::CBitmap(EditorLayout::kBackgroundBitmap);
  editorRect.top = 0;
  editorRect.left = 0;
  editorRect.bottom = static_cast<VstInt16>(backgroundBitmap->getHeight());
  editorRect.right = static_cast<VstInt16>(backgroundBitmap->getWidth());
}

SDEditor::~SDEditor() {
  SDEditor::close();
  backgroundBitmap->forget();
}

bool SDEditor::open(void* window) {
  // A host that opens twice gets one window: the first one goes.
  if (frame) close();
  hostWindow = window;
  editorThread.store(gui::platform::currentThreadId(), std::memory_order_relaxed);
  // Everything reported until now is read afresh below.
  pending.take();
  chooseScale(window);

  gui::CBitmap* bitmaps[kBitmapCount];
  for (int32_t slot = 0; slot < kBitmapCount; ++slot)
    bitmaps[slot] = new gui::CBitmap(kBitmapIds[slot]);
  // The handle travels the track's height less its own, less one pixel.
  const int32_t sliderMaxPos =
      EditorLayout::kSliderTop + bitmaps[kTrack]->getHeight() - bitmaps[kHandle]->getHeight() - 1;

  auto* newFrame = new gui::CFrame(
      gui::CRect(0, 0, backgroundBitmap->getWidth(), backgroundBitmap->getHeight()), window, this);
  if (window && !newFrame->getWindow()) {
    // No window could be made on the host's (no display, say): the host hears of it.
    newFrame->forget();
    for (gui::CBitmap* bitmap : bitmaps) bitmap->forget();
    hostWindow = nullptr;
    return false;
  }
  newFrame->setBackground(backgroundBitmap);
  // Below every control: presses that no control takes reach it.
  newFrame->addView(new ScaleMenu(newFrame->getViewSize(), this));

  for (int32_t row = 0; row < EditorLayout::kControlCount; ++row) {
    const ControlPlacement& place = EditorLayout::control(row);
    controls[static_cast<size_t>(row)] = createControl(place, bitmaps, sliderMaxPos);
    newFrame->addView(controls[static_cast<size_t>(row)]);
    const bool lastButton = place.kind == ControlKind::button &&
                            (row + 1 == EditorLayout::kControlCount ||
                             EditorLayout::control(row + 1).kind != ControlKind::button);
    if (lastButton) updateFilterTypeButtons(nullptr, parameters.getParameter(kFilterType));
  }

  for (gui::CBitmap* bitmap : bitmaps) bitmap->forget();
  frame = newFrame;  // from here on setParameter reaches the controls
  return true;
}

gui::CControl* SDEditor::createControl(const ControlPlacement& place, gui::CBitmap* const* bitmaps,
                                       int32_t sliderMaxPos) {
  const float value = parameters.getParameter(place.parameter);
  switch (place.kind) {
    case ControlKind::knob: {
      auto* knob = new gui::CAnimKnob(place.rect, this, place.parameter, EditorLayout::kKnobFrames,
                                      place.rect.height(), bitmaps[kKnob], gui::CPoint(0, 0));
      knob->setDefaultValue(place.defaultValue);
      // The effect's value, like every other control: a linear drag then starts where the
      // parameter is.
      knob->setValue(value);
      return knob;
    }
    case ControlKind::slider: {
      auto* slider = new gui::CVerticalSlider(
          place.rect, this, place.parameter, EditorLayout::kSliderTop, sliderMaxPos,
          bitmaps[kHandle], nullptr, gui::CPoint(0, 0), EditorLayout::kSliderStyle);
      slider->setOffsetHandle(gui::CPoint(1, 0));
      slider->setValue(value);
      slider->setDefaultValue(place.defaultValue);
      return slider;
    }
    case ControlKind::button:
      return new gui::COnOffButton(place.rect, this, place.parameter, bitmaps[kButton],
                                   gui::kPreListenerUpdate);
    case ControlKind::display:
    default: {
      auto* display = place.text == DisplayText::oscWave ? new WaveDisplay(place.rect)
                                                         : new gui::CParamDisplay(place.rect);
      display->setFont(gui::kNormalFontSmall);
      display->setFontColor(gui::kWhiteCColor);
      display->setBackColor(gui::kBlackCColor);
      display->setFrameColor(kDisplayFrameColor);
      display->setValue(value);
      if (place.text == DisplayText::oscNote)
        display->setStringConvert(&SDEditor::oscNoteToString, &parameters);
      else if (place.text == DisplayText::oscWave)
        display->setStringConvert(&SDEditor::oscWaveToString, &parameters);
      return display;
    }
  }
}

void SDEditor::close() {
  if (frame) {
    gui::CFrame* closing = frame;
    frame = nullptr;
    closing->forget();  // releases every control and, with them, their bitmaps
  }
  controls.fill(nullptr);
  hostWindow = nullptr;
}

void SDEditor::idle() {
  if (onEditorThread()) {
    uint32_t changed = pending.take();
    while (changed != 0) {
      const int32_t index = __builtin_ctz(changed);
      changed &= changed - 1;
      if (frame) showParameter(index);
    }
  }
  AEffGUIEditor::idle();
}

bool SDEditor::onEditorThread() const {
  return editorThread.load(std::memory_order_relaxed) == gui::platform::currentThreadId();
}

void SDEditor::setParameter(VstInt32 index, float /*value*/) {
  if (!isParameterIndex(index)) return;
  if (!onEditorThread()) {
    pending.mark(index);
    return;
  }
  if (frame) showParameter(index);
}

void SDEditor::showParameter(int32_t index) {
  // The controls show what the effect stored, which may differ from what was asked for.
  const float value = parameters.getParameter(index);
  if (index == kFilterType) {
    updateFilterTypeButtons(nullptr, value);
    return;
  }
  const ParameterControls::Rows& rows = ParameterControls::instance().of(index);
  for (int32_t i = 0; i < rows.count; ++i) {
    const int32_t row = rows.row[static_cast<size_t>(i)];
    gui::CControl* control = controls[static_cast<size_t>(row)];
    if (!control) continue;
    // The control the user is moving stays where the mouse puts it; its display follows.
    if (inValueChanged && EditorLayout::control(row).kind != ControlKind::display) continue;
    control->setValue(value);
  }
}

void SDEditor::valueChanged(gui::CControl* control) {
  inValueChanged = true;
  const int32_t tag = control->getTag();
  if (isParameterIndex(tag)) {
    const float value =
        tag == kFilterType ? updateFilterTypeButtons(control, -1.0f) : control->getValue();
    parameters.setParameterAutomated(tag, value);
    control->setDirty(true);
  }
  inValueChanged = false;
}

float SDEditor::updateFilterTypeButtons(gui::CControl* control, float value) {
  const ParameterControls::Rows& rows = ParameterControls::instance().of(kFilterType);
  if (value == -1.0f) {
    for (int32_t b = 0; b < rows.count; ++b)
      if (control && control == controls[static_cast<size_t>(rows.row[static_cast<size_t>(b)])])
        return FilterTypeSelector::valueOf(b);
    return value;
  }
  const int32_t selected = FilterTypeSelector::buttonFor(value);
  if (selected == FilterTypeSelector::kNone) return value;
  for (int32_t b = 0; b < rows.count; ++b) {
    gui::CControl* button = controls[static_cast<size_t>(rows.row[static_cast<size_t>(b)])];
    if (button) button->setValue(b == selected ? 0.0f : 1.0f);
  }
  return value;
}

void SDEditor::beginEdit(int32_t index) { parameters.beginEdit(index); }

void SDEditor::endEdit(int32_t index) { parameters.endEdit(index); }

void SDEditor::oscNoteToString(float /*value*/, char* text, void* parameters) {
  static_cast<EditorParameters*>(parameters)->getParameterDisplay(kOscNote, text);
  fitFrequencyText(text);
}

void SDEditor::oscWaveToString(float /*value*/, char* text, void* parameters) {
  static_cast<EditorParameters*>(parameters)->getParameterDisplay(kOscWave, text);
  fitWaveText(text);
}

gui::CControl* SDEditor::controlAt(int32_t row) const {
  if (!frame || row < 0 || row >= EditorLayout::kControlCount) return nullptr;
  return controls[static_cast<size_t>(row)];
}
