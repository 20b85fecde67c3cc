// The GLSL entry points of the current context (OpenGL 2.0 names), loaded at
// run time: opengl32.dll exports only OpenGL 1.1. An entry point the context
// does not offer stays null.
#pragma once

#include <string>

#include "engine/gl/gl_include_win32.h"

struct GLShaderEntries {
  PFNGLCREATESHADERPROC createShader = nullptr;
  PFNGLSHADERSOURCEPROC shaderSource = nullptr;
  PFNGLCOMPILESHADERPROC compileShader = nullptr;
  PFNGLGETSHADERIVPROC getShaderiv = nullptr;
  PFNGLGETSHADERINFOLOGPROC getShaderInfoLog = nullptr;
  PFNGLDELETESHADERPROC deleteShader = nullptr;
  PFNGLCREATEPROGRAMPROC createProgram = nullptr;
  PFNGLATTACHSHADERPROC attachShader = nullptr;
  PFNGLLINKPROGRAMPROC linkProgram = nullptr;
  PFNGLGETPROGRAMIVPROC getProgramiv = nullptr;
  PFNGLGETPROGRAMINFOLOGPROC getProgramInfoLog = nullptr;
  PFNGLDELETEPROGRAMPROC deleteProgram = nullptr;
  PFNGLUSEPROGRAMPROC useProgram = nullptr;
  PFNGLGETUNIFORMLOCATIONPROC getUniformLocation = nullptr;
  PFNGLUNIFORM1IPROC uniform1i = nullptr;
  PFNGLUNIFORM1FPROC uniform1f = nullptr;
  PFNGLUNIFORM2FPROC uniform2f = nullptr;
  PFNGLUNIFORM4FPROC uniform4f = nullptr;
  PFNGLACTIVETEXTUREPROC activeTexture = nullptr;

  // Every entry point is there (half a set is no set).
  bool Complete() const;
};

// Requires a current context; wglGetProcAddress answers per context. Empty
// where the context's version is below 2.0.
GLShaderEntries LoadGLShaderEntries();

// A program of one vertex and one fragment shader, or 0 when either fails to
// compile or the two fail to link; then `log` holds what the driver said.
GLuint BuildShaderProgram(const GLShaderEntries& gl, const char* vertexSource, const char* fragmentSource,
                          std::string& log);
