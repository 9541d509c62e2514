// The Linux plug-in's editor as a host on X11 meets it: Ferrowin.so loaded by path, the editor
// opened in the host's window, real pointer input through the X server (xdotool), the pixels
// read back from it, and the host's callbacks recorded. The controls' arithmetic and binding
// are the headless tests' concern; these check that the X11 layer delivers them.
#include <X11/Xatom.h>
#include <dirent.h>
#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "EditorLayout.h"
#include "X11TestHost.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's count of the bytes allocated and not yet freed.
extern "C" size_t
__sanitizer_get_current_allocated_bytes();  // NOLINT(bugprone-reserved-identifier)
#endif

namespace x11test {
namespace {

constexpr int32_t kUpperButton = 17;
// Values that cross the interface as 32-bit floats after the slider's arithmetic.
constexpr float kValueTolerance = 1e-5f;
// A knob's value from a pointer position a few pixels from its centre: a pixel is a few
// hundredths of its travel.
constexpr float kKnobTolerance = 0.04f;

gui::CPoint centreOf(const gui::CRect& r) {
  return gui::CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// One effect of the library with its editor, as a host holds it, in a window of the host's
// as large as the editor at scale (device pixels per editor pixel).
class Instance {
 public:
  Instance(X11TestHost& host, int screenX, int screenY, int scale = 1)
      : host(host),
        x(screenX),
        y(screenY),
        scale(scale),
        window(host.makeWindow(screenX, screenY, kWidth * scale, kHeight * scale)),
        plugin(host.library().entry(), HostCallback::dispatch) {}

  bool open() { return plugin.dispatch(effEditOpen, 0, 0, parent()) == 1; }
  void close() { plugin.dispatch(effEditClose); }
  void idle() { plugin.dispatch(effEditIdle); }
  void* parent() const { return reinterpret_cast<void*>(window); }
  // "mousemove X Y" to the middle of the screen pixels that show a pixel of the editor.
  std::string moveTo(int localX, int localY) const {
    return "mousemove " + std::to_string(x + localX * scale + scale / 2) + " " +
           std::to_string(y + localY * scale + scale / 2);
  }
  Screenshot shot() const {
    return Screenshot(host.display(), x, y, kWidth * scale, kHeight * scale);
  }
  Rgb pixel(const Screenshot& s, int localX, int localY) const {
    return s.at(x + localX * scale + scale / 2, y + localY * scale + scale / 2);
  }
  // Width and height of the editor's window inside the host's; 0 x 0 without one.
  gui::CPoint editorWindowSize() const {
    Window root = 0;
    Window parentWindow = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    gui::CPoint size;
    if (XQueryTree(host.display(), window, &root, &parentWindow, &children, &count) && count > 0) {
      int wx = 0;
      int wy = 0;
      unsigned int w = 0;
      unsigned int h = 0;
      unsigned int border = 0;
      unsigned int depth = 0;
      if (XGetGeometry(host.display(), children[0], &root, &wx, &wy, &w, &h, &border, &depth))
        size = gui::CPoint(static_cast<int>(w), static_cast<int>(h));
    }
    if (children) XFree(children);
    return size;
  }
  std::string handleFault(const Screenshot& s, int32_t row, float value) const {
    return sliderFault(s, x, y, row, value, scale);
  }
  // Idles until the window shows value on slider row; the fault seen last otherwise.
  std::string waitForHandle(int32_t row, float value) {
    std::string fault;
    idleUntil([&] { idle(); },
              [&] {
                fault = handleFault(shot(), row, value);
                return fault.empty();
              });
    return fault;
  }

  X11TestHost& host;
  int x;
  int y;
  int scale;
  Window window;
  PluginInstance plugin;
};

class SDEditorX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(host.display(), nullptr) << "these tests need an X display (DISPLAY)";
    // The editor's scale, kept per user, comes from a configuration directory of the test's.
    char pattern[] = "/tmp/ferrowin-x11-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    configDirectory = pattern;
    setenv("XDG_CONFIG_HOME", configDirectory.c_str(), 1);
    ASSERT_TRUE(host.library().load(FERROWIN_PLUGIN_PATH)) << host.library().error();
    ui = std::make_unique<Instance>(host, kHostX, kHostY);
    ASSERT_TRUE(ui->plugin.valid());
    // The pointer waits outside every editor with no button held.
    ASSERT_TRUE(xdotool("mouseup 1 " + ui->moveTo(kWidth + 40, 10)));
  }
  void TearDown() override {
    ui.reset();
    setXftDpi(nullptr);
    EXPECT_EQ(X11TestHost::errorCount(), 0) << "X errors reached the host";
    std::system(("rm -rf '" + configDirectory + "'").c_str());
  }
  // The Xft.dpi resource that desktops publish on the root window; null removes it.
  void setXftDpi(const char* dpi) {
    const Window root = DefaultRootWindow(host.display());
    if (dpi) {
      const std::string resources = std::string("Xft.dpi:\t") + dpi + "\n";
      XChangeProperty(host.display(), root, XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(resources.c_str()),
                      static_cast<int>(resources.size()));
    } else {
      XDeleteProperty(host.display(), root, XA_RESOURCE_MANAGER);
    }
    XSync(host.display(), False);
  }
  // The scale the user chose, as the editor keeps it.
  void storeScalePercent(int percent) {
    const std::string directory = configDirectory + "/ferrowin";
    ASSERT_EQ(std::system(("mkdir -p '" + directory + "'").c_str()), 0);
    std::ofstream(directory + "/editor.conf") << "Ferrowin/EditorScalePercent=" << percent << "\n";
  }
  size_t count(VstInt32 opcode) const { return host.callbacks().count(opcode); }
  // A real drag of the cutoff slider from 0 to above its travel: one gesture whose values follow
  // the slider's arithmetic, in editor pixels at any scale.
  void dragCutoffToTheTop();
  // The value of the last automation the host heard.
  float lastAutomated() const {
    const auto& calls = host.callbacks().calls();
    for (auto it = calls.rbegin(); it != calls.rend(); ++it)
      if (it->opcode == audioMasterAutomate) return it->opt;
    return -1.0f;
  }

