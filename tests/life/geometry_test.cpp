#include <gtest/gtest.h>

#include <vector>

#include "palette/gradient.h"
#include "tests/life/life_test_support.h"

namespace {

struct GeometryCase {
  int32_t drawMode;
  int32_t vertexCount;
  uint32_t firstCell[6];
};

class GeometryIndices : public ::testing::TestWithParam<GeometryCase> {};

TEST_P(GeometryIndices, ThreeByTwoField) {
  const GeometryCase& c = GetParam();
  auto task = MakeFieldTask(3, 2, c.drawMode);
  EXPECT_EQ(task->vertexCount, c.vertexCount);
  EXPECT_EQ(task->texCoordCount, c.vertexCount);
  EXPECT_EQ(task->colourCount, c.vertexCount);
  EXPECT_EQ(task->indexCount, 36);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(task->indices[i], c.firstCell[i]) << i;
  // Every index names a vertex whose position is a corner of its cell.
  for (int cell = 0; cell < 6; ++cell) {
    const int x = cell % 3;
    const int y = cell / 3;
    for (int k = 0; k < 6; ++k) {
      const uint32_t v = task->indices[cell * 6 + k];
      ASSERT_LT(v, static_cast<uint32_t>(c.vertexCount));
      const float px = task->vertices[v * 2];
      const float py = task->vertices[v * 2 + 1];
      EXPECT_TRUE(px == x || px == x + 1) << cell;
      EXPECT_TRUE(py == y || py == y + 1) << cell;
    }
  }
  for (int i = 0; i < c.vertexCount * 4; ++i) ASSERT_EQ(task->colours[i], 0.0f);
}

INSTANTIATE_TEST_SUITE_P(BothModes, GeometryIndices,
                         ::testing::Values(GeometryCase{0, 24, {1, 6, 0, 1, 7, 6}},
                                           GeometryCase{1, 12, {1, 4, 0, 1, 5, 4}}));

TEST(Geometry, CellModeTextureCoordinatesAreTheCorners) {
  auto task = MakeFieldTask(3, 2, 0);
  // Corner 2 of cell (1, 1): lattice point (3, 3), index 3 * 6 + 3.
  const int v = 21;
  EXPECT_EQ(task->vertices[v * 2], 2.0f);
  EXPECT_EQ(task->vertices[v * 2 + 1], 2.0f);
  EXPECT_EQ(task->texCoords[v * 2], 1.0f);
  EXPECT_EQ(task->texCoords[v * 2 + 1], 1.0f);
}

TEST(Geometry, FieldModeRepeatsTheLastColumnAndRow) {
  auto task = MakeFieldTask(3, 2, 1);
  PutCell(*task, 2, 1, 1.0f);  // the top right cell
  const Rgba c = task->CellColour(1.0f);
  for (int v : {1 * 4 + 2, 1 * 4 + 3, 2 * 4 + 2, 2 * 4 + 3}) {
    EXPECT_EQ(task->colours[v * 4], c.r) << v;
    EXPECT_EQ(task->colours[v * 4 + 3], 1.0f) << v;
  }
  EXPECT_EQ(task->colours[(1 * 4 + 1) * 4 + 3], 0.0f);
}

TEST(Geometry, UnknownDrawModeIsStoredAsCellMode) {
  auto task = MakeFieldTask(3, 2, 1);
  task->SetFieldDrawMode(7);
  EXPECT_EQ(task->FieldDrawMode, 0);
  EXPECT_EQ(task->vertexCount, 24);
  task->FieldDrawMode = 9;  // written directly: the geometry still follows mode 0
  task->BuildGeometry(3, 2);
  EXPECT_EQ(task->vertexCount, 24);
}

TEST(ColourTable, BuiltInRamp) {
  CRefCountPtrT<VivarnTaskBse> task(new VivarnTaskBse());
  task->BuildColourTable();
  ASSERT_EQ(task->paletteSize, 1000);
  const Rgba newborn = task->CellColour(1.0f);
  EXPECT_NEAR(newborn.r, 0.996f, 1e-6f);
  EXPECT_NEAR(newborn.g, 0.004f, 1e-6f);
  EXPECT_EQ(newborn.b, 0.0f);
  EXPECT_EQ(newborn.a, 1.0f);
  const Rgba green = task->CellColour(250.0f);
  EXPECT_NEAR(green.r, 0.0f, 1e-6f);
  EXPECT_NEAR(green.g, 1.0f, 1e-6f);
  EXPECT_NEAR(green.b, 0.0f, 1e-6f);
  EXPECT_EQ(task->CellColour(499.0f).b, task->CellColour(500.0f).b);
  EXPECT_NEAR(task->CellColour(499.0f).b, 1.0f, 0.005f);
  EXPECT_NEAR(task->CellColour(749.0f).g, 1.0f, 1e-6f);
  EXPECT_EQ(task->CellColour(999.0f).r, 1.0f);
}

TEST(ColourTable, AgesWrapAndDyingCellsFade) {
  CRefCountPtrT<VivarnTaskBse> task(new VivarnTaskBse());
  const Rgba entry0 = task->CellColour(1000.0f);
  EXPECT_EQ(entry0.r, 1.0f);
  EXPECT_EQ(entry0.g, 0.0f);
  const Rgba entry1 = task->CellColour(1001.0f);
  EXPECT_EQ(entry1.r, task->CellColour(1.0f).r);
  const Rgba dying = task->CellColour(-0.5f);
  EXPECT_EQ(dying.r, 1.0f);
  EXPECT_FLOAT_EQ(dying.a, 1.0f / 3.0f);
  EXPECT_FLOAT_EQ(task->CellColour(-3.0f).a, 0.75f);
  task->SetBkColor(0.0f, 0.0f, 0.3f, 1.0f);
  const Rgba empty = task->CellColour(5e-8f);
  EXPECT_EQ(empty.b, 0.3f);
  EXPECT_EQ(empty.a, 1.0f);
}

TEST(ColourTable, FromGradientBytesInBlueGreenRedOrder) {
  CRefCountPtrT<VivarnTaskBse> task(new VivarnTaskBse());
  const uint8_t bgr[] = {255, 0, 0, 0, 128, 255};
  task->BuildColourTableFromBgr(2, bgr);
  ASSERT_EQ(task->paletteSize, 2);
  const Rgba first = task->CellColour(2.0f);  // wraps to entry 0
  EXPECT_EQ(first.r, 0.0f);
  EXPECT_EQ(first.b, 1.0f);
  const Rgba second = task->CellColour(1.0f);
  EXPECT_EQ(second.r, 1.0f);
  EXPECT_FLOAT_EQ(second.g, 128 / 255.0f);
  task->BuildColourTableFromBgr(0, bgr);  // nothing to build from: the table stays
  EXPECT_EQ(task->paletteSize, 2);
}

}  // namespace

