// Builds small dialog templates in memory for tests of the window layer.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

class DialogTemplateBuilder {
 public:
  DialogTemplateBuilder(DWORD style, short cx, short cy, const wchar_t* title) {
    DLGTEMPLATE header{};
    header.style = style | DS_SETFONT;
    header.cx = cx;
    header.cy = cy;
    Append(&header, sizeof header);
    AppendWord(0);  // no menu
    AppendWord(0);  // default class
    AppendString(title);
    AppendWord(8);
    AppendString(L"MS Shell Dlg");
  }

  // An item of a predefined class (0x0080 button, 0x0082 static).
  void AddItem(WORD atom, WORD id, DWORD style, short x, short y, short cx, short cy, const wchar_t* text) {
    Align();
    DLGITEMTEMPLATE item{};
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.id = id;
    Append(&item, sizeof item);
    AppendWord(0xFFFF);
    AppendWord(atom);
    AppendString(text);
    AppendWord(0);
    reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit++;
  }

  // A custom class item, named.
  void AddNamedItem(const wchar_t* className, WORD id, DWORD style, short x, short y, short cx, short cy) {
    Align();
    DLGITEMTEMPLATE item{};
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.id = id;
    Append(&item, sizeof item);
    AppendString(className);
    AppendString(L"");
    AppendWord(0);
    reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit++;
  }

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

 private:
  void Append(const void* data, size_t n) {
    size_t at = bytes_.size();
    bytes_.resize(at + n);
    std::memcpy(bytes_.data() + at, data, n);
  }
  void AppendWord(WORD w) { Append(&w, sizeof w); }
  void AppendString(const wchar_t* s) { Append(s, (std::wcslen(s) + 1) * sizeof(wchar_t)); }
  void Align() {
    while (bytes_.size() % 4 != 0) bytes_.push_back(0);
  }
  // DWORD-aligned storage: templates must start on a 4-byte boundary.
  std::vector<unsigned char> bytes_;
};
