// A field mesh on the GL side: buffer objects in the context that made them,
// filled from the mesh's arrays as FieldUploadTracker decides, or the mesh's
// client arrays where the context has no buffer objects (OpenGL 1.1) or
// could not hold them. It reads the mesh only, never cells or rules. Kernel
// thread only, with the context current and the task's lock held.
#pragma once

#include <memory>

#include "engine/gl/gl_buffers_win32.h"
#include "life/field_buffers.h"
#include "life/field_upload.h"
#include "life/task_host.h"

class FieldMesh;

class FieldBuffers {
 public:
  // Belongs to the current context.
  FieldBuffers();
  // Deletes the buffers when their context is still current (otherwise they
  // went, or go, with it).
  ~FieldBuffers();
  FieldBuffers(const FieldBuffers&) = delete;
  FieldBuffers& operator=(const FieldBuffers&) = delete;

  HGLRC Context() const { return context; }

  // Draws the mesh's triangles with its positions, colours and, when
  // `textured`, texture coordinates; the client array states must be
  // enabled. Without `useBufferObjects` it draws from the client arrays.
  void Draw(const FieldMesh& mesh, bool textured, bool useBufferObjects);

 private:
  // Brings the buffers up to date; false to draw from the client arrays.
  bool Refresh(const FieldMesh& mesh, bool useBufferObjects);
  void DeleteBuffers();

  HGLRC context;
  GLBufferEntries gl;
  GLuint positions = 0;
  GLuint texCoords = 0;
  GLuint colours = 0;
  GLuint indices = 0;
  bool unusable = false;  // the context could not hold the arrays
  FieldUploadTracker tracker;
};

class TextureBase;

// Draws `mesh` over an output of `output` pixels with the blending the field
// uses, the particle texture on each cell in draw mode 0 (plain squares
// without one), from `buffers`, made or remade for the current context.
void DrawFieldMesh(const FieldMesh& mesh, std::unique_ptr<FieldBuffers, FieldBuffersRelease>& buffers,
                   OutputSize output, TextureBase* particleTexture, bool useBufferObjects);
