// Sections: peg identity and sorting · the blending rules (with the HSL
// conversion) · peg operations · colour lookup and tables · byte format.
#include "palette/gradient.h"

#include <cmath>
#include <cstring>
#include <new>
#include <utility>

namespace {

// ---- peg identity and sorting ------------------------------------------

int32_t TakePegId() { return nextPegId.fetch_add(1, std::memory_order_relaxed); }

// Colours keep the top byte zero: a set top byte means something else to GDI
// (CLR_NONE, palette-relative colours) and would leak into the tables.
constexpr Colour kColourMask = 0x00FFFFFF;

// NaN counts as 0 so that no comparison-driven code (sort, segment search)
// ever sees an unordered value.
double ClampPosition(double position) {
  if (!(position >= 0.0)) return 0.0;
  if (position > 1.0) return 1.0;
  return position;
}

// Moves an element left only past strictly greater positions.
void InsertionSort(CPeg* pegs, ptrdiff_t count) {
  for (ptrdiff_t i = 1; i < count; ++i) {
    CPeg moving = pegs[i];
    ptrdiff_t j = i;
    while (j > 0 && pegs[j - 1].position > moving.position) {
      pegs[j] = pegs[j - 1];
      --j;
    }
    pegs[j] = moving;
  }
}

// Quicksort around the middle element; ranges of fewer than 13 pegs go to the
// insertion sort. Recursing into the smaller half bounds the stack depth.
void QuickSort(CPeg* pegs, ptrdiff_t count) {
  while (count >= 13) {
    const double pivot = pegs[count / 2].position;
    ptrdiff_t i = 0;
    ptrdiff_t j = count - 1;
    while (i <= j) {
      while (pegs[i].position < pivot) ++i;
      while (pegs[j].position > pivot) --j;
      if (i <= j) {
        std::swap(pegs[i], pegs[j]);
        ++i;
        --j;
      }
    }
    const ptrdiff_t leftCount = j + 1;
    const ptrdiff_t rightCount = count - i;
    if (leftCount < rightCount) {
      QuickSort(pegs, leftCount);
      pegs += i;
      count = rightCount;
    } else {
      QuickSort(pegs + i, rightCount);
      count = leftCount;
    }
  }
  InsertionSort(pegs, count);
}

// ---- the blending rules ----------------------------------------------------

constexpr double kPi = 3.1415927;  // deliberately short: the cosine rule's
                                   // end colour is missed by one step

int Channel(Colour colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

// Truncates toward zero and keeps the result a byte, so that no rounding
// excess can spill into the neighbouring channel.
uint32_t ToByte(double value) {
  if (!(value > 0.0)) return 0;
  if (value >= 255.0) return 255;
  return static_cast<uint32_t>(value);
}

Colour Pack(double red, double green, double blue) {
  return ToByte(red) | (ToByte(green) << 8) | (ToByte(blue) << 16);
}

template <class PerChannel>
Colour EachChannel(Colour c1, Colour c2, PerChannel blend) {
  return Pack(blend(Channel(c1, 0), Channel(c2, 0)), blend(Channel(c1, 8), Channel(c2, 8)),
              blend(Channel(c1, 16), Channel(c2, 16)));
}

struct Hsl {
  double h = 0.0;
  double s = 0.0;
  double l = 0.0;
};

Hsl ToHsl(Colour colour) {
  const double r = Channel(colour, 0) / 255.0;
  const double g = Channel(colour, 8) / 255.0;
  const double b = Channel(colour, 16) / 255.0;
  const double max = std::fmax(r, std::fmax(g, b));
  const double min = std::fmin(r, std::fmin(g, b));
  Hsl out;
  out.l = (max + min) / 2.0;
  if (out.l <= 0.0) return out;
  const double delta = max - min;
  if (delta <= 0.0) return out;
  out.s = out.l <= 0.5 ? delta / (max + min) : delta / (2.0 - max - min);
  const double rc = (max - r) / delta;
  const double gc = (max - g) / delta;
  const double bc = (max - b) / delta;
  double h;
  if (r == max) {
    h = g == min ? 5.0 + bc : 1.0 - gc;
  } else if (g == max) {
    h = b == min ? 1.0 + rc : 3.0 - bc;
  } else {
    h = r == min ? 3.0 + gc : 5.0 - rc;
  }
  out.h = h / 6.0;
  return out;
}

Colour FromHsl(double h, double s, double l) {
  const double v = l <= 0.5 ? l * (1.0 + s) : l + s - l * s;
  if (v <= 0.0) return 0;
  const double m = 2.0 * l - v;
  int sextant = static_cast<int>(6.0 * h);
  const double fract = 6.0 * h - sextant;
  const double vsf = (v - m) * fract;
  const double mid1 = m + vsf;
  const double mid2 = v - vsf;
  // h is wrapped into [0, 1) by the callers; the guard only keeps a rounding
  // slip at the very top of the circle on the last sextant.
  if (sextant < 0) sextant = 0;
  if (sextant > 5) sextant = 5;
  double r, g, b;
  switch (sextant) {
    case 0: r = v; g = mid1; b = m; break;
    case 1: r = mid2; g = v; b = m; break;
    case 2: r = m; g = v; b = mid1; break;
    case 3: r = m; g = mid2; b = v; break;
    case 4: r = mid1; g = m; b = v; break;
    default: r = v; g = m; b = mid2; break;
  }
  return Pack(r * 255.0, g * 255.0, b * 255.0);
}

double Frac(double x) { return x - std::floor(x); }

Colour BlendHsl(int32_t method, Colour c1, Colour c2, double p, double a, double b) {
  const Hsl one = ToHsl(c1);
  const Hsl two = ToHsl(c2);
  const double h1 = Frac(one.h);
  const double h2 = Frac(two.h);
  const double span = b - a;
  const double s = ((p - a) * two.s + (b - p) * one.s) / span;
  const double l = ((p - a) * two.l + (b - p) * one.l) / span;
  double h2p = h2;
  switch (method) {
    case HueUp: h2p = h2 >= h1 ? h2 : h2 + 1.0; break;
    case HueDown: h2p = h1 >= h2 ? h2 : h2 + 1.0; break;
    case HueShortest: {
      const double d = Frac(h2 - h1);
      if (d > 0.5) h2p = h2 < h1 ? h2 : h2 - 1.0;
      else h2p = h1 <= h2 ? h2 : h2 + 1.0;
      break;
    }
    default: {  // HueLongest
      const double d = Frac(h2 - h1);
      if (d < 0.5) h2p = h2 < h1 ? h2 : h2 - 1.0;
      else h2p = h1 <= h2 ? h2 : h2 + 1.0;
      break;
    }
  }
  double h = ((b - p) * h1 + (p - a) * h2p) / span;
  // Up/Down stay within [0, 2) and need one turn off; the other two can go
  // below zero. Frac covers both and leaves [0, 1) unchanged.
  h = Frac(h);
  return FromHsl(h, s, l);
}

}  // namespace

Colour BlendColours(int32_t method, Colour c1, Colour c2, double p, double a, double b) {
  switch (method) {
    case Linear:
      if (a == b || p == a) return c1;
      if (p == b) return c2;
      return EachChannel(c1, c2, [&](int x1, int x2) { return ((p - a) * x2 + (b - p) * x1) / (b - a); });
    case HoldLeft:
      return c1;
    case Midpoint:
      return EachChannel(c1, c2, [](int x1, int x2) { return static_cast<double>((x1 + x2) >> 1); });
    case HoldRight:
      return c2;
    case Cosine: {
      if (a == b) return c1;  // zero-length segment: no division by zero
      const double f = (1.0 - std::cos(kPi * (p - a) / (b - a))) * 0.5;
      return EachChannel(c1, c2, [f](int x1, int x2) { return (1.0 - f) * x1 + f * x2; });
    }
    case HueUp:
    case HueDown:
    case HueShortest:
    case HueLongest:
      if (a == b) return c1;
      return BlendHsl(method, c1, c2, p, a, b);
    case LinearReversed:
      if (a == b) return c1;
      if (p == a) return c2;
      if (p == b) return c1;
      return EachChannel(c1, c2, [&](int x1, int x2) { return ((b - p) * x2 + (p - a) * x1) / (b - a); });
    default:
      return 0;
  }
}

// ---- construction and peg operations --------------------------------------

CGradient::CGradient() {
  startPeg = CPeg{0x000000, 0.0, TakePegId()};
  endPeg = CPeg{0xFFFFFF, 1.0, TakePegId()};
  backgroundPeg = CPeg{0x000000, 0.0, TakePegId()};
}

CGradient::CGradient(const CGradient& source) : CGradient() {
  endPeg.colour = 0x000000;
  CopyFrom(source);
}

CGradient& CGradient::operator=(const CGradient& source) {
  if (this != &source) CopyFrom(source);
  return *this;
}

void CGradient::CopyFrom(const CGradient& source) {
  if (this == &source) return;
  pegs = source.pegs;
  startPeg.colour = source.startPeg.colour;
  endPeg.colour = source.endPeg.colour;
  backgroundPeg.colour = source.backgroundPeg.colour;
  method = source.method;
  useBackground = source.useBackground;
  quantisation = source.quantisation;
}

CPeg* CGradient::SpecialPeg(int32_t index) {
  switch (index) {
    case PEG_START: return &startPeg;
    case PEG_END: return &endPeg;
    case PEG_BACKGROUND: return &backgroundPeg;
    default: return nullptr;
  }
}

CPeg CGradient::GetPeg(int32_t index) const {
  if (index >= 0 && index < GetPegCount()) return pegs[static_cast<size_t>(index)];
  if (index == PEG_START) return startPeg;
  if (index == PEG_END) return endPeg;
  if (index == PEG_BACKGROUND || index == PEG_NONE) return backgroundPeg;
  return CPeg{0x000000, 0.0, -1};
}

void CGradient::SortPegs() { QuickSort(pegs.data(), static_cast<ptrdiff_t>(pegs.size())); }

int32_t CGradient::AddPeg(Colour colour, double position) {
  const CPeg peg{colour & kColourMask, ClampPosition(position), TakePegId()};
  bool added = true;
  try {
    pegs.push_back(peg);
  } catch (const std::bad_alloc&) {
    added = false;
  }
  SortPegs();
  return added ? IndexFromId(peg.id) : -1;
}

int32_t CGradient::SetPeg(int32_t index, Colour colour, double position) {
  if (CPeg* special = SpecialPeg(index)) {
    special->colour = colour & kColourMask;
    return -1;
  }
  if (index < 0 || index >= GetPegCount()) return -1;
  CPeg& peg = pegs[static_cast<size_t>(index)];
  peg.colour = colour & kColourMask;
  peg.position = ClampPosition(position);
  const int32_t id = peg.id;
  SortPegs();
  return IndexFromId(id);
}

void CGradient::RemovePeg(int32_t index) {
  if (index < 0 || index >= GetPegCount()) return;
  pegs.erase(pegs.begin() + index);
}

int32_t CGradient::IndexFromId(int32_t id) const {
  for (size_t i = 0; i < pegs.size(); ++i) {
    if (pegs[i].id == id) return static_cast<int32_t>(i);
  }
  return -1;
}

int32_t CGradient::SegmentAt(double position) const {
  if (pegs.empty()) return -1;
  if (position < pegs.front().position) return PEG_START;
  for (size_t i = 0; i + 1 < pegs.size(); ++i) {
    if (pegs[i].position <= position && position <= pegs[i + 1].position) return static_cast<int32_t>(i);
  }
  return -1;
}

// ---- colour lookup and tables -----------------------------------------------

namespace {
// Band centre for N > 0 bands. Position 1.0 belongs to the last band rather
// than to a band beyond the gradient. Other values of N (0, negative) are
// treated as smooth: they describe no bands and would divide by zero.
double Quantise(double position, int32_t bands) {
  if (bands <= 0) return position;
  double band = std::trunc(position * bands);
  if (band > bands - 1) band = bands - 1;
  return band / bands + 0.5 / bands;
}
}  // namespace

Colour CGradient::ColourInSegment(double p) const {
  if (pegs.empty()) return BlendColours(method, startPeg.colour, endPeg.colour, p, 0.0, 1.0);
  const CPeg& first = pegs.front();
  const CPeg& last = pegs.back();
  if (p <= first.position) return BlendColours(method, startPeg.colour, first.colour, p, 0.0, first.position);
  const int32_t i = SegmentAt(p);
  // Sorted pegs within [0, 1] always give a segment for p in (first, last];
  // anything else is treated as lying after the last peg.
  if (p > last.position || i < 0) return BlendColours(method, last.colour, endPeg.colour, p, last.position, 1.0);
  const CPeg& left = pegs[static_cast<size_t>(i)];
  const CPeg& right = pegs[static_cast<size_t>(i) + 1];
  return BlendColours(method, left.colour, right.colour, p, left.position, right.position);
}

namespace {
bool KnownMethod(int32_t method) { return method >= Linear && method <= LinearReversed; }

void StoreBgr(uint8_t* entry, Colour colour) {
  entry[0] = static_cast<uint8_t>(colour >> 16);
  entry[1] = static_cast<uint8_t>(colour >> 8);
  entry[2] = static_cast<uint8_t>(colour);
}
}  // namespace

Colour CGradient::ColourAt(double position) const {
  if (!(position >= 0.0 && position <= 1.0)) return 0x000000;  // NaN included
  if (position == 0.0 && useBackground != 0) return backgroundPeg.colour;
  if (!KnownMethod(method)) return backgroundPeg.colour;
  return ColourInSegment(Quantise(position, quantisation));
}

void CGradient::FillColourTable(uint8_t* table, int32_t count) const {
  if (!KnownMethod(method) || table == nullptr || count <= 0) return;
  for (int32_t i = 0; i < count; ++i) {
    const double p = static_cast<double>(i) / count;
    StoreBgr(table + 3 * static_cast<size_t>(i), ColourInSegment(Quantise(p, quantisation)));
  }
  if (useBackground != 0) StoreBgr(table, backgroundPeg.colour);
}

// ---- byte format ------------------------------------------------------------

namespace {
void PutDouble(IByteStream& stream, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  PutLE32(stream, static_cast<uint32_t>(bits));
  PutLE32(stream, static_cast<uint32_t>(bits >> 32));
}

// Each getter changes its target only when all its bytes were read.
bool GetI32(IByteStream& stream, int32_t& value) {
  uint32_t raw;
  if (!GetLE32(stream, raw)) return false;
  value = static_cast<int32_t>(raw);
  return true;
}

bool GetDouble(IByteStream& stream, double& value) {
  uint32_t low, high;
  if (!GetLE32(stream, low) || !GetLE32(stream, high)) return false;
  const uint64_t bits = (uint64_t{high} << 32) | low;
  std::memcpy(&value, &bits, sizeof value);
  return true;
}

bool ReadPeg(IByteStream& stream, CPeg& peg) {
  bool ok = GetLE32(stream, peg.colour);
  peg.colour &= kColourMask;
  ok = ok && GetDouble(stream, peg.position);
  peg.position = ClampPosition(peg.position);
  return ok;
}
}  // namespace

void CGradient::Save(IByteStream& stream) const {
  for (const CPeg* special : {&startPeg, &endPeg, &backgroundPeg}) {
    PutLE32(stream, special->colour);
    PutDouble(stream, special->position);
  }
  PutLE32(stream, useBackground);
  PutLE32(stream, static_cast<uint32_t>(method));
  PutLE32(stream, static_cast<uint32_t>(quantisation));
  PutLE32(stream, static_cast<uint32_t>(pegs.size()));
  for (const CPeg& peg : pegs) {
    PutLE32(stream, peg.colour);
    PutDouble(stream, peg.position);
  }
}

bool CGradient::Load(IByteStream& stream) {
  CGradient fresh;
  bool ok = ReadPeg(stream, fresh.startPeg);
  ok = ok && ReadPeg(stream, fresh.endPeg);
  ok = ok && ReadPeg(stream, fresh.backgroundPeg);
  ok = ok && GetLE32(stream, fresh.useBackground);
  ok = ok && GetI32(stream, fresh.method);
  ok = ok && GetI32(stream, fresh.quantisation);
  int32_t count = 0;
  ok = ok && GetI32(stream, count);
  fresh.startPeg.id = TakePegId();
  fresh.endPeg.id = TakePegId();
  fresh.backgroundPeg.id = TakePegId();
  // The stored count is not trusted: pegs are read one by one until the data
  // ends, so memory use is bounded by the data actually present. A peg cut
  // short by the end of the data is dropped.
  for (int32_t i = 0; ok && i < count; ++i) {
    CPeg peg;
    if (!ReadPeg(stream, peg)) {
      ok = false;
      break;
    }
    peg.id = TakePegId();
    fresh.pegs.push_back(peg);
  }
  // Saved data is sorted; hand-made or damaged data may not be, and every
  // lookup relies on the order.
  for (size_t i = 1; i < fresh.pegs.size(); ++i) {
    if (fresh.pegs[i - 1].position > fresh.pegs[i].position) {
      fresh.SortPegs();
      break;
    }
  }
  quantisation = fresh.quantisation;
  method = fresh.method;
  pegs.swap(fresh.pegs);
  useBackground = fresh.useBackground;
  startPeg = fresh.startPeg;
  endPeg = fresh.endPeg;
  backgroundPeg = fresh.backgroundPeg;
  return ok;
}
