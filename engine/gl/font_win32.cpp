// NeHe-style bitmap fonts and the font library.
#include <string>

#include "engine/core/log.h"
#include "engine/gl/gl_include_win32.h"
#include "engine/gl/font.h"

namespace {
constexpr int kGlyphs = 256;
constexpr float kCell = 1.0f / 16.0f;
constexpr GLfloat kPenAdvance = 14.0f;
}  // namespace

void FontNeHe::OnCreate() {
  listBase = 0;
  charSet = 0;
  LifecycleLog() << "FontNeHe this:" << std::hex << static_cast<const void*>(this) << std::dec << " created\n";
}

void FontNeHe::OnDestroy() {
  if (listBase) glDeleteLists(listBase, kGlyphs);
  listBase = 0;
  LifecycleLog() << "FontNeHe this:" << std::hex << static_cast<const void*>(this) << std::dec << " destroyed\n";
}

bool FontNeHe::Load(const std::string& name) {
  MainLog() << "<i> " << "Loading NeHe-style font " << name << "\n";
  CRefCountPtrT<TextureBase> sheet;
  if (!LibTexture::Instance()->Get(name, sheet, 0, true)) return false;
  sheet->Bind();
  const GLuint base = glGenLists(kGlyphs);
  if (!base) return false;
  for (int g = 0; g < kGlyphs; ++g) {
    const float s = static_cast<float>(g % 16) * kCell;
    const float t = 1.0f - static_cast<float>(g / 16) * kCell;
    glNewList(base + g, GL_COMPILE);
    glBegin(GL_QUADS);
    // The top edge is pulled in a little so the row above never bleeds in.
    glTexCoord2f(s, t - kCell);
    glVertex2i(0, 0);
    glTexCoord2f(s + kCell, t - kCell);
    glVertex2i(16, 0);
    glTexCoord2f(s + kCell, t - 0.001f);
    glVertex2i(16, 16);
    glTexCoord2f(s, t - 0.001f);
    glVertex2i(0, 16);
    glEnd();
    glTranslatef(kPenAdvance, 0.0f, 0.0f);
    glEndList();
    charWidth[g] = 16;
  }
  listBase = base;
  texture = sheet;
  lineHeight = 16.0f;
  return true;
}

int32_t FontNeHe::GlyphFor(unsigned char character) const {
  if (character < 32) return -1;
  const int32_t glyph = static_cast<int32_t>(character) - 32 + 128 * charSet;
  return glyph >= 0 && glyph < kGlyphs ? glyph : -1;
}

void FontNeHe::DrawText(const char* text, int32_t length) {
  if (!texture || !listBase || !text) return;
  // The glyph numbers of the current line's piece.
  std::string glyphs;
  std::string::size_type limit = length < 0 ? std::string::npos : static_cast<std::string::size_type>(length);

  glPushAttrib(GL_ENABLE_BIT | GL_LIST_BIT);
  glDisable(GL_LIGHTING);
  glDisable(GL_CULL_FACE);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  texture->Bind();
  glListBase(listBase);
  glPushMatrix();  // the caller's matrix, restored at the end
  glPushMatrix();  // the start of the current line
  auto flush = [&] {
    if (!glyphs.empty())
      glCallLists(static_cast<GLsizei>(glyphs.size()), GL_UNSIGNED_BYTE, glyphs.data());
    glyphs.clear();
  };
  for (std::string::size_type i = 0; i < limit && text[i] != '\0'; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\r' || c == '\n') {
      flush();
      if (c == '\r' && i + 1 < limit && text[i + 1] == '\n') ++i;
      // Back to the starting x, one line lower.
      glPopMatrix();
      glTranslatef(0.0f, -lineHeight, 0.0f);
      glPushMatrix();
      continue;
    }
    const int32_t glyph = GlyphFor(c);
    if (glyph >= 0) glyphs.push_back(static_cast<char>(glyph));
  }
  flush();
  glPopMatrix();
  glPopMatrix();
  glPopAttrib();
}

void FontNeHe::DrawChar(char character) {
  if (!texture || !listBase) return;
  const int32_t glyph = GlyphFor(static_cast<unsigned char>(character));
  if (glyph < 0) return;
  texture->Bind();
  glCallList(listBase + static_cast<GLuint>(glyph));
}

void LibFontBase::OnCreate() {
  LifecycleLog() << "LibFontBase this:" << std::hex << static_cast<const void*>(this) << std::dec << " created\n";
}

void LibFontBase::OnDestroy() {
  LifecycleLog() << "LibFontBase this:" << std::hex << static_cast<const void*>(this) << std::dec
                 << " destroyed\n";
}

bool LibFontBase::Create(CRefCountPtrT<FontBase>& font, unsigned type, const std::string& name) {
  font.Reset();
  if (type != 0) {
    MainLog() << "<!> " << "LibFont : Unknown font type: " << static_cast<uint32_t>(type) << "\n";
    return false;
  }
  CRefCountPtrT<FontBase> made;
  made.Adopt(new FontNeHe());
  if (!made->Load(name)) return false;
  font = made;
  return true;
}
