// Sections: window class and procedure; create and destroy; display mode;
// rendering context; GL state and helpers.
#include "engine/gl/gl_window_win32.h"

#include "engine/core/kernel.h"
#include "engine/core/log.h"
#include "engine/core/module.h"
#include "engine/core/module_win32.h"
#include "engine/gl/gl_extensions_win32.h"
#include "engine/gl/monitor_layout.h"

namespace {
// The live window object for the window procedure. Looking it up through the
// singleton getter there would re-create the object while it is being
// released at exit, when its OnDestroy destroys a still-open window.
GLWindowBase* g_owner = nullptr;

GLWindowSettingsBase& Settings() { return *GLWindowSettings::Instance(); }

void AbortRun(int32_t code) { VekKernel::Instance()->Abort(code); }
}  // namespace

// --- window class and procedure ---------------------------------------------

bool RegisterWindowClass() {
  const HINSTANCE instance = ProgramModule();
  const std::wstring& name = Settings().className;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(nullptr, IDI_WINLOGO);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name.c_str();
  if (RegisterClassExW(&wc)) return true;
  // The settings object may have been re-created in this process (tests, or a
  // second run): a class that already runs our procedure is ours.
  if (GetLastError() == ERROR_CLASS_ALREADY_EXISTS) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, name.c_str(), &existing) && existing.lpfnWndProc == WindowProc) return true;
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
  }
  return false;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  GLWindowBase* owner = g_owner;
  if (!owner || owner->destroying) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (owner->IsStandIn(hwnd)) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (VekKernel::Instance()->DispatchMsg(hwnd, message, wParam, lParam)) return 0;

  switch (message) {
    case WM_MOVE:
      // Signed: positions left of or above the primary monitor are negative.
      Settings().windowX = static_cast<int16_t>(LOWORD(lParam));
      Settings().windowY = static_cast<int16_t>(HIWORD(lParam));
      return 0;
    case WM_SIZE:
      // A minimised window reports 0 x 0; keep the size it will come back to.
      if (wParam != SIZE_MINIMIZED) owner->Resize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_CLOSE:
      // The window stays: the video update task destroys it in its Stop.
      PostQuitMessage(0);
      VekKernel::Instance()->StopAllTasks();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_DISPLAYCHANGE:
      owner->FollowDisplayChange();
      break;
    case WM_DESTROY:
      // Not from our Destroy (that one is filtered above): the preview's
      // parent went away and took this child with it. Without a window the
      // run cannot go on.
      VekKernel::Instance()->StopAllTasks();
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// --- create and destroy -----------------------------------------------------

void GLWindowBase::OnCreate() {
  savedMode = DEVMODEW{};
  window = nullptr;
  dc = nullptr;
  context = nullptr;
  pixelFormat = 0;
  outputResized = nullptr;
  covered = MonitorLayout{};
  LifecycleLog() << "GLWindowBase this:" << std::hex << static_cast<const void*>(this) << std::dec
                 << " created\n";
}

void GLWindowBase::OnDestroy() {
  if (window && IsWindow(window)) Destroy();
  if (g_owner == this) g_owner = nullptr;
  LifecycleLog() << "GLWindowBase this:" << std::hex << static_cast<const void*>(this) << std::dec
                 << " destroyed\n";
}

bool GLWindowBase::Create() {
  GLWindowSettings settingsHandle(GLWindowSettings::Instance());
  VekModule moduleHandle(VekModule::Instance());
  GLWindowSettingsBase& s = *settingsHandle;
  g_owner = this;

  if (!s.classRegistered) {
    s.classRegistered = RegisterWindowClass();
    if (!s.classRegistered) {
      AbortRun(static_cast<int32_t>(GetLastError()));
      return false;
    }
  }

  RECT rect{s.windowX, s.windowY, s.windowX + s.windowWidth, s.windowY + s.windowHeight};
  DWORD style = 0;
  DWORD exStyle = 0;
  const auto parent = static_cast<HWND>(s.parentWindow);
  s.multiMonitor = false;
  if (s.fullScreen && !parent) s.UseMonitorLayout(LayOutMonitors(DesktopMonitors(), s.monitorSpan));
  Go();
  if (s.fullScreen && !parent) {
    covered = s.multiMonitor ? s.monitorLayout
                             : LayOutMonitors({MonitorArea{DesktopRect{0, 0, s.screenWidth, s.screenHeight}, true}},
                                              s.monitorSpan);
  }

  if (!parent) {
    if (s.fullScreen && s.multiMonitor) {
      const DesktopRect& box = s.monitorLayout.window;
      rect = RECT{box.left, box.top, box.right, box.bottom};
      style = WS_POPUP;
      exStyle = WS_EX_APPWINDOW;
    } else if (s.fullScreen) {
      rect = RECT{0, 0, s.screenWidth, s.screenHeight};
      style = WS_POPUP;
      exStyle = WS_EX_APPWINDOW;
    } else {
      style = WS_OVERLAPPEDWINDOW;
      exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    }
  } else {
    style = WS_CHILD | WS_VISIBLE;
    GetClientRect(parent, &rect);
  }
  AdjustWindowRectEx(&rect, style, FALSE, exStyle);

  window = CreateWindowExW(exStyle, s.className.c_str(), s.title.c_str(), style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, ProgramModule(),
                           nullptr);
  if (!window) {
    const auto error = static_cast<int32_t>(GetLastError());
    Destroy();
    AbortRun(error);
    return false;
  }
  // Windows shows a child's GL frames as they are; under Wine the context goes
  // on a stand-in window instead (see wine_child_presentation_win32.h).
  if (parent && !presentation.Begin(window, parent, s.className.c_str(), s.title.c_str(), ProgramModule())) {
    const auto error = static_cast<int32_t>(GetLastError());
    Destroy();
    AbortRun(error);
    return false;
  }
  if (!SetupContext()) return false;

  // The client area, not the outer rectangle: the viewport must match what
  // can be drawn, and windowWidth/windowHeight stay the client size asked for.
  RECT client{};
  GetClientRect(window, &client);
  Resize(client.right - client.left, client.bottom - client.top);
  InitGLState();
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetFocus(window);
  moduleHandle->mainWindow = window;
  return true;
}

void GLWindowBase::Destroy() {
  Restore();  // also when no window came into being after the switch
  destroying = true;
  ReleaseContext();
  presentation.End();
  if (window && IsWindow(window)) DestroyWindow(window);
  window = nullptr;
  destroying = false;
}

void GLWindowBase::Resize(int32_t width, int32_t height) {
  GLWindowSettingsBase& s = Settings();
  const auto parent = static_cast<HWND>(s.parentWindow);
  RECT parentClient{};
  if (parent && GetClientRect(parent, &parentClient)) {
    width = parentClient.right - parentClient.left;
    height = parentClient.bottom - parentClient.top;
  } else if (!parent && !s.fullScreen) {
    s.windowWidth = width;
    s.windowHeight = height;
  }
  presentation.Resize(width, height);
  // WM_SIZE also arrives while the window is being created, before a context.
  if (context && wglGetCurrentContext() == context) {
    if (FieldInPart()) {
      SetViewport(s.monitorLayout.field);
    } else {
      glViewport(0, 0, width, height);
    }
  }
}

void GLWindowBase::FollowDisplayChange() {
  GLWindowSettingsBase& s = Settings();
  if (!switchingMode) displayChanged = true;  // the rate may be new, in any window
  if (switchingMode || !window || !s.fullScreen || s.parentWindow) return;
  // A later copy of our own switch's message (or a change that moved
  // nothing) finds the layout the window has already.
  MonitorLayout next;
  if (!RelayOutMonitors(covered, DesktopMonitors(), s.monitorSpan, next)) return;
  covered = next;
  if (!s.UseMonitorLayout(next)) {
    // Down to one monitor: covered at the mode it has now. Switching it to
    // the saver's mode in the middle of a run would flash the screen once
    // more; the switch made at the start, if any, is undone at the end.
    s.screenWidth = next.fieldWidth;
    s.screenHeight = next.fieldHeight;
  }
  const DesktopRect& box = next.window;
  MainLog() << "<i> " << "GLWindow: display changed, " << next.monitorCount << " monitors, window " << box.left
            << "," << box.top << " " << box.Width() << "x" << box.Height() << ", field " << next.fieldWidth << "x"
            << next.fieldHeight << "\n";
  SetWindowPos(window, nullptr, box.left, box.top, box.Width(), box.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  // Also when only the primary moved inside the same box: no WM_SIZE then,
  // but the viewports are the new layout's.
  RECT client{};
  GetClientRect(window, &client);
  Resize(client.right - client.left, client.bottom - client.top);
  if (outputResized) outputResized();
}

bool GLWindowBase::FieldInPart() const {
  const GLWindowSettingsBase& s = Settings();
  return s.fullScreen && s.multiMonitor && !s.parentWindow;
}

void GLWindowBase::SetViewport(const GLViewportRect& r) { glViewport(r.x, r.y, r.width, r.height); }

// --- display mode -----------------------------------------------------------

bool GLWindowBase::Go() {
  GLWindowSettingsBase& s = Settings();
  savedMode = DEVMODEW{};
  savedMode.dmSize = sizeof(DEVMODEW);
  EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &savedMode);
  if (!s.fullScreen) return true;

  if (s.multiMonitor) {
    // Every monitor keeps its desktop mode: the window covers them as they are.
    const MonitorLayout& layout = s.monitorLayout;
    MainLog() << "<i> " << "GLWindow::Go " << layout.monitorCount << " monitors, window " << layout.window.left
              << "," << layout.window.top << " " << layout.window.Width() << "x" << layout.window.Height()
              << ", field " << layout.fieldWidth << "x" << layout.fieldHeight << ", display mode kept\n";
    HideCursor();
    return true;
  }

  MainLog() << "<i> " << "GLWindow::Go fullscreen mode\n";
  const auto matches = [&s](const DEVMODEW& m) {
    return static_cast<int64_t>(m.dmPelsWidth) == s.screenWidth &&
           static_cast<int64_t>(m.dmPelsHeight) == s.screenHeight &&
           static_cast<int64_t>(m.dmBitsPerPel) == s.colorBits;
  };
  int64_t matched = -1;  // the last matching mode in enumeration order wins
  for (DWORD i = 0;; ++i) {
    DEVMODEW mode{};
    mode.dmSize = sizeof(DEVMODEW);
    if (!EnumDisplaySettingsW(nullptr, i, &mode)) break;
    if (matches(mode)) matched = i;
  }

  DEVMODEW request{};
  request.dmSize = sizeof(DEVMODEW);
  if (matched >= 0) {
    EnumDisplaySettingsW(nullptr, static_cast<DWORD>(matched), &request);
    request.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
    // The display runs this very mode already (the usual case: the saver
    // asks for the desktop's size). The switch still goes through the
    // driver and sends WM_DISPLAYCHANGE around on Windows; under wine it
    // also rebuilds the adapter and monitor list. Nothing on the screen
    // changes, so it is made after the first frame is shown.
    if (matches(savedMode) && request.dmDisplayFrequency == savedMode.dmDisplayFrequency) {
      pendingMode = request;
      modeSwitchPending = true;
      HideCursor();
      return true;
    }
  } else {
    // Ask for exactly what was wanted and let the driver refuse it: a blank
    // request reads as "keep the current mode" to some drivers, which would
    // pass for a successful switch to a size the screen does not have.
    request.dmPelsWidth = static_cast<DWORD>(s.screenWidth);
    request.dmPelsHeight = static_cast<DWORD>(s.screenHeight);
    request.dmBitsPerPel = static_cast<DWORD>(s.colorBits);
    request.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  }
  if (!SwitchDisplayMode(request)) {
    MainLog() << "<!> "
              << "The requested fullscreen mode is not supported by your video card. Switching to windowed mode.\n";
    s.fullScreen = false;
  }
  if (s.fullScreen) {
    displaySwitched = true;
    HideCursor();
  }
  return s.fullScreen;
}

bool GLWindowBase::SwitchDisplayMode(DEVMODEW& request) {
  switchingMode = true;
  const LONG switched = ChangeDisplaySettingsW(&request, CDS_FULLSCREEN);
  switchingMode = false;
  return switched == DISP_CHANGE_SUCCESSFUL;
}

void GLWindowBase::FinishModeSwitch() {
  if (!modeSwitchPending) return;
  if (modeSwitchHeld) {
    modeSwitchHeld = false;
    return;
  }
  modeSwitchPending = false;
  // Refused, the display simply stays at the mode it has, which is the one
  // asked for: nothing to fall back from, and nothing to undo at the end.
  displaySwitched = SwitchDisplayMode(pendingMode);
  MainLog() << "<i> " << "GLWindow: display mode set after the first frame\n";
}

void GLWindowBase::HideCursor() {
  if (cursorHidden) return;
  cursorHidden = true;
  ShowCursor(FALSE);
}

bool GLWindowBase::Restore() {
  // Keyed to the switch Go made, not to the setting: a second call (Stop,
  // then the object's release) must not reset the display or show the cursor
  // twice.
  modeSwitchPending = false;  // ended before its first frame: the display was never touched
  if (displaySwitched) {
    displaySwitched = false;
    MainLog() << "<i> " << "GLWindow::Restore normal screen mode\n";
    switchingMode = true;
    if (ChangeDisplaySettingsW(nullptr, CDS_TEST) != DISP_CHANGE_SUCCESSFUL) {
      ChangeDisplaySettingsW(nullptr, CDS_RESET);
      ChangeDisplaySettingsW(&savedMode, CDS_RESET);
    } else {
      ChangeDisplaySettingsW(nullptr, CDS_RESET);
    }
    switchingMode = false;
  }
  if (cursorHidden) {
    cursorHidden = false;
    ShowCursor(TRUE);
  }
  return true;
}

// --- rendering context ------------------------------------------------------

PIXELFORMATDESCRIPTOR RequestedPixelFormat(int32_t colorBits) {
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = static_cast<BYTE>(colorBits);
  pfd.cDepthBits = colorBits == 32 ? 24 : 16;
  pfd.cStencilBits = colorBits == 32 ? 8 : 0;
  pfd.iLayerType = PFD_MAIN_PLANE;
  return pfd;
}

bool GLWindowBase::SetupContext() {
  GLWindowSettingsBase& s = Settings();
  const PIXELFORMATDESCRIPTOR pfd = RequestedPixelFormat(s.colorBits);
  dc = GetDC(ContextWindow());
  bool ok = dc != nullptr;
  if (ok) {
    pixelFormat = ChoosePixelFormat(dc, &pfd);
    ok = pixelFormat != 0;
  }
  if (ok) ok = SetPixelFormat(dc, pixelFormat, &pfd) != FALSE;
  if (ok) {
    context = wglCreateContext(dc);
    ok = context != nullptr;
  }
  if (ok) ok = wglMakeCurrent(dc, context) != FALSE;
  if (!ok) {
    Destroy();
    AbortRun(0);
    return false;
  }

  // Without WGL_EXT_swap_control the driver's own vertical-sync policy stays.
  // A request posted before now is covered by the interval read here.
  s.swapIntervalRequest.Drop();
  swapIntervalChanged = false;
  if (LoadGLExtensions()) {
    savedSwapInterval = GLExt().wglGetSwapIntervalEXT();
    const int32_t interval = s.swapInterval;
    if (savedSwapInterval != interval) {
      GLExt().wglSwapIntervalEXT(interval);
      swapIntervalChanged = true;
    }
  }
  return true;
}

bool GLWindowBase::ApplyRequestedSwapInterval() {
  int32_t interval = 0;
  if (!Settings().swapIntervalRequest.Take(interval)) return false;
  if (!context || wglGetCurrentContext() != context || !GLExt().wglSwapIntervalEXT) return false;
  if (!GLExt().wglSwapIntervalEXT(interval)) {
    MainLog() << "<!> " << "GLWindow: vertical sync interval " << interval << " refused\n";
    return false;
  }
  // Release restores the driver's interval only when ours differs from it.
  swapIntervalChanged = interval != savedSwapInterval;
  return true;
}

void GLWindowBase::ReleaseContext() {
  if (swapIntervalChanged && context && wglGetCurrentContext() == context && GLExt().wglSwapIntervalEXT)
    GLExt().wglSwapIntervalEXT(savedSwapInterval);
  swapIntervalChanged = false;
  // Given back by hand, not by scoped owners: each failure must end the run,
  // and the context leaves the thread before it and then the DC go.
  if (context) {
    if (!wglMakeCurrent(nullptr, nullptr)) AbortRun(0);
    if (!wglDeleteContext(context)) AbortRun(0);
    context = nullptr;
  }
  if (dc) {
    // A window destroyed by its parent took its device context with it.
    const HWND holder = ContextWindow();
    if (holder && IsWindow(holder) && !ReleaseDC(holder, dc)) AbortRun(0);
    dc = nullptr;
  }
}

// --- GL state and helpers ---------------------------------------------------

void GLWindowBase::InitGLState() {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glShadeModel(GL_SMOOTH);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
}

void GLWindowBase::BeginOrtho2D(int32_t& width, int32_t& height, size_t field) {
  glDisable(GL_DEPTH_TEST);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  const GLWindowSettingsBase& s = Settings();
  const GLViewportRect area = s.FieldArea(field);
  width = area.width;
  height = area.height;
  // The overlays or another monitor's field may have moved the viewport.
  if (FieldInPart()) SetViewport(area);
  glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void GLWindowBase::BeginOverlay2D(int32_t& width, int32_t& height) {
  const GLWindowSettingsBase& s = Settings();
  if (!FieldInPart()) {
    width = s.CurrentWidth();
    height = s.CurrentHeight();
    return;
  }
  const GLViewportRect& overlay = s.monitorLayout.overlay;
  width = overlay.width;
  height = overlay.height;
  SetViewport(overlay);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void GLWindowBase::ClearFrame() {
  const GLbitfield everything = GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT;
  const GLWindowSettingsBase& s = Settings();
  if (!FieldInPart() || !s.monitorLayout.blackOutsideField) {
    glClear(everything);
    return;
  }
  // Black around the fields, the clear colour under them.
  GLfloat colour[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, colour);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(everything);
  glClearColor(colour[0], colour[1], colour[2], colour[3]);
  glEnable(GL_SCISSOR_TEST);
  for (const GLViewportRect& field : s.monitorLayout.fields) {
    glScissor(field.x, field.y, field.width, field.height);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  glDisable(GL_SCISSOR_TEST);
}

void GLWindowBase::Present() {
  presentation.BeforeSwap(window);
  SwapBuffers(dc);
}

HWND GLWindowBase::ContextWindow() const { return presentation.StandIn() ? presentation.StandIn() : window; }

bool GLWindowBase::IsStandIn(HWND hwnd) const { return hwnd && hwnd == presentation.StandIn(); }

GLuint BuildTexturedQuad(float x0, float y0, float x1, float y1, bool compile) {
  GLuint list = 0;
  if (compile) {
    list = glGenLists(1);
    glNewList(list, GL_COMPILE);
  }
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 0.0f);
  glVertex2f(x0, y0);
  glTexCoord2f(1.0f, 0.0f);
  glVertex2f(x1, y0);
  glTexCoord2f(1.0f, 1.0f);
  glVertex2f(x1, y1);
  glTexCoord2f(0.0f, 1.0f);
  glVertex2f(x0, y1);
  glEnd();
  if (compile) glEndList();
  return list;
}
