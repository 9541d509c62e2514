// An effect with a small editor for the edit command's tests. Opening the editor makes one
// gesture on parameter 1 ("Tone"): begin, a change to 0.25, end. Built a second time with
// EDITOR_TEST_NO_RECT, it offers an editor that reports no window size.
#include "AEffGUIEditor.h"
#include "AudioEffectX.h"
#include "CFrame.h"
#include "TestPluginExport.h"
#include "TextLimit.h"

namespace {

const char* const kNames[2] = {"Level", "Tone"};

class EditorTestEffect : public AudioEffectX {
 public:
  explicit EditorTestEffect(audioMasterCallback host) : AudioEffectX(host, 1, 2) {
    setNumInputs(2);
    setNumOutputs(2);
  }
  void processReplacing(float** /*inputs*/, float** /*outputs*/, VstInt32 /*frames*/) override {}
  void setParameter(VstInt32 index, float value) override {
    if (index >= 0 && index < 2) values[index] = value;
  }
  float getParameter(VstInt32 index) override {
    return index >= 0 && index < 2 ? values[index] : 0.0f;
  }
  void getParameterName(VstInt32 index, char* text) override {
    copyLimited(text, index >= 0 && index < 2 ? kNames[index] : "", kVstMaxParamStrLen);
  }
  void getParameterDisplay(VstInt32 index, char* text) override {
    float2string(getParameter(index), text, kVstMaxParamStrLen);
  }
  bool getEffectName(char* name) override {
    copyLimited(name, "EditorTest", kVstMaxEffectNameLen - 1);
    return true;
  }

 private:
  float values[2] = {0.5f, 0.5f};
};

class EditorTestEditor : public AEffGUIEditor {
 public:
  explicit EditorTestEditor(AudioEffect* effect) : AEffGUIEditor(effect) {
    editorRect.right = 240;
    editorRect.bottom = 120;
  }
  ~EditorTestEditor() override { EditorTestEditor::close(); }
  EditorTestEditor(const EditorTestEditor&) = delete;
  EditorTestEditor& operator=(const EditorTestEditor&) = delete;

#if defined(EDITOR_TEST_NO_RECT)
  bool getRect(ERect** rect) override {
    *rect = nullptr;
    return false;
  }
#endif

  bool open(void* window) override {
    AEffGUIEditor::open(window);
    auto* made = new gui::CFrame(gui::CRect(0, 0, 240, 120), window, this);
    made->setBackgroundColor(gui::CColor{40, 120, 90, 255});
    frame = made;
    beginEdit(1);
    effect->setParameterAutomated(1, 0.25f);
    endEdit(1);
    return true;
  }
  void close() override {
    if (frame) frame->forget();
    frame = nullptr;
    AEffGUIEditor::close();
  }
};

}  // namespace

TEST_PLUGIN_EXPORT AEffect* VSTPluginMain(audioMasterCallback host) {
  auto* effect = new EditorTestEffect(host);
  new EditorTestEditor(effect);  // the effect owns it
  return effect->getAeffect();
}
