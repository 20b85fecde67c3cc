// The field's arrays on the GL side: buffer objects in the context that made
// them, filled from the task's arrays as FieldUploadTracker decides, or the
// task's client arrays where the context has no buffer objects (OpenGL 1.1)
// or could not hold them. Kernel thread only, with the context current and
// the task's lock held.
#pragma once

#include "engine/gl/gl_buffers_win32.h"
#include "life/field_upload.h"

class VivarnTaskBse;

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

  // Draws the field's triangles with its positions, colours and, when
  // `textured`, texture coordinates; the client array states must be enabled.
  void Draw(const VivarnTaskBse& task, bool textured);

 private:
  // Brings the buffers up to date; false to draw from the client arrays.
  bool Refresh(const VivarnTaskBse& task);
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
