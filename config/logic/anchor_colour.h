// The link colours that Internet Explorer keeps in the user's settings as
// text, for example "0,128,0": red, green and blue in decimal, separated by
// commas. Parsed strictly so that a damaged value leaves the default colour.
#pragma once

#include <cstdint>
#include <string>

// Parses "r,g,b" (each 0..255, spaces around a number allowed) into a
// 0x00BBGGRR colour. Returns false and leaves `colour` alone otherwise.
bool ParseAnchorColour(const std::u16string& text, uint32_t& colour);
