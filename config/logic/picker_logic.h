// Plain logic of the colour picker: the 40-colour palette, keyboard
// navigation over the cells, the entry texts taken from a button's text, the
// selection tint and the placement of a popup inside a work area. No Windows
// headers; the picker window and the colour button use it.
#pragma once

#include <cstdint>
#include <string>

#ifndef CLR_NONE
#define CLR_NONE 0xFFFFFFFFu
#endif
#ifndef CLR_DEFAULT
#define CLR_DEFAULT 0xFF000000u
#endif

// Items of the picker besides the cell indices.
constexpr int32_t PICKER_DEFAULT = 1001;
constexpr int32_t PICKER_CUSTOM = 1002;

constexpr int32_t kPickerColumns = 8;
constexpr int32_t kPickerRows = 5;
constexpr int32_t kPickerColourCount = 40;
// Square cells and the margin of each swatch inside its cell, at 96 DPI.
constexpr int32_t kPickerCellSize = 18;
constexpr int32_t kPickerSwatchInset = 3;
// Cell i sits at column i mod 8, row i div 8. Values are 0x00BBGGRR.
extern const uint32_t kPickerPalette[kPickerColourCount];

enum class PickerKey { Left, Right, Up, Down, Home, End };

// The cell selected after `key`, from `selected` (which may be -1, a special
// item or out of range: "no valid selection"). -1 when there are no cells.
int32_t NavigatePicker(int32_t selected, PickerKey key, int32_t count, int32_t columns);

// The item that shows `colour`: -1 for CLR_NONE, PICKER_DEFAULT for
// CLR_DEFAULT, the first cell of exactly that colour, else PICKER_CUSTOM.
int32_t PickerItemForColour(uint32_t colour, const uint32_t* cells, int32_t count);

// A button text "ignored\ndefault\ncustom\n": the part after the first line
// feed is the default entry's text, the part after the second the custom
// entry's; each ends at the next line feed. Missing parts are empty.
void SplitPickerTexts(const std::wstring& buttonText, std::wstring& defaultText, std::wstring& customText);

// The light highlight of a selected item: per channel
// (window * 207 + highlight * 48) >> 8.
uint32_t PickerTint(uint32_t windowColour, uint32_t highlightColour);

struct ScreenRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};
struct ScreenPoint {
  int32_t x = 0, y = 0;
};

// Top-left corner of a popup of width x height that wants its corner at
// `preferred`: moved left or right to stay inside `work`; when it would pass
// the work area's bottom it goes above, its bottom at `aboveBottom`; it never
// starts above the work area's top.
ScreenPoint PlacePopup(int32_t width, int32_t height, ScreenPoint preferred, int32_t aboveBottom,
                       const ScreenRect& work);
