// Reading the pattern files Life enthusiasts share: RLE, plaintext (.cells),
// Life 1.05 and Life 1.06. The format is told from the content, never from
// a file name. A reader either fills the whole pattern or, on failure, says
// where (line and column, both from 1) and why, and leaves `out` as it was.
#pragma once

#include <cstdint>
#include <string_view>

#include "life/pattern/pattern.h"

enum class PatternFormat : uint8_t { kUnknown, kRle, kPlaintext, kLife105, kLife106 };

// Why a text is not a pattern. The pages show their own words for each, by
// number: new reasons go at the end.
enum class PatternError : uint8_t {
  kNone,
  kEmpty,                // nothing but blanks and comments
  kInputTooLarge,        // more than kMaxPatternBytes
  kUnknownFormat,
  kUnexpectedCharacter,
  kBadHeader,            // an RLE "x = .., y = .." line that cannot be read
  kBadNumber,            // a count or coordinate out of range or malformed
  kTooLarge,             // bounding box beyond kMaxPatternSide
  kTooManyCells,         // more than kMaxPatternCells live cells
  kBadState,             // a multi-state letter that names no state
};

struct PatternReadError {
  size_t line = 0;
  size_t column = 0;
  PatternError reason = PatternError::kNone;
};

PatternFormat DetectPatternFormat(std::string_view text);

// Detects the format and reads with its reader.
bool ReadPattern(std::string_view text, Pattern& out, PatternReadError& error);
bool ReadRle(std::string_view text, Pattern& out, PatternReadError& error);
bool ReadPlaintext(std::string_view text, Pattern& out, PatternReadError& error);
bool ReadLife105(std::string_view text, Pattern& out, PatternReadError& error);
bool ReadLife106(std::string_view text, Pattern& out, PatternReadError& error);
