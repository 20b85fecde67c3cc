// Inside the Life task: its field and mesh, the step's tuning, the generation
// timer and what drawing keeps between frames. The task's own files and the
// tests include this; the pages see only life/vivarn_task.h.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/gl/font.h"
#include "engine/gl/texture.h"
#include "life/field/field_mesh.h"
#include "life/field/field_step.h"
#include "life/field/life_field.h"
#include "life/field_buffers.h"
#include "life/overlay_text.h"
#include "life/pattern_gallery.h"
#include "life/vivarn_task.h"

// A field with the mesh that draws it and the GL buffers that hold the mesh.
// One pair, or with a field for each monitor (Monitors 2) one for each.
struct FieldPair {
  LifeField field;
  FieldMesh mesh;
  // Kernel thread only: made by the first draw.
  std::unique_ptr<FieldBuffers, FieldBuffersRelease> buffers;
  // The lookup of fill mode 3's candidates this field's reseed rule holds.
  uint32_t famousVersion = 0;
};

struct TaskInside {
  FieldPair pair;
  LifeField& field = pair.field;
  FieldMesh& mesh = pair.mesh;
  // The other monitors' fields after the primary's `pair`, in the host's
  // order (LifeField and its mesh stay where they are while this grows).
  std::vector<std::unique_ptr<FieldPair>> others;
  size_t FieldCount() const { return 1 + others.size(); }
  FieldPair& Pair(size_t index) { return index == 0 ? pair : *others[index - 1]; }
  const FieldPair& Pair(size_t index) const { return index == 0 ? pair : *others[index - 1]; }
  StepTuning tuning;

  double generationTimer = 0.0;  // ms gathered towards the next generation
  // Off: the field is drawn from client arrays even where the context has
  // buffer objects (the OpenGL 1.1 path, for tests).
  bool useBufferObjects = true;
  // Off: the field is drawn from the mesh even where the context has shaders
  // (the fixed-function path, for tests).
  bool useShaders = true;
  // Off: the shader path's smooth field is interpolated by its fragment
  // shader even where its vertex colours could be rendered into a buffer
  // (the path of contexts without framebuffer and pixel buffer objects).
  bool useGridColours = true;
  // What the primary field's last draw used (VivarnTaskBse::DrawPath).
  FieldDrawPath drawPath = FieldDrawPath::Unknown;

  uint32_t panelList = 0;
  CRefCountPtrT<FontBase> font;
  CRefCountPtrT<TextureBase> particleTexture;
  // Loaded by Start from the module's English string table.
  StatisticsFormats statisticsFormats;

  // Fill mode 3's candidates: the gallery entries of `famousRule`, looked up
  // again only when the rule changes (every generation passes the rules on).
  std::vector<const GalleryEntry*> famous;
  RuleDefinition famousRule;
  bool famousKnown = false;
  uint32_t famousVersion = 0;  // counts the lookups
  // The pattern fill mode 4 places (null for none) and the name shown for it.
  std::shared_ptr<const Pattern> chosen;
  std::string chosenName;
  // A pattern cut at the field's edges is logged once per choice.
  bool cutLogged = false;
};
