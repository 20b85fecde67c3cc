// The Life task without a GL context (native build): the same lifecycle with
// nothing drawn, so tests and benchmarks can run the task through the kernel.
#include "life/vivarn_task.h"

void PassClearColour(float, float, float, float) {}

// No context, so no buffers are ever made.
class FieldBuffers {};
void FieldBuffersRelease::operator()(FieldBuffers* buffers) const { delete buffers; }

bool VivarnTaskBse::Start() {
  BuildColourTable();
  ApplyCellSize();
  ResetPopulation();
  return true;
}

void VivarnTaskBse::Update() { AdvanceGenerationTimer(frameTime); }

// Without a context there are no pixels: drawing leaves the task unchanged.
void VivarnTaskBse::DrawField() {}
void VivarnTaskBse::DrawStatistics(int32_t) {}
