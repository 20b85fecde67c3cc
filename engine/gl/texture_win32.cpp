// Texture objects, their parameters and the bound-texture cache.
#include "engine/core/log.h"
#include "engine/gl/gl_caps.h"
#include "engine/gl/gl_include_win32.h"
#include "engine/gl/image_upload_win32.h"
#include "engine/gl/texture.h"

namespace {
// The anisotropy level is capped at 2: more costs fill rate the particles
// do not need.
constexpr GLint kMaxAnisotropy = 2;

const char* GLText(GLenum name) { return reinterpret_cast<const char*>(glGetString(name)); }
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

TextureCaps CurrentTextureCaps() {
  TextureCaps caps;
  caps.autoMipmap = CanGenerateMipmaps(GLText(GL_VERSION), GLText(GL_EXTENSIONS));
  caps.anisotropic = ListsGLExtension(GLText(GL_EXTENSIONS), "GL_EXT_texture_filter_anisotropic");
  return caps;
}

void Texture2D::ApplyParameters(const TextureCaps& caps) {
  Bind();
  const bool mipmaps = generateMipmap && caps.autoMipmap;
  const uint32_t filter = mipmaps ? minFilter : FilterWithoutMipmaps(minFilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(wrap));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(wrap));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(filter));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(magFilter));
  // Before the upload, so that the upload builds the mipmap chain.
  if (mipmaps) glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
  // Asking a driver without the extension would only raise GL errors.
  if (caps.anisotropic) {
    GLint level = 1;
    glGetIntegerv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &level);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, level < kMaxAnisotropy ? level : kMaxAnisotropy);
  }
}

bool LoadTexture(TextureBase& texture, const Image& image, const TextureCaps& caps) {
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
  texture.ApplyParameters(caps);
  UploadImage(image, GL_TEXTURE_2D);
  return true;
}

bool LoadTexture(TextureBase& texture, const Image& image) {
  return LoadTexture(texture, image, CurrentTextureCaps());
}
