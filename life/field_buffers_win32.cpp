#include "life/field_buffers_win32.h"

#include "engine/core/log.h"
#include "life/vivarn_task.h"

namespace {
// Byte counts as the GL's signed size type.
template <class T>
GLsizeiptr Bytes(const AlignedArray<T>& array) {
  return static_cast<GLsizeiptr>(array.size() * sizeof(T));
}
}  // namespace

void FieldBuffersRelease::operator()(FieldBuffers* buffers) const { delete buffers; }

FieldBuffers::FieldBuffers() : context(wglGetCurrentContext()), gl(LoadGLBufferEntries()) {}

FieldBuffers::~FieldBuffers() {
  if (context != nullptr && wglGetCurrentContext() == context) DeleteBuffers();
}

void FieldBuffers::DeleteBuffers() {
  if (positions != 0 && gl.deleteBuffers) {
    const GLuint names[4] = {positions, texCoords, colours, indices};
    gl.deleteBuffers(4, names);
  }
  positions = texCoords = colours = indices = 0;
  tracker.Forget();
}

bool FieldBuffers::Refresh(const VivarnTaskBse& task) {
  if (unusable || !task.useBufferObjects || !gl.HasBuffers()) return false;
  // A buffer the context does not know means another context now has this
  // one's handle: nothing sent to the old one is here.
  if (positions == 0 || !gl.isBuffer(positions)) {
    GLuint names[4] = {};
    gl.genBuffers(4, names);
    positions = names[0];
    texCoords = names[1];
    colours = names[2];
    indices = names[3];
    tracker.Forget();
  }
  const FieldArrayVersions now{task.geometryChanges, task.colourChanges};
  const FieldUploadPlan plan = tracker.Plan(now);
  if (!plan.sendGeometry && !plan.sendColours) return true;
  if (plan.sendGeometry) {
    gl.bindBuffer(GL_ARRAY_BUFFER, positions);
    gl.bufferData(GL_ARRAY_BUFFER, Bytes(task.vertices), task.vertices.get(), GL_STATIC_DRAW);
    gl.bindBuffer(GL_ARRAY_BUFFER, texCoords);
    gl.bufferData(GL_ARRAY_BUFFER, Bytes(task.texCoords), task.texCoords.get(), GL_STATIC_DRAW);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices);
    gl.bufferData(GL_ELEMENT_ARRAY_BUFFER, Bytes(task.indices), task.indices.get(), GL_STATIC_DRAW);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  }
  if (plan.sendColours) {
    // A whole new store each time: the driver need not wait for a draw that
    // still reads the old colours.
    gl.bindBuffer(GL_ARRAY_BUFFER, colours);
    gl.bufferData(GL_ARRAY_BUFFER, Bytes(task.colours), task.colours.get(), GL_STREAM_DRAW);
  }
  gl.bindBuffer(GL_ARRAY_BUFFER, 0);
  if (glGetError() == GL_OUT_OF_MEMORY) {
    MainLog() << "<!> The field does not fit in GL buffers; drawing it from client memory.\n";
    DeleteBuffers();
    unusable = true;
    return false;
  }
  tracker.Sent(now);
  return true;
}

void FieldBuffers::Draw(const VivarnTaskBse& task, bool textured) {
  const bool buffered = Refresh(task);
  // With a buffer bound, the array "pointers" are offsets into it.
  auto source = [this, buffered](GLuint buffer, const void* client) -> const void* {
    if (!buffered) return client;
    gl.bindBuffer(GL_ARRAY_BUFFER, buffer);
    return nullptr;
  };
  glVertexPointer(2, GL_FLOAT, 0, source(positions, task.vertices.get()));
  if (textured) glTexCoordPointer(2, GL_FLOAT, 0, source(texCoords, task.texCoords.get()));
  glColorPointer(4, GL_UNSIGNED_BYTE, 0, source(colours, task.colours.get()));
  const void* first = task.indices.get();
  if (buffered) {
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices);
    first = nullptr;
  }
  // indexCount, not columns x rows x 6: the arrays were sized together, so
  // the call never reads past them even while a resize is pending. The range
  // is every vertex, which spares the driver finding it.
  if (gl.drawRangeElements)
    gl.drawRangeElements(GL_TRIANGLES, 0, static_cast<GLuint>(task.vertexCount - 1), task.indexCount,
                         GL_UNSIGNED_INT, first);
  else
    glDrawElements(GL_TRIANGLES, task.indexCount, GL_UNSIGNED_INT, first);
  if (buffered) {
    // The rest of the frame draws from client memory.
    gl.bindBuffer(GL_ARRAY_BUFFER, 0);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  }
}
