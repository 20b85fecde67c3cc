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
const char kFieldColourFunctions[] = R"(#version 110
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
)";

// The field, one fragment per pixel.
const char kFieldMain[] = R"(
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

// The smooth field's vertex colours, one pixel per vertex of its grid
// ((columns + 1) x (rows + 1), the last column and row repeating the field's
// last), exactly the bytes the generation step would write: the mesh's own
// triangles are then drawn with them, and the rasteriser interpolates what it
// interpolates for the mesh.
const char kCornerMain[] = R"(
void main() {
  gl_FragColor = Shown(min(floor(gl_FragCoord.xy), fieldSize - 1.0));
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
  if (cornerProgram != 0) {
    shaderGl.deleteProgram(cornerProgram);
    framebufferGl.deleteFramebuffers(1, &cornerFramebuffer);
    glDeleteTextures(1, &cornerTexture);
    const GLuint names[3] = {gridPositions, gridIndices, gridColours};
    gl.deleteBuffers(3, names);
  }
  cornerProgram = cornerFramebuffer = cornerTexture = gridPositions = gridIndices = gridColours = 0;
  gridColumns = gridRows = 0;
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
  program = BuildShaderProgram(shaderGl, kFieldVertexShader, (std::string(kFieldColourFunctions) + kFieldMain).c_str(),
                               log);
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
  uniforms = PrepareProgram(program);
  PrepareCorners(version, extensions);
  return true;
}

FieldBuffers::Uniforms FieldBuffers::PrepareProgram(GLuint built) {
  shaderGl.useProgram(built);
  auto at = [this, built](const char* name) { return shaderGl.getUniformLocation(built, name); };
  shaderGl.uniform1i(at("cells"), kCellsUnit);
  shaderGl.uniform1i(at("previous"), kPreviousUnit);
  shaderGl.uniform1i(at("earlier"), kEarlierUnit);
  shaderGl.uniform1i(at("palette"), kPaletteUnit);
  shaderGl.uniform1i(at("particle"), kParticleUnit);
  const Uniforms found = {at("fieldSize"), at("paletteShape"), at("tableSize"), at("states"),
                          at("background"), at("smoothField"), at("textured"), at("blend")};
  shaderGl.useProgram(0);
  return found;
}

void FieldBuffers::PrepareCorners(const char* version, const char* extensions) {
  if (!CanRenderToVertexBuffer(version, extensions) || !gl.HasBuffers() || !gl.bufferSubData) return;
  framebufferGl = LoadGLFramebufferEntries();
  if (!framebufferGl.Complete()) return;
  std::string log;
  cornerProgram = BuildShaderProgram(shaderGl, kFieldVertexShader,
                                     (std::string(kFieldColourFunctions) + kCornerMain).c_str(), log);
  if (cornerProgram == 0) {
    static bool told = false;
    if (!told) MainLog() << "<!> The smooth field's vertex-colour shader failed; the field shader interpolates instead: " << log << "\n";
    told = true;
    return;
  }
  cornerUniforms = PrepareProgram(cornerProgram);
  framebufferGl.genFramebuffers(1, &cornerFramebuffer);
  glGenTextures(1, &cornerTexture);
  GLuint names[3] = {};
  gl.genBuffers(3, names);
  gridPositions = names[0];
  gridIndices = names[1];
  gridColours = names[2];
}

void FieldBuffers::SetUniforms(const Uniforms& u, const LifeField& field, const FieldMesh& mesh, bool textured,
                               float blend) {
  shaderGl.uniform2f(u.fieldSize, static_cast<float>(field.columns), static_cast<float>(field.rows));
  shaderGl.uniform2f(u.paletteShape, static_cast<float>(kPaletteWidth), static_cast<float>(paletteRows));
  shaderGl.uniform1f(u.tableSize, static_cast<float>(mesh.paletteSize));
  shaderGl.uniform1f(u.states, static_cast<float>(field.SteppedStates()));
  shaderGl.uniform4f(u.background, ColourByte(mesh.background[0]) / 255.0f, ColourByte(mesh.background[1]) / 255.0f,
                     ColourByte(mesh.background[2]) / 255.0f, 1.0f);
  shaderGl.uniform1f(u.smoothField, mesh.drawMode == 1 ? 1.0f : 0.0f);
  shaderGl.uniform1f(u.textured, textured ? 1.0f : 0.0f);
  shaderGl.uniform1f(u.blend, blend < 1.0f ? std::max(blend, 0.0f) : 1.0f);
}

