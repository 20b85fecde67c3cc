// What the Life task needs from the program around it, and tells it: the
// size of the output it fills, and the settings the engine acts on (vertical
// sync, the clear colour). The program's host lives in app/, where the task
// meets the engine; without one the task fills a size set by SetOutputSize
// and tells nobody (native tests, benchmarks).
#pragma once

#include <cstdint>
#include <vector>

struct OutputSize {
  int32_t width = 0;
  int32_t height = 0;
};

class ITaskHost {
 public:
  // The output's drawing size in pixels, now.
  virtual OutputSize CurrentOutputSize() const = 0;
  // Each field's size in pixels, now: one field of the output's size, or
  // with a field for each monitor the primary's first, then the others'.
  virtual std::vector<OutputSize> FieldSizes() const { return {CurrentOutputSize()}; }
  // A setter changed one of these (any thread, the task's lock held).
  virtual void VerticalSyncChanged(uint32_t swapInterval) = 0;
  virtual void BackgroundChanged(const float rgba[4]) = 0;

 protected:
  ~ITaskHost() = default;
};

// The size a task without a host fills: 640 x 640 until set (any thread).
void SetOutputSize(int32_t width, int32_t height);
OutputSize HeadlessOutputSize();
