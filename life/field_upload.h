// What the next draw of the field must hand to the GL when the arrays live in
// buffer objects: the geometry (positions, texture coordinates, indices) only
// after a rebuild, the vertex colours only after they changed, nothing on a
// frame in which neither did. Portable: the GL side asks, then reports what
// it sent.
#pragma once

#include <cstdint>

// A mesh's change counts (geometryChanges, colourChanges) at one moment.
struct FieldArrayVersions {
  uint32_t geometry = 0;
  uint32_t colours = 0;
};

struct FieldUploadPlan {
  // Positions, texture coordinates and indices into buffers sized for them;
  // the colour buffer is sized anew with them.
  bool sendGeometry = false;
  // The whole colour array into its buffer.
  bool sendColours = false;
};

class FieldUploadTracker {
 public:
  // What a draw that sees `now` must send first.
  FieldUploadPlan Plan(FieldArrayVersions now) const;
  // The plan for `now` reached the GL.
  void Sent(FieldArrayVersions now);
  // The buffers are gone (a new context): the next plan sends everything.
  void Forget();

 private:
  bool holdsArrays = false;
  FieldArrayVersions held;
};
