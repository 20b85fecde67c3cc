#include "engine/gl/gl_extensions_win32.h"

#include <cstdint>

#include "engine/gl/gl_caps.h"

namespace {
// PROC is a generic function pointer; going through void (*)() tells the
// compiler the signature change is deliberate.
template <class Entry>
Entry As(PROC p) {
  return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(p));
}
}  // namespace

// Some drivers answer wglGetProcAddress with small sentinel values instead of
// null for names they do not know; none of those is callable.
PROC LookUpGLEntry(const char* name) {
  PROC p = wglGetProcAddress(name);
  const auto value = reinterpret_cast<intptr_t>(p);
  if (value == 0 || value == 1 || value == 2 || value == 3 || value == -1) return nullptr;
  return p;
}

GLExtensions& GLExt() {
  static GLExtensions extensions;
  return extensions;
}

bool LoadGLExtensions() {
  GLExtensions& ext = GLExt();
  ext.wglGetSwapIntervalEXT = As<PFNWGLGETSWAPINTERVALEXTPROC>(LookUpGLEntry("wglGetSwapIntervalEXT"));
  ext.wglSwapIntervalEXT = As<PFNWGLSWAPINTERVALEXTPROC>(LookUpGLEntry("wglSwapIntervalEXT"));
  if (!ext.wglGetSwapIntervalEXT || !ext.wglSwapIntervalEXT) {
    ext.wglGetSwapIntervalEXT = nullptr;  // half an extension is no extension
    ext.wglSwapIntervalEXT = nullptr;
    return false;
  }
  return true;
}

bool HasGLExtension(const char* name) {
  return ListsGLExtension(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), name);
}
