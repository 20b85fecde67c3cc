// The Life task as the rest of the program sees it: the settings (fields
// named as their registry values), the setters that carry out a change's
// whole effect, one locked snapshot of them for the pages, and the kernel's
// task interface. The kernel runs it every frame (Start once, then Update);
// the configuration pages change its settings from another thread through
// the setters, which take `lock`.
//
// What it runs stays behind this header: the field, its mesh and the drawing
// state live in life/task_inside.h (the task's own files and tests only).
// Sections of the implementation:
//   vivarn_task.cpp            construction, setters, generation timer, field size
//   vivarn_task_win32.cpp      Start/Update, field and overlay drawing (GL)
//   vivarn_task_headless.cpp   Start/Update without a GL context (native build)
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "engine/core/singleton.h"
#include "engine/core/task.h"
#include "life/life_settings.h"
#include "life/task_host.h"

class CGradient;
struct Pattern;
struct FieldPair;
struct TaskInside;

// How the field was last drawn: not yet, by a fragment shader from its cell
// values, or from the mesh's arrays (the fixed-function path).
enum class FieldDrawPath { Unknown, Shaders, Mesh };

class VivarnTaskBse : public ITask, public LifeSettings {
 public:
  VivarnTaskBse();
  ~VivarnTaskBse() override;

  bool Start() override;
  void Update() override;
  // Gives back the field's GL buffers while the context is still current.
  void Stop() override;

  // Adds one frame's time to the generation timer and runs a Step for every
  // EffectiveLifeSpeed() milliseconds gathered, at most `perFrameLimit` (see
  // DueGenerations); the time left over is carried into the next period, up
  // to one period's worth. Returns whether a generation was computed. Under
  // `lock`.
  bool AdvanceGenerationTimer(double frameTimeMs, int32_t perFrameLimit = 1);
  // One generation (after the reseed rules have had their say). Under `lock`.
  void Step();
  // Empties the field and fills it again by the fill mode. Under `lock`.
  void ResetPopulation();
  // Sizes the field for the output at the effective cell size (empty when
  // the size changes); with a field for each monitor, every monitor's field
  // for its monitor (ITaskHost::FieldSizes), a new one empty. Under `lock`.
  void ApplyCellSize();
  // The output changed size under a running task (the monitors changed):
  // sizes the fields again and reseeds each one that changed its size or is
  // new; a field that still fits keeps its cells. Kernel thread, between generations.
  // Under `lock`.
  void FollowOutputSize();
  // Whether the periodic or automatic reseed would fire before the next
  // generation. Under `lock`.
  bool ReseedDue();

  // Every setting at one moment, read together under `lock`.
  LifeSettings Settings() const;
  // The settings one frame is drawn with, read together under `lock`: the
  // pages write them from the dialog thread at any moment.
  struct FrameLook {
    float bkColor[4];
    bool showStat;
    bool showFPS;
    bool showClock;
  };
  FrameLook CurrentLook() const;

