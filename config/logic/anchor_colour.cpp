#include "config/logic/anchor_colour.h"

bool ParseAnchorColour(const std::u16string& text, uint32_t& colour) {
  uint32_t channels[3] = {0, 0, 0};
  size_t pos = 0;
  auto skipSpaces = [&] {
    while (pos < text.size() && text[pos] == u' ') ++pos;
  };
  for (int k = 0; k < 3; ++k) {
    skipSpaces();
    size_t digits = 0;
    uint32_t value = 0;
    while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
      value = value * 10 + static_cast<uint32_t>(text[pos] - u'0');
      if (value > 255) return false;
      ++pos;
      ++digits;
    }
    if (digits == 0) return false;
    channels[k] = value;
    skipSpaces();
    if (k < 2) {
      if (pos >= text.size() || text[pos] != u',') return false;
      ++pos;
    }
  }
  if (pos != text.size()) return false;
  colour = channels[0] | (channels[1] << 8) | (channels[2] << 16);
  return true;
}
