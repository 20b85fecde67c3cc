// Frame pacing: the loop never draws more frames than the display shows. Each
// frame has a deadline one frame period after the previous frame's start, and
// the loop waits only for what is left of it when the frame is done, so a
// frame that vertical sync already held at the swap is not held again, and a
// late frame is followed at once by the next without any catching up.
// Portable arithmetic on counter ticks; the kernel does the waiting.
#pragma once

#include <cstdint>

// Refresh rates of 0 and 1 are how the system says "unknown".
constexpr int32_t kAssumedRefreshHz = 60;
// Previews (the configuration sheet's and /p) are small and share the
// machine with the dialog that shows them: at most this many frames a second.
constexpr int32_t kPreviewFrameRateCap = 30;

// The frame period in milliseconds for a display refreshing `refreshHz`
// times a second, held to the preview cap when `preview`.
double FramePeriodMs(int32_t refreshHz, bool preview);

class FramePacer {
 public:
  // `periodTicks` of 0 or less turns pacing off: every wait is 0.
  void Begin(int64_t periodTicks, int64_t now) {
    period = periodTicks > 0 ? periodTicks : 0;
    frameStart = now;
  }
  // The frame that started last is done at `now`: returns how many ticks to
  // wait before the next one starts. The next frame counts as starting at
  // its deadline, not when the wait returns, so a wait that overshoots a
  // little does not stretch every period after it.
  int64_t FrameDone(int64_t now) {
    const int64_t deadline = frameStart + period;
    if (period == 0 || now >= deadline) {
      frameStart = now;
      return 0;
    }
    frameStart = deadline;
    return deadline - now;
  }

 private:
  int64_t period = 0;
  int64_t frameStart = 0;
};
