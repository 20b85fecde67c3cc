// The kernel: the engine's scheduler. It owns an ordered list of tasks and a
// list of window-message handlers; Run() pumps the thread's messages through
// the handlers and calls every task once per frame with the smoothed frame
// time, until every task has been stopped and removed. With a frame period
// set, it waits after each frame for what is left of that period
// (frame_pacer.h).
//
// The message pump and the clock are behind IKernelPlatform so that the loop
// itself is portable: the Windows build pumps real messages and reads the
// performance counter; tests drive it with a fake.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "engine/core/ref_count.h"
#include "engine/core/singleton.h"
#include "engine/core/task.h"

class VekKernelBase;

class IKernelPlatform {
 public:
  virtual ~IKernelPlatform() = default;
  virtual bool QueryFrequency(int64_t& ticksPerSecond) = 0;
  virtual bool QueryCounter(int64_t& ticks) = 0;
  // Fetches every pending message of the calling thread, offers each to
  // kernel.DispatchMsg and translates and dispatches the ones not consumed.
  virtual void PumpMessages(VekKernelBase& kernel) = 0;
  // Returns once the counter reads `counter` or more (about: the wait may end
  // a little early or late). A platform that cannot wait returns at once.
  virtual void WaitUntil(int64_t counter) { (void)counter; }
  // The loop has ended: gives back what its waits held on to.
  virtual void EndWaits() {}
  // The loop sleeps: returns once a message (posted, sent or input) is there
  // for the thread to pump, and not before. A platform without messages
  // returns at once.
  virtual void WaitForMessage() {}
};

// The platform of this build (Win32 in the program, an idle one natively).
IKernelPlatform& DefaultKernelPlatform();

// GetCurrentThread()'s pseudo-handle: `thread` keeps it while the loop runs on
// the thread that called Run directly.
inline void* const kCurrentThreadPseudoHandle = reinterpret_cast<void*>(intptr_t{-2});

struct TaskNode {
  CRefCountPtrT<ITask> task;
  TaskNode* next = nullptr;
  TaskNode* prev = nullptr;
};

struct TaskList {
  TaskNode* head = nullptr;
  TaskNode* tail = nullptr;
  int32_t count = 0;
  std::recursive_mutex lock;
};

class VekKernelBase : public IRefCountPtrBase {
 public:
  VekKernelBase() = default;
  ~VekKernelBase() override;
  void OnCreate() override;
  void OnDestroy() override;

  bool AddTask(ITask* task);
  int32_t AddMsgHandler(IWindowMsgHandler* handler);
  bool DispatchMsg(NativeWindow window, uint32_t message, MessageWParam wParam, MessageLParam lParam);
  void StopAllTasks();
  void Abort(int32_t code);

  // The loop. Returns 0 when the task list is empty.
  uint32_t Run();
  // Thread entry form: the argument is the kernel.
  static uint32_t RunEntry(void* kernel) { return static_cast<VekKernelBase*>(kernel)->Run(); }

  void SetPlatform(IKernelPlatform* p) { platform = p; }
  // Milliseconds each frame takes at least; 0 draws frames back to back. Read
  // when the loop begins, after every task's Start (where the video task sets
  // it from the display), and after every frame (vertical sync may be
  // switched while the loop runs), so it is set on the loop's thread.
  void SetFramePeriod(double ms) { framePeriodMs = ms; }
  double FramePeriod() const { return framePeriodMs; }
  // Milliseconds between the display's refreshes, 0 when unknown: what full
  // screen can show at most, which a preview's slower frames may make up
  // for (RefreshesPerFrame). Set like the frame period.
  void SetDisplayPeriod(double ms) { displayPeriodMs = ms; }
  double DisplayPeriod() const { return displayPeriodMs; }
  // Frames at most every `divisor`-th refresh period (1: every one): the
  // frame period is stretched by it, and each frame stands for that many
  // more refreshes, so the generations keep their rate. Loop's thread.
  void SetFrameRateDivisor(int32_t divisor) { frameRateDivisor = divisor > 1 ? divisor : 1; }
  int32_t FrameRateDivisor() const { return frameRateDivisor; }
  // Asleep, the loop steps and draws nothing: it stops the tasks asked to
  // stop and otherwise waits for the next message (WaitForMessage), until a
  // message handler wakes it. Before the first wait of each sleep it calls
  // `beforeSleep` (if set), between frames. A sleep is not counted as frame
  // time. Loop's thread.
  void SetAsleep(bool sleep) { asleep = sleep; }
  bool Asleep() const { return asleep; }
  void (*beforeSleep)(void* context) = nullptr;
  void* beforeSleepContext = nullptr;
  int32_t TaskCount();

  TaskList tasks;
  int32_t threadPriority = 0;
  void* thread = kCurrentThreadPseudoHandle;
  double smoothing = 0.85;

 private:
  TaskNode* RemoveTask(TaskNode* node);
  void SortTasks();
  void ClearTasks();
  TaskNode* NextUnderLock(TaskNode* node);
  // One sleep: stops the tasks asked to stop and waits for messages until
  // the loop is woken or no task is left.
  void SleepPass(IKernelPlatform& host);

  struct HandlerArray {
    std::vector<IWindowMsgHandler*> items;
    std::mutex lock;
  } msgHandlers;
  IKernelPlatform* platform = nullptr;
  double framePeriodMs = 0.0;
  double displayPeriodMs = 0.0;
  int32_t frameRateDivisor = 1;
  bool asleep = false;
};

class VekKernel : public CRefCountPtrT<VekKernelBase> {
 public:
  using CRefCountPtrT<VekKernelBase>::CRefCountPtrT;
  static VekKernel& Instance() {
    return SingletonInstance<VekKernel, VekKernelBase, SingletonSlot::VekKernel>();
  }
};
