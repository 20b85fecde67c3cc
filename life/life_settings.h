// The Life settings as the registry rows and the configuration pages know
// them: each field is named as its registry value. Numbers are kept as
// stored; the Effective... reads give what the field uses of them.
#pragma once

#include <cstdint>
#include <string>

struct LifeSettings {
  uint8_t RuleBorn[9] = {0, 0, 0, 1, 0, 0, 0, 0, 0};
  uint8_t RuleSurvive[9] = {0, 0, 1, 1, 0, 0, 0, 0, 0};
  // Cell states of the rule: 2 Life-like, 3..256 Generations (LifeRule).
  int32_t RuleStates = 2;
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
  static constexpr float kDefaultDieStep = 0.9f;
  float DieStep = kDefaultDieStep;
  int32_t Monitors = 0;
  // The swap interval asked of the GL window; 0 = no vertical sync.
  uint32_t VSyncOn = 0;
  // The pattern fill mode 4 places: a gallery entry by name, else a pattern
  // file by its full path (UTF-8); empty for none.
  std::string PatternName;
  std::string PatternFile;
  // Full screen on battery: 0 full speed, 1 half the frame rate, 2 a black
  // screen (app/power_policy.h; other numbers act as 1).
  uint32_t OnBattery = 1;
  // Pixels the pointer must go from where it was first seen before a move
  // ends the full-screen saver; 0: any move to a new position.
  uint32_t MouseTolerance = 0;
  // The local time over the picture, drifting like the overlays.
  bool ShowClock = false;
  // Where the GL colours the cells itself, cells fade from one generation
  // into the next instead of jumping (while at most one generation falls in
  // a frame).
  bool SmoothGenerations = false;

  // The draw mode the geometry follows: 1 for "Draw Field", 0 for anything else.
  int32_t DrawMode() const { return FieldDrawMode == 1 ? 1 : 0; }
  // The cell size the field uses: `CellSize`, or 10 when it is below 1.
  int32_t EffectiveCellSize() const { return CellSize >= 1 ? CellSize : 10; }
  // The fill mode reseeding uses: `ResetMode` (0 the whole field, 1 a square,
  // 2 a disc, 3 famous patterns, 4 one pattern), or 0 for a stored number no
  // control offers; filling nothing would leave the field empty for good, as
  // every later reset would fill nothing again.
  static constexpr int32_t kLastResetMode = 4;
  int32_t EffectiveResetMode() const { return ResetMode >= 0 && ResetMode <= kLastResetMode ? ResetMode : 0; }
  // How full screen uses several monitors: 0 one field spanning them all, 1
  // the primary only (the rest black), 2 a field for each monitor; a stored
  // number outside these spans.
  int32_t EffectiveMonitors() const { return Monitors == 1 || Monitors == 2 ? Monitors : 0; }
  // The milliseconds between generations: `LifeSpeed` held to 0..1000, the
  // slowest the Field page offers (a huge stored number would freeze the
  // field); NaN counts as 0, as the loader defaults it.
  static constexpr float kSlowestLifeSpeedMs = 1000.0f;
  float EffectiveLifeSpeed() const {
    if (!(LifeSpeed > 0.0f)) return 0.0f;
    return LifeSpeed < kSlowestLifeSpeedMs ? LifeSpeed : kSlowestLifeSpeedMs;
  }
  // The state count the step uses: `RuleStates`, or 2 (Life-like) outside
  // 2..256, as the field takes it.
  int32_t EffectiveRuleStates() const { return RuleStates >= 2 && RuleStates <= 256 ? RuleStates : 2; }
  // The fading factor the step applies: `DieStep`, or the default 0.9 outside
  // 0.001..1 (the Rules page's range). A factor above 1 would grow dying
  // cells without bound and a NaN would never fade; both would index past
  // the colour table.
  static bool DieStepUsable(float factor) { return factor >= 0.001f && factor <= 1.0f; }
  float EffectiveDieStep() const { return DieStepUsable(DieStep) ? DieStep : kDefaultDieStep; }
};
