// Frames made and destroyed on a real window: the window class, GDI+ and memory come back to
// where they were.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

#include "CBitmap.h"
#include "CDrawContext.h"
#include "CFontDesc.h"
#include "CFrame.h"
#include "CViewContainer.h"
#include "GDIPlusGlobals.h"
#include "ModuleHandle.h"
#include "TestViews.h"
#include "WineTestSupport.h"
#include "platform/win32/CDropTarget.h"
#include "platform/win32/FrameWindowClass.h"
#include "platform/win32/ResourceStream.h"

namespace wintest {
namespace {

using gui::CRect;

constexpr int32_t kWidth = 320;
constexpr int32_t kHeight = 240;
constexpr int kCycles = 200;
constexpr int kWarmUpCycles = 10;
// Heaps grow in steps and keep freed blocks; growth beyond this over 200 frames is a leak of
// at least a few kilobytes per frame.
constexpr SIZE_T kAllowedGrowthBytes = 512 * 1024;
constexpr int32_t kBitmapResource = 300;
constexpr int32_t kDataResource = 301;
constexpr ULONG kResourceBytes = 1590;  // quadrants.bmp

bool classRegistered() {
  char name[64];
  std::snprintf(name, sizeof(name), "Plugin%p", gui::getModuleHandle());
  WNDCLASSA info;
  return GetClassInfoA(static_cast<HINSTANCE>(gui::getModuleHandle()), name, &info) != 0;
}

// A frame with a small tree: a container with a bitmap background and ten views, painted once.
void makePaintAndDestroyFrame(HWND host) {
  auto* frame = new gui::CFrame(CRect(0, 0, kWidth, kHeight), host, nullptr);
  auto* container = new gui::CViewContainer(CRect(10, 10, 300, 200));
  auto* background = new gui::CBitmap(kBitmapResource);
  container->setBackground(background);
  background->forget();
  frame->addView(container);
  for (int i = 0; i < 10; ++i)
    container->addView(new RecordingView(CRect(10 + 25 * i, 10, 30 + 25 * i, 50),
                                         {static_cast<uint8_t>(20 * i), 100, 200, 255}));
  frame->idle();
  HWND window = static_cast<HWND>(frame->getWindow());
  pumpUntil([&] { return !GetUpdateRect(window, nullptr, FALSE); });
  frame->forget();
}

class FrameLifetime : public ::testing::Test {
 protected:
  void SetUp() override {
    gui::setModuleHandle(GetModuleHandleA(nullptr));
    host = std::make_unique<TestHost>(40, 40, kWidth, kHeight);
  }
  std::unique_ptr<TestHost> host;
};

TEST_F(FrameLifetime, TwoFramesShareOneWindowClass) {
  EXPECT_FALSE(classRegistered());
  auto* first = new gui::CFrame(CRect(0, 0, 100, 100), host->window(), nullptr);
  auto* second = new gui::CFrame(CRect(100, 0, 200, 100), host->window(), nullptr);
  ASSERT_NE(first->getWindow(), nullptr);
  ASSERT_NE(second->getWindow(), nullptr);
  char firstClass[64] = {};
  char secondClass[64] = {};
  GetClassNameA(static_cast<HWND>(first->getWindow()), firstClass, sizeof(firstClass));
  GetClassNameA(static_cast<HWND>(second->getWindow()), secondClass, sizeof(secondClass));
  EXPECT_STREQ(firstClass, secondClass);
  EXPECT_EQ(gui::platform::frameWindowClassUseCount(), 2);

  first->forget();
  EXPECT_TRUE(classRegistered()) << "the second frame still uses the class";
  second->forget();
  EXPECT_FALSE(classRegistered());
  EXPECT_EQ(gui::platform::frameWindowClassUseCount(), 0);
}

TEST_F(FrameLifetime, HostDestroyingItsWindowFirstLeavesAClosedFrame) {
  auto* frame = new gui::CFrame(CRect(0, 0, kWidth, kHeight), host->window(), nullptr);
  ASSERT_NE(frame->getWindow(), nullptr);
  EXPECT_EQ(gui::CDropTarget::getLiveCount(), 1);
  host.reset();  // destroys the frame's window with it
  EXPECT_FALSE(frame->getOpenFlag());
  EXPECT_EQ(frame->getSystemWindow(), nullptr);
  EXPECT_EQ(gui::CDropTarget::getLiveCount(), 0) << "the drop target went with the window";
  frame->idle();  // does nothing while closed
  frame->forget();
  EXPECT_FALSE(classRegistered());
  EXPECT_EQ(gui::GDIPlusGlobals::getInstance(), nullptr);
}

TEST_F(FrameLifetime, GraphicsSystemStartsOnceAndStartsAgainAfterTheLastRelease) {
  ASSERT_EQ(gui::GDIPlusGlobals::getInstance(), nullptr);
  auto* first = new gui::CBitmap(kBitmapResource);
  gui::GDIPlusGlobals* started = gui::GDIPlusGlobals::getInstance();
  ASSERT_NE(started, nullptr);
  auto* second = new gui::CBitmap(kBitmapResource);
  auto* frame = new gui::CFrame(CRect(0, 0, kWidth, kHeight), host->window(), nullptr);
  EXPECT_EQ(gui::GDIPlusGlobals::getInstance(), started);
  EXPECT_EQ(started->getNbReference(), 3);

  // Text makes the standard font's GDI+ font while GDI+ runs.
  gui::CDrawContext* context = frame->createDrawContext();
  const int32_t widthBefore = context->getStringWidth("Ferrowin");
  context->forget();
  EXPECT_GT(widthBefore, 0);

  first->forget();
  second->forget();
  EXPECT_NE(gui::GDIPlusGlobals::getInstance(), nullptr);
  frame->forget();
  EXPECT_EQ(gui::GDIPlusGlobals::getInstance(), nullptr);

  // A description of its own outlives GDI+ too; no GDI+ font survives the shut-down.
  auto* ownFont = new gui::CFontDesc("Arial", 14);
  frame = new gui::CFrame(CRect(0, 0, kWidth, kHeight), host->window(), nullptr);
  context = frame->createDrawContext();
  EXPECT_EQ(context->getStringWidth("Ferrowin"), widthBefore);
  context->setFont(ownFont);
  const int32_t ownWidthBefore = context->getStringWidth("Ferrowin");
  context->forget();
  EXPECT_TRUE(ownFont->hasPlatformFont());
  EXPECT_TRUE(gui::kSystemFont->hasPlatformFont());
  frame->forget();
  EXPECT_EQ(gui::GDIPlusGlobals::getInstance(), nullptr);
  EXPECT_FALSE(ownFont->hasPlatformFont());
  EXPECT_FALSE(gui::kSystemFont->hasPlatformFont());

  // After a restart the fonts are made anew, not taken from the old GDI+.
  auto* again = new gui::CBitmap(kBitmapResource);
  EXPECT_NE(gui::GDIPlusGlobals::getInstance(), nullptr);
  EXPECT_EQ(again->getWidth(), 32);
  frame = new gui::CFrame(CRect(0, 0, kWidth, kHeight), host->window(), nullptr);
  context = frame->createDrawContext();
  EXPECT_EQ(context->getStringWidth("Ferrowin"), widthBefore);
  context->setFont(ownFont);
  EXPECT_EQ(context->getStringWidth("Ferrowin"), ownWidthBefore);
  EXPECT_GT(ownWidthBefore, widthBefore) << "14 pixels against the system font's 12";
  context->forget();
  ownFont->forget();
  frame->forget();
  again->forget();
  EXPECT_EQ(gui::GDIPlusGlobals::getInstance(), nullptr);
}

TEST_F(FrameLifetime, TwoHundredFramesLeaveNothingBehind) {
  for (int i = 0; i < kWarmUpCycles; ++i) makePaintAndDestroyFrame(host->window());
  const ProcessMemory before = memoryNow();
  const DWORD start = GetTickCount();
  for (int i = 0; i < kCycles; ++i) makePaintAndDestroyFrame(host->window());
  const DWORD elapsed = GetTickCount() - start;
  const ProcessMemory after = memoryNow();

  std::printf("frames: %d in %lu ms\n", kCycles, elapsed);
  printGrowth(before, after);

  EXPECT_FALSE(classRegistered());
  EXPECT_EQ(gui::platform::frameWindowClassUseCount(), 0);
  EXPECT_EQ(gui::GDIPlusGlobals::getInstance(), nullptr) << "GDI+ still started";
  EXPECT_EQ(gui::CDropTarget::getLiveCount(), 0);
  EXPECT_LE(after.privateBytes, before.privateBytes + kAllowedGrowthBytes);
  EXPECT_LE(after.committedPrivate, before.committedPrivate + kAllowedGrowthBytes);
  EXPECT_LE(after.heapInUse, before.heapInUse + kAllowedGrowthBytes / 8)
      << "more than a few hundred bytes per frame stay allocated";
}

// The stream that GDI+ decodes "DATA" resources from.
class ResourceStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gui::setModuleHandle(GetModuleHandleA(nullptr));
    stream = new gui::platform::ResourceStream();
  }
  void TearDown() override { stream->Release(); }
  gui::platform::ResourceStream* stream = nullptr;
};

