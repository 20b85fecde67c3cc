// Helpers for the Life tests: a task with a field of a chosen size in cells,
// and the field and mesh inside a task.
#pragma once

#include <mutex>

#include "engine/core/ref_count.h"
#include "life/task_host.h"
#include "life/task_inside.h"
#include "life/vivarn_task.h"

inline LifeField& Field(VivarnTaskBse& task) { return task.Inside().field; }
inline const LifeField& Field(const VivarnTaskBse& task) { return task.Inside().field; }
inline FieldMesh& Mesh(VivarnTaskBse& task) { return task.Inside().mesh; }
inline const FieldMesh& Mesh(const VivarnTaskBse& task) { return task.Inside().mesh; }

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
  return Field(task).cells[static_cast<size_t>(y) * Field(task).columns + x];
}

// Stores one cell with its vertex colours, as seeding does.
inline void PutCell(VivarnTaskBse& task, int32_t x, int32_t y, float value) {
  std::lock_guard<std::recursive_mutex> guard(task.lock);
  if (!Field(task).cells) return;
  Mesh(task).PaintCell(x, y, Mesh(task).CellColour(value));
  Field(task).cells[Field(task).Index(x, y)] = value;
}
