// The memory test's yardstick: a full-screen GL loop that makes the kinds of
// calls the saver makes each frame (a 2D projection, an immediate-mode quad,
// the field, flush, swap, clear), paced at about 60 frames a second, with none
// of the saver's own code. The field is drawn as the saver would draw it on
// this context: where it offers shaders and float textures, one quad through a
// fragment shader after the cell values are sent to a float texture; else a
// textured grid from buffer objects whose colours are sent again each frame.
// Whatever memory the driver and the system keep per frame for those calls,
// this program keeps too.
//
// Usage: gl_loop.exe <seconds>   runs that long, then prints "FRAMES <n>"
// Exit code 0 after the run, 1 when no window or GL context could be made.
#include <windows.h>

#include <GL/gl.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <vector>

namespace {
#ifndef GL_ARRAY_BUFFER
constexpr GLenum GL_ARRAY_BUFFER = 0x8892;
constexpr GLenum GL_ELEMENT_ARRAY_BUFFER = 0x8893;
constexpr GLenum GL_STATIC_DRAW = 0x88E4;
constexpr GLenum GL_STREAM_DRAW = 0x88E0;
#endif
using GenBuffers = void(APIENTRY*)(GLsizei, GLuint*);
using IsBuffer = GLboolean(APIENTRY*)(GLuint);
using BindBuffer = void(APIENTRY*)(GLenum, GLuint);
using BufferData = void(APIENTRY*)(GLenum, ptrdiff_t, const void*, GLenum);
using DrawRangeElements = void(APIENTRY*)(GLenum, GLuint, GLuint, GLsizei, GLenum, const void*);
using CreateShader = GLuint(APIENTRY*)(GLenum);
using ShaderSource = void(APIENTRY*)(GLuint, GLsizei, const char* const*, const GLint*);
using Compile = void(APIENTRY*)(GLuint);
using CreateProgram = GLuint(APIENTRY*)();
using Attach = void(APIENTRY*)(GLuint, GLuint);
using UseProgram = void(APIENTRY*)(GLuint);
using UniformLocation = GLint(APIENTRY*)(GLuint, const char*);
using Uniform1f = void(APIENTRY*)(GLint, GLfloat);
using Uniform2f = void(APIENTRY*)(GLint, GLfloat, GLfloat);
using ActiveTexture = void(APIENTRY*)(GLenum);

// The saver's field on a 1280 x 1024 screen in its default 10-pixel cells.
constexpr int kColumns = 128;
constexpr int kRows = 102;

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

template <class Entry>
Entry Load(const char* name) {
  return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(wglGetProcAddress(name)));
}

struct Grid {
  std::vector<GLfloat> vertices, texCoords;
  std::vector<GLubyte> colours;
  std::vector<GLuint> indices;
  GLuint buffers[4] = {};
  GLuint texture = 0;
};