TEST_F(ResourceStreamTest, OpensDataResourcesOnly) {
  EXPECT_FALSE(stream->open(gui::CResourceDescription(kBitmapResource)))
      << "a bitmap resource is not a DATA resource";
  EXPECT_FALSE(stream->open(gui::CResourceDescription(999)));
  ASSERT_TRUE(stream->open(gui::CResourceDescription(kDataResource)));
  EXPECT_EQ(stream->getSize(), kResourceBytes);
  STATSTG stat = {};
  EXPECT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(stat.cbSize.QuadPart, kResourceBytes);
  EXPECT_EQ(stat.pwcsName, nullptr);
}

TEST_F(ResourceStreamTest, ReadsWholeBlocksOrNothing) {
  ASSERT_TRUE(stream->open(gui::CResourceDescription(kDataResource)));
  char bytes[10] = {};
  ULONG read = 99;
  EXPECT_EQ(stream->Read(bytes, 2, &read), S_OK);
  EXPECT_EQ(read, 2u);
  EXPECT_EQ(std::string(bytes, 2), "BM");
  EXPECT_EQ(stream->getPosition(), 2u);

  LARGE_INTEGER move;
  move.QuadPart = kResourceBytes - 5;
  ASSERT_EQ(stream->Seek(move, STREAM_SEEK_SET, nullptr), S_OK);
  EXPECT_EQ(stream->Read(bytes, 10, &read), S_FALSE);
  EXPECT_EQ(read, 0u);
  EXPECT_EQ(stream->getPosition(), kResourceBytes - 5);
  EXPECT_EQ(stream->Read(bytes, 5, &read), S_OK);
  EXPECT_EQ(stream->getPosition(), kResourceBytes);
}

