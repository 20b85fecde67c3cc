// Scope-bound handles under wine: given back at scope end, on reset and when
// another owner's handle is assigned; a move leaves the source empty; null and
// INVALID_HANDLE_VALUE are never closed.
#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

#include "engine/core/scoped_handle_win32.h"

namespace {
bool IsOpen(HANDLE handle) {
  DWORD flags = 0;
  return GetHandleInformation(handle, &flags) != FALSE;
}

HANDLE MakeEvent() { return CreateEventW(nullptr, TRUE, FALSE, nullptr); }

// The kernel handle's own rules, every close counted.
struct CountedKernelHandle : KernelHandleTraits {
  static void Close(HANDLE handle) {
    ++closes;
    KernelHandleTraits::Close(handle);
  }
  static int closes;
};
int CountedKernelHandle::closes = 0;

// Records the window each DC goes back to.
struct RecordedWindowDc : WindowDcTraits {
  using WindowDcTraits::WindowDcTraits;
  void Close(HDC dc) const {
    ++releases;
    releasedTo = window;
    WindowDcTraits::Close(dc);
  }
  static int releases;
  static HWND releasedTo;
};
int RecordedWindowDc::releases = 0;
HWND RecordedWindowDc::releasedTo = nullptr;
}  // namespace

TEST(GdiObjects, ScopeEndRestoresTheSelectionThenDeletesTheObject) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ before = GetCurrentObject(dc, OBJ_PEN);
  HPEN raw = nullptr;
  {
    ScopedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
    raw = pen.get();
    ScopedSelection selected(dc, GetStockObject(NULL_PEN));
    selected.Select(raw);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), raw);
  }
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), before);
  EXPECT_EQ(GetObjectType(raw), 0u);
  DeleteDC(dc);
}

TEST(ScopedHandle, ResetDeletesTheObjectHeldSoFar) {
  const HPEN first = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  const HPEN second = CreatePen(PS_SOLID, 1, RGB(4, 5, 6));
  {
    ScopedGdiObject<HPEN> pen(first);
    pen.reset(second);
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_PEN));
  }
  EXPECT_EQ(GetObjectType(second), 0u);
}

TEST(ScopedHandle, MoveLeavesTheSourceEmptyAndAssignmentClosesTheTargetsHandle) {
  const HANDLE moved = MakeEvent();
  const HANDLE replaced = MakeEvent();
  ScopedKernelHandle source(moved);
  {
    ScopedKernelHandle target(std::move(source));
    EXPECT_EQ(source.get(), nullptr);
    ScopedKernelHandle other(replaced);
    other = std::move(target);
    EXPECT_EQ(target.get(), nullptr);
    EXPECT_EQ(other.get(), moved);
    EXPECT_FALSE(IsOpen(replaced));
    EXPECT_TRUE(IsOpen(moved));
  }
  EXPECT_FALSE(IsOpen(moved));
}

TEST(ScopedHandle, NullAndInvalidAreNeverClosedNorIsAReleasedHandle) {
  CountedKernelHandle::closes = 0;
  const HANDLE event = MakeEvent();
  {
    ScopedHandle<CountedKernelHandle> empty;
    ScopedHandle<CountedKernelHandle> null(nullptr);
    ScopedHandle<CountedKernelHandle> invalid(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(invalid);
    invalid.reset();
    ScopedHandle<CountedKernelHandle> given(event);
    EXPECT_EQ(given.release(), event);
  }
  EXPECT_EQ(CountedKernelHandle::closes, 0);
  EXPECT_TRUE(IsOpen(event));
  { ScopedHandle<CountedKernelHandle> owned(event); }
  EXPECT_EQ(CountedKernelHandle::closes, 1);
  EXPECT_FALSE(IsOpen(event));
}

TEST(ScopedHandle, AWindowDcGoesBackToItsWindowAfterMoves) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  RecordedWindowDc::releases = 0;
  {
    ScopedHandle<RecordedWindowDc> lent(GetDC(window), RecordedWindowDc(window));
    ASSERT_TRUE(lent);
    ScopedHandle<RecordedWindowDc> moved(std::move(lent));
    ScopedHandle<RecordedWindowDc> assigned;
    assigned = std::move(moved);
  }
  EXPECT_EQ(RecordedWindowDc::releases, 1);
  EXPECT_EQ(RecordedWindowDc::releasedTo, window);
  DestroyWindow(window);
}
