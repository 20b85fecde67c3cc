// The buffer-object and ranged-draw entry points of the current context,
// loaded at run time (opengl32.dll exports only OpenGL 1.1): the core names
// where the version has them, else the ARB / EXT extension names. An entry
// point the context does not offer stays null.
#pragma once

#include "engine/gl/gl_include_win32.h"

struct GLBufferEntries {
  PFNGLGENBUFFERSPROC genBuffers = nullptr;
  PFNGLDELETEBUFFERSPROC deleteBuffers = nullptr;
  PFNGLISBUFFERPROC isBuffer = nullptr;
  PFNGLBINDBUFFERPROC bindBuffer = nullptr;
  PFNGLBUFFERDATAPROC bufferData = nullptr;
  PFNGLDRAWRANGEELEMENTSPROC drawRangeElements = nullptr;

  // All five buffer calls are there (half a set is no set).
  bool HasBuffers() const { return genBuffers && deleteBuffers && isBuffer && bindBuffer && bufferData; }
};

// Requires a current context; wglGetProcAddress answers per context.
GLBufferEntries LoadGLBufferEntries();
