#include "app/saver_app_win32.h"

#include <windows.h>
#include <objbase.h>
#include <process.h>

#include "app/window_messages.h"
#include "engine/core/kernel.h"
#include "engine/core/log.h"
#include "engine/core/module.h"
#include "engine/core/scoped_handle_win32.h"
#include "engine/gl/gl_window_settings.h"
#include "engine/gl/video_update_task.h"
#include "life/vivarn_task.h"

static_assert(winmsg::kClose == WM_CLOSE && winmsg::kDisplayChange == WM_DISPLAYCHANGE &&
                  winmsg::kKeyDown == WM_KEYDOWN && winmsg::kSysKeyDown == WM_SYSKEYDOWN &&
                  winmsg::kMouseMove == WM_MOUSEMOVE && winmsg::kLButtonDown == WM_LBUTTONDOWN &&
                  winmsg::kMouseWheel == WM_MOUSEWHEEL && winmsg::kMouseLast == WM_MOUSELAST,
              "message numbers differ from <windows.h>");

void* g_programInstance = nullptr;

namespace {
// _beginthreadex wants the __stdcall form; the kernel's entry is a plain
// function of the same shape.
unsigned __stdcall KernelThreadEntry(void* kernel) { return VekKernelBase::RunEntry(kernel); }

bool IsExistingWindow(NativeWindow w) { return IsWindow(static_cast<HWND>(w)) != FALSE; }
}  // namespace

std::unique_ptr<ScreenSaverMsgsHandler> MakeScreenSaverMsgsHandler() {
  return std::make_unique<ScreenSaverMsgsHandler>(
      [](NativeWindow window) { PostMessageW(static_cast<HWND>(window), WM_CLOSE, 0, 0); });
}

bool SaverApp::SetupMode(int32_t parseResult) {
  msgHandler.reset();
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
    msgHandler = MakeScreenSaverMsgsHandler();
    kernel->AddMsgHandler(msgHandler.get());
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
  msgHandler.reset();
  return 0;
}
