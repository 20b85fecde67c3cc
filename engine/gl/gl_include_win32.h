// OpenGL 1.1 with the extension constants from mingw's glext.h.
#pragma once

#include <windows.h>

#include <GL/gl.h>
#include <GL/glext.h>