  // --- Setters (each under `lock`) ---
  // The one way the configuration pages and the settings loader change a
  // setting. Numbers are stored as given; the field applies its ranges where
  // it uses them (the Effective... reads).
  // A whole rule at once, its state count included: no generation runs under
  // half of it. Without a state count the rule keeps the one it has.
  void SetRule(const uint8_t born[9], const uint8_t survive[9], int32_t states);
  void SetRule(const uint8_t born[9], const uint8_t survive[9]);
  void SetRuleBorn(int index, bool on);
  void SetRuleSurvive(int index, bool on);
  // Applies the size once the field exists (Start or ApplyCellSize has made
  // it); before that (the loader) it only stores it.
  void SetCellSize(int32_t size);
  void SetResetMode(int32_t mode);
  void SetPeriodicResetOn(bool on);
  void SetResetPeriod(uint32_t generations);
  void SetShowStat(bool on);
  void SetShowFPS(bool on);
  void SetAutoReset(bool on);
  void SetDieSlowly(bool on);
  void SetDieStep(float factor);
  void SetLifeSpeed(float milliseconds);
  // Read by the full-screen run as it starts (see EffectiveMonitors).
  void SetMonitors(int32_t mode);
  // Values other than 0 and 1 are stored as 0; rebuilds the mesh.
  void SetFieldDrawMode(int32_t mode);
  // The settings loader's way to the pattern fill mode 4 places, name first
  // (its row is read before the file's). A name the gallery has chooses its
  // entry; otherwise `SetPatternFile` reads the file (UTF-8 path, on the
  // caller's thread before `lock` is taken). A file that cannot be read or
  // holds no pattern leaves mode 4 filling as mode 0, with one log line; the
  // stored strings stay as given either way, so the next save keeps them.
  void SetPatternName(const std::string& name);
  void SetPatternFile(const std::string& path);
  // The pages' one setter, once they have read and checked a choice
  // themselves: stores both strings and `pattern` (null for none) together;
  // the next reseed in mode 4 places it. Under `lock`.
  void SetPatternChoice(const std::string& galleryName, const std::string& filePath,
                        std::shared_ptr<const Pattern> pattern);
  // Also tells the host (the GL clear colour).
  void SetBkColor(float red, float green, float blue, float alpha);
  // Also tells the host, which asks the GL window for the swap interval.
  void SetVSyncOn(uint32_t interval);
  // Read by the full-screen run as it starts.
  void SetOnBattery(uint32_t choice);
  void SetMouseTolerance(uint32_t pixels);
  void SetShowClock(bool on);
  // Takes effect where the field is drawn with shaders (see DrawPath).
  void SetSmoothGenerations(bool on);

  // The path the primary field's last draw took, under `lock`: the pages
  // offer what only the shader path can do once it is known.
  FieldDrawPath DrawPath() const;

  // The one way a palette becomes the task's colours: `gradient` sampled at
  // kColourTableEntries points, or without one the built-in ramp (red,
  // green, blue and back). The gradient is read before the task's lock is
  // taken, so a caller may hold the palette store's lock.
  void BuildColourTable(const CGradient* gradient = nullptr);
  // From a table of `count` entries of three bytes blue, green, red; keeps
  // the table that exists when there is nothing to build from.
  void BuildColourTableFromBgr(int32_t count, const uint8_t* bgr);

  // The program around the task (app/ plugs the engine in); null for none.
  // Set before the task runs; the host must outlive it.
  void SetHost(ITaskHost* taskHost);
  // The output size from the host, or the headless one (SetOutputSize).
  OutputSize CurrentOutputSize() const;

  // The field, its mesh and the drawing state (life/task_inside.h).
  TaskInside& Inside() { return *inside; }
  const TaskInside& Inside() const { return *inside; }

  // Guards the settings and everything inside against the pages' thread.
  mutable std::recursive_mutex lock;

 private:
  // The settings the field steps and reseeds by, passed on before it does.
  void PassRulesToFields();
  void PassRulesToField(FieldPair& pair);
  void ReseedField(FieldPair& pair);
  // After a reseed: the line a cut pattern gets in the log (once a choice).
  void LogSeed();
  // The name the statistics of field `index` show for the pattern its last
  // reseed placed; empty for fills without one.
  std::string PlacedPatternName(size_t index) const;
  // Drawing (kernel thread, GL context current): field `index` scaled to
  // its `output`, and the dark statistics panel of field `index`,
  // `panelWidth` pixels wide.
  void DrawField(size_t index, OutputSize output);
  void DrawStatistics(int32_t panelWidth, size_t index = 0);
  std::unique_ptr<TaskInside> inside;
  ITaskHost* host = nullptr;
  bool fieldSized = false;  // ApplyCellSize has run
};

class VivarnTask : public CRefCountPtrT<VivarnTaskBse> {
 public:
  static VivarnTask& Instance() {
    return SingletonInstance<VivarnTask, VivarnTaskBse, SingletonSlot::VivarnTask>();
  }
};
