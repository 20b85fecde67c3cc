// The average frame rate the video update task reports when it stops.
// Portable arithmetic, kept apart so it can be checked without a clock.
#pragma once

#include <cstdint>

// Frames per second over an interval of `intervalMs` milliseconds. An
// interval that is not positive (no performance counter, or Stop in the same
// tick as Start) yields 0 rather than infinity or NaN in the log.
double AverageFrameRate(int32_t frames, double intervalMs);
