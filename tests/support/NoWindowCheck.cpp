// Linked into every Windows test program that runs beside the window tests (it takes no display
// lock): the program fails when it creates a window on its main thread, as such a window could
// take a window test's pointer events. Each case runs as a program of its own, so the check
// names the case.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

int windowsCreated = 0;
char firstClass[64] = "";

// Only windows on the desktop count: message-only windows (COM's apartment window, for one)
// hang below a root of their own and never appear on the screen.
LRESULT CALLBACK countCreations(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const auto window = reinterpret_cast<HWND>(wParam);
    if (GetAncestor(GetAncestor(window, GA_ROOT), GA_PARENT) == GetDesktopWindow() &&
        windowsCreated++ == 0)
      GetClassNameA(window, firstClass, sizeof firstClass);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class NoWindowCheck : public ::testing::Environment {
 public:
  void SetUp() override {
    hook = SetWindowsHookExA(WH_CBT, countCreations, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr) << "cannot watch for windows (error " << GetLastError() << ")";
  }
  void TearDown() override {
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(windowsCreated, 0) << "this program created windows (the first of class \""
                                 << firstClass
                                 << "\"), so it must take the display lock (USES_DISPLAY)";
  }

 private:
  HHOOK hook = nullptr;
};

// Registered before main runs; GoogleTest owns and deletes the environment.
[[maybe_unused]] const auto* const registered =
    ::testing::AddGlobalTestEnvironment(new NoWindowCheck);

}  // namespace
