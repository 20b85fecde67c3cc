// Frames per second and CPU time per frame of the saver's own loop: the video
// and Life tasks as the full-screen saver runs them, with the stored settings
// (defaults in a fresh prefix) but the cell size, draw mode and a generation
// every frame given here. Run under wine by tests/bench/frame_bench.sh.
//
//   frame_bench CELL_SIZE DRAW_MODE SECONDS [paced|preview|battery|display-off] [mesh]
//
// Without the last word the frames are drawn back to back (no pacing), which
// shows what one frame costs. "paced" keeps the pacing of the full-screen
// saver; "preview" draws into a child of a window of 320 x 240, as /p does,
// paced like a preview. "battery" is "paced" with the full-screen saver's
// power handler told that the machine runs on battery (the stored
// `OnBattery` choice applies); "display-off" is "paced" until the warm-up
// ends, when the window is told the display went off: the span is then
// timed by a thread timer, since the sleeping loop runs no task. "mesh"
// draws the field from its mesh even where the context has shaders (the
// fixed-function path). One line of figures on standard output; CPU time is
// GetProcessTimes', which under wine sums the threads wine knows of; the
// rasteriser threads llvmpipe starts itself may be missing from it, so with
// llvmpipe the CPU figures are a lower bound (GALLIUM_NOOP=1 draws nothing).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "engine/core/kernel.h"
#include "engine/core/log.h"
#include "engine/core/module.h"
#include "engine/gl/gl_window_settings.h"
#include "engine/gl/video_update_task.h"
#include "life/settings_store.h"
#include "app/saver_app_win32.h"
#include "app/task_engine_link_win32.h"
#include "engine/gl/gl_window_win32.h"
#include "life/task_inside.h"
#include "life/vivarn_task.h"

namespace {
double ProcessCpuSeconds() {
  FILETIME created, exited, kernelTime, userTime;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernelTime, &userTime)) return 0.0;
  auto seconds = [](const FILETIME& t) {
    return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 1e-7;
  };
  return seconds(kernelTime) + seconds(userTime);
}

double WallSeconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Runs last in every frame: counts the frames of the measured span, which
// begins after a warm-up (the first frames fill caches and the driver's
// buffers) and ends with the first frame past the given seconds.
class MeasureTask : public ITask {
 public:
  MeasureTask(double seconds, bool paced) : span(seconds), keepPacing(paced) {
    order = 200000;
    name = "Measure";
  }
  bool Start() override {
    // After the video task's Start, which set the display's pacing.
    if (!keepPacing) VekKernel::Instance()->SetFramePeriod(0.0);
    periodMs = VekKernel::Instance()->FramePeriod();
    return true;
  }
  void Update() override {
    ++frames;
    if (frames == 1) wall0 = WallSeconds();
    // Warm-up: a few frames, or one second where frames are slow (Mesa's
    // software rasteriser at 3840 x 2160 takes seconds for one).
    if (warmUp && (frames == kWarmUpFrames || WallSeconds() - wall0 >= 1.0)) {
      warmUp = false;
      warmUpFrames = frames;
      wall0 = WallSeconds();
      cpu0 = ProcessCpuSeconds();
      if (displayOff) TurnDisplayOff();
    } else if (!warmUp && WallSeconds() - wall0 >= span) {
      wall = WallSeconds() - wall0;
      cpu = ProcessCpuSeconds() - cpu0;
      measured = frames - warmUpFrames;
      VekKernel::Instance()->StopAllTasks();
    }
  }
  void Stop() override {}

