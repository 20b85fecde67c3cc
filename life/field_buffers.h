// The GL buffers that hold a field's mesh (life/field_buffers_win32.h in the
// GL build, nothing headless), as a handle the portable side can own: their
// release knows whether their context is still current.
#pragma once

class FieldBuffers;
struct FieldBuffersRelease {
  void operator()(FieldBuffers* buffers) const;
};
