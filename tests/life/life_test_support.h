// Helpers for the Life tests: a task with a field of a chosen size in cells.
#pragma once

#include "engine/core/ref_count.h"
#include "life/output_size.h"
#include "life/vivarn_task.h"

// A task whose field is columns x rows cells (cell size 1 on a headless output
// of that many pixels), emptied, with its own reference.
inline CRefCountPtrT<VivarnTaskBse> MakeFieldTask(int32_t columns, int32_t rows, int32_t drawMode = 0) {
  CRefCountPtrT<VivarnTaskBse> task(new VivarnTaskBse());
  SetOutputSize(columns, rows);
  task->FieldDrawMode = drawMode;
  task->CellSize = 1;
  task->ApplyCellSize();
  return task;
}

inline float CellAt(const VivarnTaskBse& task, int32_t x, int32_t y) {
  return task.cells[static_cast<size_t>(y) * task.columns + x];
}

inline void PutCell(VivarnTaskBse& task, int32_t x, int32_t y, float value) {
  task.SetCell(task.cells.get(), x, y, value);
}
