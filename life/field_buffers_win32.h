// A field on the GL side. Where the context has shaders and float textures,
// the cell values of this generation and the two before, and the colour
// table, in textures that shaders turn into the picture the mesh would give
// (FieldTextureTracker decides what to send); the smooth field's vertex
// colours are rendered into a buffer and drawn on the mesh's own grid where
// the context allows. Elsewhere the mesh:
// buffer objects in the context that made them, filled from the mesh's
// arrays as FieldUploadTracker decides, or the mesh's client arrays where the
// context has no buffer objects (OpenGL 1.1) or could not hold them. Kernel
// thread only, with the context current and the task's lock held.
#pragma once

#include <memory>

#include "engine/gl/gl_buffers_win32.h"
#include "engine/gl/gl_shaders_win32.h"
#include "life/field_buffers.h"
#include "life/field_upload.h"
#include "life/task_host.h"

class FieldMesh;
class LifeField;
class TextureBase;

class FieldBuffers {
 public:
  // Belongs to the current context.
  FieldBuffers();
  // Deletes the buffers when their context is still current (otherwise they
  // went, or go, with it).
  ~FieldBuffers();
  FieldBuffers(const FieldBuffers&) = delete;
  FieldBuffers& operator=(const FieldBuffers&) = delete;

  HGLRC Context() const { return context; }

  // Draws the mesh's triangles with its positions, colours and, when
  // `textured`, texture coordinates; the client array states must be
  // enabled. Without `useBufferObjects` it draws from the client arrays.
  void Draw(const FieldMesh& mesh, bool textured, bool useBufferObjects);

  // Whether this context draws the field with shaders: asked once, when the
  // version and extensions allow it the program is built; a program that
  // fails logs the driver's words once and leaves the mesh's path.
  bool ShadersReady();
  // True once, before the shaders were tried: the caller then leaves the
  // field out of this frame and builds them at the next.
  bool DeferShaderBuild();
  // The field as the mesh would show it, from its cells; the blending and
  // the field-to-output scale set. `blend` below 1 shows that share of this
  // generation over the last one (smooth generations).
  void DrawWithShaders(const LifeField& field, const FieldMesh& mesh, TextureBase* particleTexture, float blend,
                       bool useGridColours);

 private:
  // Brings the buffers up to date; false to draw from the client arrays.
  bool Refresh(const FieldMesh& mesh, bool useBufferObjects);
  void DeleteBuffers();

  HGLRC context;
  GLBufferEntries gl;
  GLuint positions = 0;
  GLuint texCoords = 0;
  GLuint colours = 0;
  GLuint indices = 0;
  bool unusable = false;  // the context could not hold the arrays
  FieldUploadTracker tracker;

  // The per-draw uniforms' locations, looked up once when a program is built.
  struct Uniforms {
    GLint fieldSize = -1, paletteShape = -1, tableSize = -1, states = -1, background = -1, smoothField = -1,
          textured = -1, blend = -1;
  };
  void DeleteShaderObjects();
  void SendValues(GLuint texture, const float* values, int32_t columns, int32_t rows, bool resize);
  // Binds the samplers to their units; the other uniforms' locations.
  Uniforms PrepareProgram(GLuint built);
  void SetUniforms(const Uniforms& u, const LifeField& field, const FieldMesh& mesh, bool textured, float blend);
  // Draw mode 1 where the context can render into a vertex buffer: the
  // mesh's own grid in buffers, its vertex colours worked out by a shader
  // into a texture and copied on the GPU into a colour buffer (the bytes the
  // step would write), drawn as the mesh is, so that the rasteriser
  // interpolates exactly what it would for the mesh. DrawGridFromCorners
  // returns false to leave it to the field shader's own interpolation.
  void PrepareCorners(const char* version, const char* extensions);
  bool BuildGrid(int32_t columns, int32_t rows);
  void RenderCorners(const LifeField& field, const FieldMesh& mesh, float blend);
  bool DrawGridFromCorners(const LifeField& field, const FieldMesh& mesh, float blend, bool valuesSent);
  bool shadersTried = false;
  bool buildDeferred = false;
  GLShaderEntries shaderGl;
  GLuint program = 0;
  Uniforms uniforms;
  GLFramebufferEntries framebufferGl;
  GLuint cornerProgram = 0;
  Uniforms cornerUniforms;
  GLuint cornerFramebuffer = 0;
  GLuint cornerTexture = 0;
  GLuint gridPositions = 0, gridIndices = 0, gridColours = 0;
  int32_t gridColumns = 0, gridRows = 0;  // what the grid buffers are built for
  float cornerBlend = 1.0f;  // the blend the colour buffer holds
  bool cornersUnusable = false;
  bool coreFloatTextures = false;  // GL_R32F, else GL_LUMINANCE32F_ARB
  // This generation, the one before and the one before that, by the
  // indices below: each new generation goes into the oldest's texture.
  GLuint valueTextures[3] = {};
  int current = 0, previous = 1, earlier = 2;
  // `earlier` holds a generation of this field (the true one before the
  // last, or the last standing in for it), not one left from before a reseed.
  bool earlierHeld = false;
  GLuint paletteTexture = 0;
  int32_t paletteRows = 0;
  FieldTextureTracker textureTracker;
};

// How a field may be drawn: tests turn paths off to compare them.
struct FieldDrawSwitches {
  bool useBufferObjects = true;
  bool useShaders = true;
  // Smooth generations on the shader path: how much of this generation is
  // shown over the last one, 1 for all of it (the mesh's path always shows
  // all of it).
  float generationBlend = 1.0f;
  // Off: the shader path's smooth field is interpolated by the field shader
  // even where the context can render its vertex colours into a buffer.
  bool useGridColours = true;
};

// Draws `field` over an output of `output` pixels with the blending the field
// uses, the particle texture on each cell in draw mode 0 (plain squares
// without one), from `buffers`, made or remade for the current context: with
// shaders where the context has them (the mesh's steps then leave its
// colours alone), else the mesh (its colours repainted first when the steps
// left them alone).
void DrawFieldMesh(const LifeField& field, FieldMesh& mesh, std::unique_ptr<FieldBuffers, FieldBuffersRelease>& buffers,
                   OutputSize output, TextureBase* particleTexture, FieldDrawSwitches switches);
