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

// The shader path keeps the cell values of this generation and of the two
// before in textures (a cell that just became empty is drawn unlike one that
// stayed empty; smooth generations fade from the last generation's picture)
// and the colour table in one more.
struct FieldValueVersions {
  uint32_t geometry = 0;  // geometryChanges: a new size
  uint32_t colours = 0;   // colourChanges: anything the picture depends on
  uint32_t steps = 0;     // valueSteps: generations
};

struct FieldTexturePlan {
  // Both generations and the colour table, into textures made anew when
  // `resize`.
  bool sendAll = false;
  bool resize = false;
  // With sendAll: the colour table too. Generations alone (several since the
  // last draw) leave it as it is.
  bool sendPalette = false;
  // One generation and nothing else since the last draw: only the new cells,
  // into the texture that held the oldest generation, which then counts as
  // this generation's.
  bool sendCurrent = false;
};

class FieldTextureTracker {
 public:
  FieldTexturePlan Plan(FieldValueVersions now) const;
  void Sent(FieldValueVersions now);
  // The textures are gone (a new context).
  void Forget();

 private:
  bool holdsTextures = false;
  FieldValueVersions held;
};
