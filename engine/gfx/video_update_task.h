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
  float lastInterval = 0.0f;  // ms
  float totalTime = 0.0f;     // ms
  int32_t sampleCount = 0;
  int64_t startCounter = 0;
  int64_t frequency = 0;      // performance-counter ticks per second
  float msPerTick = 0.0f;
  float currentStamp = 0.0f;  // ms since startCounter
  float previousStamp = 0.0f;

 private:
  void RestartTiming();
  float ElapsedMs() const;
};

class VideoUpdateTask : public CRefCountPtrT<VideoUpdateTaskBase> {
 public:
  using CRefCountPtrT<VideoUpdateTaskBase>::CRefCountPtrT;
  static VideoUpdateTask& Instance() {
    return SingletonInstance<VideoUpdateTask, VideoUpdateTaskBase, SingletonSlot::VideoUpdateTask>();
  }
};
