#include "AEffGUIEditor.h"

#include <algorithm>
#include <cstddef>

#include "AudioEffectX.h"
#include "CDrawContext.h"
#include "CFrame.h"
#include "ScaleFactor.h"
#include "VstKeyCode.h"
#include "platform/PlatformIdle.h"
#include "platform/PlatformSettings.h"
#include "platform/PlatformWindow.h"

namespace {

// Process-wide: set by any editor, read by every knob.
int32_t knobMode = 0;

// Keys cross from the host's record to the toolkit's field by field: both have one layout and
// the same key and modifier values.
static_assert(sizeof(gui::VstKeyCode) == sizeof(::VstKeyCode));
static_assert(offsetof(gui::VstKeyCode, character) == offsetof(::VstKeyCode, character));
static_assert(offsetof(gui::VstKeyCode, virt) == offsetof(::VstKeyCode, virt));
static_assert(offsetof(gui::VstKeyCode, modifier) == offsetof(::VstKeyCode, modifier));
constexpr bool same(int toolkit, int host) { return toolkit == host; }
static_assert(same(gui::VKEY_TAB, ::VKEY_TAB) && same(gui::VKEY_LEFT, ::VKEY_LEFT) &&
              same(gui::VKEY_UP, ::VKEY_UP) && same(gui::VKEY_RIGHT, ::VKEY_RIGHT) &&
              same(gui::VKEY_DOWN, ::VKEY_DOWN) && same(gui::MODIFIER_SHIFT, ::MODIFIER_SHIFT) &&
              same(gui::MODIFIER_ALTERNATE, ::MODIFIER_ALTERNATE) &&
              same(gui::MODIFIER_COMMAND, ::MODIFIER_COMMAND) &&
              same(gui::MODIFIER_CONTROL, ::MODIFIER_CONTROL));

gui::VstKeyCode toolkitKey(const ::VstKeyCode& key) {
  return gui::VstKeyCode{key.character, key.virt, key.modifier};
}

// Ticks wrap after about 49 days; differences stay right across the wrap.
int32_t ticksUntil(uint32_t later, uint32_t now) { return static_cast<int32_t>(later - now); }

constexpr uint32_t kIdleSleepMs = 4;
constexpr int32_t kIdleEarliestMs = 50;  // a pass runs when at most this much is left to wait
constexpr uint32_t kIdlePeriodMs = 100;

constexpr const char* kScaleSetting = "EditorScalePercent";

}  // namespace

AEffGUIEditor::AEffGUIEditor(AudioEffect* effect)
    : AEffEditor(effect), lastIdleTicks(gui::platform::getTicks()) {
  if (effect) effect->setEditor(this);
  gui::platform::initializeOle();
}

AEffGUIEditor::~AEffGUIEditor() { gui::platform::uninitializeOle(); }

bool AEffGUIEditor::getRect(ERect** rect) {
  chooseScale(nullptr);
  scaledRect = editorRect;
  scaledRect.right = static_cast<VstInt16>(gui::ScaleFactor::toDevice(editorRect.right, scale));
  scaledRect.bottom = static_cast<VstInt16>(gui::ScaleFactor::toDevice(editorRect.bottom, scale));
  *rect = &scaledRect;
  return true;
}

void AEffGUIEditor::chooseScale(void* parent) {
  if (scale > 0.0f) return;
  int32_t percent = 0;
  if (gui::platform::readUserSetting(settingsSection, kScaleSetting, percent) &&
      gui::ScaleFactor::indexOf(gui::ScaleFactor::fromPercent(percent)) >= 0) {
    scale = gui::ScaleFactor::fromPercent(percent);
    return;
  }
  scale = gui::ScaleFactor::nearest(gui::platform::getDisplayScale(parent));
}

bool AEffGUIEditor::setScaleFactor(float newScale) {
  const int32_t index = gui::ScaleFactor::indexOf(newScale);
  if (index < 0) return false;
  gui::platform::writeUserSetting(settingsSection, kScaleSetting,
                                  gui::ScaleFactor::kPercents[index]);
  if (newScale == scale) return true;
  scale = newScale;
  if (!frame) return true;
  // The host may refuse, or not know the request: the frame resizes its window chain anyway.
  ERect* rect = nullptr;
  getRect(&rect);
  if (auto* effectX = dynamic_cast<AudioEffectX*>(effect))
    effectX->sizeWindow(rect->right, rect->bottom);
  if (frame) frame->setScale(newScale);
  return true;
}

void AEffGUIEditor::idle() {
  if (inIdle) return;
  if (frame) frame->idle();
}

bool AEffGUIEditor::onKeyDown(VstKeyCode& keyCode) {
  if (!frame) return false;
  gui::VstKeyCode key = toolkitKey(keyCode);
  return frame->onKeyDown(key) > 0;
}

bool AEffGUIEditor::onKeyUp(VstKeyCode& keyCode) {
  if (!frame) return false;
  gui::VstKeyCode key = toolkitKey(keyCode);
  return frame->onKeyUp(key) > 0;
}

bool AEffGUIEditor::onWheel(float distance) {
  if (!frame) return false;
  gui::CPoint where;
  frame->getCurrentLocation(where);
  return frame->onWheel(where, distance, frame->getCurrentMouseButtons());
}

bool AEffGUIEditor::setKnobMode(VstInt32 mode) {
  knobMode = mode;
  return true;
}

int32_t AEffGUIEditor::getKnobMode() const { return knobMode; }

void AEffGUIEditor::beginEdit(int32_t index) {
  if (auto* effectX = dynamic_cast<AudioEffectX*>(effect)) effectX->beginEdit(index);
}

void AEffGUIEditor::endEdit(int32_t index) {
  if (auto* effectX = dynamic_cast<AudioEffectX*>(effect)) effectX->endEdit(index);
}

void AEffGUIEditor::doIdleStuff() {
  uint32_t now = gui::platform::getTicks();
  if (ticksUntil(lastIdleTicks, now) > 0) {
    gui::platform::sleepMilliseconds(kIdleSleepMs);
    now += kIdleSleepMs;
    if (ticksUntil(lastIdleTicks, now) > kIdleEarliestMs) return;
  }
  idle();
  gui::platform::dispatchOnePaintMessage();
  inIdle = true;
  lastIdleTicks = now + kIdlePeriodMs;
  // The host may run anything here, its own idle call to this editor included.
  if (effect) effect->masterIdle();
  inIdle = false;
}

void AEffGUIEditor::draw(ERect* rect) {
  if (!frame) return;
  gui::CDrawContext* context = frame->createDrawContext();
  if (!context) return;
  gui::CRect area = frame->getViewSize();
  if (rect) {
    area = frame->fromWindowPixels(
        gui::CRect(std::min(rect->left, rect->right), std::min(rect->top, rect->bottom),
                   std::max(rect->left, rect->right), std::max(rect->top, rect->bottom)));
  }
  frame->drawRect(context, area);
  context->forget();
}