void MakeGrid(Grid& g, GenBuffers gen, BindBuffer bind, BufferData data) {
  for (int y = 0; y < kRows; ++y)
    for (int x = 0; x < kColumns; ++x) {
      const auto base = static_cast<GLuint>(g.vertices.size() / 2);
      const GLfloat corners[8] = {GLfloat(x), GLfloat(y), GLfloat(x + 1), GLfloat(y),
                                  GLfloat(x + 1), GLfloat(y + 1), GLfloat(x), GLfloat(y + 1)};
      const GLfloat uv[8] = {0, 0, 1, 0, 1, 1, 0, 1};
      g.vertices.insert(g.vertices.end(), corners, corners + 8);
      g.texCoords.insert(g.texCoords.end(), uv, uv + 8);
      const GLuint quad[6] = {base, base + 1, base + 2, base, base + 2, base + 3};
      g.indices.insert(g.indices.end(), quad, quad + 6);
    }
  g.colours.assign(g.vertices.size() * 2, 255);
  gen(4, g.buffers);
  bind(GL_ARRAY_BUFFER, g.buffers[0]);
  data(GL_ARRAY_BUFFER, g.vertices.size() * sizeof(GLfloat), g.vertices.data(), GL_STATIC_DRAW);
  bind(GL_ARRAY_BUFFER, g.buffers[1]);
  data(GL_ARRAY_BUFFER, g.texCoords.size() * sizeof(GLfloat), g.texCoords.data(), GL_STATIC_DRAW);
  bind(GL_ELEMENT_ARRAY_BUFFER, g.buffers[3]);
  data(GL_ELEMENT_ARRAY_BUFFER, g.indices.size() * sizeof(GLuint), g.indices.data(), GL_STATIC_DRAW);
  bind(GL_ELEMENT_ARRAY_BUFFER, 0);
  bind(GL_ARRAY_BUFFER, 0);
  const GLubyte texel[4 * 4 * 4] = {};
  glGenTextures(1, &g.texture);
  glBindTexture(GL_TEXTURE_2D, g.texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
}

// The saver's choice of its shader path: OpenGL 3.0, or 2.0 with float textures.
bool ContextHasFieldShaders() {
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  int major = 0, minor = 0;
  if (version == nullptr || std::sscanf(version, "%d.%d", &major, &minor) != 2) return false;
  if (major >= 3) return true;
  return major == 2 && extensions != nullptr && std::strstr(extensions, "GL_ARB_texture_float") != nullptr;
}

struct ShaderField {
  UseProgram use = nullptr;
  UniformLocation at = nullptr;
  Uniform1f uniform1 = nullptr;
  Uniform2f uniform2 = nullptr;
  ActiveTexture active = nullptr;
  GLuint program = 0;
  GLuint textures[3] = {};  // this generation's values, the last one's, the palette
  std::vector<GLfloat> values = std::vector<GLfloat>(kColumns * kRows, 1.0f);
};

bool MakeShaderField(ShaderField& f) {
  const auto create = Load<CreateShader>("glCreateShader");
  const auto source = Load<ShaderSource>("glShaderSource");
  const auto compile = Load<Compile>("glCompileShader");
  const auto createProgram = Load<CreateProgram>("glCreateProgram");
  const auto attach = Load<Attach>("glAttachShader");
  const auto link = Load<Compile>("glLinkProgram");
  f.use = Load<UseProgram>("glUseProgram");
  f.at = Load<UniformLocation>("glGetUniformLocation");
  f.uniform1 = Load<Uniform1f>("glUniform1f");
  f.uniform2 = Load<Uniform2f>("glUniform2f");
  f.active = Load<ActiveTexture>("glActiveTexture");
  if (!create || !source || !compile || !createProgram || !attach || !link || !f.use || !f.at || !f.uniform1 ||
      !f.uniform2 || !f.active)
    return false;
  const char* vertex = "void main() { gl_TexCoord[0] = gl_MultiTexCoord0; gl_Position = ftransform(); }";
  const char* fragment =
      "uniform sampler2D cells; uniform sampler2D palette; uniform vec2 fieldSize; uniform float tableSize;\n"
      "void main() { float v = texture2D(cells, gl_TexCoord[0].xy).r;\n"
      "  gl_FragColor = texture2D(palette, vec2(v / tableSize, 0.5)) * step(0.5, fieldSize.x); }";
  const GLuint shaders[2] = {create(0x8B31), create(0x8B30)};  // vertex, fragment
  source(shaders[0], 1, &vertex, nullptr);
  source(shaders[1], 1, &fragment, nullptr);
  f.program = createProgram();
  for (GLuint shader : shaders) {
    compile(shader);
    attach(f.program, shader);
  }
  link(f.program);
  glGenTextures(3, f.textures);
  for (int t = 0; t < 3; ++t) {
    glBindTexture(GL_TEXTURE_2D, f.textures[t]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    if (t < 2)
      glTexImage2D(GL_TEXTURE_2D, 0, 0x8818 /* GL_LUMINANCE32F_ARB */, kColumns, kRows, 0, GL_LUMINANCE, GL_FLOAT,
                   f.values.data());
  }
  const std::vector<GLubyte> palette(256 * 4 * 4, 200);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 256, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, palette.data());
  return true;
}

// One generation's values sent, the textures bound, one quad over the field.
void DrawShaderField(ShaderField& f, unsigned long frame) {
  const GLuint current = f.textures[frame % 2];
  f.values[(frame * 7) % f.values.size()] = static_cast<GLfloat>(frame % 1000);
  f.active(0x84C0 + 1);  // GL_TEXTURE1
  glBindTexture(GL_TEXTURE_2D, current);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kColumns, kRows, GL_LUMINANCE, GL_FLOAT, f.values.data());
  f.active(0x84C0 + 2);
  glBindTexture(GL_TEXTURE_2D, f.textures[1 - frame % 2]);
  f.active(0x84C0 + 3);
  glBindTexture(GL_TEXTURE_2D, f.textures[2]);
  f.active(0x84C0);
  f.use(f.program);
  f.uniform2(f.at(f.program, "fieldSize"), GLfloat(kColumns), GLfloat(kRows));
  f.uniform2(f.at(f.program, "paletteShape"), 256.0f, 4.0f);
  f.uniform1(f.at(f.program, "tableSize"), 1000.0f);
  f.uniform1(f.at(f.program, "states"), 2.0f);
  f.uniform1(f.at(f.program, "textured"), 1.0f);
  glBegin(GL_QUADS);
  glVertex2f(0.0f, 0.0f);
  glVertex2f(GLfloat(kColumns), 0.0f);
  glVertex2f(GLfloat(kColumns), GLfloat(kRows));
  glVertex2f(0.0f, GLfloat(kRows));
  glEnd();
  f.use(0);
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
  const DWORD seconds = argc > 1 ? static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10)) : 60;
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  WNDCLASSW wc{};
  wc.style = CS_OWNDC;
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"VivarnGLLoop";
  RegisterClassW(&wc);
  // Never active: the saver started beside it keeps the keyboard.
  HWND window = CreateWindowExW(WS_EX_NOACTIVATE, wc.lpszClassName, L"GL loop", WS_POPUP, 0, 0, width, height,
                                nullptr, nullptr, wc.hInstance, nullptr);
  HDC dc = window ? GetDC(window) : nullptr;
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof(pfd);
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = 32;
  pfd.cDepthBits = 24;
  pfd.cStencilBits = 8;
  const int format = dc ? ChoosePixelFormat(dc, &pfd) : 0;
  HGLRC context = format && SetPixelFormat(dc, format, &pfd) ? wglCreateContext(dc) : nullptr;
  if (!context || !wglMakeCurrent(dc, context)) {
    std::fprintf(stderr, "gl_loop: no GL context\n");
    return 1;
  }
  const auto gen = Load<GenBuffers>("glGenBuffers");
  const auto isBuffer = Load<IsBuffer>("glIsBuffer");
  const auto bind = Load<BindBuffer>("glBindBuffer");
  const auto data = Load<BufferData>("glBufferData");
  const auto drawRange = Load<DrawRangeElements>("glDrawRangeElements");
  if (!gen || !isBuffer || !bind || !data || !drawRange) {
    std::fprintf(stderr, "gl_loop: no buffer objects\n");
    return 1;
  }
  Grid grid;
  MakeGrid(grid, gen, bind, data);
  ShaderField shaderField;
  const bool shaders = ContextHasFieldShaders() && MakeShaderField(shaderField);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  timeBeginPeriod(1);

  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  const LONGLONG period = frequency.QuadPart / 60;
  const LONGLONG end = now.QuadPart + frequency.QuadPart * seconds;
  LONGLONG next = now.QuadPart + period;
  // Bound once: the saver binds its particle texture only when another one
  // was bound in between, which nothing does.
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, grid.texture);
  unsigned long frames = 0;
  MSG msg;
  bool running = true;
  while (running && now.QuadPart < end) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) running = false;
      DispatchMessageW(&msg);
    }
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glLoadIdentity();
    glColor4f(0.0f, 0.0f, 0.3f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(GLfloat(width), 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(GLfloat(width), GLfloat(height));
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(0.0f, GLfloat(height));
    glEnd();

    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glLoadIdentity();
    glScalef(GLfloat(width) / kColumns, GLfloat(height) / kRows, 1.0f);
    if (shaders) {
      glEnable(GL_TEXTURE_2D);
      glBindTexture(GL_TEXTURE_2D, grid.texture);
      DrawShaderField(shaderField, frames);
    } else {
      glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
      glEnable(GL_TEXTURE_2D);
      glEnableClientState(GL_TEXTURE_COORD_ARRAY);
      glEnableClientState(GL_VERTEX_ARRAY);
      glEnableClientState(GL_COLOR_ARRAY);
      isBuffer(grid.buffers[0]);
      grid.colours[(frames * 4) % grid.colours.size()] = static_cast<GLubyte>(frames);
      bind(GL_ARRAY_BUFFER, grid.buffers[2]);
      data(GL_ARRAY_BUFFER, grid.colours.size(), grid.colours.data(), GL_STREAM_DRAW);
      bind(GL_ARRAY_BUFFER, 0);
      glGetError();
      bind(GL_ARRAY_BUFFER, grid.buffers[0]);
      glVertexPointer(2, GL_FLOAT, 0, nullptr);
      bind(GL_ARRAY_BUFFER, grid.buffers[1]);
      glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
      bind(GL_ARRAY_BUFFER, grid.buffers[2]);
      glColorPointer(4, GL_UNSIGNED_BYTE, 0, nullptr);
      bind(GL_ELEMENT_ARRAY_BUFFER, grid.buffers[3]);
      drawRange(GL_TRIANGLES, 0, static_cast<GLuint>(grid.vertices.size() / 2 - 1),
                static_cast<GLsizei>(grid.indices.size()), GL_UNSIGNED_INT, nullptr);
      bind(GL_ARRAY_BUFFER, 0);
      bind(GL_ELEMENT_ARRAY_BUFFER, 0);
      glPopClientAttrib();
    }

    glFlush();
    SwapBuffers(dc);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    ++frames;
    // Paced to deadlines, as the saver is: a late frame does not delay the rest.
    QueryPerformanceCounter(&now);
    if (next > now.QuadPart) Sleep(static_cast<DWORD>((next - now.QuadPart) * 1000 / frequency.QuadPart));
    next += period;
    if (next < now.QuadPart) next = now.QuadPart;
    QueryPerformanceCounter(&now);
  }
  timeEndPeriod(1);
  std::printf("FRAMES %lu%s\n", frames, shaders ? " shaders" : "");
  std::fflush(stdout);
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(context);
  ReleaseDC(window, dc);
  DestroyWindow(window);
  return 0;
}
