#include "engine/gl/gl_caps.h"

#include <cstring>

namespace {
constexpr uint32_t kNearest = 0x2600, kLinear = 0x2601;
constexpr uint32_t kNearestMipmapNearest = 0x2700, kLinearMipmapNearest = 0x2701;
constexpr uint32_t kNearestMipmapLinear = 0x2702, kLinearMipmapLinear = 0x2703;

bool ReadNumber(const char*& p, int& value) {
  if (*p < '0' || *p > '9') return false;
  value = 0;
  while (*p >= '0' && *p <= '9') {
    if (value > 100000) return false;
    value = value * 10 + (*p++ - '0');
  }
  return true;
}
}  // namespace

bool ListsGLExtension(const char* extensions, const char* name) {
  const size_t length = name ? std::strlen(name) : 0;
  if (!extensions || length == 0) return false;
  for (const char* at = std::strstr(extensions, name); at; at = std::strstr(at + 1, name)) {
    const bool startsWord = at == extensions || at[-1] == ' ';
    const bool endsWord = at[length] == ' ' || at[length] == '\0';
    if (startsWord && endsWord) return true;
  }
  return false;
}

bool ParseGLVersion(const char* version, int& major, int& minor) {
  if (!version) return false;
  const char* p = version;
  if (!ReadNumber(p, major) || *p++ != '.') return false;
  return ReadNumber(p, minor);
}

bool CanGenerateMipmaps(const char* version, const char* extensions) {
  int major = 0, minor = 0;
  if (ParseGLVersion(version, major, minor) && (major > 1 || (major == 1 && minor >= 4))) return true;
  return ListsGLExtension(extensions, "GL_SGIS_generate_mipmap");
}

namespace {
bool VersionAtLeast(const char* version, int wantMajor, int wantMinor) {
  int major = 0, minor = 0;
  if (!ParseGLVersion(version, major, minor)) return false;
  return major > wantMajor || (major == wantMajor && minor >= wantMinor);
}
}  // namespace

bool HasCoreBufferObjects(const char* version) { return VersionAtLeast(version, 1, 5); }

bool CanUseBufferObjects(const char* version, const char* extensions) {
  return HasCoreBufferObjects(version) || ListsGLExtension(extensions, "GL_ARB_vertex_buffer_object");
}

bool HasCoreDrawRangeElements(const char* version) { return VersionAtLeast(version, 1, 2); }

bool CanDrawRangeElements(const char* version, const char* extensions) {
  return HasCoreDrawRangeElements(version) || ListsGLExtension(extensions, "GL_EXT_draw_range_elements");
}

bool HasCoreFloatTextures(const char* version) { return VersionAtLeast(version, 3, 0); }

bool CanUseFieldShaders(const char* version, const char* extensions) {
  return HasCoreFloatTextures(version) ||
         (VersionAtLeast(version, 2, 0) && ListsGLExtension(extensions, "GL_ARB_texture_float"));
}

bool HasCoreFramebuffers(const char* version) { return VersionAtLeast(version, 3, 0); }

bool CanRenderToVertexBuffer(const char* version, const char* extensions) {
  const bool framebuffers = HasCoreFramebuffers(version) || ListsGLExtension(extensions, "GL_ARB_framebuffer_object") ||
                            ListsGLExtension(extensions, "GL_EXT_framebuffer_object");
  const bool pixelBuffers = VersionAtLeast(version, 2, 1) || ListsGLExtension(extensions, "GL_ARB_pixel_buffer_object");
  return framebuffers && pixelBuffers;
}

uint32_t FilterWithoutMipmaps(uint32_t minFilter) {
  switch (minFilter) {
    case kNearestMipmapNearest:
    case kNearestMipmapLinear:
      return kNearest;
    case kLinearMipmapNearest:
    case kLinearMipmapLinear:
      return kLinear;
    default:
      return minFilter;
  }
}
