#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "life/field_upload.h"
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
  EXPECT_EQ(Mesh(*task).vertexCount, c.vertexCount);
  EXPECT_EQ(Mesh(*task).texCoordCount, c.vertexCount);
  EXPECT_EQ(Mesh(*task).colourCount, c.vertexCount);
  EXPECT_EQ(Mesh(*task).indexCount, 36);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Mesh(*task).indices[i], c.firstCell[i]) << i;
  // Every index names a vertex whose position is a corner of its cell.
  for (int cell = 0; cell < 6; ++cell) {
    const int x = cell % 3;
    const int y = cell / 3;
    for (int k = 0; k < 6; ++k) {
      const uint32_t v = Mesh(*task).indices[cell * 6 + k];
      ASSERT_LT(v, static_cast<uint32_t>(c.vertexCount));
      const float px = Mesh(*task).vertices[v * 2];
      const float py = Mesh(*task).vertices[v * 2 + 1];
      EXPECT_TRUE(px == x || px == x + 1) << cell;
      EXPECT_TRUE(py == y || py == y + 1) << cell;
    }
  }
  for (int i = 0; i < c.vertexCount; ++i) ASSERT_EQ(Mesh(*task).colours[i].a + Mesh(*task).colours[i].r, 0) << i;
}

INSTANTIATE_TEST_SUITE_P(BothModes, GeometryIndices,
                         ::testing::Values(GeometryCase{0, 24, {1, 6, 0, 1, 7, 6}},
                                           GeometryCase{1, 12, {1, 4, 0, 1, 5, 4}}));

TEST(Geometry, CellModeTextureCoordinatesAreTheCorners) {
  auto task = MakeFieldTask(3, 2, 0);
  // Corner 2 of cell (1, 1): lattice point (3, 3), index 3 * 6 + 3.
  const int v = 21;
  EXPECT_EQ(Mesh(*task).vertices[v * 2], 2.0f);
  EXPECT_EQ(Mesh(*task).vertices[v * 2 + 1], 2.0f);
  EXPECT_EQ(Mesh(*task).texCoords[v * 2], 1.0f);
  EXPECT_EQ(Mesh(*task).texCoords[v * 2 + 1], 1.0f);
}

TEST(Geometry, FieldModeRepeatsTheLastColumnAndRow) {
  auto task = MakeFieldTask(3, 2, 1);
  PutCell(*task, 2, 1, 1.0f);  // the top right cell
  const Rgba8 c = Mesh(*task).CellColour(1.0f);
  for (int v : {1 * 4 + 2, 1 * 4 + 3, 2 * 4 + 2, 2 * 4 + 3}) {
    EXPECT_EQ(Mesh(*task).colours[v].r, c.r) << v;
    EXPECT_EQ(Mesh(*task).colours[v].a, 255) << v;
  }
  EXPECT_EQ(Mesh(*task).colours[1 * 4 + 1].a, 0);
}

TEST(Geometry, UnknownDrawModeIsStoredAsCellMode) {
  auto task = MakeFieldTask(3, 2, 1);
  task->SetFieldDrawMode(7);
  EXPECT_EQ(task->FieldDrawMode, 0);
  EXPECT_EQ(Mesh(*task).vertexCount, 24);
  task->FieldDrawMode = 9;  // written directly: the geometry still follows mode 0
  Mesh(*task).Build(3, 2, task->DrawMode());
  EXPECT_EQ(Mesh(*task).vertexCount, 24);
}

TEST(ColourTable, BuiltInRamp) {
  CRefCountPtrT<VivarnTaskBse> task(new VivarnTaskBse());
  task->BuildColourTable();
  ASSERT_EQ(Mesh(*task).paletteSize, 1000);
  // Bytes rounded from the ramp: entry 1 is (0.996, 0.004, 0).
  const Rgba8 newborn = Mesh(*task).CellColour(1.0f);
  EXPECT_EQ(newborn.r, 254);
  EXPECT_EQ(newborn.g, 1);
  EXPECT_EQ(newborn.b, 0);
  EXPECT_EQ(newborn.a, 255);
  const Rgba8 green = Mesh(*task).CellColour(250.0f);
  EXPECT_EQ(green.r, 0);
  EXPECT_EQ(green.g, 255);
  EXPECT_EQ(green.b, 0);
  EXPECT_EQ(Mesh(*task).CellColour(499.0f).b, Mesh(*task).CellColour(500.0f).b);
  EXPECT_EQ(Mesh(*task).CellColour(499.0f).b, 254);
  EXPECT_EQ(Mesh(*task).CellColour(749.0f).g, 255);
  EXPECT_EQ(Mesh(*task).CellColour(999.0f).r, 255);
}

