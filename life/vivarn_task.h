// The Life task: the one object that owns the automaton's settings, the field
// and its statistics, the drawing arrays and the colour table. The kernel runs
// it every frame (Start once, then Update); the configuration pages change its
// settings from another thread through the setters, which take `lock`.
//
// Sections of the implementation:
//   vivarn_task.cpp            construction, setters, generation timer
//   field_step.cpp             field size, neighbours, SetCell, Step
//   seeding.cpp                NextRandom, ResetPopulation, the reset rules
//   field_geometry.cpp         colour table, cell colours, vertex arrays
//   vivarn_task_win32.cpp      Start/Update, field and overlay drawing (GL)
//   vivarn_task_headless.cpp   Start/Update without a GL context (native build)
//
// Depends on engine/core (ITask, handles, singletons), palette (CGradient) and
// the engine's texture and font handles; this header needs no GL, no Win32.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

#include "engine/core/singleton.h"
#include "engine/core/task.h"
#include "engine/gl/font.h"
#include "engine/gl/texture.h"
#include "life/aligned_array.h"
#include "life/overlay_text.h"

class CGradient;

// The field's GL buffer objects (kernel thread, in the GL build); released
// through FieldBuffersRelease, which knows whether their context is current.
class FieldBuffers;
struct FieldBuffersRelease {
  void operator()(FieldBuffers* buffers) const;
};

// One colour as four bytes, red, green, blue, alpha, in this order in memory:
// a vertex colour as GL reads it (four unsigned bytes), or a colour table entry.
struct Rgba8 {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  uint8_t a = 0;
};

// A colour component in 0..1 as a byte: scaled to 255 and rounded to the
// nearest, as GL turns a float colour into an 8-bit one; held to 0..255.
inline uint8_t ColourByte(float c) {
  if (!(c > 0.0f)) return 0;
  if (c >= 1.0f) return 255;
  return static_cast<uint8_t>(static_cast<int32_t>(c * 255.0f + 0.5f));
}

// Magnitudes below this count as 0 throughout the field.
constexpr float kCellEpsilon = 1e-7f;

// Entries of the colour table a palette, or the built-in ramp, fills: cell
// ages wrap around it.
constexpr int32_t kColourTableEntries = 1000;
// Entries of the colour table behind the palette proper (see paletteColours).
constexpr int32_t kStepTableEntries = 2;

class VivarnTaskBse : public ITask {
 public:
  VivarnTaskBse();
  ~VivarnTaskBse() override;

  bool Start() override;
  void Update() override;
  // Gives back the field's GL buffers while the context is still current.
  void Stop() override;

  // Adds one frame's time to the generation timer and runs at most one Step
  // when EffectiveLifeSpeed() milliseconds have gathered; the time left over
  // is carried into the next period, up to one period's worth. Returns
  // whether a generation was computed. Under `lock`.
  bool AdvanceGenerationTimer(double frameTimeMs);

  // The settings one frame is drawn with, read together under `lock`: the
  // pages write them from the dialog thread at any moment.
  struct FrameLook {
    float bkColor[4];
    bool showStat;
    bool showFPS;
  };
  FrameLook CurrentLook() const;

  // --- Setters (each under `lock`) ---
  // The one way the configuration pages and the settings loader change a
  // setting. Numbers are stored as given; the field applies its ranges where
  // it uses them (the Effective... reads below).
  void SetRuleBorn(int index, bool on);
  void SetRuleSurvive(int index, bool on);
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
  // Values other than 0 and 1 are stored as 0; rebuilds the geometry.
  void SetFieldDrawMode(int32_t mode);
  // Also makes sure the GL window object exists and passes the colour on as
  // the GL clear colour (PassClearColour).
  void SetBkColor(float red, float green, float blue, float alpha);

  // --- Drawing (kernel thread, GL context current) ---
  // The whole field in one indexed draw call, scaled so one cell unit covers
  // output / (columns, rows) pixels. Under `lock`.
  void DrawField();
  // The dark panel along the bottom edge, `panelWidth` pixels wide, and the
  // four statistics lines.
  void DrawStatistics(int32_t panelWidth);

