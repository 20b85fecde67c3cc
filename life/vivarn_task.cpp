// Construction, the settings setters, the generation timer and the field's
// size: the front of the Life task, forwarding to its field and mesh.
#include "life/vivarn_task.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "engine/core/frame_pacer.h"
#include "engine/core/log.h"
#include "life/pattern/pattern_reader.h"
#include "life/pattern_file.h"
#include "life/task_inside.h"
#include "palette/gradient.h"

using Guard = std::lock_guard<std::recursive_mutex>;

namespace {
uint16_t Mask(const uint8_t counts[9]) {
  uint16_t mask = 0;
  for (int k = 0; k < 9; ++k)
    if (counts[k] != 0) mask = static_cast<uint16_t>(mask | (1u << k));
  return mask;
}

// The gallery's own copy, shared without being owned: it lives as long as
// the process.
std::shared_ptr<const Pattern> GalleryPattern(const GalleryEntry& entry) {
  return std::shared_ptr<const Pattern>(std::shared_ptr<const Pattern>(), &entry.pattern);
}

// What the statistics call a pattern from a file: its own name, else the
// file's name without its folders.
std::string FilePatternName(const Pattern& pattern, const std::string& path) {
  if (!pattern.name.empty()) return pattern.name;
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A monitor's field made after the palette and background were chosen takes
// the primary's.
void CopyLook(const FieldMesh& from, FieldMesh& to) {
  std::vector<uint8_t> bgr(static_cast<size_t>(from.paletteSize) * 3);
  for (size_t i = 0; i < static_cast<size_t>(from.paletteSize); ++i) {
    const Rgba8 colour = from.paletteColours[i];
    bgr[i * 3] = colour.b;
    bgr[i * 3 + 1] = colour.g;
    bgr[i * 3 + 2] = colour.r;
  }
  to.BuildTableFromBgr(from.paletteSize, bgr.data());
  to.SetBackground(from.background);
}

}  // namespace

VivarnTaskBse::VivarnTaskBse() : inside(std::make_unique<TaskInside>()) {
  order = 100;
  name = "SimpleLifeTask";
  inside->mesh.SetBackground(BkColor);
}

VivarnTaskBse::~VivarnTaskBse() = default;

void VivarnTaskBse::Stop() {
  Guard guard(lock);
  for (size_t i = 0; i < inside->FieldCount(); ++i) inside->Pair(i).buffers.reset();
}

void VivarnTaskBse::SetHost(ITaskHost* taskHost) {
  Guard guard(lock);
  host = taskHost;
}

OutputSize VivarnTaskBse::CurrentOutputSize() const {
  Guard guard(lock);
  return host != nullptr ? host->CurrentOutputSize() : HeadlessOutputSize();
}

void VivarnTaskBse::PassRulesToFields() {
  for (size_t i = 0; i < inside->FieldCount(); ++i) PassRulesToField(inside->Pair(i));
}

void VivarnTaskBse::PassRulesToField(FieldPair& pair) {
  LifeField& field = pair.field;
  std::copy_n(RuleBorn, 9, field.rule.born);
  std::copy_n(RuleSurvive, 9, field.rule.survive);
  field.rule.states = RuleStates;
  field.rule.dieSlowly = DieSlowly;
  field.rule.dieStep = EffectiveDieStep();
  field.reseed.fillMode = EffectiveResetMode();
  // The gallery is read on first use: only a field that fills with it asks.
  if (field.reseed.fillMode == 3) {
    const RuleDefinition now{Mask(RuleBorn), Mask(RuleSurvive), EffectiveRuleStates()};
    if (!inside->famousKnown || !(now == inside->famousRule)) {
      inside->famous = GalleryEntriesForRule(now);
      inside->famousRule = now;
      inside->famousKnown = true;
      ++inside->famousVersion;
    }
    // Each monitor's field takes the list when it changed since it last did.
    if (pair.famousVersion != inside->famousVersion) {
      field.reseed.famous.clear();
      for (const GalleryEntry* entry : inside->famous) field.reseed.famous.push_back(&entry->pattern);
      pair.famousVersion = inside->famousVersion;
    }
  }
  if (field.reseed.chosen != inside->chosen) field.reseed.chosen = inside->chosen;
  field.reseed.periodic = PeriodicResetOn;
  field.reseed.period = ResetPeriod;
  field.reseed.automatic = AutoReset;
  std::copy_n(BkColor, 4, pair.mesh.background);
}

void VivarnTaskBse::Step() {
  Guard guard(lock);
  PassRulesToFields();
  // One timer for every monitor's field: they step together.
  for (size_t i = 0; i < inside->FieldCount(); ++i) {
    FieldPair& pair = inside->Pair(i);
    StepFieldAndMesh(pair.field, pair.mesh, inside->tuning);
  }
  LogSeed();
}

void VivarnTaskBse::ResetPopulation() {
  Guard guard(lock);
  for (size_t i = 0; i < inside->FieldCount(); ++i) ReseedField(inside->Pair(i));
  LogSeed();
}

void VivarnTaskBse::ReseedField(FieldPair& pair) {
  PassRulesToField(pair);
  ReseedFieldAndMesh(pair.field, pair.mesh);
}

void VivarnTaskBse::LogSeed() {
  const SeedReport& seed = inside->field.lastSeed;
  if (!seed.cut || inside->cutLogged) return;
  inside->cutLogged = true;
  MainLog() << "<i> The pattern \"" << inside->chosenName << "\" is larger than the field ("
            << inside->field.columns << " x " << inside->field.rows << " cells): it is cut at the field's edges.\n";
}

std::string VivarnTaskBse::PlacedPatternName(size_t index) const {
  Guard guard(lock);
  if (index >= inside->FieldCount()) return std::string();
  const SeedReport& seed = inside->Pair(index).field.lastSeed;
  if (seed.mode == 4) return inside->chosenName;
  if (seed.mode == 3 && seed.lastFamous >= 0 && static_cast<size_t>(seed.lastFamous) < inside->famous.size())
    return inside->famous[static_cast<size_t>(seed.lastFamous)]->name;
  return std::string();
}

bool VivarnTaskBse::ReseedDue() {
  Guard guard(lock);
  PassRulesToFields();
  for (size_t i = 0; i < inside->FieldCount(); ++i) {
    if (inside->Pair(i).field.ReseedDue()) return true;
  }
  return false;
}

void VivarnTaskBse::ApplyCellSize() {
  Guard guard(lock);
  std::vector<OutputSize> sizes = host != nullptr ? host->FieldSizes() : std::vector<OutputSize>{HeadlessOutputSize()};
  if (sizes.empty()) sizes.emplace_back();  // the primary's field stays, if empty
  inside->others.resize(sizes.size() - 1);
  for (auto& other : inside->others) {
    if (other) continue;
    other = std::make_unique<FieldPair>();
    CopyLook(inside->mesh, other->mesh);
    // Drawn as the primary is: without the mesh's arrays where shaders draw.
    other->mesh.valuesOnly = inside->mesh.valuesOnly;
  }
  const uint32_t cell = static_cast<uint32_t>(EffectiveCellSize());
  for (size_t i = 0; i < sizes.size(); ++i) {
    const uint32_t width = sizes[i].width > 0 ? static_cast<uint32_t>(sizes[i].width) : 0u;
    const uint32_t height = sizes[i].height > 0 ? static_cast<uint32_t>(sizes[i].height) : 0u;
    const int32_t columns = static_cast<int32_t>(width / cell);
    const int32_t rows = static_cast<int32_t>(height / cell);
    FieldPair& pair = inside->Pair(i);
    if (pair.field.Resize(columns, rows)) pair.mesh.Build(columns, rows, DrawMode());
  }
  fieldSized = true;
}

void VivarnTaskBse::FollowOutputSize() {
  Guard guard(lock);
  std::vector<std::pair<int32_t, int32_t>> before;
  for (size_t i = 0; i < inside->FieldCount(); ++i) {
    before.emplace_back(inside->Pair(i).field.columns, inside->Pair(i).field.rows);
  }
  ApplyCellSize();
  for (size_t i = 0; i < inside->FieldCount(); ++i) {
    FieldPair& pair = inside->Pair(i);
    // A monitor's new field is seeded even when it has no cells.
    if (i >= before.size() || before[i] != std::make_pair(pair.field.columns, pair.field.rows)) ReseedField(pair);
  }
}

bool VivarnTaskBse::AdvanceGenerationTimer(double frameTimeMs, int32_t perFrameLimit) {
  // LifeSpeed changes under the lock on the dialog thread.
  Guard guard(lock);
  const int32_t due = DueGenerations(inside->generationTimer, frameTimeMs, EffectiveLifeSpeed(), perFrameLimit);
  for (int32_t k = 0; k < due; ++k) Step();
  return due > 0;
}

LifeSettings VivarnTaskBse::Settings() const {
  Guard guard(lock);
  return *this;
}

VivarnTaskBse::FrameLook VivarnTaskBse::CurrentLook() const {
  Guard guard(lock);
  return FrameLook{{BkColor[0], BkColor[1], BkColor[2], BkColor[3]}, ShowStat, ShowFPS, ShowClock};
}

void VivarnTaskBse::BuildColourTable(const CGradient* gradient) {
  if (gradient == nullptr) {
    Guard guard(lock);
    for (size_t i = 0; i < inside->FieldCount(); ++i) inside->Pair(i).mesh.BuildRampTable();
    return;
  }
  // Zeroed first: a gradient without a valid blending rule leaves it as is.
  std::vector<uint8_t> bgr(static_cast<size_t>(kColourTableEntries) * 3, 0);
  gradient->FillColourTable(bgr.data(), kColourTableEntries);
  BuildColourTableFromBgr(kColourTableEntries, bgr.data());
}

void VivarnTaskBse::BuildColourTableFromBgr(int32_t count, const uint8_t* bgr) {
  Guard guard(lock);
  for (size_t i = 0; i < inside->FieldCount(); ++i) inside->Pair(i).mesh.BuildTableFromBgr(count, bgr);
}

void VivarnTaskBse::SetRule(const uint8_t born[9], const uint8_t survive[9], int32_t states) {
  Guard guard(lock);
  for (int k = 0; k < 9; ++k) {
    RuleBorn[k] = born[k] != 0 ? 1 : 0;
    RuleSurvive[k] = survive[k] != 0 ? 1 : 0;
  }
  RuleStates = states;
}

void VivarnTaskBse::SetRule(const uint8_t born[9], const uint8_t survive[9]) {
  Guard guard(lock);
  SetRule(born, survive, RuleStates);
}

void VivarnTaskBse::SetRuleBorn(int index, bool on) {
  if (index < 0 || index > 8) return;
  Guard guard(lock);
  RuleBorn[index] = on ? 1 : 0;
}

void VivarnTaskBse::SetRuleSurvive(int index, bool on) {
  if (index < 0 || index > 8) return;
  Guard guard(lock);
  RuleSurvive[index] = on ? 1 : 0;
}

void VivarnTaskBse::SetCellSize(int32_t size) {
  Guard guard(lock);
  CellSize = size;
  if (fieldSized) ApplyCellSize();
}

void VivarnTaskBse::SetResetMode(int32_t mode) {
  Guard guard(lock);
  ResetMode = mode;
}

void VivarnTaskBse::SetPeriodicResetOn(bool on) {
  Guard guard(lock);
  PeriodicResetOn = on;
}

void VivarnTaskBse::SetResetPeriod(uint32_t generations) {
  Guard guard(lock);
  ResetPeriod = generations;
}

void VivarnTaskBse::SetShowStat(bool on) {
  Guard guard(lock);
  ShowStat = on;
}

void VivarnTaskBse::SetShowFPS(bool on) {
  Guard guard(lock);
  ShowFPS = on;
}

void VivarnTaskBse::SetAutoReset(bool on) {
  Guard guard(lock);
  AutoReset = on;
}

void VivarnTaskBse::SetDieSlowly(bool on) {
  Guard guard(lock);
  DieSlowly = on;
}

void VivarnTaskBse::SetDieStep(float factor) {
  Guard guard(lock);
  DieStep = factor;
}

void VivarnTaskBse::SetLifeSpeed(float milliseconds) {
  Guard guard(lock);
  LifeSpeed = milliseconds;
}

void VivarnTaskBse::SetMonitors(int32_t mode) {
  Guard guard(lock);
  Monitors = mode;
}

void VivarnTaskBse::SetOnBattery(uint32_t choice) {
  Guard guard(lock);
  OnBattery = choice;
}

void VivarnTaskBse::SetMouseTolerance(uint32_t pixels) {
  Guard guard(lock);
  MouseTolerance = pixels;
}

void VivarnTaskBse::SetShowClock(bool on) {
  Guard guard(lock);
  ShowClock = on;
}

void VivarnTaskBse::SetSmoothGenerations(bool on) {
  Guard guard(lock);
  SmoothGenerations = on;
}

FieldDrawPath VivarnTaskBse::DrawPath() const {
  Guard guard(lock);
  return inside->drawPath;
}

void VivarnTaskBse::SetFieldDrawMode(int32_t mode) {
  Guard guard(lock);
  FieldDrawMode = mode == 1 ? 1 : 0;
  for (size_t i = 0; i < inside->FieldCount(); ++i) {
    FieldPair& pair = inside->Pair(i);
    pair.mesh.Build(pair.field.columns, pair.field.rows, DrawMode());
  }
}

void VivarnTaskBse::SetPatternName(const std::string& name) {
  const GalleryEntry* entry = name.empty() ? nullptr : FindGalleryEntry(name);
  Guard guard(lock);
  PatternName = name;
  inside->chosen = entry != nullptr ? GalleryPattern(*entry) : nullptr;
  inside->chosenName = entry != nullptr ? entry->name : std::string();
  inside->cutLogged = false;
}

void VivarnTaskBse::SetPatternFile(const std::string& path) {
  bool galleryChosen = false;
  {
    Guard guard(lock);
    PatternFile = path;
    galleryChosen = inside->chosen != nullptr && !PatternName.empty();
    if (!galleryChosen) {
      inside->chosen = nullptr;
      inside->chosenName.clear();
      inside->cutLogged = false;
    }
  }
  if (galleryChosen || path.empty()) return;

  std::string text;
  auto pattern = std::make_shared<Pattern>();
  PatternReadError error;
  if (!ReadFileText(path, kMaxPatternBytes, text)) {
    MainLog() << "<!> The pattern file \"" << path << "\" cannot be read; the pattern mode fills the whole field instead.\n";
    return;
  }
  if (!ReadPattern(text, *pattern, error) || pattern->cells.empty()) {
    MainLog() << "<!> The pattern file \"" << path << "\" holds no usable pattern (reason "
              << static_cast<int>(error.reason) << ", line " << static_cast<uint32_t>(error.line) << ", column " << static_cast<uint32_t>(error.column)
              << "); the pattern mode fills the whole field instead.\n";
    return;
  }
  Guard guard(lock);
  if (PatternFile != path || inside->chosen != nullptr) return;  // chosen again meanwhile
  inside->chosenName = FilePatternName(*pattern, path);
  inside->chosen = std::move(pattern);
}

void VivarnTaskBse::SetPatternChoice(const std::string& galleryName, const std::string& filePath,
                                     std::shared_ptr<const Pattern> pattern) {
  Guard guard(lock);
  PatternName = galleryName;
  PatternFile = filePath;
  const GalleryEntry* entry = galleryName.empty() || pattern == nullptr ? nullptr : FindGalleryEntry(galleryName);
  inside->chosenName = entry != nullptr ? entry->name
                       : pattern != nullptr ? FilePatternName(*pattern, filePath)
                                            : std::string();
  inside->chosen = std::move(pattern);
  inside->cutLogged = false;
}

void VivarnTaskBse::SetBkColor(float red, float green, float blue, float alpha) {
  Guard guard(lock);
  BkColor[0] = red;
  BkColor[1] = green;
  BkColor[2] = blue;
  BkColor[3] = alpha;
  for (size_t i = 0; i < inside->FieldCount(); ++i) inside->Pair(i).mesh.SetBackground(BkColor);
  if (host != nullptr) host->BackgroundChanged(BkColor);
}

void VivarnTaskBse::SetVSyncOn(uint32_t interval) {
  Guard guard(lock);
  VSyncOn = interval;
  if (host != nullptr) host->VerticalSyncChanged(interval);
}
