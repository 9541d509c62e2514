// OLE drag and drop onto a frame window, inside the process, and the items a drag carries.
#include <gtest/gtest.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "CDragContainer.h"
#include "FrameFixture.h"
#include "TestViews.h"

namespace wintest {
namespace {

using gui::CPoint;
using gui::CRect;

// Offers one format as global memory, built on demand.
class OneFormatData : public IDataObject {
 public:
  OneFormatData(CLIPFORMAT format, std::vector<char> bytes)
      : format(format), bytes(std::move(bytes)) {}
  virtual ~OneFormatData() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
      *object = static_cast<IDataObject*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override {
    if (--refs == 0) {
      delete this;
      return 0;
    }
    return refs;
  }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* query, STGMEDIUM* medium) override {
    if (QueryGetData(query) != S_OK) return DV_E_FORMATETC;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    ++dataHandedOut;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* query) override {
    return query && query->cfFormat == format && (query->tymed & TYMED_HGLOBAL) ? S_OK
                                                                                : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    if (out) out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }

  int dataHandedOut = 0;

 private:
  ULONG refs = 1;
  CLIPFORMAT format;
  std::vector<char> bytes;
};

// Lets the drag run a few steps over the window, then drops.
class DropAfterAFewSteps : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
      *object = static_cast<IDropSource*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
    if (escape) return DRAGDROP_S_CANCEL;
    return ++steps >= 3 ? DRAGDROP_S_DROP : S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

  int steps = 0;
};

std::vector<char> textBytes(const char* text) {
  return std::vector<char>(text, text + std::strlen(text) + 1);
}

// A CF_HDROP block: the header, then zero-terminated names and a final zero.
std::vector<char> fileDropBytes(const std::vector<std::string>& names) {
  DROPFILES header = {};
  header.pFiles = sizeof(header);
  std::vector<char> bytes(reinterpret_cast<char*>(&header),
                          reinterpret_cast<char*>(&header) + sizeof(header));
  for (const std::string& name : names)
    bytes.insert(bytes.end(), name.c_str(), name.c_str() + name.size() + 1);
  bytes.push_back(0);
  return bytes;
}

class DragDrop : public FrameFixture {};

TEST_F(DragDrop, ADropInsideTheProcessReachesTheViewUnderThePointer) {
  auto* view = new RecordingView(CRect(50, 40, 150, 120), {90, 90, 90, 255});
  frame->addView(view);
  ASSERT_TRUE(idleAndPaint());
  EXPECT_TRUE(frame->isDropActive());

  const CPoint inside(100, 80);
  const CPoint screen = toScreen(inside);
  SetCursorPos(screen.x, screen.y);
  ASSERT_TRUE(pumpUntil([&] {
    POINT p;
    GetCursorPos(&p);
    return p.x == screen.x && p.y == screen.y;
  }));

  auto* data = new OneFormatData(CF_TEXT, textBytes("dropped text"));
  DropAfterAFewSteps source;
  DWORD effect = DROPEFFECT_NONE;
  const HRESULT result = DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
  data->Release();

  EXPECT_EQ(result, DRAGDROP_S_DROP);
  ASSERT_TRUE(view->has("dragEnter"));
  EXPECT_EQ(view->dragItemsAtEnter, 1);
  ASSERT_TRUE(view->has("drop"));
  EXPECT_EQ(view->of("drop")[0].where, inside);
  EXPECT_EQ(view->droppedText, "dropped text");
  // After the drop the view is told the drag has left it.
  EXPECT_EQ(view->events.back().kind, "dragLeave");
}

TEST(DragContainer, CountsAndReadsTextAndDroppedFiles) {
  auto* text = new OneFormatData(CF_TEXT, textBytes("some text"));
  {
    auto* drag = new gui::CDragContainer(text);
    EXPECT_EQ(drag->getCount(), 1);
    EXPECT_EQ(drag->getType(0), gui::CDragContainer::kText);
    int32_t size = 0;
    int32_t type = 0;
    auto* item = static_cast<const char*>(drag->first(size, type));
    ASSERT_NE(item, nullptr);
    EXPECT_STREQ(item, "some text");
    EXPECT_EQ(size, 9);
    EXPECT_EQ(drag->next(size, type), nullptr);
    drag->forget();
  }
  text->Release();

  auto* files = new OneFormatData(CF_HDROP, fileDropBytes({"C:\\a.wav", "C:\\b.fxp"}));
  {
    auto* drag = new gui::CDragContainer(files);
    EXPECT_EQ(drag->getCount(), 2);
    int32_t size = 0;
    int32_t type = 0;
    auto* first = static_cast<const char*>(drag->first(size, type));
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first, "C:\\a.wav");
    EXPECT_EQ(type, gui::CDragContainer::kFile);
    auto* second = static_cast<const char*>(drag->next(size, type));
    ASSERT_NE(second, nullptr);
    EXPECT_STREQ(second, "C:\\b.fxp");
    EXPECT_EQ(drag->next(size, type), nullptr);
    drag->forget();
  }
  files->Release();

  auto* nothing = new gui::CDragContainer(nullptr);
  EXPECT_EQ(nothing->getCount(), 0);
  nothing->forget();
}

}  // namespace
}  // namespace wintest