  // --- Field and generation step ---
  void ApplyCellSize();
  void ResizeField();
  int32_t CountNeighbours(const float* grid, int32_t column, int32_t row) const;
  void SetCell(float* grid, int32_t column, int32_t row, float value);
  void Step();
  // Step writes colour arrays larger than this many bytes with streaming
  // stores. Below it the array stays in a typical last-level cache between
  // generations (and for the draw that reads it), and ordinary stores are
  // faster; above it every line goes to memory anyway, and streaming stores
  // save reading each line in before it is overwritten.
  static constexpr size_t kDefaultStreamingColourBytes = size_t{16} << 20;
  size_t streamingColourBytes = kDefaultStreamingColourBytes;
  // Off: Step keeps to four-cell vectors even on processors with eight-cell
  // ones (tests compare both with the plain recipe).
  bool allowWideVectors = true;

  // --- Seeding and resets ---
  void ResetPopulation();
  // The periodic and auto reset rules that Step asks before each generation.
  bool ResetRuleFires() const;
  // The field's diagonal in cells, truncated: the auto reset's stagnation limit.
  uint32_t StagnationLimit() const;

  // --- Colours and geometry ---
  // The one way a palette becomes the task's colours: `gradient` sampled at
  // kColourTableEntries points, or without one the built-in ramp (red,
  // green, blue and back). The gradient is read before the task's lock is
  // taken, so a caller may hold the palette store's lock.
  void BuildColourTable(const CGradient* gradient = nullptr);
  // From a table of `count` entries of three bytes blue, green, red; keeps
  // the table that exists when there is nothing to build from.
  void BuildColourTableFromBgr(int32_t count, const uint8_t* bgr);
  Rgba8 CellColour(float value) const;
  void ReleaseGeometry();
  void AllocateGeometry(int32_t columnCount, int32_t rowCount);
  void BuildGeometry(int32_t columnCount, int32_t rowCount);
  // The draw mode the geometry follows: 1 for "Draw Field", 0 for anything else.
  int32_t DrawMode() const { return FieldDrawMode == 1 ? 1 : 0; }
  // The cell size the field uses: `CellSize`, or 10 when it is below 1.
  int32_t EffectiveCellSize() const { return CellSize >= 1 ? CellSize : 10; }
  // The fill pattern reseeding uses: `ResetMode`, or 0 (the whole field) for a
  // stored number no control offers; filling nothing would leave the field
  // empty for good, as every later reset would fill nothing again.
  int32_t EffectiveResetMode() const { return ResetMode >= 0 && ResetMode <= 2 ? ResetMode : 0; }
  // How full screen uses several monitors: 0 one field spanning them all, 1
  // the primary only (the rest black); a stored number outside these spans.
  int32_t EffectiveMonitors() const { return Monitors == 1 ? 1 : 0; }
  // The milliseconds between generations: `LifeSpeed` held to 0..1000, the
  // slowest the Field page offers (a huge stored number would freeze the
  // field); NaN counts as 0, as the loader defaults it.
  static constexpr float kSlowestLifeSpeedMs = 1000.0f;
  float EffectiveLifeSpeed() const {
    if (!(LifeSpeed > 0.0f)) return 0.0f;
    return LifeSpeed < kSlowestLifeSpeedMs ? LifeSpeed : kSlowestLifeSpeedMs;
  }
  // The fading factor Step applies: `DieStep`, or the default 0.9 outside
  // 0.001..1 (the Rules page's range). A factor above 1 would grow dying
  // cells without bound and a NaN would never fade; both would index past
  // the colour table.
  static constexpr float kDefaultDieStep = 0.9f;
  static bool DieStepUsable(float factor) { return factor >= 0.001f && factor <= 1.0f; }
  float EffectiveDieStep() const { return DieStepUsable(DieStep) ? DieStep : kDefaultDieStep; }

