#include <gtest/gtest.h>

#include <vector>

#include "app/run_plan.h"

namespace {
NativeWindow Handle(uintptr_t value) { return reinterpret_cast<NativeWindow>(value); }

// Only the handles listed exist as windows.
std::function<bool(NativeWindow)> WindowsAre(std::vector<uintptr_t> handles) {
  return [handles](NativeWindow w) {
    for (uintptr_t h : handles)
      if (Handle(h) == w) return true;
    return false;
  };
}

TEST(RunPlan, FullScreenFillsTheScreenWithoutParent) {
  const RunPlan plan = PlanRun(kFullScreen, WindowsAre({}));
  EXPECT_EQ(plan.action, RunAction::FullScreen);
  EXPECT_EQ(plan.mode, uint32_t{kFullScreen});
  EXPECT_TRUE(plan.window.apply);
  EXPECT_TRUE(plan.window.fullScreen);
  EXPECT_EQ(plan.window.width, 640);
  EXPECT_EQ(plan.window.height, 640);
  EXPECT_EQ(plan.window.parent, nullptr);
}

TEST(RunPlan, AWindowHandleBecomesThePreviewParent) {
  const RunPlan plan = PlanRun(1234, WindowsAre({1234}));
  EXPECT_EQ(plan.action, RunAction::Preview);
  EXPECT_EQ(plan.mode, uint32_t{kPreview});
  EXPECT_TRUE(plan.window.apply);
  EXPECT_FALSE(plan.window.fullScreen);
  EXPECT_EQ(plan.window.width, 640);
  EXPECT_EQ(plan.window.height, 640);
  EXPECT_EQ(plan.window.parent, Handle(1234));
}

TEST(RunPlan, AHandleThatIsNoWindowEndsTheRun) {
  const RunPlan plan = PlanRun(5000, WindowsAre({1234}));
  EXPECT_EQ(plan.action, RunAction::End);
  EXPECT_FALSE(plan.window.apply);
}

TEST(RunPlan, AHandleIsCheckedEvenWithoutAWindowTest) {
  EXPECT_EQ(PlanRun(5000, nullptr).action, RunAction::End);
}

TEST(RunPlan, ACommandLineThatCouldNotBeSplitEndsTheRun) {
  // -1 taken as unsigned would look like a window handle; it must not reach
  // the preview path even if something answered "is a window" for it.
  const RunPlan plan = PlanRun(kCommandLineFailed, [](NativeWindow) { return true; });
  EXPECT_EQ(plan.action, RunAction::End);
}

TEST(RunPlan, LiteralPreviewModeLeavesTheWindowSettingsAlone) {
  const RunPlan plan = PlanRun(kPreview, WindowsAre({}));
  EXPECT_EQ(plan.action, RunAction::Preview);
  EXPECT_EQ(plan.mode, uint32_t{kPreview});
  EXPECT_FALSE(plan.window.apply);
}

TEST(RunPlan, ConfigurationLeavesTheWindowToTheSheet) {
  const RunPlan plan = PlanRun(kConfigure, WindowsAre({}));
  EXPECT_EQ(plan.action, RunAction::Configure);
  EXPECT_EQ(plan.mode, uint32_t{kConfigure});
  EXPECT_FALSE(plan.window.apply);
}

TEST(RunPlan, TheCommandLineTableEndToEnd) {
  struct Row {
    std::vector<std::wstring> args;
    RunAction action;
  };
  const std::vector<Row> rows = {
      {{L"x"}, RunAction::Configure},
      {{L"x", L"/S"}, RunAction::FullScreen},
      {{L"x", L"/p", L"1234"}, RunAction::Preview},
      {{L"x", L"/p", L"4321"}, RunAction::End},  // not a window
      {{L"x", L"/p"}, RunAction::FullScreen},
      {{L"x", L"/p", L"1"}, RunAction::Preview},
      {{L"x", L"/p", L"2"}, RunAction::Configure},
      {{L"x", L"/s", L"/p", L"1234"}, RunAction::Preview},
      {{L"x", L"/p", L"1234", L"/s"}, RunAction::FullScreen},
  };
  for (const Row& row : rows) {
    const int32_t parsed = static_cast<int32_t>(ParseArguments(row.args));
    EXPECT_EQ(PlanRun(parsed, WindowsAre({1234})).action, row.action) << "argument count " << row.args.size();
  }
}
}  // namespace
