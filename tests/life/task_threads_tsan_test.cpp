// The configuration pages' calls on one thread while the kernel thread runs
// frames on the same task: built with ThreadSanitizer in its own tree
// (tools/build.sh tsan), where any access to the task's state outside its
// lock is reported and fails the run.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "tests/life/life_test_support.h"
#include "palette/gradient.h"

TEST(TaskThreads, PageCallsDuringFramesKeepToTheLock) {
  CRefCountPtrT<VivarnTaskBse> handle(new VivarnTaskBse());
  VivarnTaskBse& task = *handle.get();
  SetOutputSize(96, 60);
  task.CellSize = 4;
  ASSERT_TRUE(task.Start());

  CGradient gradient;
  gradient.AddPeg(0x00FF00, 0.5);
  std::vector<uint8_t> bgr(300 * 3);
  gradient.FillColourTable(bgr.data(), 300);

  std::atomic<bool> pagesDone{false};
  uint32_t frames = 0;
  std::thread kernel([&] {
    // As the kernel loop: a frame time, Update (the generation timer and the
    // step), and what the frame is drawn with.
    while (!pagesDone.load()) {
      task.frameTime = 16.0;
      task.frameDuration = 16.0;
      task.Update();
      const VivarnTaskBse::FrameLook look = task.CurrentLook();
      if (look.bkColor[3] == 1.0f) ++frames;
    }
  });

  // As the pages do it, each call as its control makes it.
  for (int round = 0; round < 60; ++round) {
    task.SetCellSize(round % 2 == 0 ? 3 : 5);
    task.ApplyCellSize();
    task.SetFieldDrawMode(round % 3 == 0 ? 1 : 0);
    task.ResetPopulation();
    task.BuildColourTableFromBgr(300, bgr.data());
    task.SetBkColor(0.1f * static_cast<float>(round % 10), 0.0f, 0.3f, 1.0f);
    task.SetRuleSurvive(round % 9, round % 2 == 0);
    task.SetShowStat(round % 2 == 0);
    task.SetShowFPS(round % 2 != 0);
    task.SetAutoReset(round % 2 == 0);
    task.SetRuleBorn(round % 9, round % 2 != 0);
    task.SetLifeSpeed(round % 4 == 0 ? 0.0f : 20.0f);
    task.SetDieStep(0.5f);
    task.SetDieSlowly(round % 5 != 0);
    task.SetPeriodicResetOn(round % 2 != 0);
    task.SetResetPeriod(static_cast<uint32_t>(50 + round));
  }
  pagesDone.store(true);
  kernel.join();

  std::lock_guard<std::recursive_mutex> guard(task.lock);
  EXPECT_EQ(task.CellSize, 5);
  EXPECT_EQ(Field(task).columns, 96 / 5);
  EXPECT_EQ(Mesh(task).paletteSize, 300);
  EXPECT_GT(frames, 0u);
}
