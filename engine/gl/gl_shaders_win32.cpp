#include "engine/gl/gl_shaders_win32.h"

#include "engine/gl/gl_caps.h"
#include "engine/gl/gl_extensions_win32.h"

namespace {
template <class Entry>
void Load(Entry& entry, const char* name) {
  entry = reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(LookUpGLEntry(name)));
}

GLuint Compile(const GLShaderEntries& gl, GLenum kind, const char* source, std::string& log) {
  const GLuint shader = gl.createShader(kind);
  if (shader == 0) {
    log = "no shader object";
    return 0;
  }
  gl.shaderSource(shader, 1, &source, nullptr);
  gl.compileShader(shader);
  GLint status = GL_FALSE;
  gl.getShaderiv(shader, GL_COMPILE_STATUS, &status);
  if (status == GL_TRUE) return shader;
  GLint length = 0;
  gl.getShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
  log.assign(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) gl.getShaderInfoLog(shader, length, nullptr, &log[0]);
  log.resize(log.find('\0') == std::string::npos ? log.size() : log.find('\0'));
  gl.deleteShader(shader);
  return 0;
}
}  // namespace

bool GLShaderEntries::Complete() const {
  return createShader && shaderSource && compileShader && getShaderiv && getShaderInfoLog && deleteShader &&
         createProgram && attachShader && linkProgram && getProgramiv && getProgramInfoLog && deleteProgram &&
         useProgram && getUniformLocation && uniform1i && uniform1f && uniform2f && uniform4f && activeTexture;
}

GLShaderEntries LoadGLShaderEntries() {
  GLShaderEntries e;
  int major = 0, minor = 0;
  if (!ParseGLVersion(reinterpret_cast<const char*>(glGetString(GL_VERSION)), major, minor) || major < 2) return e;
  Load(e.createShader, "glCreateShader");
  Load(e.shaderSource, "glShaderSource");
  Load(e.compileShader, "glCompileShader");
  Load(e.getShaderiv, "glGetShaderiv");
  Load(e.getShaderInfoLog, "glGetShaderInfoLog");
  Load(e.deleteShader, "glDeleteShader");
  Load(e.createProgram, "glCreateProgram");
  Load(e.attachShader, "glAttachShader");
  Load(e.linkProgram, "glLinkProgram");
  Load(e.getProgramiv, "glGetProgramiv");
  Load(e.getProgramInfoLog, "glGetProgramInfoLog");
  Load(e.deleteProgram, "glDeleteProgram");
  Load(e.useProgram, "glUseProgram");
  Load(e.getUniformLocation, "glGetUniformLocation");
  Load(e.uniform1i, "glUniform1i");
  Load(e.uniform1f, "glUniform1f");
  Load(e.uniform2f, "glUniform2f");
  Load(e.uniform4f, "glUniform4f");
  Load(e.activeTexture, "glActiveTexture");
  return e;
}

GLuint BuildShaderProgram(const GLShaderEntries& gl, const char* vertexSource, const char* fragmentSource,
                          std::string& log) {
  log.clear();
  if (!gl.Complete()) {
    log = "no GLSL entry points";
    return 0;
  }
  const GLuint vertex = Compile(gl, GL_VERTEX_SHADER, vertexSource, log);
  if (vertex == 0) return 0;
  const GLuint fragment = Compile(gl, GL_FRAGMENT_SHADER, fragmentSource, log);
  if (fragment == 0) {
    gl.deleteShader(vertex);
    return 0;
  }
  const GLuint program = gl.createProgram();
  if (program != 0) {
    gl.attachShader(program, vertex);
    gl.attachShader(program, fragment);
    gl.linkProgram(program);
  }
  // Attached shaders live on with the program.
  gl.deleteShader(vertex);
  gl.deleteShader(fragment);
  if (program == 0) {
    log = "no program object";
    return 0;
  }
  GLint status = GL_FALSE;
  gl.getProgramiv(program, GL_LINK_STATUS, &status);
  if (status == GL_TRUE) return program;
  GLint length = 0;
  gl.getProgramiv(program, GL_INFO_LOG_LENGTH, &length);
  log.assign(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) gl.getProgramInfoLog(program, length, nullptr, &log[0]);
  log.resize(log.find('\0') == std::string::npos ? log.size() : log.find('\0'));
  gl.deleteProgram(program);
  return 0;
}
