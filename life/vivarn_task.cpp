// Construction, the settings setters and the generation timer of the Life task.
#include "life/vivarn_task.h"

VivarnTaskBse::VivarnTaskBse() {
  order = 100;
  name = "SimpleLifeTask";
  // A table exists from the start so that a field stepped before Start (the
  // configuration preview, tests) never indexes an empty table.
  BuildColourTable();
}

VivarnTaskBse::~VivarnTaskBse() { ReleaseGeometry(); }

void VivarnTaskBse::Stop() {
  std::lock_guard<std::recursive_mutex> guard(lock);
  fieldBuffers.reset();
}

bool VivarnTaskBse::AdvanceGenerationTimer(double frameTimeMs) {
  // LifeSpeed changes under the lock on the dialog thread.
  std::lock_guard<std::recursive_mutex> guard(lock);
  const double period = EffectiveLifeSpeed();
  generationTimer += frameTimeMs;
  if (!(generationTimer >= period)) return false;
  Step();
  // The time past the due moment counts towards the next generation, so that
  // a speed between two whole numbers of frames keeps its rate on average.
  // At most one period is kept: after a stall the field goes on at one
  // generation a frame instead of catching up in a burst.
  generationTimer -= period;
  if (generationTimer > period) generationTimer = period;
  return true;
}

VivarnTaskBse::FrameLook VivarnTaskBse::CurrentLook() const {
  std::lock_guard<std::recursive_mutex> guard(lock);
  return FrameLook{{BkColor[0], BkColor[1], BkColor[2], BkColor[3]}, ShowStat, ShowFPS};
}

void VivarnTaskBse::SetRuleBorn(int index, bool on) {
  if (index < 0 || index > 8) return;
  std::lock_guard<std::recursive_mutex> guard(lock);
  RuleBorn[index] = on ? 1 : 0;
}

void VivarnTaskBse::SetRuleSurvive(int index, bool on) {
  if (index < 0 || index > 8) return;
  std::lock_guard<std::recursive_mutex> guard(lock);
  RuleSurvive[index] = on ? 1 : 0;
}

void VivarnTaskBse::SetCellSize(int32_t size) {
  std::lock_guard<std::recursive_mutex> guard(lock);
  CellSize = size;
}

void VivarnTaskBse::SetResetMode(int32_t mode) {
  std::lock_guard<std::recursive_mutex> guard(lock);
  ResetMode = mode;
}

void VivarnTaskBse::SetPeriodicResetOn(bool on) {
  std::lock_guard<std::recursive_mutex> guard(lock);
  PeriodicResetOn = on;
}

void VivarnTaskBse::SetResetPeriod(uint32_t generations) {
  std::lock_guard<std::recursive_mutex> guard(lock);
  ResetPeriod = generations;
}

void VivarnTaskBse::SetShowStat(bool on) {
  std::lock_guard<std::recursive_mutex> guard(lock);
  ShowStat = on;
}

void VivarnTaskBse::SetShowFPS(bool on) {
  std::lock_guard<std::recursive_mutex> guard(lock);
  ShowFPS = on;
}

void VivarnTaskBse::SetAutoReset(bool on) {
  std::lock_guard<std::recursive_mutex> guard(lock);
  AutoReset = on;
}

void VivarnTaskBse::SetDieSlowly(bool on) {
  std::lock_guard<std::recursive_mutex> guard(lock);
  DieSlowly = on;
}

void VivarnTaskBse::SetDieStep(float factor) {
  std::lock_guard<std::recursive_mutex> guard(lock);
  DieStep = factor;
}

void VivarnTaskBse::SetLifeSpeed(float milliseconds) {
  std::lock_guard<std::recursive_mutex> guard(lock);
  LifeSpeed = milliseconds;
}

void VivarnTaskBse::SetMonitors(int32_t mode) {
  std::lock_guard<std::recursive_mutex> guard(lock);
  Monitors = mode;
}

void VivarnTaskBse::SetFieldDrawMode(int32_t mode) {
  std::lock_guard<std::recursive_mutex> guard(lock);
  FieldDrawMode = mode == 1 ? 1 : 0;
  BuildGeometry(columns, rows);
}

void VivarnTaskBse::SetBkColor(float red, float green, float blue, float alpha) {
  std::lock_guard<std::recursive_mutex> guard(lock);
  BkColor[0] = red;
  BkColor[1] = green;
  BkColor[2] = blue;
  BkColor[3] = alpha;
  ++colourChanges;
  PassClearColour(red, green, blue, alpha);
}
