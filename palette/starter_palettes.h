// The palettes a new user finds beside "Default": colour schemes made for
// cell ages and slow dying on the dark default background. A cell of age a
// takes colour table entry a of 1000, so the first few hundredths of a
// gradient colour the young and most numerous cells; the pegs crowd there.
// Dying cells walk down the table towards the start colour as they fade.
// Plain data and the store's first-run step: no windows or registry.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "palette/gradient.h"
#include "palette/palette_container.h"

struct StarterPeg {
  Colour colour;
  double position;
};

struct StarterPalette {
  uint32_t nameId;          // string resource with the name in the user's language
  const char* englishName;  // used when that string cannot be loaded
  int32_t method;
  int32_t quantisation;
  Colour start;
  Colour end;
  int32_t pegCount;
  std::array<StarterPeg, 6> pegs;
};

constexpr size_t kStarterPaletteCount = 8;
extern const std::array<StarterPalette, kStarterPaletteCount> kStarterPalettes;

CGradient MakeStarterGradient(const StarterPalette& palette);

using PaletteName = std::basic_string<PaletteChar>;
// The text of a string resource; empty when there is none.
using StarterNameSource = std::function<PaletteName(uint32_t nameId)>;

// The last step of loading the store: guarantees "Default" (and a current
// palette), and when nothing at all was stored (`storedValues` 0: a new user,
// or a key left empty by an earlier run) appends the starter set after it,
// named by `names`. True when the starter set was added: the store is new and
// is to be written at once, not only when the user presses OK.
bool CompleteLoadedStore(CPaletteContainerBase& store, uint32_t storedValues, const StarterNameSource& names);