TEST(ColourTable, AgesWrapAndDyingCellsFade) {
  CRefCountPtrT<VivarnTaskBse> task(new VivarnTaskBse());
  const Rgba8 entry0 = Mesh(*task).CellColour(1000.0f);
  EXPECT_EQ(entry0.r, 255);
  EXPECT_EQ(entry0.g, 0);
  const Rgba8 entry1 = Mesh(*task).CellColour(1001.0f);
  EXPECT_EQ(entry1.r, Mesh(*task).CellColour(1.0f).r);
  // Alpha 1 - 1 / (magnitude + 1) in bytes: 1/3 is 85, 0.75 is 191.25.
  const Rgba8 dying = Mesh(*task).CellColour(-0.5f);
  EXPECT_EQ(dying.r, 255);
  EXPECT_EQ(dying.a, 85);
  EXPECT_EQ(Mesh(*task).CellColour(-3.0f).a, 191);
  EXPECT_EQ(Mesh(*task).CellColour(-1e9f).a, 255);
  task->SetBkColor(0.0f, 0.0f, 0.3f, 1.0f);
  const Rgba8 empty = Mesh(*task).CellColour(5e-8f);
  EXPECT_EQ(empty.b, 77);
  EXPECT_EQ(empty.a, 255);
}

TEST(ColourTable, FromGradientBytesInBlueGreenRedOrder) {
  CRefCountPtrT<VivarnTaskBse> task(new VivarnTaskBse());
  const uint8_t bgr[] = {255, 0, 0, 0, 128, 255};
  task->BuildColourTableFromBgr(2, bgr);
  ASSERT_EQ(Mesh(*task).paletteSize, 2);
  const Rgba8 first = Mesh(*task).CellColour(2.0f);  // wraps to entry 0
  EXPECT_EQ(first.r, 0);
  EXPECT_EQ(first.b, 255);
  const Rgba8 second = Mesh(*task).CellColour(1.0f);
  EXPECT_EQ(second.r, 255);
  EXPECT_EQ(second.g, 128);
  task->BuildColourTableFromBgr(0, bgr);  // nothing to build from: the table stays
  EXPECT_EQ(Mesh(*task).paletteSize, 2);
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
  ASSERT_EQ(Mesh(*task).paletteSize, 1000);
  for (int i : {1, 250, 500, 999}) {
    const Rgba8 c = Mesh(*task).CellColour(static_cast<float>(i));
    EXPECT_EQ(c.r, bgr[i * 3 + 2]) << i;
    EXPECT_EQ(c.g, bgr[i * 3 + 1]) << i;
    EXPECT_EQ(c.b, bgr[i * 3]) << i;
  }
  EXPECT_EQ(Mesh(*task).CellColour(500.0f).g, 255);
  task->BuildColourTable(nullptr);  // no gradient: the built-in ramp
  EXPECT_EQ(Mesh(*task).CellColour(250.0f).g, 255);
  EXPECT_EQ(Mesh(*task).CellColour(1.0f).r, 254);
}

}  // namespace

