// The bundle's user interface as an LV2 host on X11 meets it: the UI binary loaded by path and
// driven through its descriptor, the host's window given as ui:parent, real pointer input
// through the X server (xdotool), the pixels read back from it, and what reaches the host's
// write function and touch feature recorded. The editor's own behaviour is the editor tests'
// concern; these check what the LV2 side carries.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "EditorLayout.h"
#include "X11TestHost.h"
#include "lv2/ui/ui.h"
#include "lv2/urid/urid.h"

namespace x11test {
namespace {

constexpr uint32_t kCutoffPort = 5;  // control ports, one per parameter
constexpr uint32_t kResonancePort = 6;
// Values that cross as 32-bit floats after the slider's arithmetic.
constexpr float kValueTolerance = 1e-5f;

// What the UI told the host, in order: a value written to a port, or a touch.
struct HostNote {
  enum Kind { write, grab, release } kind;
  uint32_t port;
  float value;
};

class Lv2UiHost {
 public:
  explicit Lv2UiHost(X11TestHost& x11) : x11(x11) {
    library = dlopen(FERROWIN_LV2_UI_PATH, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return;
    auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(library, "lv2ui_descriptor"));
    descriptor = entry ? entry(0) : nullptr;
    window = x11.makeWindow(kHostX, kHostY, kWidth, kHeight);
    touch = {this, [](LV2UI_Feature_Handle host, uint32_t port, bool grabbed) {
               static_cast<Lv2UiHost*>(host)->notes.push_back(
                   {grabbed ? HostNote::grab : HostNote::release, port, 0.0f});
             }};
    resize = {this, [](LV2UI_Feature_Handle host, int width, int height) {
                static_cast<Lv2UiHost*>(host)->sizeAsked = {width, height};
                return 0;
              }};
    map = {this, [](LV2_URID_Map_Handle, const char*) -> LV2_URID { return 1; }};
  }
  ~Lv2UiHost() {
    cleanup();
    if (library != nullptr) dlclose(library);
  }
  Lv2UiHost(const Lv2UiHost&) = delete;
  Lv2UiHost& operator=(const Lv2UiHost&) = delete;

  // Instantiates with these features; false when the UI answered null.
  bool instantiate(const std::vector<const LV2_Feature*>& offered) {
    std::vector<const LV2_Feature*> features = offered;
    features.push_back(nullptr);
    handle = descriptor->instantiate(descriptor, "urn:ferrowin:lv2:ferrowin", "", &Lv2UiHost::write,
                                     this, &widget, features.data());
    if (handle == nullptr) return false;
    const auto* idleInterface =
        static_cast<const LV2UI_Idle_Interface*>(descriptor->extension_data(LV2_UI__idleInterface));
    idleCall = idleInterface ? idleInterface->idle : nullptr;
    return idleCall != nullptr;
  }
  void cleanup() {
    if (handle != nullptr) descriptor->cleanup(handle);
    handle = nullptr;
  }
  void idle() { EXPECT_EQ(idleCall(handle), 0); }
  std::string moveTo(int localX, int localY) const {
    return "mousemove " + std::to_string(kHostX + localX) + " " + std::to_string(kHostY + localY);
  }
  // Idles until the window shows value on slider row; the fault seen last otherwise.
  std::string waitForHandle(int32_t row, float value) {
    std::string fault;
    idleUntil([&] { idle(); },
              [&] {
                fault = sliderFault(Screenshot(x11.display(), kHostX, kHostY, kWidth, kHeight),
                                    kHostX, kHostY, row, value);
                return fault.empty();
              });
    return fault;
  }
  size_t count(HostNote::Kind kind) const {
    size_t n = 0;
    for (const HostNote& note : notes) n += note.kind == kind ? 1 : 0;
    return n;
  }

  LV2_Feature parentFeature() const { return {LV2_UI__parent, reinterpret_cast<void*>(window)}; }

  X11TestHost& x11;
  void* library = nullptr;
  const LV2UI_Descriptor* descriptor = nullptr;
  Window window = 0;
  LV2UI_Handle handle = nullptr;
  LV2UI_Widget widget = nullptr;
  int (*idleCall)(LV2UI_Handle) = nullptr;
  LV2UI_Touch touch{};
  LV2UI_Resize resize{};
  LV2_URID_Map map{};
  std::vector<HostNote> notes;
  std::pair<int, int> sizeAsked{0, 0};

 private:
  static void write(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t format,
                    const void* buffer) {
    auto* host = static_cast<Lv2UiHost*>(const_cast<void*>(controller));
    float value = -1.0f;
    if (format == 0 && size == sizeof value) std::memcpy(&value, buffer, sizeof value);
    host->notes.push_back({HostNote::write, port, value});
  }
};

class Lv2EditorUiX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(x11.display(), nullptr) << "these tests need an X display (DISPLAY)";
    ASSERT_NE(host.descriptor, nullptr) << dlerror();
    ASSERT_TRUE(xdotool("mouseup 1 " + host.moveTo(kWidth + 40, 10)));
  }
  void TearDown() override {
    EXPECT_EQ(X11TestHost::errorCount(), 0) << "X errors reached the host";
  }