  // As Windows reports it after RegisterPowerSettingNotification.
  void TurnDisplayOff() {
    struct {
      GUID setting;
      DWORD length;
      DWORD state;
    } off = {{0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}}, sizeof(DWORD), 0};
    SendMessageW(GLWindow::Instance()->window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                 reinterpret_cast<LPARAM>(&off));
    s_measuring = this;
    SetTimer(nullptr, 0, static_cast<UINT>(span * 1000.0), EndSleepingSpan);
  }
  static void CALLBACK EndSleepingSpan(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    MeasureTask& self = *s_measuring;
    self.wall = WallSeconds() - self.wall0;
    self.cpu = ProcessCpuSeconds() - self.cpu0;
    self.measured = self.frames - self.warmUpFrames;
    VekKernel::Instance()->SetAsleep(false);
    VekKernel::Instance()->StopAllTasks();
  }
  static MeasureTask* s_measuring;
  bool displayOff = false;

  static constexpr int kWarmUpFrames = 10;
  double span;
  bool keepPacing;
  bool warmUp = true;
  int frames = 0;
  int warmUpFrames = 0;
  int measured = 0;
  double periodMs = 0.0;
  double wall0 = 0.0, cpu0 = 0.0, wall = 0.0, cpu = 0.0;
};
MeasureTask* MeasureTask::s_measuring = nullptr;
}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: frame_bench CELL_SIZE DRAW_MODE SECONDS [paced|preview|battery|display-off] [mesh]\n");
    return 2;
  }
  const int cellSize = static_cast<int>(std::wcstol(argv[1], nullptr, 10));
  const int drawMode = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
  const double seconds = std::wcstod(argv[3], nullptr);
  const bool preview = argc > 4 && std::wcscmp(argv[4], L"preview") == 0;
  const bool battery = argc > 4 && std::wcscmp(argv[4], L"battery") == 0;
  const bool displayOff = argc > 4 && std::wcscmp(argv[4], L"display-off") == 0;
  const bool paced = preview || battery || displayOff || (argc > 4 && std::wcscmp(argv[4], L"paced") == 0);
  bool meshOnly = false;
  for (int i = 4; i < argc; ++i) meshOnly = meshOnly || std::wcscmp(argv[i], L"mesh") == 0;

  MainLog().SetConsole(false);
  VekModule::Instance()->instance = GetModuleHandleW(nullptr);
  LoadSettings();
  ConnectTaskToEngine();
  VivarnTaskBse& life = *VivarnTask::Instance();
  life.SetCellSize(cellSize);
  life.SetFieldDrawMode(drawMode);
  {
    std::lock_guard<std::recursive_mutex> guard(life.lock);
    life.LifeSpeed = 0.0f;  // a generation every frame
    life.Inside().useShaders = !meshOnly;
  }

  GLWindowSettingsBase& window = *GLWindowSettings::Instance();
  HWND host = nullptr;
  if (preview) {
    host = CreateWindowExW(0, L"STATIC", L"frame_bench host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 240,
                           nullptr, nullptr, nullptr, nullptr);
    window.parentWindow = host;
  } else {
    window.fullScreen = true;
  }

  auto* measure = new MeasureTask(seconds, paced);
  measure->displayOff = displayOff;
  CRefCountPtrT<ITask> keep(measure);
  VekKernel kernel = VekKernel::Instance();
  std::unique_ptr<PowerMsgsHandler> power;
  if (battery || displayOff) {
    power = MakePowerMsgsHandler(life.Settings().OnBattery, *kernel, [battery] { return PowerSource{battery, false}; });
    kernel->AddMsgHandler(power.get());
  }
  kernel->AddTask(VideoUpdateTask::Instance().get());
  kernel->AddTask(VivarnTask::Instance().get());
  kernel->AddTask(measure);
  kernel->Run();
  if (host) DestroyWindow(host);

  EndPowerWatch();
  if (displayOff && measure->wall > 0.0) {
    std::printf("display off: %.1f %% of a core, %d frames in %.1f s asleep\n", measure->cpu * 100.0 / measure->wall,
                measure->measured, measure->wall);
    return 0;
  }
  if (measure->measured <= 0 || measure->wall <= 0.0) {
    std::fprintf(stderr, "frame_bench: the loop ended before the measured span\n");
    return 1;
  }
  const double fps = measure->measured / measure->wall;
  std::printf("%.1f fps, %.2f ms CPU per frame, %.1f %% of a core (%d frames in %.1f s", fps,
              measure->cpu * 1000.0 / measure->measured, measure->cpu * 100.0 / measure->wall, measure->measured,
              measure->wall);
  if (measure->periodMs > 0.0) std::printf(", paced to %.2f ms", measure->periodMs);
  std::printf(")\n");
  return 0;
}
