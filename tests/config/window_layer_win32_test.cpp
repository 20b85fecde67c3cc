// The thin window layer under wine: message maps, subclassing, reflection,
// dialogs (modal and modeless), property sheets and the message loop.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "config/logic/dialog_template_builder.h"
#include "config/ui/dialog_impl_win32.h"
#include "config/ui/message_loop_win32.h"
#include "config/ui/property_sheet_win32.h"
#include "config/ui/window_impl_win32.h"
#include "tests/config/test_host_win32.h"

namespace {
constexpr UINT kPing = WM_USER + 5;
constexpr DWORD kItem = WS_CHILD | WS_VISIBLE;

const DLGTEMPLATE* AsTemplate(const DialogTemplateBuilder& t) {
  return reinterpret_cast<const DLGTEMPLATE*>(t.Bytes());
}

class Recorder : public CWindowImpl {
 public:
  bool ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
    seen.push_back(message);
    if (message == kPing) {
      result = static_cast<LRESULT>(wParam) * 2;
      return true;
    }
    if (message == OCM_COMMAND || message == OCM_NOTIFY || message == OCM_DRAWITEM) {
      reflected.push_back(message);
      result = 77;
      return true;
    }
    return false;
  }
  bool Saw(UINT m) const {
    for (UINT s : seen)
      if (s == m) return true;
    return false;
  }
  void OnFinalMessage(HWND) override { finalMessages++; }
  std::vector<UINT> seen;
  std::vector<UINT> reflected;
  int finalMessages = 0;
};

HWND MakeButton(HWND parent, UINT id, const wchar_t* text) {
  return CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24, parent,
                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}
}  // namespace

TEST(WindowImpl, CreatedWindowRoutesItsMessagesThroughTheMap) {
  ASSERT_TRUE(CWindowImpl::RegisterWindowClass(L"VivarnLayerTest", 0, nullptr, nullptr));
  ASSERT_TRUE(CWindowImpl::RegisterWindowClass(L"VivarnLayerTest", 0, nullptr, nullptr));  // again: fine
  Recorder window;
  RECT r{0, 0, 50, 50};
  HWND w = window.Create(L"VivarnLayerTest", nullptr, r, L"first", WS_POPUP);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(window.Handle(), w);
  EXPECT_EQ(CWindowImpl::FromHandle(w), &window);
  // Bound before WM_NCCREATE: creation messages reach the map.
  EXPECT_TRUE(window.Saw(WM_NCCREATE));
  EXPECT_TRUE(window.Saw(WM_CREATE));
  EXPECT_EQ(SendMessageW(w, kPing, 21, 0), 42);
  // Unhandled messages get default processing.
  SetWindowTextW(w, L"second");
  wchar_t text[16] = {};
  GetWindowTextW(w, text, 16);
  EXPECT_STREQ(text, L"second");
  DestroyWindow(w);
  EXPECT_EQ(window.Handle(), nullptr);
  EXPECT_EQ(window.finalMessages, 1);
}

TEST(WindowImpl, DestroyingTheObjectDestroysItsWindow) {
  ASSERT_TRUE(CWindowImpl::RegisterWindowClass(L"VivarnLayerTest", 0, nullptr, nullptr));
  HWND w = nullptr;
  {
    Recorder window;
    RECT r{0, 0, 50, 50};
    w = window.Create(L"VivarnLayerTest", nullptr, r, L"", WS_POPUP);
    ASSERT_NE(w, nullptr);
  }
  EXPECT_FALSE(IsWindow(w));
}

TEST(WindowImpl, SubclassingSeesTheControlsMessagesAndKeepsItsBehaviour) {
  TestHost host;
  ASSERT_TRUE(host.Open());
  HWND button = MakeButton(host.Handle(), 300, L"before");
  Recorder sub;
  ASSERT_TRUE(sub.Subclass(button));
  EXPECT_TRUE(sub.IsSubclassed());
  Recorder second;
  EXPECT_FALSE(second.Subclass(button));  // one object per window

  SetWindowTextW(button, L"after");
  EXPECT_TRUE(sub.Saw(WM_SETTEXT));
  wchar_t text[16] = {};
  GetWindowTextW(button, text, 16);
  EXPECT_STREQ(text, L"after");  // the button's own procedure still ran
  EXPECT_EQ(SendMessageW(button, kPing, 4, 0), 8);

  EXPECT_EQ(sub.Unsubclass(), button);
  sub.seen.clear();
  EXPECT_EQ(SendMessageW(button, kPing, 4, 0), 0);
  EXPECT_FALSE(sub.Saw(kPing));
  EXPECT_EQ(CWindowImpl::FromHandle(button), nullptr);
}

TEST(WindowImpl, SubclassedControlUnbindsWhenDestroyed) {
  TestHost host;
  ASSERT_TRUE(host.Open());
  HWND button = MakeButton(host.Handle(), 300, L"x");
  Recorder sub;
  ASSERT_TRUE(sub.Subclass(button));
  DestroyWindow(button);
  EXPECT_EQ(sub.Handle(), nullptr);
  EXPECT_EQ(sub.finalMessages, 1);
}

