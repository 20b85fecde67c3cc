// The texture library: textures made on first request and shared by path.
#include "engine/core/log.h"
#include "engine/gl/texture.h"

void LibTextureBase::OnCreate() {
  LifecycleLog() << "LibTexture this:" << std::hex << static_cast<const void*>(this) << std::dec << " created\n";
}

void LibTextureBase::OnDestroy() {
  Clear();
  LifecycleLog() << "LibTexture this:" << std::hex << static_cast<const void*>(this) << std::dec
                 << " destroyed\n";
}

bool LibTextureBase::Create(CRefCountPtrT<TextureBase>& texture, unsigned parameter, const std::string& name) {
  texture.Reset();
  switch (parameter) {
    case 0: {
      CRefCountPtrT<Image> image;
      if (!LoadImage(name.c_str(), image)) return false;
      CRefCountPtrT<TextureBase> made;
      made.Adopt(new Texture2D());
      if (!LoadTexture(*made, *image)) return false;
      texture = made;
      return true;
    }
    case 1:
      texture.Adopt(new Texture2D());
      return true;
    case 2:
    case 3:
    case 4:
      return false;
    default:
      MainLog() << "<!> " << "LibTexture : Unknown texture parameter : " << static_cast<uint32_t>(parameter)
                << "\n";
      return false;
  }
}
