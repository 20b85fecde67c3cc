#include "life/field_buffers_win32.h"

#include "engine/core/log.h"
#include "engine/gl/texture.h"
#include "engine/gl/gl_caps.h"
#include "engine/gl/gl_window_win32.h"
#include "life/field/field_mesh.h"
#include "life/field/field_step.h"
#include "life/field/life_field.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {
// Texture units of the shader path: the particle texture keeps unit 0, where
// the rest of the frame (and the bound-texture cache) expects it.
constexpr GLint kParticleUnit = 0, kCellsUnit = 1, kPreviousUnit = 2, kPaletteUnit = 3, kEarlierUnit = 4;
// Colour table entries per row of its texture.
constexpr int32_t kPaletteWidth = 256;

// Cell units in, the mesh's own coordinates.
const char kFieldVertexShader[] = R"(#version 110
varying vec2 cellPos;
void main() {
  cellPos = gl_Vertex.xy;
  gl_Position = ftransform();
}
)";

// The colours the generation step gives the mesh (life/field/field_step.cpp):
// a cell that holds anything its table entry, live ones opaque, fading ones
// with alpha 1 - 1 / (magnitude + 1), dying states of the Generations rules
// -(index * 256 + state) fading in even steps; a cell that just became empty
// the background, one that stayed empty nothing. Alphas are rounded to bytes
// as the vertex colours are. Draw mode 0 modulates each cell's colour with
// the particle texture, repeated cell by cell as the mesh's coordinates do;
// mode 1 interpolates the colours of a cell's corners over the two
// triangles the mesh splits it into (the diagonal from its lower right to
// its upper left corner), corners past the last row and column repeating it.
// With smooth generations (`blend` below 1) each cell's colour is part the
// last generation's (from `previous`, and `earlier` for what became empty
// then) and part this one's, mixed with premultiplied alpha so that a cell
// fading in from nothing keeps its hue.
const char kFieldFragmentShader[] = R"(#version 110
uniform sampler2D cells;
uniform sampler2D previous;
uniform sampler2D earlier;
uniform float blend;
uniform sampler2D palette;
uniform sampler2D particle;
uniform vec2 fieldSize;
uniform vec2 paletteShape;
uniform float tableSize;
uniform float states;
uniform vec4 background;
uniform float smoothField;
uniform float textured;
varying vec2 cellPos;

float Value(sampler2D grid, vec2 cell) { return texture2D(grid, (cell + 0.5) / fieldSize).r; }
float Byte(float a) { return floor(a * 255.0 + 0.5) / 255.0; }
float Wrap(float index) {
  float w = index - floor(index / tableSize) * tableSize;
  if (w >= tableSize) w -= tableSize;
  if (w < 0.0) w += tableSize;
  return w;
}
vec3 Entry(float index) {
  float row = floor(index / paletteShape.x);
  vec2 at = vec2(index - row * paletteShape.x, row);
  return texture2D(palette, (at + 0.5) / paletteShape).rgb;
}
vec4 Colour(sampler2D now, sampler2D before, vec2 cell) {
  float v = Value(now, cell);
  float m = abs(v);
  if (m < 1e-7) return Value(before, cell) != 0.0 ? background : vec4(0.0);
  if (v < 0.0 && states > 2.0) {
    float bits = m < 16777216.0 ? floor(m) : 0.0;
    float index = floor(bits / 256.0);
    float state = bits - index * 256.0;
    return vec4(Entry(Wrap(index)), Byte((states - state) / (states - 1.0)));
  }
  return vec4(Entry(Wrap(floor(m))), v < 0.0 ? Byte(1.0 - 1.0 / (m + 1.0)) : 1.0);
}
vec4 Shown(vec2 cell) {
  vec4 c = Colour(cells, previous, cell);
  if (blend >= 1.0) return c;
  vec4 p = Colour(previous, earlier, cell);
  vec4 m = mix(vec4(p.rgb * p.a, p.a), vec4(c.rgb * c.a, c.a), blend);
  return m.a > 0.0 ? vec4(m.rgb / m.a, m.a) : vec4(0.0);
}
void main() {
  vec2 cell = floor(cellPos);
  if (smoothField < 0.5) {
    vec4 c = Shown(cell);
    if (textured > 0.5) c *= texture2D(particle, cellPos);
    gl_FragColor = c;
    return;
  }
  vec2 f = cellPos - cell;
  vec2 far = min(cell + 1.0, fieldSize - 1.0);
  vec4 c0 = Shown(cell);
  vec4 c1 = Shown(vec2(far.x, cell.y));
  vec4 c2 = Shown(far);
  vec4 c3 = Shown(vec2(cell.x, far.y));
  if (f.x + f.y < 1.0)
    gl_FragColor = c0 + f.x * (c1 - c0) + f.y * (c3 - c0);
  else
    gl_FragColor = c2 + (1.0 - f.x) * (c3 - c2) + (1.0 - f.y) * (c1 - c2);
}
)";

