#include "engine/core/module.h"

#include "engine/core/log.h"

void VekModuleBase::OnCreate() {
  instance = nullptr;
  mainWindow = nullptr;
  LifecycleLog() << "VekModuleBase this:" << std::hex << static_cast<const void*>(this) << std::dec
                 << " created\n";
}

void VekModuleBase::OnDestroy() {
  LifecycleLog() << "VekModuleBase this:" << std::hex << static_cast<const void*>(this) << std::dec
                 << " destroyed\n";
}