bool FieldBuffers::BuildGrid(int32_t columns, int32_t rows) {
  gridColumns = gridRows = 0;
  const int32_t w = columns + 1;
  const int32_t h = rows + 1;
  // Made on the last unit the shaders use (units beyond may not exist), whose
  // own texture is bound again after.
  shaderGl.activeTexture(GL_TEXTURE0 + kEarlierUnit);
  glBindTexture(GL_TEXTURE_2D, cornerTexture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glBindTexture(GL_TEXTURE_2D, valueTextures[earlier]);
  shaderGl.activeTexture(GL_TEXTURE0);
  framebufferGl.bindFramebuffer(GL_FRAMEBUFFER, cornerFramebuffer);
  framebufferGl.framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, cornerTexture, 0);
  const bool complete = framebufferGl.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  framebufferGl.bindFramebuffer(GL_FRAMEBUFFER, 0);
  if (!complete) return false;

  // The mesh's grid (FieldMesh::Build, draw mode 1), a row at a time so that
  // no copy of the whole grid is kept in memory.
  const size_t vertexCount = static_cast<size_t>(w) * static_cast<size_t>(h);
  std::vector<float> positionRow(static_cast<size_t>(w) * 2);
  gl.bindBuffer(GL_ARRAY_BUFFER, gridPositions);
  gl.bufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertexCount * 2 * sizeof(float)), nullptr, GL_STATIC_DRAW);
  for (int32_t j = 0; j < h; ++j) {
    for (int32_t i = 0; i < w; ++i) {
      positionRow[static_cast<size_t>(i) * 2] = static_cast<float>(i);
      positionRow[static_cast<size_t>(i) * 2 + 1] = static_cast<float>(j);
    }
    gl.bufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(static_cast<size_t>(j) * positionRow.size() * sizeof(float)),
                     static_cast<GLsizeiptr>(positionRow.size() * sizeof(float)), positionRow.data());
  }
  gl.bindBuffer(GL_ARRAY_BUFFER, gridColours);
  gl.bufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertexCount * sizeof(Rgba8)), nullptr, GL_STREAM_COPY);
  gl.bindBuffer(GL_ARRAY_BUFFER, 0);
  // Each cell's two triangles as the mesh orders them: (1, 3, 0), (1, 2, 3)
  // of its corners from the lower left, counter-clockwise.
  std::vector<uint32_t> indexRow(static_cast<size_t>(columns) * 6);
  gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, gridIndices);
  gl.bufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(static_cast<size_t>(rows) * indexRow.size() * 4),
                nullptr, GL_STATIC_DRAW);
  for (int32_t j = 0; j < rows; ++j) {
    for (int32_t i = 0; i < columns; ++i) {
      const uint32_t c0 = static_cast<uint32_t>(j * w + i);
      const uint32_t c1 = c0 + 1, c2 = c0 + static_cast<uint32_t>(w) + 1, c3 = c0 + static_cast<uint32_t>(w);
      const uint32_t cell[6] = {c1, c3, c0, c1, c2, c3};
      std::copy_n(cell, 6, indexRow.data() + static_cast<size_t>(i) * 6);
    }
    gl.bufferSubData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLintptr>(static_cast<size_t>(j) * indexRow.size() * 4),
                     static_cast<GLsizeiptr>(indexRow.size() * 4), indexRow.data());
  }
  gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  if (glGetError() == GL_OUT_OF_MEMORY) return false;
  gridColumns = columns;
  gridRows = rows;
  return true;
}

