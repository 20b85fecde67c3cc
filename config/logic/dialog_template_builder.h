// Builds an extended dialog template (DLGTEMPLATEEX, version 1) in memory,
// for dialogs that have no resource of their own. Plain bytes, so it builds
// and is tested natively; the Win32 side hands Bytes() to DialogBoxIndirect.
//
// Layout written: the header, the title, the font block (always present: the
// header style must carry DS_SETFONT), then each item aligned to 4 bytes with
// its class given as a predefined-class ordinal or as a name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Ordinals of the predefined window classes in a dialog template.
enum class DialogClass : uint16_t { Button = 0x80, Edit = 0x81, Static = 0x82, ListBox = 0x83, ScrollBar = 0x84, ComboBox = 0x85 };

struct DialogRect {
  int16_t x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogFont {
  uint16_t pointSize = 8;
  uint16_t weight = 400;
  bool italic = false;
  uint8_t charset = 1;  // DEFAULT_CHARSET
  std::u16string face = u"MS Shell Dlg";
};

class DialogTemplateBuilder {
 public:
  // The buffer grows in whole steps of this many bytes.
  static constexpr size_t kGrowStep = 1024;

  DialogTemplateBuilder(uint32_t style, uint32_t exStyle, DialogRect rect, const std::u16string& title,
                        const DialogFont& font);

  void AddItem(DialogClass cls, uint32_t id, uint32_t style, uint32_t exStyle, DialogRect rect,
               const std::u16string& text);
  // An item of a registered window class, given by name (a custom control).
  void AddItem(const std::u16string& className, uint32_t id, uint32_t style, uint32_t exStyle, DialogRect rect,
               const std::u16string& text);

  // The finished template; stays valid until the next AddItem.
  const uint8_t* Bytes() const { return bytes_.data(); }
  size_t Size() const { return bytes_.size(); }
  size_t Capacity() const { return bytes_.capacity(); }
  uint16_t ItemCount() const { return itemCount_; }

 private:
  void Put16(uint16_t v);
  void Put32(uint32_t v);
  void PutString(const std::u16string& s);
  void AlignTo4();
  void PutItemHeader(uint32_t id, uint32_t style, uint32_t exStyle, DialogRect rect);
  void FinishItem(const std::u16string& text);
  void Reserve(size_t more);

  std::vector<uint8_t> bytes_;
  uint16_t itemCount_ = 0;
  static constexpr size_t kItemCountOffset = 16;
};

