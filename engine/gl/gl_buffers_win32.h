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
  PFNGLBUFFERSUBDATAPROC bufferSubData = nullptr;
  PFNGLDRAWRANGEELEMENTSPROC drawRangeElements = nullptr;

  // All five buffer calls are there (half a set is no set).
  bool HasBuffers() const { return genBuffers && deleteBuffers && isBuffer && bindBuffer && bufferData; }
};

// Framebuffer objects, for drawing into a texture: the core names from
// OpenGL 3.0 or with GL_ARB_framebuffer_object, else the EXT ones.
struct GLFramebufferEntries {
  PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
  PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
  PFNGLFRAMEBUFFERTEXTURE2DPROC framebufferTexture2D = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;

  bool Complete() const {
    return genFramebuffers && deleteFramebuffers && bindFramebuffer && framebufferTexture2D && checkFramebufferStatus;
  }
};

// Requires a current context; wglGetProcAddress answers per context.
GLBufferEntries LoadGLBufferEntries();
GLFramebufferEntries LoadGLFramebufferEntries();
