#include "engine/gl/gl_buffers_win32.h"

#include "engine/gl/gl_caps.h"
#include "engine/gl/gl_extensions_win32.h"

namespace {
template <class Entry>
Entry Load(const char* name) {
  return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(LookUpGLEntry(name)));
}
}  // namespace

GLBufferEntries LoadGLBufferEntries() {
  GLBufferEntries e;
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  if (HasCoreBufferObjects(version)) {
    e.genBuffers = Load<PFNGLGENBUFFERSPROC>("glGenBuffers");
    e.deleteBuffers = Load<PFNGLDELETEBUFFERSPROC>("glDeleteBuffers");
    e.isBuffer = Load<PFNGLISBUFFERPROC>("glIsBuffer");
    e.bindBuffer = Load<PFNGLBINDBUFFERPROC>("glBindBuffer");
    e.bufferData = Load<PFNGLBUFFERDATAPROC>("glBufferData");
    e.bufferSubData = Load<PFNGLBUFFERSUBDATAPROC>("glBufferSubData");
  } else if (CanUseBufferObjects(version, extensions)) {
    // The ARB calls take the same arguments under other names.
    e.genBuffers = Load<PFNGLGENBUFFERSPROC>("glGenBuffersARB");
    e.deleteBuffers = Load<PFNGLDELETEBUFFERSPROC>("glDeleteBuffersARB");
    e.isBuffer = Load<PFNGLISBUFFERPROC>("glIsBufferARB");
    e.bindBuffer = Load<PFNGLBINDBUFFERPROC>("glBindBufferARB");
    e.bufferData = Load<PFNGLBUFFERDATAPROC>("glBufferDataARB");
    e.bufferSubData = Load<PFNGLBUFFERSUBDATAPROC>("glBufferSubDataARB");
  }
  if (HasCoreDrawRangeElements(version))
    e.drawRangeElements = Load<PFNGLDRAWRANGEELEMENTSPROC>("glDrawRangeElements");
  else if (CanDrawRangeElements(version, extensions))
    e.drawRangeElements = Load<PFNGLDRAWRANGEELEMENTSPROC>("glDrawRangeElementsEXT");
  return e;
}

GLFramebufferEntries LoadGLFramebufferEntries() {
  GLFramebufferEntries e;
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  if (HasCoreFramebuffers(version) || ListsGLExtension(extensions, "GL_ARB_framebuffer_object")) {
    e.genFramebuffers = Load<PFNGLGENFRAMEBUFFERSPROC>("glGenFramebuffers");
    e.deleteFramebuffers = Load<PFNGLDELETEFRAMEBUFFERSPROC>("glDeleteFramebuffers");
    e.bindFramebuffer = Load<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer");
    e.framebufferTexture2D = Load<PFNGLFRAMEBUFFERTEXTURE2DPROC>("glFramebufferTexture2D");
    e.checkFramebufferStatus = Load<PFNGLCHECKFRAMEBUFFERSTATUSPROC>("glCheckFramebufferStatus");
  } else if (ListsGLExtension(extensions, "GL_EXT_framebuffer_object")) {
    // The same calls and enumerant values under EXT names.
    e.genFramebuffers = Load<PFNGLGENFRAMEBUFFERSPROC>("glGenFramebuffersEXT");
    e.deleteFramebuffers = Load<PFNGLDELETEFRAMEBUFFERSPROC>("glDeleteFramebuffersEXT");
    e.bindFramebuffer = Load<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebufferEXT");
    e.framebufferTexture2D = Load<PFNGLFRAMEBUFFERTEXTURE2DPROC>("glFramebufferTexture2DEXT");
    e.checkFramebufferStatus = Load<PFNGLCHECKFRAMEBUFFERSTATUSPROC>("glCheckFramebufferStatusEXT");
  }
  return e;
}