void FieldBuffers::RenderCorners(const LifeField& field, const FieldMesh& mesh, float blend) {
  const int32_t w = field.columns + 1;
  const int32_t h = field.rows + 1;
  glPushAttrib(GL_VIEWPORT_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0.0, w, 0.0, h, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  framebufferGl.bindFramebuffer(GL_FRAMEBUFFER, cornerFramebuffer);
  glViewport(0, 0, w, h);
  shaderGl.useProgram(cornerProgram);
  SetUniforms(cornerUniforms, field, mesh, false, blend);
  glBegin(GL_QUADS);
  glVertex2f(0.0f, 0.0f);
  glVertex2f(static_cast<float>(w), 0.0f);
  glVertex2f(static_cast<float>(w), static_cast<float>(h));
  glVertex2f(0.0f, static_cast<float>(h));
  glEnd();
  shaderGl.useProgram(0);
  // Straight into the colour buffer, on the GPU: row j of the picture is
  // row j of the grid's vertices.
  gl.bindBuffer(GL_PIXEL_PACK_BUFFER, gridColours);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  gl.bindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  framebufferGl.bindFramebuffer(GL_FRAMEBUFFER, 0);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glPopAttrib();
}

bool FieldBuffers::DrawGridFromCorners(const LifeField& field, const FieldMesh& mesh, float blend, bool valuesSent) {
  if (cornerProgram == 0 || cornersUnusable) return false;
  bool stale = valuesSent || blend != cornerBlend;
  if (gridColumns != field.columns || gridRows != field.rows) {
    if (!BuildGrid(field.columns, field.rows)) {
      MainLog() << "<!> The smooth field's grid does not fit in GL buffers; the field shader interpolates instead.\n";
      cornersUnusable = true;
      return false;
    }
    stale = true;
  }
  if (stale) RenderCorners(field, mesh, blend);
  cornerBlend = blend;
  const int32_t w = field.columns + 1;
  glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  gl.bindBuffer(GL_ARRAY_BUFFER, gridPositions);
  glVertexPointer(2, GL_FLOAT, 0, nullptr);
  gl.bindBuffer(GL_ARRAY_BUFFER, gridColours);
  glColorPointer(4, GL_UNSIGNED_BYTE, 0, nullptr);
  gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, gridIndices);
  const GLsizei indexCount = field.columns * field.rows * 6;
  if (gl.drawRangeElements)
    gl.drawRangeElements(GL_TRIANGLES, 0, static_cast<GLuint>(w * (field.rows + 1) - 1), indexCount, GL_UNSIGNED_INT,
                         nullptr);
  else
    glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, nullptr);
  gl.bindBuffer(GL_ARRAY_BUFFER, 0);
  gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  glPopClientAttrib();
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
                                   float blend, bool useGridColours) {
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
  } else if (plan.sendCurrent) {
    // The texture of the generation before last takes the new one.
    const int oldest = earlier;
    earlier = previous;
    previous = current;
    current = oldest;
    SendValues(valueTextures[current], field.cells.get(), field.columns, field.rows, false);
    earlierHeld = true;
  }
  if (plan.sendPalette) {
    // Whole rows of entries; the two behind the palette are never sampled.
    paletteRows = (mesh.paletteSize + kPaletteWidth - 1) / kPaletteWidth;
    std::vector<Rgba8> entries(static_cast<size_t>(paletteRows) * kPaletteWidth);
    std::copy_n(mesh.paletteColours.get(), mesh.paletteSize, entries.data());
    glBindTexture(GL_TEXTURE_2D, paletteTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kPaletteWidth, paletteRows, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 entries.data());
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

  if (mesh.drawMode == 1 && useGridColours && DrawGridFromCorners(field, mesh, blend, plan.sendAll || plan.sendCurrent))
    return;
  const bool textured = mesh.drawMode == 0 && particleTexture != nullptr;
  if (textured) {
    // Enabled as the mesh's path leaves it, for what the frame draws next.
    glEnable(GL_TEXTURE_2D);
    particleTexture->Bind();
  }
  shaderGl.useProgram(program);
  SetUniforms(uniforms, field, mesh, textured, blend);
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
    buffers->DrawWithShaders(field, mesh, particleTexture, switches.generationBlend, switches.useGridColours);
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
