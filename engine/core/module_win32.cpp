#include "engine/core/module_win32.h"

#include "engine/core/module.h"

HINSTANCE ProgramModule() {
  void* recorded = VekModule::Instance()->instance;
  return recorded != nullptr ? static_cast<HINSTANCE>(recorded) : GetModuleHandleW(nullptr);
}
