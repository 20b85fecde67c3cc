#include "life/field/field_mesh.h"

#include "life/field/life_field.h"

#include <algorithm>
#include <cmath>

namespace {
// Room for `count` entries and the two the generation step keeps behind them
// (see paletteColours); the last one, transparent black, never changes.
void AllocateTable(AlignedArray<Rgba8>& table, int32_t count) {
  table.Allocate(static_cast<size_t>(count) + kStepTableEntries);
  std::fill_n(table.get() + count, kStepTableEntries, Rgba8{});
}
}  // namespace

// A table exists from the start so that a field stepped before its palette
// arrives never indexes an empty table.
FieldMesh::FieldMesh() { BuildRampTable(); }

void FieldMesh::BuildRampTable() {
  // The ramp runs red, green, blue over the first half and back over the second.
  constexpr int32_t half = kColourTableEntries / 2;
  AlignedArray<Rgba8> table;
  AllocateTable(table, kColourTableEntries);
  const float d = 1.0f / static_cast<float>(half);
  const int32_t h = half / 2;
  for (int32_t i = 0; i < half; ++i) {
    const float red = i <= h ? (0.5f - static_cast<float>(i) * d) * 2.0f : 0.0f;
    const float blue = i >= h ? (static_cast<float>(i) * d - 0.5f) * 2.0f : 0.0f;
    const float green = i < h ? 1.0f - red : 1.0f - blue;
    table[static_cast<size_t>(i)] = Rgba8{ColourByte(red), ColourByte(green), ColourByte(blue), 0};
  }
  for (int32_t k = 0; k < half; ++k) table[static_cast<size_t>(half + k)] = table[static_cast<size_t>(half - 1 - k)];
  paletteColours = std::move(table);
  ++colourChanges;
  paletteSize = kColourTableEntries;
}

void FieldMesh::BuildTableFromBgr(int32_t count, const uint8_t* bgr) {
  if (count <= 0 || bgr == nullptr) return;  // keep the table that exists
  AlignedArray<Rgba8> table;
  AllocateTable(table, count);
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* source = bgr + static_cast<size_t>(i) * 3;
    table[static_cast<size_t>(i)] = Rgba8{source[2], source[1], source[0], 0};
  }
  paletteColours = std::move(table);
  ++colourChanges;
  paletteSize = count;
}

void FieldMesh::SetBackground(const float rgba[4]) {
  std::copy_n(rgba, 4, background);
  ++colourChanges;
}

Rgba8 FieldMesh::CellColour(float value) const {
  const float magnitude = std::fabs(value);
  if (magnitude < kCellEpsilon)
    return Rgba8{ColourByte(background[0]), ColourByte(background[1]), ColourByte(background[2]), 255};
  int32_t index = static_cast<int32_t>(magnitude);
  if (index >= paletteSize) index %= paletteSize;
  Rgba8 colour = paletteColours[static_cast<size_t>(index)];
  colour.a = value < 0.0f ? ColourByte(1.0f - 1.0f / (magnitude + 1.0f)) : 255;
  return colour;
}

void FieldMesh::Release() {
  vertices.Free();
  indices.Free();
  colours.Free();
  texCoords.Free();
  vertexCount = texCoordCount = colourCount = indexCount = 0;
  ++geometryChanges;
}

void FieldMesh::Allocate(int32_t columnCount, int32_t rowCount) {
  const int32_t count = drawMode == 0 ? columnCount * rowCount * 4 : (columnCount + 1) * (rowCount + 1);
  vertexCount = texCoordCount = colourCount = count;
  indexCount = columnCount * rowCount * 6;
  vertices.Allocate(static_cast<size_t>(count) * 2);
  texCoords.Allocate(static_cast<size_t>(count) * 2);
  colours.Allocate(static_cast<size_t>(count));
  indices.Allocate(static_cast<size_t>(indexCount));
  ++geometryChanges;
}

void FieldMesh::Build(int32_t columnCount, int32_t rowCount, int32_t mode) {
  Release();
  drawMode = mode == 1 ? 1 : 0;
  columns = columnCount;
  rows = rowCount;
  if (valuesOnly) return;
  Allocate(columnCount, rowCount);
  vertices.FillZero();
  texCoords.FillZero();
  colours.FillZero();
  indices.FillZero();

  float* position = vertices.get();
  float* texture = texCoords.get();
  uint32_t* index = indices.get();
  auto emitCell = [&index](uint32_t c0, uint32_t c1, uint32_t c2, uint32_t c3) {
    *index++ = c1;
    *index++ = c3;
    *index++ = c0;
    *index++ = c1;
    *index++ = c2;
    *index++ = c3;
  };

  if (drawMode == 1) {
    const uint32_t stride = static_cast<uint32_t>(columnCount) + 1;
    for (int32_t j = 0; j <= rowCount; ++j) {
      for (int32_t i = 0; i <= columnCount; ++i) {
        const size_t v = static_cast<size_t>(j) * stride + static_cast<size_t>(i);
        position[v * 2] = static_cast<float>(i);
        position[v * 2 + 1] = static_cast<float>(j);
        texture[v * 2] = static_cast<float>(i % 2);
        texture[v * 2 + 1] = static_cast<float>(j % 2);
        if (i < columnCount && j < rowCount) {
          const uint32_t c0 = static_cast<uint32_t>(v);
          emitCell(c0, c0 + 1, c0 + stride + 1, c0 + stride);
        }
      }
    }
    return;
  }

  const uint32_t latticeWidth = static_cast<uint32_t>(columnCount) * 2;
  for (int32_t y = 0; y < rowCount; ++y) {
    for (int32_t x = 0; x < columnCount; ++x) {
      const uint32_t c0 = static_cast<uint32_t>(2 * y) * latticeWidth + static_cast<uint32_t>(2 * x);
      const uint32_t corner[4] = {c0, c0 + 1, c0 + latticeWidth + 1, c0 + latticeWidth};
      const int offsets[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
      for (int k = 0; k < 4; ++k) {
        position[corner[k] * 2] = static_cast<float>(x + offsets[k][0]);
        position[corner[k] * 2 + 1] = static_cast<float>(y + offsets[k][1]);
        texture[corner[k] * 2] = static_cast<float>(offsets[k][0]);
        texture[corner[k] * 2 + 1] = static_cast<float>(offsets[k][1]);
      }
      emitCell(corner[0], corner[1], corner[2], corner[3]);
    }
  }
}

void FieldMesh::PaintCell(int32_t column, int32_t row, Rgba8 colour) {
  ++colourChanges;
  if (!colours) return;
  auto put = [this, &colour](size_t vertex) { colours[vertex] = colour; };
  if (drawMode == 0) {
    const size_t latticeWidth = static_cast<size_t>(columns) * 2;
    const size_t c0 = static_cast<size_t>(2 * row) * latticeWidth + static_cast<size_t>(2 * column);
    put(c0);
    put(c0 + 1);
    put(c0 + latticeWidth);
    put(c0 + latticeWidth + 1);
  } else {
    const size_t stride = static_cast<size_t>(columns) + 1;
    const bool lastColumn = column == columns - 1;
    const bool lastRow = row == rows - 1;
    put(static_cast<size_t>(row) * stride + column);
    if (lastColumn && lastRow) put(static_cast<size_t>(rows) * stride + columns);
    if (lastColumn) put(static_cast<size_t>(row) * stride + columns);
    if (lastRow) put(static_cast<size_t>(rows) * stride + column);
  }
}

void FieldMesh::ClearColours() {
  colours.FillZero();
  ++colourChanges;
}