// Byte counts as the GL's signed size type.
template <class T>
GLsizeiptr Bytes(const AlignedArray<T>& array) {
  return static_cast<GLsizeiptr>(array.size() * sizeof(T));
}
}  // namespace

void FieldBuffersRelease::operator()(FieldBuffers* buffers) const { delete buffers; }

FieldBuffers::FieldBuffers() : context(wglGetCurrentContext()), gl(LoadGLBufferEntries()) {}

FieldBuffers::~FieldBuffers() {
  if (context != nullptr && wglGetCurrentContext() == context) {
    DeleteBuffers();
    DeleteShaderObjects();
  }
}

void FieldBuffers::DeleteShaderObjects() {
  if (program != 0) shaderGl.deleteProgram(program);
  program = 0;
  const GLuint names[4] = {valueTextures[0], valueTextures[1], valueTextures[2], paletteTexture};
  if (names[0] != 0) glDeleteTextures(4, names);
  valueTextures[0] = valueTextures[1] = valueTextures[2] = paletteTexture = 0;
  textureTracker.Forget();
}

bool FieldBuffers::DeferShaderBuild() {
  if (shadersTried || buildDeferred) return false;
  buildDeferred = true;
  return true;
}

bool FieldBuffers::ShadersReady() {
  if (shadersTried) return program != 0;
  shadersTried = true;
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  if (!CanUseFieldShaders(version, extensions)) return false;
  // OpenGL 2.0 promises only two texture units to a fragment shader; every
  // driver that offers float textures has far more, but one that does not
  // keeps the mesh.
  GLint units = 0;
  glGetIntegerv(GL_MAX_TEXTURE_IMAGE_UNITS, &units);
  if (units <= kEarlierUnit) return false;
  shaderGl = LoadGLShaderEntries();
  std::string log;
  program = BuildShaderProgram(shaderGl, kFieldVertexShader, kFieldFragmentShader, log);
  if (program == 0) {
    // Once a run: a preview's context is made again and again.
    static bool told = false;
    if (!told) MainLog() << "<!> The field's shaders failed; drawing it without them: " << log << "\n";
    told = true;
    return false;
  }
  coreFloatTextures = HasCoreFloatTextures(version);
  GLuint names[4] = {};
  glGenTextures(4, names);
  std::copy_n(names, 3, valueTextures);
  paletteTexture = names[3];
  for (GLuint name : names) {
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  }
  // Unit 0's binding is the bound-texture cache's.
  glBindTexture(GL_TEXTURE_2D, 0);
  ResetBoundTextures();
  shaderGl.useProgram(program);
  shaderGl.uniform1i(shaderGl.getUniformLocation(program, "cells"), kCellsUnit);
  shaderGl.uniform1i(shaderGl.getUniformLocation(program, "previous"), kPreviousUnit);
  shaderGl.uniform1i(shaderGl.getUniformLocation(program, "earlier"), kEarlierUnit);
  shaderGl.uniform1i(shaderGl.getUniformLocation(program, "palette"), kPaletteUnit);
  shaderGl.uniform1i(shaderGl.getUniformLocation(program, "particle"), kParticleUnit);
  auto at = [this](const char* name) { return shaderGl.getUniformLocation(program, name); };
  uniforms = {at("fieldSize"), at("paletteShape"), at("tableSize"), at("states"),
              at("background"), at("smoothField"), at("textured"), at("blend")};
  shaderGl.useProgram(0);
  return true;
}

