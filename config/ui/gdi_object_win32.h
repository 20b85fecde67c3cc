// GDI objects owned by a scope or a member, and objects selected into a
// device context for one scope, so drawing code neither leaks a pen nor
// deletes an object a DC still holds. Also the one-brush-for-every-colour fill
// the colour controls paint their swatches with.
// Depends on: <windows.h> only.
#pragma once

#include <windows.h>

// Owns one pen, brush, font or bitmap and deletes it on destruction.
template <class Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  GdiObject(GdiObject&& other) noexcept : handle_(other.Release()) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { Reset(); }

  Handle Get() const { return handle_; }
  // Deletes the object owned so far and owns `handle` instead.
  void Reset(Handle handle = nullptr) {
    if (handle_ != nullptr) DeleteObject(handle_);
    handle_ = handle;
  }
  Handle Release() {
    Handle h = handle_;
    handle_ = nullptr;
    return h;
  }

 private:
  Handle handle_ = nullptr;
};

// Selects an object into a DC and, at the end of the scope, puts back the
// object that selection replaced. Declare it after the owned object it
// selects, so the DC lets go of the object before it is deleted.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { SelectObject(dc_, previous_); }

  // Selects another object of the same kind; the scope's end still restores
  // the one replaced first.
  void Select(HGDIOBJ object) { SelectObject(dc_, object); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A memory DC compatible with another DC, deleted at the end of its scope.
// Declare it before the objects selected into it.
class MemoryDc {
 public:
  explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() {
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// A monochrome pattern brush whose bits are all zero: it paints in the DC's
// text colour, so one brush fills any colour exactly (no dithering).
GdiObject<HBRUSH> MakePatternBrush();
// Fills `r` with exactly `colour` through such a brush; the DC's colours are
// left as they were.
void FillSolid(HDC dc, HBRUSH pattern, const RECT& r, COLORREF colour);
