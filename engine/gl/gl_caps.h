// What an OpenGL context offers, decided from its GL_VERSION and
// GL_EXTENSIONS strings. Portable, so the decisions are testable without a
// context.
#pragma once

#include <cstdint>

// Whether `extensions` (a space-separated GL_EXTENSIONS string) lists `name`
// as a whole word, so "GL_EXT_texture" does not match "GL_EXT_texture3D".
bool ListsGLExtension(const char* extensions, const char* name);

// The leading "major.minor" of a GL_VERSION string; false for an absent or
// unreadable string.
bool ParseGLVersion(const char* version, int& major, int& minor);

// Automatic mipmap generation is core from OpenGL 1.4 and otherwise needs
// GL_SGIS_generate_mipmap. Windows' own software renderer (Remote Desktop,
// virtual machines, no vendor driver) is 1.1 without it.
bool CanGenerateMipmaps(const char* version, const char* extensions);

// Vertex and index data in buffer objects: core from OpenGL 1.5, before that
// GL_ARB_vertex_buffer_object (the same calls with an ARB suffix).
bool HasCoreBufferObjects(const char* version);
bool CanUseBufferObjects(const char* version, const char* extensions);

// glDrawRangeElements, which spares the driver a scan of client-side indices
// for their range: core from OpenGL 1.2, before that GL_EXT_draw_range_elements.
bool HasCoreDrawRangeElements(const char* version);
bool CanDrawRangeElements(const char* version, const char* extensions);

// The field drawn by shaders from its cell values: GLSL (OpenGL 2.0) and
// single-channel float textures, core from OpenGL 3.0 (GL_R32F) and before
// that GL_ARB_texture_float (GL_LUMINANCE32F_ARB).
bool HasCoreFloatTextures(const char* version);
bool CanUseFieldShaders(const char* version, const char* extensions);

// Vertex colours worked out by a shader into a texture and copied into a
// vertex buffer on the GPU: framebuffer objects (core from OpenGL 3.0, before
// that GL_ARB_framebuffer_object or GL_EXT_framebuffer_object) and pixel
// buffer objects (core from 2.1, before that GL_ARB_pixel_buffer_object).
bool HasCoreFramebuffers(const char* version);
bool CanRenderToVertexBuffer(const char* version, const char* extensions);

// A mipmapped minification filter sampled without mipmaps leaves the texture
// incomplete (it draws as if untextured); this is the same filter on level 0
// only. Other filters are returned as they are.
uint32_t FilterWithoutMipmaps(uint32_t minFilter);
