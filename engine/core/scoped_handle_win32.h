// Win32 handles owned by a scope or a member: registry keys, GDI objects,
// device contexts, icons and kernel handles go back to the system when their
// owner ends, so an early return cannot leak one and none is given back
// twice. Also an object selected into a device context for one scope.
// Depends on: <windows.h> only.
#pragma once

#include <windows.h>

#include <utility>

// Owns one handle, in the manner of a unique_ptr. Traits name the Handle
// type, say which values are no handle at all (Owns: never closed) and give
// one back (Close); they may carry what closing needs, such as a DC's window.
template <class Traits>
class ScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandle() = default;
  explicit ScopedHandle(Handle handle, Traits traits = Traits()) : handle_(handle), traits_(std::move(traits)) {}
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()), traits_(other.traits_) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) {
      reset();
      traits_ = other.traits_;
      handle_ = other.release();
    }
    return *this;
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ~ScopedHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return Traits::Owns(handle_); }
  // Gives the handle up without closing it.
  Handle release() {
    const Handle handle = handle_;
    handle_ = Handle();
    return handle;
  }
  // Closes the handle held so far and holds `handle` instead.
  void reset(Handle handle = Handle()) {
    if (Traits::Owns(handle_)) traits_.Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Handle();
  Traits traits_;
};

// Most kinds fail with a null handle.
template <class H>
struct NullIsNoHandle {
  using Handle = H;
  static bool Owns(H handle) { return handle != nullptr; }
};

struct RegKeyTraits : NullIsNoHandle<HKEY> {
  static void Close(HKEY key) { RegCloseKey(key); }
};

// Pens, brushes, fonts, bitmaps and regions.
template <class H>
struct GdiObjectTraits : NullIsNoHandle<H> {
  static void Close(H object) { DeleteObject(object); }
};

// A DC made by CreateCompatibleDC or CreateDC.
struct CreatedDcTraits : NullIsNoHandle<HDC> {
  static void Close(HDC dc) { DeleteDC(dc); }
};

// A DC lent by GetDC, given back to the window it came from (null: the screen).
struct WindowDcTraits : NullIsNoHandle<HDC> {
  explicit WindowDcTraits(HWND from = nullptr) : window(from) {}
  void Close(HDC dc) const { ReleaseDC(window, dc); }
  HWND window;
};

struct IconTraits : NullIsNoHandle<HICON> {
  static void Close(HICON icon) { DestroyIcon(icon); }
};

// Some creating calls fail with INVALID_HANDLE_VALUE (CreateFileW), others
// with null; neither is closed.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static bool Owns(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE handle) { CloseHandle(handle); }
};

using ScopedRegKey = ScopedHandle<RegKeyTraits>;
template <class H>
using ScopedGdiObject = ScopedHandle<GdiObjectTraits<H>>;
using ScopedCreatedDc = ScopedHandle<CreatedDcTraits>;
using ScopedWindowDc = ScopedHandle<WindowDcTraits>;
using ScopedIcon = ScopedHandle<IconTraits>;
using ScopedKernelHandle = ScopedHandle<KernelHandleTraits>;

// Selects an object into a DC and, at the end of the scope, puts back the
// object that selection replaced. Declare it after the owner of the object it
// selects, so the DC lets go of the object before it is deleted. A null object
// selects nothing, and nothing is put back for it.
class ScopedSelection {
 public:
  ScopedSelection(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
  ScopedSelection(const ScopedSelection&) = delete;
  ScopedSelection& operator=(const ScopedSelection&) = delete;
  ~ScopedSelection() {
    if (previous_ != nullptr) SelectObject(dc_, previous_);
  }

  // Selects another object of the same kind; the scope's end still restores
  // the one replaced first.
  void Select(HGDIOBJ object) {
    const HGDIOBJ replaced = SelectObject(dc_, object);
    if (previous_ == nullptr) previous_ = replaced;
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};
