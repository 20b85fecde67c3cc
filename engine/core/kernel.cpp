#include "engine/core/kernel.h"

#include <algorithm>

#include "engine/core/frame_pacer.h"
#include "engine/core/log.h"

void VekKernelBase::OnCreate() {
  threadPriority = 0;  // THREAD_PRIORITY_NORMAL
  thread = kCurrentThreadPseudoHandle;
  smoothing = 0.85;
  LifecycleLog() << "VekKernelBase this:" << std::hex << static_cast<const void*>(this) << std::dec
                 << " created\n";
}

void VekKernelBase::OnDestroy() {
  LifecycleLog() << "VekKernelBase this:" << std::hex << static_cast<const void*>(this) << std::dec
                 << " destroyed\n";
}

VekKernelBase::~VekKernelBase() {
  {
    std::lock_guard<std::mutex> guard(msgHandlers.lock);
    msgHandlers.items.clear();  // the handlers belong to whoever made them
  }
  ClearTasks();
}

bool VekKernelBase::AddTask(ITask* task) {
  std::lock_guard<std::recursive_mutex> guard(tasks.lock);
  auto* node = new TaskNode();
  node->task = CRefCountPtrT<ITask>(task);
  node->prev = tasks.tail;
  if (tasks.tail) tasks.tail->next = node;
  else tasks.head = node;
  tasks.tail = node;
  ++tasks.count;
  return true;
}

int32_t VekKernelBase::AddMsgHandler(IWindowMsgHandler* handler) {
  std::lock_guard<std::mutex> guard(msgHandlers.lock);
  msgHandlers.items.push_back(handler);
  return static_cast<int32_t>(msgHandlers.items.size() - 1);
}

bool VekKernelBase::DispatchMsg(NativeWindow window, uint32_t message, MessageWParam wParam,
                                MessageLParam lParam) {
  bool handled = false;
  // Handlers are only added before the loop runs, so no lock here.
  for (IWindowMsgHandler* handler : msgHandlers.items) {
    handler->HandleMessage(window, message, wParam, lParam, handled);
    if (handled) return true;
  }
  return false;
}

void VekKernelBase::StopAllTasks() {
  // Held for the whole walk: the loop may be unlinking nodes on its thread.
  std::lock_guard<std::recursive_mutex> guard(tasks.lock);
  for (TaskNode* node = tasks.head; node; node = node->next)
    node->task->killRequested.store(true, std::memory_order_relaxed);
}

void VekKernelBase::Abort(int32_t code) {
  MainLog() << "<!> " << "msg << (code:" << std::hex << code << std::dec << ")\n";
  StopAllTasks();
}

int32_t VekKernelBase::TaskCount() {
  std::lock_guard<std::recursive_mutex> guard(tasks.lock);
  return tasks.count;
}

// Unlinks and frees `node`; returns its successor so that a pass goes on with
// the very next task (none is skipped after a removal).
TaskNode* VekKernelBase::RemoveTask(TaskNode* node) {
  std::lock_guard<std::recursive_mutex> guard(tasks.lock);
  TaskNode* next = node->next;
  if (node->prev) node->prev->next = node->next;
  else tasks.head = node->next;
  if (node->next) node->next->prev = node->prev;
  else tasks.tail = node->prev;
  --tasks.count;
  delete node;  // the node's handle gives back the list's reference
  return next;
}

void VekKernelBase::ClearTasks() {
  std::lock_guard<std::recursive_mutex> guard(tasks.lock);
  TaskNode* node = tasks.head;
  while (node) {
    TaskNode* next = node->next;
    delete node;
    node = next;
  }
  tasks.head = tasks.tail = nullptr;
  tasks.count = 0;
}

void VekKernelBase::SortTasks() {
  std::lock_guard<std::recursive_mutex> guard(tasks.lock);
  std::vector<CRefCountPtrT<ITask>> sorted;
  sorted.reserve(static_cast<size_t>(tasks.count));
  for (TaskNode* node = tasks.head; node; node = node->next) sorted.push_back(node->task);
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const CRefCountPtrT<ITask>& a, const CRefCountPtrT<ITask>& b) {
                     return a->order < b->order;
                   });
  ClearTasks();
  for (auto& task : sorted) AddTask(task.get());
}

TaskNode* VekKernelBase::NextUnderLock(TaskNode* node) {
  std::lock_guard<std::recursive_mutex> guard(tasks.lock);
  return node ? node->next : tasks.head;
}