void FieldBuffers::SendValues(GLuint texture, const float* values, int32_t columns, int32_t rows, bool resize) {
  glBindTexture(GL_TEXTURE_2D, texture);
  const GLenum format = coreFloatTextures ? GL_RED : GL_LUMINANCE;
  // The field's own array: the driver copies it as it needs.
  if (resize)
    glTexImage2D(GL_TEXTURE_2D, 0, coreFloatTextures ? GL_R32F : GL_LUMINANCE32F_ARB, columns, rows, 0, format,
                 GL_FLOAT, values);
  else
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, columns, rows, format, GL_FLOAT, values);
}

void FieldBuffers::DrawWithShaders(const LifeField& field, const FieldMesh& mesh, TextureBase* particleTexture,
                                   float blend) {
  const FieldValueVersions now{mesh.geometryChanges, mesh.colourChanges, mesh.valueSteps};
  const FieldTexturePlan plan = textureTracker.Plan(now);
  const bool smooth = blend < 1.0f;
  shaderGl.activeTexture(GL_TEXTURE0 + kCellsUnit);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  // After a step the field's next cells hold the generation before.
  const float* before = field.nextCells.get();
  if (plan.sendAll) {
    SendValues(valueTextures[current], field.cells.get(), field.columns, field.rows, plan.resize);
    SendValues(valueTextures[previous], before, field.columns, field.rows, plan.resize);
    // The one before that is gone: the last generation stands in for it
    // (sized with the others, so that later generations fit it).
    earlierHeld = plan.resize || smooth;
    if (earlierHeld) SendValues(valueTextures[earlier], before, field.columns, field.rows, plan.resize);
    // Whole rows of entries; the two behind the palette are never sampled.
    paletteRows = (mesh.paletteSize + kPaletteWidth - 1) / kPaletteWidth;
    std::vector<Rgba8> entries(static_cast<size_t>(paletteRows) * kPaletteWidth);
    std::copy_n(mesh.paletteColours.get(), mesh.paletteSize, entries.data());
    glBindTexture(GL_TEXTURE_2D, paletteTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kPaletteWidth, paletteRows, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 entries.data());
  } else if (plan.sendCurrent) {
    // The texture of the generation before last takes the new one.
    const int oldest = earlier;
    earlier = previous;
    previous = current;
    current = oldest;
    SendValues(valueTextures[current], field.cells.get(), field.columns, field.rows, false);
    earlierHeld = true;
  }
  if (smooth && !earlierHeld) {
    SendValues(valueTextures[earlier], before, field.columns, field.rows, false);
    earlierHeld = true;
  }
  textureTracker.Sent(now);
  glBindTexture(GL_TEXTURE_2D, valueTextures[current]);
  shaderGl.activeTexture(GL_TEXTURE0 + kPreviousUnit);
  glBindTexture(GL_TEXTURE_2D, valueTextures[previous]);
  shaderGl.activeTexture(GL_TEXTURE0 + kEarlierUnit);
  glBindTexture(GL_TEXTURE_2D, valueTextures[earlier]);
  shaderGl.activeTexture(GL_TEXTURE0 + kPaletteUnit);
  glBindTexture(GL_TEXTURE_2D, paletteTexture);
  shaderGl.activeTexture(GL_TEXTURE0);

  const bool textured = mesh.drawMode == 0 && particleTexture != nullptr;
  if (textured) {
    // Enabled as the mesh's path leaves it, for what the frame draws next.
    glEnable(GL_TEXTURE_2D);
    particleTexture->Bind();
  }
  shaderGl.useProgram(program);
  shaderGl.uniform2f(uniforms.fieldSize, static_cast<float>(field.columns), static_cast<float>(field.rows));
  shaderGl.uniform2f(uniforms.paletteShape, static_cast<float>(kPaletteWidth), static_cast<float>(paletteRows));
  shaderGl.uniform1f(uniforms.tableSize, static_cast<float>(mesh.paletteSize));
  shaderGl.uniform1f(uniforms.states, static_cast<float>(field.SteppedStates()));
  shaderGl.uniform4f(uniforms.background, ColourByte(mesh.background[0]) / 255.0f, ColourByte(mesh.background[1]) / 255.0f,
                     ColourByte(mesh.background[2]) / 255.0f, 1.0f);
  shaderGl.uniform1f(uniforms.smoothField, mesh.drawMode == 1 ? 1.0f : 0.0f);
  shaderGl.uniform1f(uniforms.textured, textured ? 1.0f : 0.0f);
  shaderGl.uniform1f(uniforms.blend, smooth ? std::max(blend, 0.0f) : 1.0f);
  const float w = static_cast<float>(field.columns);
  const float h = static_cast<float>(field.rows);
  glBegin(GL_QUADS);
  glVertex2f(0.0f, 0.0f);
  glVertex2f(w, 0.0f);
  glVertex2f(w, h);
  glVertex2f(0.0f, h);
  glEnd();
  shaderGl.useProgram(0);
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

void DrawFieldMesh(const LifeField& field, FieldMesh& mesh, std::unique_ptr<FieldBuffers, FieldBuffersRelease>& buffers,
                   OutputSize output, TextureBase* particleTexture, FieldDrawSwitches switches) {
  if (mesh.columns <= 0 || mesh.rows <= 0) return;
  // The buffers belong to one context; a new one (the preview's window
  // closed and opened again) starts from nothing.
  if (!buffers || buffers->Context() != wglGetCurrentContext()) buffers.reset(new FieldBuffers());
  // A context's first frame goes to the screen without the field while its
  // shaders are still to be built: building them takes tens of milliseconds
  // (most of it the driver's compiler starting up), so it waits for the
  // next frame and the saver covers the screen as soon as a bare GL program
  // would; the cells follow one frame later.
  if (switches.useShaders && mesh.valuesOnly && !mesh.colours && buffers->DeferShaderBuild()) {
    // The mode switch the window makes after its first frame comes after
    // the first frame with cells instead.
    GLWindow::Instance()->HoldModeSwitchAFrame();
    return;
  }
  const bool shaders = switches.useShaders && field.cells && field.columns == mesh.columns &&
                       field.rows == mesh.rows && buffers->ShadersReady();
  if (!shaders && mesh.valuesOnly) {
    mesh.valuesOnly = false;
    // Where shaders were expected the mesh was left without arrays.
    if (!mesh.colours) mesh.Build(mesh.columns, mesh.rows, mesh.drawMode);
    RepaintFieldColours(field, mesh);
  }
  if (shaders && !mesh.valuesOnly) {
    mesh.valuesOnly = true;
    // The arrays serve the mesh's path alone (hundreds of megabytes at the
    // finest cell sizes).
    mesh.Release();
  }

  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glLoadIdentity();
  glScalef(static_cast<float>(output.width) / static_cast<float>(mesh.columns),
           static_cast<float>(output.height) / static_cast<float>(mesh.rows), 1.0f);
  if (shaders) {
    buffers->DrawWithShaders(field, mesh, particleTexture, switches.generationBlend);
    return;
  }
  if (mesh.indexCount <= 0) return;

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
  buffers->Draw(mesh, textured, switches.useBufferObjects);
  glPopClientAttrib();
}
