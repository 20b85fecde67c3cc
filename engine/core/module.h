// The module object: the program's instance handle and the GL window's handle,
// shared by the shell, the GL window and the resource loader.
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
