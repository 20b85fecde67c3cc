// The Life task without a GL context (native build): the same lifecycle with
// nothing drawn, so tests and benchmarks can run the task through the kernel.
#include "life/task_inside.h"
#include "life/vivarn_task.h"

// No context, so no buffers are ever made.
class FieldBuffers {};
void FieldBuffersRelease::operator()(FieldBuffers* buffers) const { delete buffers; }

bool VivarnTaskBse::Start() {
  BuildColourTable();
  std::lock_guard<std::recursive_mutex> guard(lock);
  ApplyCellSize();
  ResetPopulation();
  return true;
}

void VivarnTaskBse::Update() { AdvanceGenerationTimer(frameDuration, refreshesPerFrame); }
