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

// The display's rate as best known. `reportedHz` is the system's whole number
// (GetDeviceCaps VREFRESH), which drops the fraction: a 59.94 Hz mode reports
// 59. `compositorHz` is the compositor's exact rate, 0 when unknown; it is
// taken only when its whole part is the reported rate, since the compositor
// may time another monitor than the window's.
double RefreshHz(int32_t reportedHz, double compositorHz);

// The frame period in milliseconds for a display refreshing `refreshHz`
// times a second, held to the preview cap when `preview`.
double FramePeriodMs(int32_t refreshHz, bool preview);
// The same from what RefreshHz takes. With vertical sync the swap itself
// waits for the blank; pacing on top of it with a period even slightly
// longer than the real one would push frames past blanks, and the rate is
// only known to a whole number. So then the period is that of a rate 1 Hz
// above the best known one: the swap sets the pace, and where a driver
// ignores the swap interval frames still stay about at the display's rate.
double FramePeriodMs(int32_t reportedHz, double compositorHz, bool preview, bool verticalSync);

// How many of the display's refreshes one frame stands for: a preview's 30
// frames a second on a 60 Hz display, two; what is done once a refresh in
// full screen may be done that many times in one such frame. At least one;
// one when either period is unknown (0).
int32_t RefreshesPerFrame(double framePeriodMs, double displayPeriodMs);

// The generation timer: `timer` gathers frame time, and every `periodMs`
// gathered is one generation due, at most `limit` in one frame. The time
// past the last due moment is carried, at most one period's worth, so a
// speed between two whole numbers of frames keeps its rate on average and a
// stall is followed by no more than `limit` generations a frame. Returns how
// many generations are due now.
int32_t DueGenerations(double& timer, double frameTimeMs, double periodMs, int32_t limit);
// How far that timer has come towards the next generation, 0..1, once
// DueGenerations has taken what was due: 1 when a frame of `frameTimeMs`
// may hold more than one generation (there is no moment between two to show).
double GenerationProgress(double timer, double frameTimeMs, double periodMs);

class FramePacer {
 public:
  // `periodTicks` of 0 or less turns pacing off: every wait is 0.
  void Begin(int64_t periodTicks, int64_t now) {
    SetPeriod(periodTicks);
    frameStart = now;
  }
  // A new period from the frame under way on (vertical sync switched).
  void SetPeriod(int64_t periodTicks) { period = periodTicks > 0 ? periodTicks : 0; }
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