TEST_F(ResourceStreamTest, SeeksInsideTheDataOnly) {
  ASSERT_TRUE(stream->open(gui::CResourceDescription(kDataResource)));
  LARGE_INTEGER move;
  ULARGE_INTEGER position;
  move.QuadPart = kResourceBytes;
  EXPECT_EQ(stream->Seek(move, STREAM_SEEK_SET, &position), S_FALSE);
  move.QuadPart = kResourceBytes - 1;
  EXPECT_EQ(stream->Seek(move, STREAM_SEEK_SET, &position), S_OK);
  EXPECT_EQ(position.QuadPart, kResourceBytes - 1);
  move.QuadPart = -10;
  EXPECT_EQ(stream->Seek(move, STREAM_SEEK_CUR, &position), S_OK);
  EXPECT_EQ(position.QuadPart, kResourceBytes - 11);
  move.QuadPart = -static_cast<LONGLONG>(kResourceBytes);
  EXPECT_EQ(stream->Seek(move, STREAM_SEEK_CUR, nullptr), S_FALSE);
  EXPECT_EQ(stream->getPosition(), kResourceBytes - 11);
  move.QuadPart = 0;
  EXPECT_EQ(stream->Seek(move, STREAM_SEEK_END, nullptr), S_FALSE);
  EXPECT_EQ(stream->Seek(move, 7, nullptr), STG_E_INVALIDFUNCTION);
  EXPECT_EQ(stream->Revert(), S_OK);
  EXPECT_EQ(stream->getPosition(), 0u);

  IStream* asStream = nullptr;
  EXPECT_EQ(stream->QueryInterface(IID_IStream, reinterpret_cast<void**>(&asStream)), S_OK);
  EXPECT_EQ(asStream, stream);
  asStream->Release();
  void* other = reinterpret_cast<void*>(1);
  EXPECT_EQ(stream->QueryInterface(IID_IDropTarget, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
}

}  // namespace
}  // namespace wintest