TEST(Reflection, ParentSendsCommandNotifyAndDrawItemBackToTheChild) {
  TestHost host;
  ASSERT_TRUE(host.Open());
  HWND button = MakeButton(host.Handle(), 301, L"x");
  Recorder child;
  ASSERT_TRUE(child.Subclass(button));

  SendMessageW(button, BM_CLICK, 0, 0);
  ASSERT_EQ(host.CountCommands(BN_CLICKED), 1);
  NMHDR header{button, 301, NM_CLICK};
  EXPECT_EQ(SendMessageW(host.Handle(), WM_NOTIFY, 301, reinterpret_cast<LPARAM>(&header)), 77);
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_BUTTON;
  draw.CtlID = 301;
  draw.hwndItem = button;
  EXPECT_EQ(SendMessageW(host.Handle(), WM_DRAWITEM, 301, reinterpret_cast<LPARAM>(&draw)), 77);
  ASSERT_EQ(child.reflected.size(), 3u);
  EXPECT_EQ(child.reflected[0], OCM_COMMAND);
  EXPECT_EQ(child.reflected[1], OCM_NOTIFY);
  EXPECT_EQ(child.reflected[2], OCM_DRAWITEM);

  // A menu command names no window and is not reflected.
  LRESULT result = 0;
  EXPECT_FALSE(ReflectNotifications(WM_COMMAND, 5, 0, result));
  EXPECT_FALSE(ReflectNotifications(WM_PAINT, 0, 0, result));
}

namespace {
class EndsItself : public CDialogImpl {
 public:
  using CDialogImpl::CDialogImpl;
  bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    switch (message) {
      case WM_INITDIALOG:
        initParam = lParam;
        PostMessageW(window, WM_USER + 1, 0, 0);
        return false;
      case WM_NOTIFY:
        result = 1234;  // must come back through DWLP_MSGRESULT
        return true;
      case WM_USER + 1: {
        NMHDR header{window, 1, 0};
        notifyAnswer = SendMessageW(window, WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header));
        EndDialog(42);
        result = 0;
        return true;
      }
      default:
        return false;
    }
  }
  LPARAM initParam = 0;
  LRESULT notifyAnswer = 0;
};
}  // namespace

TEST(DialogImpl, ModalDialogFromAMemoryTemplateEndsWithItsResult) {
  DialogTemplateBuilder t(DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, {0, 0, 100, 50}, u"modal", {});
  t.AddItem(DialogClass::Button, IDOK, kItem | BS_DEFPUSHBUTTON, 0, {10, 10, 40, 14}, u"OK");
  EndsItself dialog(AsTemplate(t));
  EXPECT_EQ(dialog.DoModal(nullptr, 99), 42);
  EXPECT_EQ(dialog.initParam, 99);
  EXPECT_EQ(dialog.notifyAnswer, 1234);
  EXPECT_EQ(dialog.Handle(), nullptr);
}

TEST(DialogImpl, ModelessDialogIsDestroyedByEndDialog) {
  DialogTemplateBuilder t(DS_SETFONT | WS_POPUP | WS_CAPTION, 0, {0, 0, 100, 50}, u"modeless", {});
  t.AddItem(DialogClass::Static, 500, kItem, 0, {10, 10, 60, 10}, u"label");
  Recorder unused;
  class Plain : public CDialogImpl {
   public:
    using CDialogImpl::CDialogImpl;
    bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override { return false; }
  } dialog(AsTemplate(t));
  HWND w = dialog.Create(nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(dialog.IsModal());
  EXPECT_NE(GetDlgItem(w, 500), nullptr);
  EXPECT_TRUE(dialog.EndDialog(0));
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(dialog.Handle(), nullptr);
}

TEST(DialogImpl, MissingTemplateFails) {
  class Plain : public CDialogImpl {
   public:
    using CDialogImpl::CDialogImpl;
    bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override { return false; }
  } dialog(4321);
  EXPECT_EQ(dialog.DoModal(nullptr), -1);
  EXPECT_EQ(dialog.Create(nullptr), nullptr);
}

namespace {
class CountingPage : public CPropertyPageImpl {
 public:
  CountingPage(const DLGTEMPLATE* t, const wchar_t* title) : CPropertyPageImpl(t, title) {}
  bool ProcessWindowMessage(HWND, UINT message, WPARAM, LPARAM lParam, LRESULT& result) override {
    if (message == WM_INITDIALOG) inits++;
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == PSN_SETACTIVE) {
      activations++;
      result = 0;
      return true;
    }
    return false;
  }
  int inits = 0;
  int activations = 0;
};

class Sheet : public CPropertySheetImpl {
 public:
  Sheet() : CPropertySheetImpl(L"sheet") {}
  void OnSheetInitialized() override { initializedWithHandle = Handle() != nullptr; }
  bool initializedWithHandle = false;
};
}  // namespace

