// The module object: the program's instance handle and the GL window's handle.
// The entry point records the instance here; Win32 code reads it through
// ProgramModule() (module_win32.h), never on its own.
#pragma once

#include "engine/core/ref_count.h"
#include "engine/core/singleton.h"
#include "engine/core/task.h"

class VekModuleBase : public IRefCountPtrBase {
 public:
  void OnCreate() override;
  void OnDestroy() override;

  void* instance = nullptr;           // HINSTANCE
  NativeWindow mainWindow = nullptr;  // HWND of the GL window once shown
};

class VekModule : public CRefCountPtrT<VekModuleBase> {
 public:
  using CRefCountPtrT<VekModuleBase>::CRefCountPtrT;
  static VekModule& Instance() {
    return SingletonInstance<VekModule, VekModuleBase, SingletonSlot::VekModule>();
  }
};
