#include "config/logic/dialog_template_builder.h"

#include "engine/core/byte_order.h"

DialogTemplateBuilder::DialogTemplateBuilder(uint32_t style, uint32_t exStyle, DialogRect rect,
                                             const std::u16string& title, const DialogFont& font) {
  Put16(1);       // dlgVer
  Put16(0xFFFF);  // signature of the extended form
  Put32(0);       // helpID
  Put32(exStyle);
  Put32(style);
  Put16(0);  // cDlgItems, patched by AddItem
  Put16(static_cast<uint16_t>(rect.x));
  Put16(static_cast<uint16_t>(rect.y));
  Put16(static_cast<uint16_t>(rect.cx));
  Put16(static_cast<uint16_t>(rect.cy));
  Put16(0);  // no menu
  Put16(0);  // the standard dialog class
  PutString(title);
  Put16(font.pointSize);
  Put16(font.weight);
  Reserve(2);
  bytes_.push_back(font.italic ? 1 : 0);
  bytes_.push_back(font.charset);
  PutString(font.face);
}

void DialogTemplateBuilder::AddItem(DialogClass cls, uint32_t id, uint32_t style, uint32_t exStyle,
                                    DialogRect rect, const std::u16string& text) {
  PutItemHeader(id, style, exStyle, rect);
  Put16(0xFFFF);
  Put16(static_cast<uint16_t>(cls));
  FinishItem(text);
}

void DialogTemplateBuilder::AddItem(const std::u16string& className, uint32_t id, uint32_t style,
                                    uint32_t exStyle, DialogRect rect, const std::u16string& text) {
  PutItemHeader(id, style, exStyle, rect);
  PutString(className);
  FinishItem(text);
}

void DialogTemplateBuilder::PutItemHeader(uint32_t id, uint32_t style, uint32_t exStyle, DialogRect rect) {
  AlignTo4();
  Put32(0);  // helpID
  Put32(exStyle);
  Put32(style);
  Put16(static_cast<uint16_t>(rect.x));
  Put16(static_cast<uint16_t>(rect.y));
  Put16(static_cast<uint16_t>(rect.cx));
  Put16(static_cast<uint16_t>(rect.cy));
  Put32(id);
}

void DialogTemplateBuilder::FinishItem(const std::u16string& text) {
  PutString(text);
  Put16(0);  // no creation data
  ++itemCount_;
  byte_order::WriteLE16(bytes_.data() + kItemCountOffset, itemCount_);
}

void DialogTemplateBuilder::Reserve(size_t more) {
  const size_t needed = bytes_.size() + more;
  if (needed <= bytes_.capacity()) return;
  bytes_.reserve((needed + kGrowStep - 1) / kGrowStep * kGrowStep);
}

void DialogTemplateBuilder::Put16(uint16_t v) {
  Reserve(2);
  byte_order::AppendLE16(bytes_, v);
}

void DialogTemplateBuilder::Put32(uint32_t v) {
  Reserve(4);
  byte_order::AppendLE32(bytes_, v);
}

void DialogTemplateBuilder::PutString(const std::u16string& s) {
  for (char16_t c : s) Put16(static_cast<uint16_t>(c));
  Put16(0);
}

void DialogTemplateBuilder::AlignTo4() {
  while (bytes_.size() % 4 != 0) {
    Reserve(1);
    bytes_.push_back(0);
  }
}

