// What the GL draws of a field: the colour table, and the vertex positions,
// texture coordinates, indices and colours that show the whole field with
// one indexed call, with the change counts the drawing side compares. Built
// from a field's dimensions, a draw mode and a palette; it knows nothing of
// cells or rules. Vertex colours are written as cells are stored (PaintCell)
// and by the generation step, so drawing needs no pass over the cells.
#pragma once

#include <cstdint>

#include "life/field/aligned_array.h"

// One colour as four bytes, red, green, blue, alpha, in this order in memory:
// a vertex colour as GL reads it (four unsigned bytes), or a colour table entry.
struct Rgba8 {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  uint8_t a = 0;
};

// A colour component in 0..1 as a byte: scaled to 255 and rounded to the
// nearest, as GL turns a float colour into an 8-bit one; held to 0..255.
inline uint8_t ColourByte(float c) {
  if (!(c > 0.0f)) return 0;
  if (c >= 1.0f) return 255;
  return static_cast<uint8_t>(static_cast<int32_t>(c * 255.0f + 0.5f));
}

// Entries of the colour table a palette, or the built-in ramp, fills: cell
// ages wrap around it.
constexpr int32_t kColourTableEntries = 1000;
// Entries of the colour table behind the palette proper (see paletteColours).
constexpr int32_t kStepTableEntries = 2;

class FieldMesh {
 public:
  FieldMesh();

  // The built-in ramp (red, green, blue and back) over kColourTableEntries.
  void BuildRampTable();
  // From a table of `count` entries of three bytes blue, green, red; keeps
  // the table that exists when there is nothing to build from.
  void BuildTableFromBgr(int32_t count, const uint8_t* bgr);
  // Empty cells show this colour (red, green, blue, alpha in 0..1).
  void SetBackground(const float rgba[4]);
  Rgba8 CellColour(float value) const;

  // Arrays for columns x rows cells in draw mode 0 (a particle per cell, four
  // vertices of its own) or 1 (a smooth grid sharing (columns + 1) x
  // (rows + 1) vertices), colours cleared. With `valuesOnly` only the sizes
  // and the mode: the arrays are left out until a draw needs them.
  void Build(int32_t columnCount, int32_t rowCount, int32_t drawMode);
  void Release();
  // The vertex colours of one cell.
  void PaintCell(int32_t column, int32_t row, Rgba8 colour);
  // Every vertex transparent black: a field without cells.
  void ClearColours();

  int32_t drawMode = 0;
  int32_t columns = 0;
  int32_t rows = 0;
  float background[4] = {1.0f, 1.0f, 1.0f, 1.0f};

  int32_t vertexCount = 0;
  AlignedArray<float> vertices;   // (x, y) per vertex, in cell units
  int32_t texCoordCount = 0;
  AlignedArray<float> texCoords;  // (s, t) per vertex
  int32_t colourCount = 0;
  AlignedArray<Rgba8> colours;    // one per vertex
  int32_t indexCount = 0;
  AlignedArray<uint32_t> indices;

  // Raised whenever the arrays above change: geometryChanges for a rebuild
  // (new sizes, positions, texture coordinates, indices), colourChanges for
  // new vertex colours (a step, a reseed, a palette or background change).
  // The draw compares them with what the GL last received and sends only
  // what changed (FieldUploadTracker).
  uint32_t geometryChanges = 0;
  uint32_t colourChanges = 0;
  // Generations stepped; with colourChanges it tells a draw whether the only
  // change since it last looked was one generation.
  uint32_t valueSteps = 0;

  // Set where the GL colours the cells itself from their values (the shader
  // path): the step then writes cell values only and leaves the vertex
  // colours as they are (RepaintFieldColours brings them back). Such a mesh
  // may have no arrays at all (Build, Release).
  bool valuesOnly = false;

  int32_t paletteSize = 0;
  // (r, g, b, unused) per entry; behind the paletteSize entries follow two
  // that the step keeps for itself, the background colour (rewritten by every
  // step) and transparent black, so that every vertex colour is one table
  // entry with its alpha.
  AlignedArray<Rgba8> paletteColours;

 private:
  void Allocate(int32_t columnCount, int32_t rowCount);
};
