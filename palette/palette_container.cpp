#include "palette/palette_container.h"

CPaletteContainerBase::~CPaletteContainerBase() { Clear(); }

void CPaletteContainerBase::Clear() { palettes.clear(); }

void CPaletteContainerBase::CopyFrom(const CPaletteContainerBase& source) {
  if (this == &source) return;
  Clear();
  currentGuid = source.currentGuid;
  for (const auto& from : source.palettes) {
    auto record = std::make_unique<PaletteRecord>();
    record->SetName(from->name);
    record->guid = from->guid;
    record->storedName = from->storedName;
    record->gradient.CopyFrom(from->gradient);
    palettes.push_back(std::move(record));
  }
}

PaletteRecord* CPaletteContainerBase::FindByGuid(const PaletteGuid& guid) const {
  const int32_t index = IndexOfGuid(guid);
  return index < 0 ? nullptr : palettes[static_cast<size_t>(index)].get();
}

int32_t CPaletteContainerBase::IndexOfGuid(const PaletteGuid& guid) const {
  if (guid.IsZero()) return -1;
  for (size_t i = 0; i < palettes.size(); ++i) {
    if (palettes[i]->guid == guid) return static_cast<int32_t>(i);
  }
  return -1;
}

int32_t CPaletteContainerBase::AddPalette(const CGradient& gradient, const PaletteChar* name) {
  auto record = std::make_unique<PaletteRecord>();
  record->guid = NewPaletteGuid();
  record->SetName(name);
  record->gradient.CopyFrom(gradient);
  palettes.push_back(std::move(record));
  return Count() - 1;
}

void CPaletteContainerBase::RemoveAt(int32_t index) {
  if (index < 0 || index >= Count()) return;
  palettes.erase(palettes.begin() + index);
}

std::unique_ptr<PaletteRecord> CPaletteContainerBase::MakeDefaultPalette() {
  static const PaletteChar kName[] = {'D', 'e', 'f', 'a', 'u', 'l', 't', 0};
  static const Colour kInner[5] = {0x0080FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000};
  auto record = std::make_unique<PaletteRecord>();
  record->guid = NewPaletteGuid();
  record->SetName(kName);
  CGradient& g = record->gradient;
  for (int i = 0; i < 5; ++i) g.AddPeg(kInner[i], (i + 1) / 6.0);
  g.SetPeg(PEG_START, 0x0000FF, 0.0);
  g.SetPeg(PEG_END, 0xFF00FF, 1.0);
  return record;
}

bool CPaletteContainerBase::MakeCurrent(int32_t index) {
  if (index < 0 || index >= Count()) return false;
  const PaletteGuid& guid = palettes[static_cast<size_t>(index)]->guid;
  if (guid.IsZero()) return false;
  currentGuid = guid;
  return true;
}

void CPaletteContainerBase::EnsureDefaultPalette() {
  // A "Default" without a GUID cannot be current, so it does not count: the
  // built-in one is added beside it.
  for (const auto& record : palettes) {
    if (IsDefaultPaletteName(record->name) && !record->guid.IsZero()) {
      if (currentGuid.IsZero()) currentGuid = record->guid;
      return;
    }
  }
  auto made = MakeDefaultPalette();
  if (currentGuid.IsZero()) currentGuid = made->guid;
  palettes.push_back(std::move(made));
}
