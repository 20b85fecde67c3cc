// The store of the user's named palettes and the identity of the current one.
// One process-wide instance (CPaletteContainer::Instance()); the palette setup
// dialog keeps a private one as a working copy. The list operations are
// portable; Load and Save read and write the registry and exist in Windows
// builds only (palette_store_win32.cpp).
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/core/ref_count.h"
#include "engine/core/singleton.h"
#include "palette/palette_record.h"

class CPaletteContainerBase : public IRefCountPtrBase {
 public:
  CPaletteContainerBase() = default;
  ~CPaletteContainerBase() override;

#ifdef _WIN32
  // Replaces the contents with the registry's palettes, then guarantees a
  // palette named "Default" and, when none was stored, a current palette.
  // A key without values (a first run) gets the starter palettes after
  // "Default" and is written at once. False (container left empty, nothing
  // added) when the key cannot be opened or created.
  bool Load();
  // Rebuilds the registry key from the contents: palettes deleted since the
  // last save disappear. False when the key could not be recreated or a
  // value stream could not be opened (the save stops there).
  bool Save();
#endif

  // Deletes every record; `currentGuid` stays.
  void Clear();
  // Deep copy: same names, GUIDs, gradients and current palette.
  void CopyFrom(const CPaletteContainerBase& source);
  // The first record with that GUID, or null.
  PaletteRecord* FindByGuid(const PaletteGuid& guid) const;
  // Appends a record with a fresh GUID; returns its index. `currentGuid` is
  // not changed.
  int32_t AddPalette(const CGradient& gradient, const PaletteChar* name);
  // Out-of-range indices do nothing.
  void RemoveAt(int32_t index);
  // The built-in rainbow "Default", owned by the caller.
  static std::unique_ptr<PaletteRecord> MakeDefaultPalette();
  // The last step of Load: when no palette with a GUID is named "Default"
  // (in any case) the built-in one is appended; when `currentGuid` is zero it
  // becomes the GUID of the first such "Default".
  void EnsureDefaultPalette();

  int32_t Count() const { return static_cast<int32_t>(palettes.size()); }
  // The index of the record with that GUID, or -1.
  int32_t IndexOfGuid(const PaletteGuid& guid) const;

  // Makes the palette at `index` current. False, and nothing changes, for an
  // index out of range or a palette without a GUID (loaded from a value whose
  // name is not one): such a palette can never be current.
  bool MakeCurrent(int32_t index);

  // A zero GUID names no palette: FindByGuid and IndexOfGuid never find it.
  PaletteGuid currentGuid;
  std::vector<std::unique_ptr<PaletteRecord>> palettes;
  // Guards the process-wide store between the configuration dialogs and the
  // Life task's Start on the kernel thread. Taken before the task's lock,
  // never while holding it.
  mutable std::recursive_mutex lock;
};

class CPaletteContainer : public CRefCountPtrT<CPaletteContainerBase> {
 public:
  static CPaletteContainer& Instance() {
    return SingletonInstance<CPaletteContainer, CPaletteContainerBase, SingletonSlot::PaletteContainer>();
  }
};

// The process-wide store held under its lock for as long as this lives.
class LockedPaletteStore {
 public:
  LockedPaletteStore() : store_(CPaletteContainer::Instance()), guard_(store_->lock) {}
  LockedPaletteStore(const LockedPaletteStore&) = delete;
  LockedPaletteStore& operator=(const LockedPaletteStore&) = delete;
  CPaletteContainerBase& operator*() const { return *store_.get(); }
  CPaletteContainerBase* operator->() const { return store_.get(); }

 private:
  CPaletteContainer store_;
  std::lock_guard<std::recursive_mutex> guard_;
};
