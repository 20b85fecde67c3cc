// The one module handle the program's Win32 code uses: for window classes,
// dialog templates, string tables and "res:" resources alike.
#pragma once

#include <windows.h>

// The instance the entry point records in the module object (a test program
// may record a mapped copy of the built program instead), else the
// executable itself, so code that runs before the record still finds its
// resources.
HINSTANCE ProgramModule();