void VekKernelBase::SleepPass(IKernelPlatform& host) {
  if (beforeSleep) beforeSleep(beforeSleepContext);
  for (;;) {
    for (TaskNode* node = NextUnderLock(nullptr); node;) {
      ITask* task = node->task.get();
      if (task->killRequested.load(std::memory_order_relaxed)) {
        task->Stop();
        node = RemoveTask(node);
      } else {
        node = NextUnderLock(node);
      }
    }
    if (!asleep || TaskCount() == 0) return;
    host.WaitForMessage();
    host.PumpMessages(*this);
  }
}

uint32_t VekKernelBase::Run() {
  IKernelPlatform& host = platform ? *platform : DefaultKernelPlatform();

  for (TaskNode* node = NextUnderLock(nullptr); node;) {
    ITask* task = node->task.get();
    if (task->Start()) {
      MainLog() << "<i> " << "Task:" << task->name << " started successfully\n";
      node = NextUnderLock(node);
    } else {
      node = RemoveTask(node);  // released without Stop
    }
  }
  SortTasks();

  // Frame durations come from the integer counter difference of each frame,
  // in double: a float stamp of milliseconds since the start is only good to
  // 8 ms after a day, and the smoothed time and the generation pacing of an
  // all-night run would follow that rounding.
  int64_t frequency = 0, previousCount = 0;
  const bool haveCounter = host.QueryFrequency(frequency) && frequency > 0 && host.QueryCounter(previousCount);
  auto countNow = [&]() -> int64_t {
    int64_t now = 0;
    return haveCounter && host.QueryCounter(now) ? now : previousCount;
  };
  // Without a counter every frame counts as the initial average.
  const double kInitialAverage = 60.0;
  double lastDuration = haveCounter ? 0.0 : kInitialAverage;
  if (haveCounter) previousCount = countNow();
  // Without a counter there is nothing to pace against.
  FramePacer pacer;
  auto periodTicks = [&](double ms) {
    return haveCounter && ms > 0.0 ? static_cast<int64_t>(ms * static_cast<double>(frequency) / 1000.0) : 0;
  };
  auto effectivePeriod = [&] { return framePeriodMs * frameRateDivisor; };
  double pacedMs = effectivePeriod();
  int64_t pacedTicks = periodTicks(pacedMs);
  bool paced = pacedTicks > 0;  // at any time in this run: the waits are given back at the end
  pacer.Begin(pacedTicks, previousCount);

  double smoothed = kInitialAverage;
  while (TaskCount() > 0) {
    host.PumpMessages(*this);
    if (asleep) {
      SleepPass(host);
      // The time asleep is no frame's: the next frame is timed from here,
      // as if the loop had just begun, and the smoothed time is untouched.
      if (haveCounter) previousCount = countNow();
      pacer.Begin(pacedTicks, previousCount);
      continue;
    }
    smoothed = smoothing * smoothed + (1.0 - smoothing) * lastDuration;
    const int32_t refreshes = RefreshesPerFrame(effectivePeriod(), displayPeriodMs);

    for (TaskNode* node = NextUnderLock(nullptr); node;) {
      ITask* task = node->task.get();
      if (task->killRequested.load(std::memory_order_relaxed)) {
        task->Stop();
        node = RemoveTask(node);
        continue;
      }
      if (!task->paused.load(std::memory_order_relaxed)) {
        task->frameTime = smoothed;
        task->frameDuration = lastDuration;
        task->refreshesPerFrame = refreshes;
        task->timeTotal += smoothed;
        task->timeAccum += smoothed;
        task->Update();
      }
      node = NextUnderLock(node);
    }

    // Not after the pass that removed the last task: nothing follows it.
    if (effectivePeriod() != pacedMs) {
      pacedMs = effectivePeriod();
      pacedTicks = periodTicks(pacedMs);
      pacer.SetPeriod(pacedTicks);
      paced = paced || pacedTicks > 0;
    }
    if (pacedTicks > 0 && TaskCount() > 0) {
      const int64_t done = countNow();
      const int64_t wait = pacer.FrameDone(done);
      if (wait > 0) host.WaitUntil(done + wait);
    }
    if (haveCounter) {
      const int64_t current = countNow();
      lastDuration = static_cast<double>(current - previousCount) * 1000.0 / static_cast<double>(frequency);
      previousCount = current;
    }
  }
  if (paced) host.EndWaits();
  // Returning from the thread entry ends a thread started with
  // _beginthreadex just as _endthreadex(0) would, without skipping destructors.
  return 0;
}
