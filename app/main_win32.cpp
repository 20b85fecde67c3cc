// Entry point of the screen saver.
#include <windows.h>

#include "engine/core/kernel.h"
#include "engine/core/log.h"
#include "engine/core/module.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  MainLog().SetConsole(false);
  VekModule::Instance()->instance = instance;
  VekKernel::Instance()->Run();
  return 0;
}
