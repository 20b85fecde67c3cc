#include "palette/starter_palettes.h"

#include "resources/resource.h"

namespace {

// Reads like the colour pickers: red, green, blue.
constexpr Colour Rgb(uint32_t red, uint32_t green, uint32_t blue) { return red | (green << 8) | (blue << 16); }

}  // namespace

// Young cells are the many: the first pegs sit within the first ten ages or
// so, and the later ones mark the still lifes and oscillators that live for
// hundreds of generations. Start colours are bright enough that a newborn
// shows on the dark blue background, since a dying cell ends on it too.
const std::array<StarterPalette, kStarterPaletteCount> kStarterPalettes = {{
    // Embers to white heat.
    {IDS_PALETTE_FIRE, "Fire", Cosine, -1, Rgb(150, 10, 0), Rgb(255, 255, 255), 5,
     {{{Rgb(240, 40, 0), 0.006},
       {Rgb(255, 110, 0), 0.025},
       {Rgb(255, 185, 30), 0.07},
       {Rgb(255, 240, 90), 0.2},
       {Rgb(255, 255, 200), 0.5}}}},
    // Steel blue to frost.
    {IDS_PALETTE_ICE, "Ice", Linear, -1, Rgb(40, 110, 200), Rgb(255, 255, 255), 3,
     {{{Rgb(90, 190, 255), 0.01}, {Rgb(170, 230, 255), 0.04}, {Rgb(225, 245, 255), 0.12}}}},
    // Fresh green through summer to autumn brown.
    {IDS_PALETTE_FOREST, "Forest", HueShortest, -1, Rgb(30, 140, 40), Rgb(120, 70, 30), 4,
     {{{Rgb(70, 190, 50), 0.01},
       {Rgb(150, 215, 60), 0.04},
       {Rgb(210, 200, 60), 0.12},
       {Rgb(200, 120, 40), 0.3}}}},
    // Blue, turquoise, sea foam: every peg a step down the hue circle.
    {IDS_PALETTE_OCEAN, "Ocean", HueDown, -1, Rgb(20, 90, 230), Rgb(210, 255, 235), 3,
     {{{Rgb(0, 170, 220), 0.006}, {Rgb(0, 215, 200), 0.03}, {Rgb(80, 240, 180), 0.1}}}},
    // Flat bands, one per age group: the youngest magenta, then cyan, lime,
    // yellow, orange.
    {IDS_PALETTE_NEON, "Neon", HoldLeft, -1, Rgb(255, 0, 200), Rgb(255, 0, 90), 5,
     {{{Rgb(0, 255, 255), 0.005},
       {Rgb(120, 255, 0), 0.015},
       {Rgb(255, 255, 0), 0.04},
       {Rgb(255, 110, 0), 0.1},
       {Rgb(255, 0, 90), 0.3}}}},
    // Purple dusk up the hue circle through red and orange to a pale sun.
    {IDS_PALETTE_SUNSET, "Sunset", HueUp, -1, Rgb(110, 40, 170), Rgb(255, 250, 210), 4,
     {{{Rgb(210, 40, 160), 0.01},
       {Rgb(255, 60, 60), 0.04},
       {Rgb(255, 140, 30), 0.12},
       {Rgb(255, 220, 100), 0.35}}}},
    // Grey steps of twenty generations each.
    {IDS_PALETTE_GREYSCALE, "Greyscale", Linear, 50, Rgb(100, 100, 100), Rgb(255, 255, 255), 2,
     {{{Rgb(170, 170, 170), 0.04}, {Rgb(230, 230, 230), 0.15}}}},
    // Pastel stripes the long way round the hue circle, five ages each: the
    // young pass from pink through lilac, blue and mint to lemon.
    {IDS_PALETTE_CANDY, "Candy", HueLongest, 200, Rgb(255, 130, 200), Rgb(200, 160, 255), 3,
     {{{Rgb(255, 240, 130), 0.025}, {Rgb(140, 240, 200), 0.1}, {Rgb(255, 170, 140), 0.3}}}},
}};

CGradient MakeStarterGradient(const StarterPalette& palette) {
  CGradient g;
  g.SetPeg(PEG_START, palette.start, 0.0);
  g.SetPeg(PEG_END, palette.end, 1.0);
  for (int32_t i = 0; i < palette.pegCount; ++i) {
    const StarterPeg& peg = palette.pegs[static_cast<size_t>(i)];
    g.AddPeg(peg.colour, peg.position);
  }
  g.SetMethod(palette.method);
  g.SetQuantisation(palette.quantisation);
  return g;
}

bool CompleteLoadedStore(CPaletteContainerBase& store, uint32_t storedValues, const StarterNameSource& names) {
  store.EnsureDefaultPalette();
  if (storedValues != 0) return false;
  for (const StarterPalette& palette : kStarterPalettes) {
    PaletteName name = names ? names(palette.nameId) : PaletteName();
    if (name.empty()) {
      for (const char* c = palette.englishName; *c != 0; ++c) name.push_back(static_cast<PaletteChar>(*c));
    }
    store.AddPalette(MakeStarterGradient(palette), name.c_str());
  }
  return true;
}
