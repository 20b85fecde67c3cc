// Texture objects, their parameters and the bound-texture cache.
#include <cstring>

#include "engine/core/log.h"
#include "engine/gfx/gl_include_win32.h"
#include "engine/gfx/texture.h"

namespace {
// The anisotropy level is capped at 2: more costs fill rate the particles
// do not need.
constexpr GLint kMaxAnisotropy = 2;

bool HasExtension(const char* name) {
  const char* all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  if (!all) return false;
  const size_t length = std::strlen(name);
  for (const char* p = std::strstr(all, name); p; p = std::strstr(p + length, name))
    if ((p == all || p[-1] == ' ') && (p[length] == ' ' || p[length] == '\0')) return true;
  return false;
}
}  // namespace

BoundTextureCache& BoundTextures() {
  static BoundTextureCache cache;
  return cache;
}

void ResetBoundTextures() {
  BoundTextureCache& cache = BoundTextures();
  for (auto& name : cache.boundTextures) name = 0;
}

void TextureBase::SetDefaults(uint32_t newTarget) {
  target = newTarget;
  id = 0;
  wrap = GL_REPEAT;
  minFilter = GL_LINEAR_MIPMAP_LINEAR;
  magFilter = GL_LINEAR;
  generateMipmap = true;
}

void TextureBase::OnDestroy() {
  LifecycleLog() << "<i> " << "Texture this:" << std::hex << static_cast<const void*>(this) << std::dec
                 << " destroyed\n";
}

void TextureBase::Bind() {
  BoundTextureCache& cache = BoundTextures();
  uint32_t& bound = cache.boundTextures[cache.activeUnit & 15];
  if (bound == id) return;
  bound = id;
  glBindTexture(target, id);
  ++cache.bindCount;
}

void Texture2D::OnCreate() {
  SetDefaults(GL_TEXTURE_2D);
  LifecycleLog() << "Texture2D this:" << std::hex << static_cast<const void*>(this) << std::dec << " created\n";
}

void Texture2D::OnDestroy() {
  LifecycleLog() << "Texture2D this:" << std::hex << static_cast<const void*>(this) << std::dec
                 << " destroyed\n";
}

void Texture2D::ApplyParameters() {
  Bind();
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(wrap));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(wrap));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(minFilter));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(magFilter));
  // Before the upload, so that the upload builds the mipmap chain.
  if (generateMipmap) glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
  // Asking a driver without the extension would only raise GL errors.
  if (HasExtension("GL_EXT_texture_filter_anisotropic")) {
    GLint level = 1;
    glGetIntegerv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &level);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, level < kMaxAnisotropy ? level : kMaxAnisotropy);
  }
}

bool LoadTexture(TextureBase& texture, const Image& image) {
  if (image.dataSize == 0 || !image.data) {
    MainLog() << "<!> " << "Can't load texture. Image is not valid.\n";
    return false;
  }
  if (texture.id && texture.target && glIsTexture(texture.id)) {
    const GLuint old = texture.id;
    glDeleteTextures(1, &old);
    // A deleted name reverts to 0 wherever it was bound.
    for (auto& bound : BoundTextures().boundTextures)
      if (bound == old) bound = 0;
  }
  GLuint name = 0;
  glGenTextures(1, &name);
  texture.id = name;
  texture.ApplyParameters();
  image.Upload(GL_TEXTURE_2D);
  return true;
}
