// OpenGL textures with their sampling parameters, the process-wide record of
// which texture each unit has bound, and the texture library keyed by the
// path a texture was loaded from. Needs a current GL context (Windows build).
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/singleton.h"
#include "engine/gl/named_library.h"
#include "engine/image/image.h"

// What texture set-up may ask of the current context.
struct TextureCaps {
  bool autoMipmap = false;   // GL_GENERATE_MIPMAP is honoured
  bool anisotropic = false;  // GL_EXT_texture_filter_anisotropic
};
// Read from the current context's version and extension strings.
TextureCaps CurrentTextureCaps();

class TextureBase : public IRefCountPtrBase, public NamedObject {
 public:
  void OnDestroy() override;
  // Without automatic mipmaps a mipmapped minification filter falls back to
  // its level-0 form, so the texture stays complete.
  virtual void ApplyParameters(const TextureCaps& caps) = 0;

  // Binds the texture unless the active unit already has it bound; only the
  // name is compared, not the target.
  void Bind();

  uint32_t target = 0;
  uint32_t id = 0;  // GL texture name, 0 = none yet
  uint32_t wrap = 0x2901;       // GL_REPEAT
  uint32_t minFilter = 0x2703;  // GL_LINEAR_MIPMAP_LINEAR
  uint32_t magFilter = 0x2601;  // GL_LINEAR
  bool generateMipmap = true;

 protected:
  void SetDefaults(uint32_t newTarget);
};

// A 2D texture. Its GL name is released only when the texture is reloaded
// (LoadTexture) or with the context, never by the destructor.
class Texture2D : public TextureBase {
 public:
  void OnCreate() override;
  void OnDestroy() override;
  void ApplyParameters(const TextureCaps& caps) override;
};

// Which texture name each unit has bound, and how many real binds happened.
// A new GL context starts with nothing bound: call ResetBoundTextures then.
struct BoundTextureCache {
  int32_t activeUnit = 0;
  uint32_t boundTextures[16] = {};
  int32_t bindCount = 0;
};
BoundTextureCache& BoundTextures();
void ResetBoundTextures();

// Uploads `image` into a new GL name of `texture` (deleting the old one)
// with the texture's parameters, as far as `caps` (by default the current
// context's) allow. False, with a log line, for an empty image.
bool LoadTexture(TextureBase& texture, const Image& image, const TextureCaps& caps);
bool LoadTexture(TextureBase& texture, const Image& image);

class LibTextureBase : public NamedLibraryBase<LibTextureBase, TextureBase, unsigned> {
 public:
  void OnCreate() override;
  void OnDestroy() override;
  // 0: load the image at `name` into a new Texture2D; 1: a new empty
  // Texture2D; 2-4: not supported, false without a message; others: false
  // with "LibTexture : Unknown texture parameter : <n>".
  bool Create(CRefCountPtrT<TextureBase>& texture, unsigned parameter, const std::string& name);
};

class LibTexture : public CRefCountPtrT<LibTextureBase> {
 public:
  using CRefCountPtrT<LibTextureBase>::CRefCountPtrT;
  static LibTexture& Instance() {
    return SingletonInstance<LibTexture, LibTextureBase, SingletonSlot::LibTexture>();
  }
};
