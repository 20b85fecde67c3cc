// The engine task that owns the frame boundary: its Start creates the GL
// window, its Update presents each frame after every other task has drawn
// (order 100000) and clears for the next one, its Stop destroys the window
// and logs the average frame rate of the whole run. Runs on the kernel
// thread only. The implementation is Win32 (video_update_task_win32.cpp).
#pragma once

#include <cstdint>

#include "engine/core/singleton.h"
#include "engine/core/task.h"

class VideoUpdateTaskBase : public ITask {
 public:
  VideoUpdateTaskBase();
  void OnCreate() override;
  void OnDestroy() override;
  bool Start() override;
  void Update() override;
  void Stop() override;

  int32_t frames = 0;         // presented since the object's first reference
  // Milliseconds in double: the span of a whole night's run stays exact.
  double lastInterval = 0.0;  // ms
  double totalTime = 0.0;     // ms
  int32_t sampleCount = 0;
  int64_t startCounter = 0;
  int64_t frequency = 0;      // performance-counter ticks per second
  double msPerTick = 0.0;
  double currentStamp = 0.0;  // ms since startCounter
  double previousStamp = 0.0;

 private:
  void RestartTiming();
  double ElapsedMs() const;
};

class VideoUpdateTask : public CRefCountPtrT<VideoUpdateTaskBase> {
 public:
  using CRefCountPtrT<VideoUpdateTaskBase>::CRefCountPtrT;
  static VideoUpdateTask& Instance() {
    return SingletonInstance<VideoUpdateTask, VideoUpdateTaskBase, SingletonSlot::VideoUpdateTask>();
  }
};
