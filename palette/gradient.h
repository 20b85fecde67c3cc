// The colour model behind every palette: a start colour at 0, an end colour at
// 1, sorted inner colour stops ("pegs"), a background colour and one of ten
// blending rules. Answers "which colour lies at p" and "what does a table of N
// evenly spaced colours look like", and reads/writes its own byte format.
// Plain data and arithmetic: no windows, registry or files.
//
// Colours are 0x00BBGGRR (the Windows COLORREF layout; a top byte given to a
// setter or found in stored data is dropped); positions are doubles in [0, 1].
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "palette/byte_stream.h"

using Colour = uint32_t;

// Identity counter for every peg ever made in the process: starts at 0, only
// grows (wrapping after 2^31 pegs), never reset. Atomic because the
// configuration thread and the kernel thread both build gradients.
inline std::atomic<int32_t> nextPegId{0};

struct CPeg {
  Colour colour = 0;
  double position = 0.0;
  int32_t id = -1;
};

// Special peg indices, accepted wherever an operation takes a peg index.
enum : int32_t {
  PEG_NONE = -1,
  PEG_END = -2,
  PEG_START = -3,
  PEG_BACKGROUND = -4,
};

// Blending rules, the values of `method`. Any other value means "no rule".
enum GradientMethod : int32_t {
  Linear = 0,
  HoldLeft = 1,
  Midpoint = 2,
  HoldRight = 3,
  Cosine = 4,
  HueUp = 5,
  HueDown = 6,
  HueShortest = 7,
  HueLongest = 8,
  LinearReversed = 9,
};

class CGradient {
 public:
  // Size of the byte format for a gradient without inner pegs, and per peg.
  static constexpr size_t kSavedHeaderBytes = 52;
  static constexpr size_t kSavedPegBytes = 12;

  CGradient();
  // Special colours black, then CopyFrom: inner peg ids are shared with the
  // source, the special pegs get fresh ones.
  CGradient(const CGradient& source);
  CGradient& operator=(const CGradient& source);
  virtual ~CGradient() = default;

  // Replaces the inner pegs (ids included), the three special colours (not
  // their positions or ids), the method, the background flag and the
  // quantisation with the source's.
  void CopyFrom(const CGradient& source);

  int32_t GetPegCount() const { return static_cast<int32_t>(pegs.size()); }
  // pegs[index] for 0..count-1, start/end for PEG_START/PEG_END, the
  // background peg for -1 and -4. Any other index gives a black peg at 0.0
  // with id -1.
  CPeg GetPeg(int32_t index) const;
  // Returns the new index of the peg, or -1 if the array could not grow.
  int32_t AddPeg(Colour colour, double position);
  // For PEG_START/PEG_END/PEG_BACKGROUND only the colour changes and -1 is
  // returned. For an inner peg colour and position change, the pegs are
  // re-sorted and the peg's new index is returned. Any other index changes
  // nothing and returns -1.
  int32_t SetPeg(int32_t index, Colour colour, double position);
  // An index outside 0..count-1 does nothing.
  void RemovePeg(int32_t index);
  int32_t IndexFromId(int32_t id) const;
  // -3 before the first peg; else the first i with
  // pegs[i].position <= p <= pegs[i+1].position; -1 if none. Needs >= 1 peg.
  int32_t SegmentAt(double position) const;

  Colour ColourAt(double position) const;
  // Writes `count` entries of three bytes, blue-green-red, sampling i/count.
  // Allocates nothing. With no valid method the table is left untouched.
  void FillColourTable(uint8_t* table, int32_t count) const;

  int32_t GetMethod() const { return method; }
  void SetMethod(int32_t value) { method = value; }
  int32_t GetQuantisation() const { return quantisation; }
  void SetQuantisation(int32_t value) { quantisation = value; }
  uint32_t GetUseBackground() const { return useBackground; }
  void SetUseBackground(uint32_t value) { useBackground = value; }

  // 52 + 12 * count bytes, little-endian; ids are not stored. Write errors
  // are not reported.
  void Save(IByteStream& stream) const;
  // Replaces the whole gradient. Never trusts the data: stops at its end,
  // keeps defaults for fields it cannot read, and brings pegs back into
  // [0, 1] and sorted order. Returns false when the data ended early (the
  // gradient then holds what could be read).
  bool Load(IByteStream& stream);

 private:
  Colour ColourInSegment(double position) const;
  void SortPegs();
  CPeg* SpecialPeg(int32_t index);

  int32_t quantisation = -1;
  int32_t method = Cosine;
  std::vector<CPeg> pegs;
  uint32_t useBackground = 0;
  CPeg startPeg;
  CPeg endPeg;
  CPeg backgroundPeg;
};

// One blending rule applied to the segment (c1 at a, c2 at b) at position p.
// Returns 0 for an unknown method. Exposed for tests and benchmarks.
Colour BlendColours(int32_t method, Colour c1, Colour c2, double p, double a, double b);
