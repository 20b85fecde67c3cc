// The generation step, fused: one pass over a field computes its next cell
// values and writes its mesh's vertex colours, as drawing wants them.
#pragma once

#include <cstddef>

class LifeField;
class FieldMesh;

struct StepTuning {
  // Colour arrays larger than this many bytes are written with streaming
  // stores. Below it the array stays in a typical last-level cache between
  // generations (and for the draw that reads it), and ordinary stores are
  // faster; above it every line goes to memory anyway, and streaming stores
  // save reading each line in before it is overwritten.
  static constexpr size_t kDefaultStreamingColourBytes = size_t{16} << 20;
  size_t streamingColourBytes = kDefaultStreamingColourBytes;
  // Off: the step keeps to four-cell vectors even on processors with
  // eight-cell ones (tests compare both with the plain recipe).
  bool allowWideVectors = true;
};

// Reseeds first when the field's reseed rules say so, then steps one
// generation and counts it. The mesh must be built for the field's size;
// otherwise only the counters move and the mesh is cleared.
void StepFieldAndMesh(LifeField& field, FieldMesh& mesh, const StepTuning& tuning);

// Every vertex colour of the mesh as the last step would have written it,
// from the field's cells and the generation before (nextCells): for a mesh
// whose steps left the colours alone (FieldMesh::valuesOnly) and that is now
// drawn without shaders.
void RepaintFieldColours(const LifeField& field, FieldMesh& mesh);

// Refills the field by its fill mode; the mesh takes each stored cell's colour.
void ReseedFieldAndMesh(LifeField& field, FieldMesh& mesh);
