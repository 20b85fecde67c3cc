// A field for each monitor (Monitors 2): each monitor's field takes its own
// size, seeding and counters, all step together, and a display change keeps
// every field that still fits.
#include <gtest/gtest.h>

#include <vector>

#include "life_test_support.h"

namespace {

class MonitorsHost : public ITaskHost {
 public:
  std::vector<OutputSize> sizes;
  OutputSize CurrentOutputSize() const override { return sizes.front(); }
  std::vector<OutputSize> FieldSizes() const override { return sizes; }
  void VerticalSyncChanged(uint32_t) override {}
  void BackgroundChanged(const float*) override {}
};

struct MonitorFields : ::testing::Test {
  MonitorsHost host;
  CRefCountPtrT<VivarnTaskBse> task{new VivarnTaskBse()};
  TaskInside& in = task->Inside();

  void SetUp() override {
    host.sizes = {{800, 600}, {1024, 768}};
    task->SetHost(&host);
    task->CellSize = 10;
    task->ApplyCellSize();
    task->ResetPopulation();
  }
  LifeField& FieldOf(size_t index) { return in.Pair(index).field; }
  int32_t Live(size_t index) {
    const LifeField& field = FieldOf(index);
    int32_t live = 0;
    for (int32_t i = 0; i < field.columns * field.rows; ++i) live += field.cells[i] != 0.0f ? 1 : 0;
    return live;
  }
};

TEST_F(MonitorFields, EachTakesItsMonitorsSizeIsSeededAndStepsWithTheOthers) {
  ASSERT_EQ(in.FieldCount(), 2u);
  EXPECT_EQ(FieldOf(0).columns, 80);
  EXPECT_EQ(FieldOf(0).rows, 60);
  EXPECT_EQ(FieldOf(1).columns, 102);
  EXPECT_EQ(FieldOf(1).rows, 76);
  EXPECT_EQ(in.Pair(1).mesh.indexCount, 102 * 76 * 6);
  EXPECT_GT(Live(0), 0);
  EXPECT_GT(Live(1), 0);
  task->AdvanceGenerationTimer(task->EffectiveLifeSpeed() + 1.0);
  EXPECT_EQ(FieldOf(0).generation, 1u);
  EXPECT_EQ(FieldOf(1).generation, 1u);
}

TEST_F(MonitorFields, ADisplayChangeKeepsFieldsThatFitAndSeedsNewOnes) {
  task->Step();
  FieldOf(0).cells[FieldOf(0).Index(5, 5)] = 1.0f;
  host.sizes = {{805, 609}, {1280, 1024}, {640, 480}};  // the primary's 80 x 60 cells still
  task->FollowOutputSize();
  ASSERT_EQ(in.FieldCount(), 3u);
  EXPECT_EQ(FieldOf(0).generation, 1u);
  EXPECT_EQ(FieldOf(0).Cell(5, 5), 1.0f);
  EXPECT_EQ(FieldOf(1).columns, 128);
  EXPECT_EQ(FieldOf(1).generation, 0u);
  EXPECT_GT(Live(1), 0);
  EXPECT_EQ(FieldOf(2).columns, 64);
  EXPECT_GT(Live(2), 0);

  host.sizes = {{800, 600}};
  task->FollowOutputSize();
  EXPECT_EQ(in.FieldCount(), 1u);
  EXPECT_EQ(FieldOf(0).Cell(5, 5), 1.0f);
}

TEST_F(MonitorFields, AMonitorsNewFieldLooksLikeThePrimarysAndFollowsItsSetters) {
  const uint8_t bgr[6] = {1, 2, 3, 4, 5, 6};
  task->BuildColourTableFromBgr(2, bgr);
  task->SetBkColor(0.5f, 0.25f, 0.0f, 1.0f);
  task->SetFieldDrawMode(1);
  host.sizes.push_back({320, 240});
  task->FollowOutputSize();
  ASSERT_EQ(in.FieldCount(), 3u);
  for (size_t i = 0; i < in.FieldCount(); ++i) {
    const FieldMesh& mesh = in.Pair(i).mesh;
    ASSERT_EQ(mesh.paletteSize, 2);
    EXPECT_EQ(mesh.paletteColours[1].r, 6);
    EXPECT_EQ(mesh.paletteColours[1].b, 4);
    EXPECT_EQ(mesh.background[1], 0.25f);
    EXPECT_EQ(mesh.drawMode, 1);
  }
}

}  // namespace