  // Guards every field below against the configuration pages' thread.
  mutable std::recursive_mutex lock;
  double generationTimer = 0.0;  // ms gathered towards the next generation
  uint32_t panelList = 0;
  CRefCountPtrT<FontBase> font;

  uint32_t generation = 0;
  uint32_t steadyPopulationCount = 0;
  uint32_t population = 0;
  uint32_t populationSum = 0;
  uint32_t steadyAverageCount = 0;
  float averageAge = 0.0f;

  int32_t cellWidth = 5;
  int32_t cellHeight = 5;
  int32_t columns = 0;
  int32_t rows = 0;
  AlignedArray<float> cells;
  AlignedArray<float> nextCells;

  uint8_t RuleBorn[9] = {0, 0, 0, 1, 0, 0, 0, 0, 0};
  uint8_t RuleSurvive[9] = {0, 0, 1, 1, 0, 0, 0, 0, 0};
  bool ShowStat = false;
  bool ShowFPS = false;
  float BkColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  int32_t CellSize = 10;
  int32_t ResetMode = 0;
  bool PeriodicResetOn = true;
  uint32_t ResetPeriod = 1000;
  bool AutoReset = true;
  bool DieSlowly = true;
  int32_t FieldDrawMode = 0;
  float LifeSpeed = 0.0f;
  float DieStep = kDefaultDieStep;
  int32_t Monitors = 0;

  CRefCountPtrT<TextureBase> particleTexture;
  // Loaded by Start from the module's English string table.
  StatisticsFormats statisticsFormats;

  int32_t vertexCount = 0;
  AlignedArray<float> vertices;   // (x, y) per vertex, in cell units
  int32_t texCoordCount = 0;
  AlignedArray<float> texCoords;  // (s, t) per vertex
  int32_t colourCount = 0;
  AlignedArray<Rgba8> colours;    // one per vertex
  int32_t indexCount = 0;
  AlignedArray<uint32_t> indices;

  // Raised (under `lock`, on either thread) whenever the arrays above change:
  // geometryChanges for a rebuild (new sizes, positions, texture coordinates,
  // indices), colourChanges for new vertex colours (a step, a reseed, a
  // palette or background change). The draw compares them with what the GL
  // last received and sends only what changed (FieldUploadTracker).
  uint32_t geometryChanges = 0;
  uint32_t colourChanges = 0;
  // Off: the field is drawn from client arrays even where the context has
  // buffer objects (the OpenGL 1.1 path, for tests).
  bool useBufferObjects = true;
  // Kernel thread only: made by the first draw.
  std::unique_ptr<FieldBuffers, FieldBuffersRelease> fieldBuffers;

  int32_t paletteSize = 0;
  // (r, g, b, unused) per entry; behind the paletteSize entries follow two
  // that Step keeps for itself, the background colour (rewritten by every
  // Step) and transparent black, so that every vertex colour is one table
  // entry with its alpha.
  AlignedArray<Rgba8> paletteColours;

 private:
  // Working rows of the generation step (live flags of three field rows and
  // their column sums), sized with the field so that a generation allocates
  // nothing.
  AlignedArray<uint8_t> stepScratch;
  void AllocateStepScratch();
  template <int Mode, bool Streaming>
  void StepCells(uint32_t& ageSum);
};

// Makes sure the GL window object exists and sets the GL clear colour (a
// no-op without a current context, and in the headless build).
void PassClearColour(float red, float green, float blue, float alpha);

// Process-wide state of the seeding generator: set once from the calendar
// time at start-up, then changed only by NextRandom (under the task's lock).
extern uint32_t randomState;
// 214013 / 2531011 linear congruence; returns bits 16..30 of the new state.
int32_t NextRandom();

class VivarnTask : public CRefCountPtrT<VivarnTaskBse> {
 public:
  static VivarnTask& Instance() {
    return SingletonInstance<VivarnTask, VivarnTaskBse, SingletonSlot::VivarnTask>();
  }
};
