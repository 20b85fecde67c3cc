#include "app/saver_app_win32.h"

#include <windows.h>
#include <objbase.h>
#include <process.h>

#include <GL/gl.h>

#include "app/window_messages.h"
#include "engine/core/kernel.h"
#include "engine/core/log.h"
#include "engine/core/module.h"
#include "engine/core/scoped_handle_win32.h"
#include "engine/gl/gl_window_settings.h"
#include "engine/gl/gl_window_win32.h"
#include "engine/gl/video_update_task.h"
#include "life/vivarn_task.h"

static_assert(winmsg::kClose == WM_CLOSE && winmsg::kDisplayChange == WM_DISPLAYCHANGE &&
                  winmsg::kKeyDown == WM_KEYDOWN && winmsg::kSysKeyDown == WM_SYSKEYDOWN &&
                  winmsg::kMouseMove == WM_MOUSEMOVE && winmsg::kLButtonDown == WM_LBUTTONDOWN &&
                  winmsg::kMouseWheel == WM_MOUSEWHEEL && winmsg::kMouseLast == WM_MOUSELAST &&
                  winmsg::kPowerBroadcast == WM_POWERBROADCAST &&
                  winmsg::kPbtPowerStatusChange == PBT_APMPOWERSTATUSCHANGE &&
                  winmsg::kPbtPowerSettingChange == PBT_POWERSETTINGCHANGE,
              "message numbers differ from <windows.h>");

void* g_programInstance = nullptr;