  X11TestHost host;
  std::unique_ptr<Instance> ui;
  std::string configDirectory;
};

TEST_F(SDEditorX11, AtEachScaleTheWindowHandlesAndADragFollowTheSlider) {
  struct Scale {
    const char* what;
    int storedPercent;   // 0: none stored
    const char* xftDpi;  // null: no resource, the screen's size decides
    int scale;
  };
  // The test display has 100 pixels per inch, nearest to 100 %.
  const Scale scales[] = {
      {"100 % from the screen's size", 0, nullptr, 1},
      {"200 % from Xft.dpi 192", 0, "192", 2},
      {"200 % stored, over Xft.dpi 96", 200, "96", 2},
  };
  for (const Scale& scale : scales) {
    SCOPED_TRACE(scale.what);
    ui.reset();
    if (scale.storedPercent) storeScalePercent(scale.storedPercent);
    setXftDpi(scale.xftDpi);
    ui = std::make_unique<Instance>(host, kHostX, kHostY, scale.scale);
    ASSERT_TRUE(ui->plugin.valid());
    ERect* rect = nullptr;
    ASSERT_EQ(ui->plugin.dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right - rect->left, kWidth * scale.scale);
    EXPECT_EQ(rect->bottom - rect->top, kHeight * scale.scale);
    ASSERT_TRUE(ui->open());
    EXPECT_EQ(ui->editorWindowSize(), gui::CPoint(kWidth * scale.scale, kHeight * scale.scale));
    for (float value : {0.0f, 0.5f, 1.0f}) {
      ui->plugin.setParameter(kCutoff, value);
      EXPECT_EQ(ui->waitForHandle(kCutoffSlider, value), "") << value;
    }
    ui->plugin.setParameter(kCutoff, 0.0f);
    EXPECT_EQ(ui->waitForHandle(kCutoffSlider, 0.0f), "");
    dragCutoffToTheTop();
    ui->close();
  }
}

TEST_F(SDEditorX11, TheBackgroundMenuScalesTheWindowAndTheChoiceIsKept) {
  ASSERT_TRUE(ui->open());
  ASSERT_TRUE(idleUntil([&] { ui->idle(); }, [] { return true; }));
  host.callbacks().clear();
  // The menu shows just right of and below the pointer, its items 20 pixels high at 100 %:
  // 50 pixels down is the third, 200 %. It holds the idle call that handles the click until
  // it is answered, so its answer comes from beside.
  ASSERT_TRUE(xdotool(ui->moveTo(5, 5) + " click 3"));
  std::thread chooser([] {
    // Waits for the menu as long as the idle calls do.
    std::system(
        "timeout 20 xdotool search --sync --name '^Ferrowin menu$' mousemove_relative 20 50 "
        "click 1");
  });
  const bool resized =
      idleUntil([&] { ui->idle(); }, [&] { return count(audioMasterSizeWindow) > 0; });
  chooser.join();
  ASSERT_TRUE(resized) << "no size request reached the host";
  for (const HostCall& call : host.callbacks().calls())
    if (call.opcode == audioMasterSizeWindow) {
      EXPECT_EQ(call.index, 2 * kWidth);
      EXPECT_EQ(call.value, 2 * kHeight);
    }
  // The host here answers nothing to the request: the editor's window follows by itself.
  EXPECT_EQ(ui->editorWindowSize(), gui::CPoint(2 * kWidth, 2 * kHeight));
  ui->close();
  std::ifstream stored(configDirectory + "/ferrowin/editor.conf");
  std::string line;
  std::getline(stored, line);
  EXPECT_EQ(line, "Ferrowin/EditorScalePercent=200");
  // The next effect opens at the chosen scale.
  Instance next(host, kHostX, kHostY, 2);
  ERect* rect = nullptr;
  ASSERT_EQ(next.plugin.dispatch(effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->right - rect->left, 2 * kWidth);
  EXPECT_EQ(rect->bottom - rect->top, 2 * kHeight);
}

void SDEditorX11::dragCutoffToTheTop() {
  const gui::CRect& r = EditorLayout::control(kCutoffSlider).rect;
  // A free press puts the handle's grip (13 rows below its top) under the pointer: the value
  // is 1 - (y - 173) / 130 for the slider at top 160, and 1 above the travel.
  struct Step {
    int y;
    float value;
  };
  const Step steps[] = {
      {238, 0.5f}, {212, 1.0f - 39.0f / 130.0f}, {186, 1.0f - 13.0f / 130.0f}, {150, 1.0f}};
  host.callbacks().clear();
  std::string press = " mousedown 1";
  for (const Step& step : steps) {
    const size_t before = count(audioMasterAutomate);
    ASSERT_TRUE(xdotool(ui->moveTo(r.left + 8, step.y) + press));
    press.clear();
    ASSERT_TRUE(idleUntil([&] { ui->idle(); }, [&] { return count(audioMasterAutomate) > before; }))
        << step.y;
    EXPECT_NEAR(lastAutomated(), step.value, kValueTolerance) << step.y;
  }
  ASSERT_TRUE(xdotool("mouseup 1"));
  ASSERT_TRUE(idleUntil([&] { ui->idle(); }, [&] { return count(audioMasterEndEdit) == 1; }));
  const auto& calls = host.callbacks().calls();
  std::vector<VstInt32> gesture;
  for (const HostCall& call : calls)
    if (call.opcode == audioMasterBeginEdit || call.opcode == audioMasterEndEdit ||
        call.opcode == audioMasterAutomate) {
      gesture.push_back(call.opcode);
      EXPECT_EQ(call.index, kCutoff);
    }
  ASSERT_GE(gesture.size(), 6u);
  EXPECT_EQ(gesture.front(), audioMasterBeginEdit);
  EXPECT_EQ(gesture.back(), audioMasterEndEdit);
  EXPECT_EQ(count(audioMasterBeginEdit), 1u);
  EXPECT_FLOAT_EQ(ui->plugin.getParameter(kCutoff), 1.0f);
  EXPECT_EQ(ui->waitForHandle(kCutoffSlider, 1.0f), "");
}

TEST_F(SDEditorX11, ButtonsKnobsCtrlClicksAndTheWheelReachTheHost) {
  struct Gesture {
    const char* what;
    int32_t row;  // the control under the pointer
    int dx;       // where the press is, from the control's centre
    int dy;
    const char* input;  // xdotool's commands after the pointer is there
    int32_t parameter;
    float before;  // the parameter's value before the gesture
    float after;   // and after it
    float tolerance;
  };
  // A knob turns by the angle around its centre: pointing up is the middle of its travel,
  // pointing right 225 of its 270 degrees. The wheel moves a control by a tenth a notch;
  // the sideways wheel (6, 7) moves nothing.
  const Gesture gestures[] = {
      {"the HP button", kUpperButton + 1, 0, 0, "click 1", kFilterType, 0.0f, 0.5f, 0.0f},
      {"the BP button", kUpperButton + 2, 0, 0, "click 1", kFilterType, 0.5f, 1.0f, 0.0f},
      {"the LP button", kUpperButton, 0, 0, "click 1", kFilterType, 1.0f, 0.0f, 0.0f},
      {"Ctrl-click on a slider", kCutoffSlider, 0, 0, "keydown ctrl click 1 keyup ctrl", kCutoff,
       0.123f, 1.0f, 0.0f},
      {"Ctrl-click on a knob", 0, 0, 0, "keydown ctrl click 1 keyup ctrl", kFilterKeyTrack, 0.123f,
       0.5f, 0.0f},
      {"a knob drag", 0, 0, -10, "mousedown 1 mousemove_relative 10 10 mouseup 1", kFilterKeyTrack,
       0.5f, 225.0f / 270.0f, kKnobTolerance},
      {"the wheel up", kResonanceSlider, 0, 0, "click 4", kResonance, 0.5f, 0.6f, kValueTolerance},
      {"the wheel down", kResonanceSlider, 0, 0, "click 5", kResonance, 0.5f, 0.4f,
       kValueTolerance},
      {"the sideways wheel, then up", kResonanceSlider, 0, 0, "click 6 click 7 click 4", kResonance,
       0.5f, 0.6f, kValueTolerance},
  };
  ASSERT_TRUE(ui->open());
  for (const Gesture& g : gestures) {
    ui->plugin.setParameter(g.parameter, g.before);
    ASSERT_TRUE(idleUntil([&] { ui->idle(); }, [] { return true; }));
    host.callbacks().clear();
    const gui::CPoint c = centreOf(EditorLayout::control(g.row).rect);
    ASSERT_TRUE(xdotool(ui->moveTo(c.x + g.dx, c.y + g.dy) + " " + g.input)) << g.what;
    // A gesture ends with its automation, or with the end of the edit it began.
    ASSERT_TRUE(idleUntil([&] { ui->idle(); },
                          [&] {
                            return count(audioMasterAutomate) > 0 &&
                                   count(audioMasterEndEdit) >= count(audioMasterBeginEdit) &&
                                   std::abs(ui->plugin.getParameter(g.parameter) - g.after) <=
                                       g.tolerance;
                          }))
        << g.what << ": the parameter is " << ui->plugin.getParameter(g.parameter);
    EXPECT_NEAR(lastAutomated(), ui->plugin.getParameter(g.parameter), kValueTolerance) << g.what;
    for (const HostCall& call : host.callbacks().calls())
      if (call.opcode == audioMasterAutomate) {
        EXPECT_EQ(call.index, g.parameter) << g.what;
      }
  }
  // The last click lit the LP button and put the others out.
  std::string fault;
  EXPECT_TRUE(idleUntil([&] { ui->idle(); },
                        [&] {
                          const Screenshot s = ui->shot();
                          fault.clear();
                          for (int32_t b = 0; b < 3; ++b) {
                            const gui::CRect& r = EditorLayout::control(kUpperButton + b).rect;
                            if ((b == 0) != isAmber(ui->pixel(s, r.left + 4, r.top + 4)))
                              fault += " button " + std::to_string(b);
                          }
                          return fault.empty();
                        }))
      << "wrongly lit:" << fault;
  ui->close();
}

TEST_F(SDEditorX11, HostChangesShowAtTheNextIdleInTwoEditorsSideBySide) {
  Instance second(host, kHostX, kHostY + kHeight + 20);
  ui->plugin.setParameter(kCutoff, 0.0f);
  second.plugin.setParameter(kCutoff, 1.0f);
  ASSERT_TRUE(ui->open());
  ASSERT_TRUE(second.open());
  EXPECT_EQ(ui->waitForHandle(kCutoffSlider, 0.0f), "");
  EXPECT_EQ(second.waitForHandle(kCutoffSlider, 1.0f), "");
  struct Change {
    float first;
    float second;
  };
  for (const Change& change : {Change{1.0f, 0.0f}, Change{0.5f, 0.25f}}) {
    ui->plugin.setParameter(kCutoff, change.first);
    second.plugin.setParameter(kCutoff, change.second);
    // One idle each; the pictures then reach the server without further calls.
    ui->idle();
    second.idle();
    std::string fault;
    EXPECT_TRUE(idleUntil([] {},
                          [&] {
                            fault = ui->handleFault(ui->shot(), kCutoffSlider, change.first) +
                                    second.handleFault(second.shot(), kCutoffSlider, change.second);
                            return fault.empty();
                          }))
        << change.first << ", " << change.second << ": " << fault;
  }
  second.close();
  ui->close();
}

// Live heap bytes: exact under AddressSanitizer, else what the allocator hands out.
size_t liveHeapBytes() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

int openFileCount() {
  int n = 0;
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (readdir(dir)) ++n;
    closedir(dir);
  }
  return n;
}

TEST_F(SDEditorX11, AThousandOpenCloseCyclesLeaveNothingBehind) {
  constexpr int kWarmUp = 20;
  constexpr int kCycles = 1000;
  // Allocators keep a little per size class; a control or a bitmap left per cycle is far more.
  constexpr size_t kAllowedGrowthBytes = 64 * 1024;
  const Window root = DefaultRootWindow(host.display());
  auto cycle = [&] {
    ASSERT_TRUE(ui->open());
    ui->idle();
    ui->close();
    host.callbacks().clear();
  };
  for (int i = 0; i < kWarmUp; ++i) cycle();
  const size_t heapBefore = liveHeapBytes();
  const int filesBefore = openFileCount();
  const int windowsBefore = host.childCount(root);
  for (int i = 0; i < kCycles; ++i) cycle();
  const size_t heapAfter = liveHeapBytes();
  std::printf(
      "%d open/close cycles: heap %zu -> %zu bytes, open files %d -> %d, top-level "
      "windows %d -> %d\n",
      kCycles, heapBefore, heapAfter, filesBefore, openFileCount(), windowsBefore,
      host.childCount(root));
  EXPECT_LE(heapAfter, heapBefore + kAllowedGrowthBytes);
  EXPECT_EQ(openFileCount(), filesBefore);
  EXPECT_EQ(host.childCount(root), windowsBefore);
  EXPECT_EQ(host.childCount(ui->window), 0) << "an editor window outlived its close";
}

TEST_F(SDEditorX11, TheHostDestroysItsWindowDuringADrag) {
  ui->plugin.setParameter(kCutoff, 0.0f);
  ASSERT_TRUE(ui->open());
  EXPECT_EQ(ui->waitForHandle(kCutoffSlider, 0.0f), "");
  const gui::CRect& r = EditorLayout::control(kCutoffSlider).rect;
  host.callbacks().clear();
  ASSERT_TRUE(xdotool(ui->moveTo(r.left + 8, 238) + " mousedown 1"));
  ASSERT_TRUE(idleUntil([&] { ui->idle(); }, [&] { return count(audioMasterAutomate) > 0; }));
  XDestroyWindow(host.display(), ui->window);
  XSync(host.display(), False);
  EXPECT_TRUE(idleUntil([&] { ui->idle(); }, [&] { return count(audioMasterEndEdit) == 1; }));
  ASSERT_TRUE(xdotool("mouseup 1"));
  ui->close();
  EXPECT_EQ(count(audioMasterBeginEdit), 1u);
  EXPECT_EQ(count(audioMasterEndEdit), 1u);
  // The editor opens again in a new window.
  ui->window = host.makeWindow(kHostX, kHostY, kWidth, kHeight);
  ASSERT_TRUE(ui->open());
  EXPECT_EQ(ui->waitForHandle(kCutoffSlider, 0.5f), "");
  ui->close();
}

TEST_F(SDEditorX11, WithoutAUsableDisplayOrParentTheEditorDoesNotOpen) {
  const std::string display = std::getenv("DISPLAY");
  struct Case {
    const char* what;
    const char* displayName;  // null: DISPLAY unset
    Window parent;
  };
  const Window noWindow = ui->window + 0x100000;  // an id the server never gave out
  const Case cases[] = {
      {"no DISPLAY", nullptr, ui->window},
      {"a display without a server", ":987", ui->window},
      {"a parent that is no window", display.c_str(), noWindow},
  };
  for (const Case& c : cases) {
    if (c.displayName)
      setenv("DISPLAY", c.displayName, 1);
    else
      unsetenv("DISPLAY");
    EXPECT_EQ(ui->plugin.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(c.parent)), 0)
        << c.what;
    ui->idle();
    ui->close();
    setenv("DISPLAY", display.c_str(), 1);
    ERect* rect = nullptr;
    ASSERT_EQ(ui->plugin.dispatch(effEditGetRect, 0, 0, &rect), 1) << c.what;
    EXPECT_EQ(rect->right - rect->left, kWidth) << c.what;
    EXPECT_EQ(rect->bottom - rect->top, kHeight) << c.what;
  }
  EXPECT_EQ(host.childCount(ui->window), 0);
  EXPECT_TRUE(ui->open()) << "the editor opens once the display and the parent are right";
  ui->close();
}

}  // namespace
}  // namespace x11test