namespace {

TEST(ColourTable, FromAGradientFollowsItsTable) {
  CGradient gradient;
  gradient.SetMethod(Linear);
  gradient.AddPeg(0x0000FF00u, 0.5);  // green in the middle
  std::vector<uint8_t> bgr(1000 * 3);
  gradient.FillColourTable(bgr.data(), 1000);
  CRefCountPtrT<VivarnTaskBse> task(new VivarnTaskBse());
  task->BuildColourTable(&gradient);
  ASSERT_EQ(task->paletteSize, 1000);
  for (int i : {1, 250, 500, 999}) {
    const Rgba c = task->CellColour(static_cast<float>(i));
    EXPECT_EQ(c.r, bgr[i * 3 + 2] / 255.0f) << i;
    EXPECT_EQ(c.g, bgr[i * 3 + 1] / 255.0f) << i;
    EXPECT_EQ(c.b, bgr[i * 3] / 255.0f) << i;
  }
  EXPECT_EQ(task->CellColour(500.0f).g, 1.0f);
  task->BuildColourTable(nullptr);  // no gradient: the built-in ramp
  EXPECT_NEAR(task->CellColour(250.0f).g, 1.0f, 1e-6f);
  EXPECT_NEAR(task->CellColour(1.0f).r, 0.996f, 1e-6f);
}

}  // namespace