namespace {

FieldArrayVersions VersionsOf(const VivarnTaskBse& task) {
  return FieldArrayVersions{Mesh(task).geometryChanges, Mesh(task).colourChanges};
}

// A draw sends only what changed since the last one: the geometry after a
// rebuild, the colours after a step, a reseed, a palette or background change.
TEST(FieldUpload, FramesSendOnlyWhatChanged) {
  auto task = MakeFieldTask(8, 6, 0);
  task->LifeSpeed = 100.0f;
  FieldUploadTracker tracker;
  auto draw = [&] {
    const FieldUploadPlan plan = tracker.Plan(VersionsOf(*task));
    tracker.Sent(VersionsOf(*task));
    return std::make_pair(plan.sendGeometry, plan.sendColours);
  };
  using Sent = std::pair<bool, bool>;
  EXPECT_EQ(draw(), Sent(true, true));  // the first draw sends everything
  EXPECT_EQ(draw(), Sent(false, false));
  EXPECT_FALSE(task->AdvanceGenerationTimer(50.0));  // no generation yet
  EXPECT_EQ(draw(), Sent(false, false));
  EXPECT_TRUE(task->AdvanceGenerationTimer(50.0));
  EXPECT_EQ(draw(), Sent(false, true));
  task->ResetPopulation();
  EXPECT_EQ(draw(), Sent(false, true));
  const uint8_t bgr[] = {1, 2, 3};
  task->BuildColourTableFromBgr(1, bgr);
  EXPECT_EQ(draw(), Sent(false, true));
  task->SetBkColor(0.5f, 0.5f, 0.5f, 1.0f);
  EXPECT_EQ(draw(), Sent(false, true));
  task->SetFieldDrawMode(1);
  EXPECT_EQ(draw(), Sent(true, true));
  SetOutputSize(9, 6);
  task->ApplyCellSize();
  EXPECT_EQ(draw(), Sent(true, true));
  task->ApplyCellSize();  // the same size: nothing rebuilt
  EXPECT_EQ(draw(), Sent(false, false));
  tracker.Forget();  // a new context holds no buffers
  EXPECT_EQ(draw(), Sent(true, true));
}

}  // namespace

namespace {

FieldValueVersions ValueVersionsOf(const VivarnTaskBse& task) {
  return FieldValueVersions{Mesh(task).geometryChanges, Mesh(task).colourChanges, Mesh(task).valueSteps};
}

// The shader path sends one generation's cells after a step and nothing
// else; after several steps both generations; after anything other than
// steps both generations and the colour table.
TEST(FieldUpload, TexturesTakeOneGenerationAfterAStepAndEverythingOtherwise) {
  auto task = MakeFieldTask(8, 6, 0);
  task->LifeSpeed = 100.0f;
  Mesh(*task).valuesOnly = true;
  FieldTextureTracker tracker;
  FieldTexturePlan plan;
  auto draw = [&] {
    plan = tracker.Plan(ValueVersionsOf(*task));
    tracker.Sent(ValueVersionsOf(*task));
    return std::make_tuple(plan.sendAll, plan.resize, plan.sendCurrent);
  };
  using Sent = std::tuple<bool, bool, bool>;
  EXPECT_EQ(draw(), Sent(true, true, false));
  EXPECT_EQ(draw(), Sent(false, false, false));
  EXPECT_TRUE(task->AdvanceGenerationTimer(100.0));
  EXPECT_EQ(draw(), Sent(false, false, true));
  EXPECT_TRUE(task->AdvanceGenerationTimer(100.0));
  EXPECT_TRUE(task->AdvanceGenerationTimer(100.0));  // two generations between draws
  EXPECT_EQ(draw(), Sent(true, false, false));
  EXPECT_FALSE(plan.sendPalette);  // generations alone: the colour table stays
  task->ResetPopulation();
  EXPECT_EQ(draw(), Sent(true, false, false));
  EXPECT_TRUE(plan.sendPalette);
  task->SetBkColor(0.5f, 0.5f, 0.5f, 1.0f);
  EXPECT_EQ(draw(), Sent(true, false, false));
  task->SetBkColor(0.5f, 0.5f, 0.5f, 1.0f);
  EXPECT_TRUE(task->AdvanceGenerationTimer(100.0));  // a step after another change
  EXPECT_EQ(draw(), Sent(true, false, false));
  task->SetFieldDrawMode(1);
  EXPECT_EQ(draw(), Sent(true, true, false));
  tracker.Forget();
  EXPECT_EQ(draw(), Sent(true, true, false));
  EXPECT_TRUE(plan.sendPalette);
}

}  // namespace
