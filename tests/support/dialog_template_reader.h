// Test helper: decodes an extended dialog template (DLGTEMPLATEEX) into plain
// structs, so tests can compare what the resource compiler or the in-memory
// builder produced with the intended layout. Returns false on any overrun.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vivarn_test {

struct TemplateItem {
  uint32_t id = 0, style = 0, exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  std::u16string cls;   // lower-case class name; ordinals are mapped to names
  std::u16string text;  // "#<n>" for an ordinal
};

struct TemplateInfo {
  uint32_t style = 0, exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  std::u16string title, face;
  uint16_t pointSize = 0, weight = 0;
  uint8_t italic = 0, charset = 0;
  std::vector<TemplateItem> items;
  const TemplateItem* Find(uint32_t id) const {
    for (const auto& i : items)
      if (i.id == id) return &i;
    return nullptr;
  }
};

class TemplateCursor {
 public:
  TemplateCursor(const uint8_t* d, size_t n) : data_(d), size_(n) {}
  bool U16(uint16_t& v) {
    if (pos_ + 2 > size_) return false;
    v = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return true;
  }
  bool U32(uint32_t& v) {
    uint16_t lo, hi;
    if (!U16(lo) || !U16(hi)) return false;
    v = lo | (static_cast<uint32_t>(hi) << 16);
    return true;
  }
  bool I16(int16_t& v) {
    uint16_t u;
    if (!U16(u)) return false;
    v = static_cast<int16_t>(u);
    return true;
  }
  bool U8(uint8_t& v) {
    if (pos_ + 1 > size_) return false;
    v = data_[pos_++];
    return true;
  }
  bool Str(std::u16string& s) {
    s.clear();
    for (uint16_t c; U16(c);) {
      if (c == 0) return true;
      s.push_back(static_cast<char16_t>(c));
    }
    return false;
  }
  // A name-or-ordinal field.
  bool SzOrOrd(std::u16string& s, bool isClass) {
    uint16_t first;
    if (!U16(first)) return false;
    if (first == 0) {
      s.clear();
      return true;
    }
    if (first == 0xFFFF) {
      uint16_t ord;
      if (!U16(ord)) return false;
      static const char16_t* names[] = {u"button", u"edit", u"static", u"listbox", u"scrollbar", u"combobox"};
      if (isClass && ord >= 0x80 && ord <= 0x85) s = names[ord - 0x80];
      else s = u"#" + ToU16(std::to_string(ord));
      return true;
    }
    pos_ -= 2;
    if (!Str(s)) return false;
    if (isClass)
      for (auto& c : s)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    return true;
  }
  void Align4() { pos_ = (pos_ + 3) & ~size_t{3}; }
  bool Skip(size_t n) {
    if (pos_ + n > size_) return false;
    pos_ += n;
    return true;
  }
  static std::u16string ToU16(const std::string& a) { return std::u16string(a.begin(), a.end()); }

 private:
  const uint8_t* data_;
  size_t size_, pos_ = 0;
};

inline bool ReadDialogTemplateEx(const uint8_t* data, size_t size, TemplateInfo& out) {
  TemplateCursor c(data, size);
  uint16_t ver, sig, count;
  uint32_t help;
  std::u16string menu, cls;
  if (!c.U16(ver) || !c.U16(sig) || ver != 1 || sig != 0xFFFF) return false;
  if (!c.U32(help) || !c.U32(out.exStyle) || !c.U32(out.style) || !c.U16(count)) return false;
  if (!c.I16(out.x) || !c.I16(out.y) || !c.I16(out.cx) || !c.I16(out.cy)) return false;
  if (!c.SzOrOrd(menu, false) || !c.SzOrOrd(cls, false) || !c.Str(out.title)) return false;
  if (out.style & 0x40L /* DS_SETFONT */) {
    if (!c.U16(out.pointSize) || !c.U16(out.weight) || !c.U8(out.italic) || !c.U8(out.charset) ||
        !c.Str(out.face))
      return false;
  }
  for (uint16_t i = 0; i < count; ++i) {
    TemplateItem item;
    uint16_t extra;
    c.Align4();
    if (!c.U32(help) || !c.U32(item.exStyle) || !c.U32(item.style)) return false;
    if (!c.I16(item.x) || !c.I16(item.y) || !c.I16(item.cx) || !c.I16(item.cy) || !c.U32(item.id)) return false;
    if (!c.SzOrOrd(item.cls, true) || !c.SzOrOrd(item.text, false) || !c.U16(extra) || !c.Skip(extra)) return false;
    out.items.push_back(item);
  }
  return true;
}

}  // namespace vivarn_test
