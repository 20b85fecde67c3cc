// The few OpenGL extensions the engine uses, loaded at run time:
//   - WGL_EXT_swap_control (vertical sync) through wglGetProcAddress;
//   - the constants for automatic mipmap generation and anisotropic
//     filtering, which come with mingw's GL/glext.h.
// Entry points are null when the driver does not offer them; callers test
// them before use. Requires the GL context that will use them to be current
// when loaded (wglGetProcAddress answers per context).
#pragma once

#include <windows.h>

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/wglext.h>

struct GLExtensions {
  PFNWGLGETSWAPINTERVALEXTPROC wglGetSwapIntervalEXT = nullptr;
  PFNWGLSWAPINTERVALEXTPROC wglSwapIntervalEXT = nullptr;
};

// The entry points of the current context, as last loaded.
GLExtensions& GLExt();

// The current context's entry point `name`, or null where it has none.
PROC LookUpGLEntry(const char* name);

// Looks the entry points up for the current context. Returns whether swap
// control is available (both entry points present).
bool LoadGLExtensions();

// Whether the current context's GL_EXTENSIONS string lists `name` as a whole
// word (so "GL_EXT_texture" does not match "GL_EXT_texture3D").
bool HasGLExtension(const char* name);