namespace {
// _beginthreadex wants the __stdcall form; the kernel's entry is a plain
// function of the same shape.
unsigned __stdcall KernelThreadEntry(void* kernel) { return VekKernelBase::RunEntry(kernel); }

bool IsExistingWindow(NativeWindow w) { return IsWindow(static_cast<HWND>(w)) != FALSE; }

// --- power ------------------------------------------------------------------

// Defined here rather than taken from the SDK's uuid library.
constexpr GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID kMonitorPowerOn = {0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};

// GUID_POWER_SAVING_STATUS, Windows 10 on: the battery saver going on or off,
// which the power status then tells.
constexpr GUID kPowerSavingStatus = {0xe00958c0, 0xc213, 0x4ace, {0xac, 0x77, 0xfe, 0xcc, 0xed, 0x2e, 0xee, 0xa5}};

HPOWERNOTIFY g_displayWatch = nullptr;
HPOWERNOTIFY g_saverWatch = nullptr;
bool g_blackWhileAsleep = false;

PowerSource QueryPowerSource() {
  SYSTEM_POWER_STATUS status{};
  PowerSource source;
  if (!GetSystemPowerStatus(&status)) return source;  // taken as mains power
  source.onBattery = status.ACLineStatus == 0;
  // Named SystemStatusFlag in newer headers: the battery saver, Windows 10 on.
  source.powerSaving = (status.Reserved1 & SYSTEM_STATUS_FLAG_POWER_SAVING_ON) != 0;
  return source;
}

// Windows 8 replaced the monitor's power notification with the console
// display's, which also tells a dimmed display from one that is off.
bool IsWindows8OrLater() {
  OSVERSIONINFOEXW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  version.dwMajorVersion = 6;
  version.dwMinorVersion = 2;
  DWORDLONG condition = 0;
  condition = VerSetConditionMask(condition, VER_MAJORVERSION, VER_GREATER_EQUAL);
  condition = VerSetConditionMask(condition, VER_MINORVERSION, VER_GREATER_EQUAL);
  return VerifyVersionInfoW(&version, VER_MAJORVERSION | VER_MINORVERSION, condition) != FALSE;
}

// Windows answers the registration with the display's state at once and at
// every change after. Wine's registration is a stub that never notifies:
// there the display simply counts as on for the whole run.
void WatchDisplay(NativeWindow window) {
  if (g_displayWatch != nullptr) return;
  const GUID& setting = IsWindows8OrLater() ? kConsoleDisplayState : kMonitorPowerOn;
  g_displayWatch = RegisterPowerSettingNotification(static_cast<HWND>(window), &setting, DEVICE_NOTIFY_WINDOW_HANDLE);
  if (g_displayWatch == nullptr)
    MainLog() << "<!> " << "display power notifications refused (error " << static_cast<uint32_t>(GetLastError()) << ")\n";
  // Older systems do not know the setting; they then never send it.
  g_saverWatch = RegisterPowerSettingNotification(static_cast<HWND>(window), &kPowerSavingStatus,
                                                  DEVICE_NOTIFY_WINDOW_HANDLE);
}

// A black picture in place of the last frame, which would otherwise stay
// on the screen for the whole sleep. Between frames, with the context current.
void ShowBlackFrame(void*) {
  if (!g_blackWhileAsleep) return;
  GLWindowBase& window = *GLWindow::Instance();
  if (window.context == nullptr) return;
  GLfloat clear[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  window.Present();
  glClearColor(clear[0], clear[1], clear[2], clear[3]);
  window.ClearFrame();
}

void ApplyRegime(VekKernelBase& kernel, const FrameRegime& regime) {
  const bool wasAsleep = kernel.Asleep();
  g_blackWhileAsleep = regime.black;
  kernel.beforeSleep = ShowBlackFrame;
  kernel.SetFrameRateDivisor(regime.rateDivisor);
  kernel.SetAsleep(regime.asleep);
  // The display came back on battery with the black screen chosen: the loop
  // sleeps on without a new beginning, and the frame from before the display
  // went off would show.
  if (regime.black && wasAsleep) ShowBlackFrame(nullptr);
  MainLog() << "<i> " << "Power: "
            << (regime.black ? "black screen, asleep" : regime.asleep ? "display off, asleep" : "drawing")
            << ", frame rate divided by " << regime.rateDivisor << "\n";
}
}  // namespace

std::unique_ptr<PowerMsgsHandler> MakePowerMsgsHandler(uint32_t onBattery, VekKernelBase& kernel,
                                                       PowerMsgsHandler::QuerySource query) {
  if (!query) query = QueryPowerSource;
  return std::make_unique<PowerMsgsHandler>(
      onBattery, std::move(query), [&kernel](const FrameRegime& regime) { ApplyRegime(kernel, regime); },
      WatchDisplay);
}

void EndPowerWatch() {
  if (g_displayWatch != nullptr) UnregisterPowerSettingNotification(g_displayWatch);
  if (g_saverWatch != nullptr) UnregisterPowerSettingNotification(g_saverWatch);
  g_displayWatch = nullptr;
  g_saverWatch = nullptr;
}

std::unique_ptr<ScreenSaverMsgsHandler> MakeScreenSaverMsgsHandler(uint32_t mouseTolerance) {
  return std::make_unique<ScreenSaverMsgsHandler>(
      [](NativeWindow window) { PostMessageW(static_cast<HWND>(window), WM_CLOSE, 0, 0); }, mouseTolerance);
}

bool SaverApp::SetupMode(int32_t parseResult) {
  msgHandler.reset();
  powerHandler.reset();
  const RunPlan plan = PlanRun(parseResult, IsExistingWindow);
  mode = plan.mode;
  VekModule module = VekModule::Instance();
  GLWindowSettings settings = GLWindowSettings::Instance();
  module->instance = g_programInstance;
  if (plan.action == RunAction::End) {
    MainLog() << "<!> " << "nothing to run for this command line\n";
    return false;
  }
  if (plan.window.apply) {
    settings->windowWidth = plan.window.width;
    settings->windowHeight = plan.window.height;
    settings->fullScreen = plan.window.fullScreen;
    settings->parentWindow = plan.window.parent;
  }
  return true;
}

void SaverApp::AddTasks() {
  VekKernel kernel = VekKernel::Instance();
  // First: the kernel starts tasks in the order they were added, and the
  // video task's start creates the GL window and context that the Life
  // task's start needs for its texture and font.
  kernel->AddTask(VideoUpdateTask::Instance().get());
  if (mode == kFullScreen) {
    const LifeSettings settings = VivarnTask::Instance()->Settings();
    msgHandler = MakeScreenSaverMsgsHandler(settings.MouseTolerance);
    kernel->AddMsgHandler(msgHandler.get());
    powerHandler = MakePowerMsgsHandler(settings.OnBattery, *kernel);
    kernel->AddMsgHandler(powerHandler.get());
  }
  kernel->AddTask(VivarnTask::Instance().get());
}

void SaverApp::RunKernel() {
  VekKernel kernel = VekKernel::Instance();
  if (mode == kFullScreen) {
    SetThreadPriority(GetCurrentThread(), kernel->threadPriority);
    kernel->Run();
    return;
  }
  const uintptr_t thread = _beginthreadex(nullptr, 0, KernelThreadEntry, kernel.get(), 0, nullptr);
  if (thread == 0) {
    // Carry on as if the loop had ended; configuration still shows its sheet.
    MainLog() << "<!> " << "kernel thread could not be started\n";
    return;
  }
  kernel->thread = reinterpret_cast<void*>(thread);
  SetThreadPriority(reinterpret_cast<HANDLE>(thread), kernel->threadPriority);
}

void WaitKernel() {
  VekKernel kernel = VekKernel::Instance();
  HANDLE thread = static_cast<HANDLE>(kernel->thread);
  if (thread == GetCurrentThread()) return;
  const ScopedKernelHandle ownedThread(thread);
  if (WaitForSingleObject(thread, INFINITE) != WAIT_OBJECT_0) TerminateThread(thread, 0xFFFFFFFF);
  kernel->thread = kCurrentThreadPseudoHandle;
}

int SaverApp::Run(int32_t parseResult) {
  if (!SetupMode(parseResult)) return 0;
  if (mode == kConfigure) {
    CoInitialize(nullptr);
    DefWindowProcW(nullptr, 0, 0, 0);
    RunConfiguration();
    CoUninitialize();
    return 0;
  }
  AddTasks();
  RunKernel();
  WaitKernel();
  EndPowerWatch();
  msgHandler.reset();
  powerHandler.reset();
  return 0;
}
