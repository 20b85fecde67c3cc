#include "config/logic/picker_logic.h"

const uint32_t kPickerPalette[kPickerColourCount] = {
    0x000000, 0x002999, 0x002929, 0x002900, 0x662900, 0x800000, 0x992929, 0x292929,
    0x000080, 0x0066FF, 0x008080, 0x008000, 0x808000, 0xFF0000, 0x996666, 0x808080,
    0x0000FF, 0x0099FF, 0x00CC99, 0x669929, 0xCCCC29, 0xFF6629, 0x800080, 0x999999,
    0xFF00FF, 0x00CCFF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFFCC00, 0x662999, 0xC0C0C0,
    0xCC99FF, 0x99CCFF, 0x99FFFF, 0xCCFFCC, 0xFFFFCC, 0xFFCC99, 0xFF99CC, 0xFFFFFF,
};

int32_t NavigatePicker(int32_t selected, PickerKey key, int32_t count, int32_t columns) {
  if (count <= 0) return -1;
  if (columns <= 0) columns = 1;
  const int32_t last = count - 1;
  const bool valid = selected >= 0 && selected < count;
  switch (key) {
    case PickerKey::Left:
      return (!valid || selected == 0) ? last : selected - 1;
    case PickerKey::Right:
      return (!valid || selected == last) ? 0 : selected + 1;
    case PickerKey::Up:
      if (!valid) return last;
      return selected - columns >= 0 ? selected - columns : selected;
    case PickerKey::Down:
      if (!valid) return 0;
      return selected + columns <= last ? selected + columns : selected;
    case PickerKey::Home:
      return 0;
    case PickerKey::End:
      return last;
  }
  return selected;
}

int32_t PickerItemForColour(uint32_t colour, const uint32_t* cells, int32_t count) {
  if (colour == CLR_NONE) return -1;
  if (colour == CLR_DEFAULT) return PICKER_DEFAULT;
  for (int32_t i = 0; i < count; ++i)
    if (cells[i] == colour) return i;
  return PICKER_CUSTOM;
}

void SplitPickerTexts(const std::wstring& buttonText, std::wstring& defaultText, std::wstring& customText) {
  defaultText.clear();
  customText.clear();
  size_t first = buttonText.find(L'\n');
  if (first == std::wstring::npos) return;
  size_t second = buttonText.find(L'\n', first + 1);
  defaultText = buttonText.substr(first + 1, second == std::wstring::npos ? std::wstring::npos : second - first - 1);
  if (second == std::wstring::npos) return;
  size_t third = buttonText.find(L'\n', second + 1);
  customText = buttonText.substr(second + 1, third == std::wstring::npos ? std::wstring::npos : third - second - 1);
}

uint32_t PickerTint(uint32_t windowColour, uint32_t highlightColour) {
  uint32_t result = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    uint32_t w = (windowColour >> shift) & 0xFF;
    uint32_t h = (highlightColour >> shift) & 0xFF;
    result |= (((w * 207 + h * 48) >> 8) & 0xFF) << shift;
  }
  return result;
}

ScreenPoint PlacePopup(int32_t width, int32_t height, ScreenPoint preferred, int32_t aboveBottom,
                       const ScreenRect& work) {
  ScreenPoint p = preferred;
  if (p.x + width > work.right) p.x = work.right - width;
  if (p.x < work.left) p.x = work.left;
  if (p.y + height > work.bottom) p.y = aboveBottom - height;
  if (p.y < work.top) p.y = work.top;
  return p;
}
