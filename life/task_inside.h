// Inside the Life task: its field and mesh, the step's tuning, the generation
// timer and what drawing keeps between frames. The task's own files and the
// tests include this; the pages see only life/vivarn_task.h.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/gl/font.h"
#include "engine/gl/texture.h"
#include "life/field/field_mesh.h"
#include "life/field/field_step.h"
#include "life/field/life_field.h"
#include "life/field_buffers.h"
#include "life/overlay_text.h"

// A field with the mesh that draws it and the GL buffers that hold the mesh.
// One pair today; each monitor can be given a pair of its own.
struct FieldPair {
  LifeField field;
  FieldMesh mesh;
  // Kernel thread only: made by the first draw.
  std::unique_ptr<FieldBuffers, FieldBuffersRelease> buffers;
};

struct TaskInside {
  FieldPair pair;
  LifeField& field = pair.field;
  FieldMesh& mesh = pair.mesh;
  StepTuning tuning;

  double generationTimer = 0.0;  // ms gathered towards the next generation
  // Off: the field is drawn from client arrays even where the context has
  // buffer objects (the OpenGL 1.1 path, for tests).
  bool useBufferObjects = true;
  // Off: the field is drawn from the mesh even where the context has shaders
  // (the fixed-function path, for tests).
  bool useShaders = true;

  uint32_t panelList = 0;
  CRefCountPtrT<FontBase> font;
  CRefCountPtrT<TextureBase> particleTexture;
  // Loaded by Start from the module's English string table.
  StatisticsFormats statisticsFormats;
};
