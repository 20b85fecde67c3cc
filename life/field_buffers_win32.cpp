#include "life/field_buffers_win32.h"

#include "engine/core/log.h"
#include "engine/gl/texture.h"
#include "life/field/field_mesh.h"

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

bool FieldBuffers::Refresh(const FieldMesh& mesh, bool useBufferObjects) {
  if (unusable || !useBufferObjects || !gl.HasBuffers()) return false;
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
  const FieldArrayVersions now{mesh.geometryChanges, mesh.colourChanges};
  const FieldUploadPlan plan = tracker.Plan(now);
  if (!plan.sendGeometry && !plan.sendColours) return true;
  if (plan.sendGeometry) {
    gl.bindBuffer(GL_ARRAY_BUFFER, positions);
    gl.bufferData(GL_ARRAY_BUFFER, Bytes(mesh.vertices), mesh.vertices.get(), GL_STATIC_DRAW);
    gl.bindBuffer(GL_ARRAY_BUFFER, texCoords);
    gl.bufferData(GL_ARRAY_BUFFER, Bytes(mesh.texCoords), mesh.texCoords.get(), GL_STATIC_DRAW);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices);
    gl.bufferData(GL_ELEMENT_ARRAY_BUFFER, Bytes(mesh.indices), mesh.indices.get(), GL_STATIC_DRAW);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  }
  if (plan.sendColours) {
    // A whole new store each time: the driver need not wait for a draw that
    // still reads the old colours.
    gl.bindBuffer(GL_ARRAY_BUFFER, colours);
    gl.bufferData(GL_ARRAY_BUFFER, Bytes(mesh.colours), mesh.colours.get(), GL_STREAM_DRAW);
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

void FieldBuffers::Draw(const FieldMesh& mesh, bool textured, bool useBufferObjects) {
  const bool buffered = Refresh(mesh, useBufferObjects);
  // With a buffer bound, the array "pointers" are offsets into it.
  auto source = [this, buffered](GLuint buffer, const void* client) -> const void* {
    if (!buffered) return client;
    gl.bindBuffer(GL_ARRAY_BUFFER, buffer);
    return nullptr;
  };
  glVertexPointer(2, GL_FLOAT, 0, source(positions, mesh.vertices.get()));
  if (textured) glTexCoordPointer(2, GL_FLOAT, 0, source(texCoords, mesh.texCoords.get()));
  glColorPointer(4, GL_UNSIGNED_BYTE, 0, source(colours, mesh.colours.get()));
  const void* first = mesh.indices.get();
  if (buffered) {
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices);
    first = nullptr;
  }
  // indexCount, not columns x rows x 6: the arrays were sized together, so
  // the call never reads past them even while a resize is pending. The range
  // is every vertex, which spares the driver finding it.
  if (gl.drawRangeElements)
    gl.drawRangeElements(GL_TRIANGLES, 0, static_cast<GLuint>(mesh.vertexCount - 1), mesh.indexCount,
                         GL_UNSIGNED_INT, first);
  else
    glDrawElements(GL_TRIANGLES, mesh.indexCount, GL_UNSIGNED_INT, first);
  if (buffered) {
    // The rest of the frame draws from client memory.
    gl.bindBuffer(GL_ARRAY_BUFFER, 0);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  }
}

void DrawFieldMesh(const FieldMesh& mesh, std::unique_ptr<FieldBuffers, FieldBuffersRelease>& buffers,
                   OutputSize output, TextureBase* particleTexture, bool useBufferObjects) {
  if (mesh.columns <= 0 || mesh.rows <= 0 || mesh.indexCount <= 0) return;
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glLoadIdentity();
  glScalef(static_cast<float>(output.width) / static_cast<float>(mesh.columns),
           static_cast<float>(output.height) / static_cast<float>(mesh.rows), 1.0f);

  // The buffers belong to one context; a new one (the preview's window
  // closed and opened again) starts from nothing.
  if (!buffers || buffers->Context() != wglGetCurrentContext()) buffers.reset(new FieldBuffers());

  glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
  // Without the particle texture the cells are plain squares: texturing stays
  // off so that whatever texture was bound last does not tint them.
  const bool textured = mesh.drawMode == 0 && particleTexture != nullptr;
  if (textured) {
    glEnable(GL_TEXTURE_2D);
    particleTexture->Bind();
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  }
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  buffers->Draw(mesh, textured, useBufferObjects);
  glPopClientAttrib();
}