TEST(PropertySheet, ModelessSheetAddsInsertsAndRemovesPages) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  DialogTemplateBuilder t(DS_SETFONT | WS_CHILD | WS_CAPTION | DS_CONTROL, 0, {0, 0, 150, 80}, u"", {});
  t.AddItem(DialogClass::Static, 600, kItem, 0, {10, 10, 60, 10}, u"page");
  CountingPage first(AsTemplate(t), L"First"), middle(AsTemplate(t), L"Middle"), last(AsTemplate(t), L"Last");
  Sheet sheet;
  ASSERT_TRUE(sheet.AddPage(first.CreatePage()));
  ASSERT_TRUE(sheet.AddPage(last.CreatePage()));
  EXPECT_EQ(sheet.GetPageCount(), 2);
  HWND w = sheet.Create(nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(sheet.initializedWithHandle);
  EXPECT_EQ(sheet.Handle(), w);
  EXPECT_EQ(sheet.GetPageCount(), 2);
  EXPECT_EQ(first.inits, 1);
  EXPECT_GE(first.activations, 1);
  ASSERT_NE(first.Handle(), nullptr);
  EXPECT_EQ(sheet.GetPageIndex(first.Handle()), 0);

  ASSERT_TRUE(sheet.InsertPage(1, middle.CreatePage()));
  EXPECT_EQ(sheet.GetPageCount(), 3);
  SendMessageW(w, PSM_SETCURSEL, 1, 0);
  EXPECT_EQ(middle.inits, 1);
  EXPECT_EQ(sheet.GetPageIndex(middle.Handle()), 1);
  EXPECT_TRUE(sheet.RemovePage(1));
  EXPECT_EQ(sheet.GetPageCount(), 2);
  EXPECT_FALSE(sheet.RemovePage(7));
  // A removed page can come back with a new handle and a new window.
  ASSERT_TRUE(sheet.InsertPage(1, middle.CreatePage()));
  SendMessageW(w, PSM_SETCURSEL, 1, 0);
  EXPECT_EQ(middle.inits, 2);

  DestroyWindow(w);
  EXPECT_EQ(sheet.Handle(), nullptr);
}

namespace {
class SwallowUser1 : public CMessageFilter {
 public:
  bool PreTranslateMessage(MSG* m) override {
    if (m->message == WM_USER + 1) {
      swallowed++;
      return true;
    }
    return false;
  }
  int swallowed = 0;
};

class QuitWhenIdle : public CIdleHandler {
 public:
  void OnIdle() override {
    // The first idle turn makes more work; the second ends the loop.
    if (++calls == 1) PostMessageW(window, WM_USER + 3, 0, 0);
    if (calls == 2) PostQuitMessage(5);
  }
  HWND window = nullptr;
  int calls = 0;
};
}  // namespace

TEST(MessageLoop, FiltersConsumeMessagesAndIdleHandlersRunWhenTheQueueIsEmpty) {
  ASSERT_TRUE(CWindowImpl::RegisterWindowClass(L"VivarnLayerTest", 0, nullptr, nullptr));
  Recorder window;
  RECT r{0, 0, 10, 10};
  ASSERT_NE(window.Create(L"VivarnLayerTest", nullptr, r, L"", WS_POPUP), nullptr);
  CMessageLoop loop;
  SwallowUser1 filter;
  QuitWhenIdle idle;
  loop.AddMessageFilter(&filter);
  idle.window = window.Handle();
  loop.AddIdleHandler(&idle);
  PostMessageW(window.Handle(), WM_USER + 1, 0, 0);
  PostMessageW(window.Handle(), WM_USER + 2, 0, 0);
  window.seen.clear();
  EXPECT_EQ(loop.Run(), 5);
  EXPECT_EQ(filter.swallowed, 1);
  EXPECT_FALSE(window.Saw(WM_USER + 1));
  EXPECT_TRUE(window.Saw(WM_USER + 2));
  EXPECT_TRUE(window.Saw(WM_USER + 3));
  EXPECT_EQ(idle.calls, 2);
}

TEST(WindowImpl, OwnClassWindowMadeWithoutAnObjectCanBeTakenOver) {
  // As a dialog template makes a registered control before a page attaches.
  ASSERT_TRUE(CWindowImpl::RegisterWindowClass(L"VivarnLayerTest", 0, nullptr, nullptr));
  HWND w = CreateWindowExW(0, L"VivarnLayerTest", L"orphan", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(CWindowImpl::FromHandle(w), nullptr);
  Recorder late;
  ASSERT_TRUE(late.Subclass(w));
  EXPECT_EQ(SendMessageW(w, kPing, 5, 0), 10);
  SetWindowTextW(w, L"adopted");  // default processing, no endless chaining
  wchar_t text[16] = {};
  GetWindowTextW(w, text, 16);
  EXPECT_STREQ(text, L"adopted");
  EXPECT_EQ(late.Unsubclass(), w);
  EXPECT_EQ(SendMessageW(w, kPing, 5, 0), 0);
  DestroyWindow(w);
}
