#include "Lv2EditorUi.h"

#include <new>

#include "CFrame.h"
#include "ParameterTable.h"
#include "lv2/core/lv2_util.h"
#include "platform/PlatformWindow.h"

Lv2EditorUi* Lv2EditorUi::create(LV2UI_Write_Function write, LV2UI_Controller controller,
                                 const LV2_Feature* const* features, LV2UI_Widget* widget) {
  void* parent = lv2_features_data(features, LV2_UI__parent);
  if (parent == nullptr || write == nullptr || widget == nullptr) return nullptr;
  const auto* touch = static_cast<const LV2UI_Touch*>(lv2_features_data(features, LV2_UI__touch));
  auto* ui = new (std::nothrow) Lv2EditorUi(write, controller, touch);
  if (ui == nullptr) return nullptr;
  if (!ui->editor.open(parent)) {
    delete ui;
    return nullptr;
  }
  ERect* rect = nullptr;
  ui->editor.getRect(&rect);
  if (const auto* resize =
          static_cast<const LV2UI_Resize*>(lv2_features_data(features, LV2_UI__resize));
      resize != nullptr && resize->ui_resize != nullptr)
    resize->ui_resize(resize->handle, rect->right - rect->left, rect->bottom - rect->top);
  *widget = reinterpret_cast<LV2UI_Widget>(
      gui::platform::getSystemWindowId(ui->editor.getFrame()->getWindow()));
  return ui;
}

Lv2EditorUi::Lv2EditorUi(LV2UI_Write_Function write, LV2UI_Controller controller,
                         const LV2UI_Touch* touch)
    : write(write), controller(controller), touch(touch), values(nullptr), editor(*this) {
  // The effect made an editor of its own, which this interface has no use for.
  values.setEditor(nullptr);
}

void Lv2EditorUi::portEvent(uint32_t port, uint32_t bufferSize, uint32_t format,
                            const void* buffer) {
  // Control port i carries parameter i (see Lv2Adapter).
  if (format != 0 || bufferSize != sizeof(float) || buffer == nullptr) return;
  if (port >= static_cast<uint32_t>(kNumParameters)) return;
  const auto index = static_cast<int32_t>(port);
  const float value = *static_cast<const float*>(buffer);
  values.setParameter(index, value);
  editor.setParameter(index, value);
}

int Lv2EditorUi::idle() {
  editor.idle();
  return 0;
}

float Lv2EditorUi::getParameter(int32_t index) { return values.getParameter(index); }

void Lv2EditorUi::setParameterAutomated(int32_t index, float value) {
  if (!isParameterIndex(index)) return;
  values.setParameter(index, value);
  write(controller, static_cast<uint32_t>(index), sizeof value, 0, &value);
  editor.setParameter(index, value);
}

void Lv2EditorUi::getParameterDisplay(int32_t index, char* text) {
  values.getParameterDisplay(index, text);
}

void Lv2EditorUi::beginEdit(int32_t index) { touched(index, true); }

void Lv2EditorUi::endEdit(int32_t index) { touched(index, false); }

void Lv2EditorUi::touched(int32_t index, bool grabbed) {
  if (touch != nullptr && touch->touch != nullptr && isParameterIndex(index))
    touch->touch(touch->handle, static_cast<uint32_t>(index), grabbed);
}
