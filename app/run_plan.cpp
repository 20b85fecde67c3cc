#include "app/run_plan.h"

RunPlan PlanRun(int32_t parseResult, const std::function<bool(NativeWindow)>& isWindow) {
  RunPlan plan;
  if (parseResult == kCommandLineFailed) return plan;  // End

  const uint32_t mode = static_cast<uint32_t>(parseResult);
  if (mode > kConfigure) {
    // Handles are 32-bit values even in 64-bit processes, so the number fits.
    const auto parent = reinterpret_cast<NativeWindow>(static_cast<uintptr_t>(mode));
    if (!isWindow || !isWindow(parent)) return plan;  // End
    plan.action = RunAction::Preview;
    plan.mode = kPreview;
    plan.window = WindowPlacement{true, 640, 640, false, parent};
    return plan;
  }
  plan.mode = mode;
  switch (mode) {
    case kFullScreen:
      plan.action = RunAction::FullScreen;
      plan.window = WindowPlacement{true, 640, 640, true, nullptr};
      break;
    case kPreview:
      plan.action = RunAction::Preview;
      break;
    default:
      plan.action = RunAction::Configure;
      break;
  }
  return plan;
}