  X11TestHost x11;
  Lv2UiHost host{x11};
};

TEST_F(Lv2EditorUiX11, PortEventsShowAndADragWritesPortsBetweenTouches) {
  const LV2_Feature parent = host.parentFeature();
  const LV2_Feature touch = {LV2_UI__touch, &host.touch};
  const LV2_Feature resize = {LV2_UI__resize, &host.resize};
  const LV2_Feature map = {LV2_URID__map, &host.map};
  ASSERT_TRUE(host.instantiate({&map, &parent, &touch, &resize}));
  EXPECT_EQ(host.sizeAsked, std::make_pair(kWidth, kHeight));
  EXPECT_NE(host.widget, nullptr);
  EXPECT_EQ(x11.childCount(host.window), 1);

  // Host changes, and input that is none of the editor's, show at the next idle.
  struct Change {
    uint32_t port;
    uint32_t size;
    uint32_t format;
    float value;
    int32_t row;
    float shown;
  };
  const Change changes[] = {
      {kCutoffPort, 4, 0, 0.0f, kCutoffSlider, 0.0f},
      {kResonancePort, 4, 0, 0.75f, kResonanceSlider, 0.75f},
      {kCutoffPort, 4, 0, 0.25f, kCutoffSlider, 0.25f},
      {kCutoffPort, 4, 1, 0.9f, kCutoffSlider, 0.25f},  // an atom format: not a control's
      {kCutoffPort, 2, 0, 0.9f, kCutoffSlider, 0.25f},  // no whole float
      {99, 4, 0, 0.9f, kCutoffSlider, 0.25f},           // no port of the plug-in
      {kCutoffPort, 4, 0, 0.0f, kCutoffSlider, 0.0f},
  };
  for (const Change& c : changes) {
    host.descriptor->port_event(host.handle, c.port, c.size, c.format, &c.value);
    EXPECT_EQ(host.waitForHandle(c.row, c.shown), "") << c.port << " " << c.value;
  }
  EXPECT_TRUE(host.notes.empty()) << "a host change went back to the host";

  // A free press puts the handle's grip (13 rows below its top) under the pointer: the value
  // is 1 - (y - 173) / 130 for the slider at top 160, and 1 above the travel.
  struct Step {
    int y;
    float value;
  };
  const Step steps[] = {{238, 0.5f}, {212, 1.0f - 39.0f / 130.0f}, {150, 1.0f}};
  const gui::CRect& r = EditorLayout::control(kCutoffSlider).rect;
  std::string press = " mousedown 1";
  for (const Step& step : steps) {
    const size_t before = host.count(HostNote::write);
    ASSERT_TRUE(xdotool(host.moveTo(r.left + 8, step.y) + press));
    press.clear();
    ASSERT_TRUE(
        idleUntil([&] { host.idle(); }, [&] { return host.count(HostNote::write) > before; }))
        << step.y;
    EXPECT_EQ(host.notes.back().port, kCutoffPort);
    EXPECT_NEAR(host.notes.back().value, step.value, kValueTolerance) << step.y;
  }
  ASSERT_TRUE(xdotool("mouseup 1"));
  ASSERT_TRUE(idleUntil([&] { host.idle(); }, [&] { return host.count(HostNote::release) == 1; }));
  EXPECT_EQ(host.notes.front().kind, HostNote::grab);
  EXPECT_EQ(host.notes.back().kind, HostNote::release);
  EXPECT_EQ(host.count(HostNote::grab), 1u);
  for (const HostNote& note : host.notes) EXPECT_EQ(note.port, kCutoffPort);
  EXPECT_EQ(host.waitForHandle(kCutoffSlider, 1.0f), "");
  host.cleanup();
  EXPECT_EQ(x11.childCount(host.window), 0);
}

TEST_F(Lv2EditorUiX11, WithoutAParentOrADisplayInstantiateAnswersNull) {
  const std::string display = std::getenv("DISPLAY");
  const LV2_Feature parent = host.parentFeature();
  const LV2_Feature touch = {LV2_UI__touch, &host.touch};
  struct Case {
    const char* what;
    const char* displayName;  // null: DISPLAY unset
    std::vector<const LV2_Feature*> features;
  };
  const Case cases[] = {
      {"no features", display.c_str(), {}},
      {"no parent", display.c_str(), {&touch}},
      {"no DISPLAY", nullptr, {&parent, &touch}},
      {"a display without a server", ":987", {&parent}},
  };
  for (const Case& c : cases) {
    if (c.displayName)
      setenv("DISPLAY", c.displayName, 1);
    else
      unsetenv("DISPLAY");
    EXPECT_FALSE(host.instantiate(c.features)) << c.what;
    EXPECT_EQ(host.handle, nullptr) << c.what;
    setenv("DISPLAY", display.c_str(), 1);
  }
  EXPECT_EQ(x11.childCount(host.window), 0);
  EXPECT_TRUE(host.notes.empty());
  EXPECT_TRUE(host.instantiate({&parent})) << "the UI opens once it has a display and a parent";
}

}  // namespace
}  // namespace x11test
