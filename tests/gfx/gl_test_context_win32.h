// A small window with a double-buffered WGL context for GL tests under wine,
// and the program's resources: the built .scr mapped as a data file and
// recorded as the module that "res:" paths are looked up in.
#pragma once

#include <windows.h>

#include <GL/gl.h>

#include <string>

#include "engine/core/module.h"

class GlTestContext {
 public:
  static constexpr int kWidth = 320, kHeight = 200;

  bool Create() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VivarnGlTest";
    wc.style = CS_OWNDC;
    RegisterClassW(&wc);
    window = CreateWindowExW(0, L"VivarnGlTest", L"gl test", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                             nullptr, wc.hInstance, nullptr);
    if (!window) return false;
    dc = GetDC(window);
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cAlphaBits = 8;
    pfd.cDepthBits = 24;
    const int format = ChoosePixelFormat(dc, &pfd);
    if (!format || !SetPixelFormat(dc, format, &pfd)) return false;
    context = wglCreateContext(dc);
    return context && wglMakeCurrent(dc, context);
  }

  ~GlTestContext() {
    if (context) {
      wglMakeCurrent(nullptr, nullptr);
      wglDeleteContext(context);
    }
    if (dc) ReleaseDC(window, dc);
    if (window) DestroyWindow(window);
  }

  // One unit per pixel, origin at the bottom left.
  void PixelProjection() const {
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kWidth, 0, kHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
  }

  HWND window = nullptr;
  HDC dc = nullptr;
  HGLRC context = nullptr;
};

// Maps the built screen saver as a data file and makes it the module whose
// resources "res:" paths name. The path is the Linux one; wine sees it on Z:.
inline HMODULE UseProgramResources() {
  std::string path = "Z:" VIVARN_SCR_PATH;
  for (char& c : path)
    if (c == '/') c = '\\';
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  VekModule::Instance()->instance = module;
  return module;
}
