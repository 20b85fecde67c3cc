// Deciding texture set-up from a context's version and extension strings.
#include <gtest/gtest.h>

#include "engine/gl/gl_caps.h"

TEST(GLCaps, AutomaticMipmapsFromVersionOneFourOrTheExtension) {
  // Windows' own renderer: "1.1.0" and no generate-mipmap extension.
  EXPECT_FALSE(CanGenerateMipmaps("1.1.0", "GL_WIN_swap_hint GL_EXT_bgra GL_EXT_paletted_texture"));
  EXPECT_FALSE(CanGenerateMipmaps("1.3 Vendor 7.1", ""));
  EXPECT_TRUE(CanGenerateMipmaps("1.4.0", ""));
  EXPECT_TRUE(CanGenerateMipmaps("4.5 (Compatibility Profile) Mesa 22.3.6", nullptr));
  EXPECT_TRUE(CanGenerateMipmaps("10.0", ""));
  EXPECT_TRUE(CanGenerateMipmaps("1.2", "GL_ARB_multitexture GL_SGIS_generate_mipmap"));
  // Unreadable versions count as the oldest; a longer name is not the extension.
  EXPECT_FALSE(CanGenerateMipmaps(nullptr, nullptr));
  EXPECT_FALSE(CanGenerateMipmaps("", "GL_SGIS_generate_mipmapX"));
  EXPECT_FALSE(CanGenerateMipmaps("x4.5", "XGL_SGIS_generate_mipmap"));
  EXPECT_FALSE(CanGenerateMipmaps("4", ""));
  EXPECT_FALSE(CanGenerateMipmaps("99999999999999.9", ""));
}

TEST(GLCaps, ExtensionsMatchWholeWordsOnly) {
  const char* list = "GL_EXT_texture3D GL_EXT_texture_filter_anisotropic GL_ARB_a";
  EXPECT_TRUE(ListsGLExtension(list, "GL_EXT_texture_filter_anisotropic"));
  EXPECT_TRUE(ListsGLExtension(list, "GL_ARB_a"));
  EXPECT_TRUE(ListsGLExtension(list, "GL_EXT_texture3D"));
  EXPECT_FALSE(ListsGLExtension(list, "GL_EXT_texture"));
  EXPECT_FALSE(ListsGLExtension(list, "texture3D"));
  EXPECT_FALSE(ListsGLExtension(list, ""));
}

TEST(GLCaps, MipmappedFiltersFallBackToTheirLevelZeroForm) {
  EXPECT_EQ(FilterWithoutMipmaps(0x2703u), 0x2601u);  // linear-mipmap-linear: linear
  EXPECT_EQ(FilterWithoutMipmaps(0x2701u), 0x2601u);
  EXPECT_EQ(FilterWithoutMipmaps(0x2700u), 0x2600u);  // nearest-mipmap-nearest: nearest
  EXPECT_EQ(FilterWithoutMipmaps(0x2702u), 0x2600u);
  EXPECT_EQ(FilterWithoutMipmaps(0x2601u), 0x2601u);
  EXPECT_EQ(FilterWithoutMipmaps(0x2600u), 0x2600u);
}

TEST(GLCaps, BufferObjectsAndRangedDrawsFromTheVersionOrTheirExtension) {
  const char* windowsOwn = "GL_WIN_swap_hint GL_EXT_bgra GL_EXT_paletted_texture";
  EXPECT_FALSE(CanUseBufferObjects("1.1.0", windowsOwn));
  EXPECT_FALSE(CanDrawRangeElements("1.1.0", windowsOwn));
  EXPECT_FALSE(CanUseBufferObjects("1.4", "GL_ARB_vertex_buffer_objects"));
  EXPECT_TRUE(CanUseBufferObjects("1.4", "GL_ARB_multitexture GL_ARB_vertex_buffer_object"));
  EXPECT_FALSE(HasCoreBufferObjects("1.4"));
  EXPECT_TRUE(HasCoreBufferObjects("1.5.0"));
  EXPECT_TRUE(CanUseBufferObjects("4.5 (Compatibility Profile) Mesa 22.3.6", nullptr));
  EXPECT_TRUE(CanDrawRangeElements("1.1.0", "GL_EXT_draw_range_elements"));
  EXPECT_FALSE(HasCoreDrawRangeElements("1.1.0"));
  EXPECT_TRUE(HasCoreDrawRangeElements("1.2"));
  EXPECT_FALSE(CanDrawRangeElements(nullptr, nullptr));
}

TEST(GLCaps, FieldShadersFromVersionThreeOrTwoWithFloatTextures) {
  EXPECT_FALSE(CanUseFieldShaders("1.1.0", "GL_WIN_swap_hint GL_EXT_bgra GL_ARB_texture_float"));
  EXPECT_FALSE(CanUseFieldShaders("1.5", "GL_ARB_texture_float GL_ARB_shader_objects"));
  EXPECT_FALSE(CanUseFieldShaders("2.1", "GL_ARB_texture_float_linear GL_ARB_texture_rg"));
  EXPECT_TRUE(CanUseFieldShaders("2.0.3", "GL_ARB_multitexture GL_ARB_texture_float"));
  EXPECT_FALSE(HasCoreFloatTextures("2.1 NVIDIA"));
  EXPECT_TRUE(CanUseFieldShaders("3.0", nullptr));
  // The smooth field's vertex colours from the GPU: framebuffers and pixel buffers.
  EXPECT_TRUE(CanRenderToVertexBuffer("3.0 Mesa", nullptr));
  EXPECT_TRUE(CanRenderToVertexBuffer("2.1", "GL_EXT_framebuffer_object"));
  EXPECT_FALSE(CanRenderToVertexBuffer("2.1", "GL_EXT_framebuffer_blit"));
  EXPECT_FALSE(CanRenderToVertexBuffer("2.0", "GL_EXT_framebuffer_object"));
  EXPECT_TRUE(CanRenderToVertexBuffer("2.0", "GL_ARB_framebuffer_object GL_ARB_pixel_buffer_object"));
  EXPECT_TRUE(HasCoreFloatTextures("4.5 (Compatibility Profile) Mesa 22.3.6"));
  EXPECT_FALSE(CanUseFieldShaders(nullptr, "GL_ARB_texture_float"));
}
