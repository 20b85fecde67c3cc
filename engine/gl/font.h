// Bitmap fonts: a 256 x 256 glyph sheet (16 x 16 cells of 16 pixels, the
// first cell the space character) drawn through one display list per glyph,
// and the font library keyed by the sheet's path. Needs a current GL context
// (Windows build).
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/singleton.h"
#include "engine/gl/named_library.h"
#include "engine/gl/texture.h"

// <windows.h> maps DrawText to DrawTextW; files that need both include
// <windows.h> first and call the Win32 function by its W name.
#ifdef DrawText
#undef DrawText
#endif

class FontBase : public IRefCountPtrBase, public NamedObject {
 public:
  // `length` -1 (or any negative value): up to the terminating zero; a
  // shorter length draws that many characters. Never reads past the zero.
  virtual void DrawText(const char* text, int32_t length) = 0;
  virtual void DrawChar(char character) = 0;
  virtual bool Load(const std::string& name) = 0;
};

// A NeHe-style font: glyphs 16 units square, pen advance 14 units. With
// charSet 0, character k draws cell k - 32; with charSet 1, cell k + 96.
// Characters whose cell would fall outside the sheet (codes below 32, and
// codes from 160 with charSet 1) draw nothing and do not move the pen.
// Carriage returns and line feeds ("\r\n" counts once) start the next piece
// lineHeight units lower, back at the pen's starting x.
class FontNeHe : public FontBase {
 public:
  ~FontNeHe() override = default;
  void OnCreate() override;
  void OnDestroy() override;
  void DrawText(const char* text, int32_t length) override;
  void DrawChar(char character) override;
  bool Load(const std::string& name) override;

  uint32_t listBase = 0;
  float lineHeight = 0.0f;
  int32_t charWidth[256] = {};
  CRefCountPtrT<TextureBase> texture;
  int32_t charSet = 0;

 private:
  // The glyph cell for a character, or -1 when it draws nothing.
  int32_t GlyphFor(unsigned char character) const;
};

class LibFontBase : public NamedLibraryBase<LibFontBase, FontBase, unsigned> {
 public:
  void OnCreate() override;
  void OnDestroy() override;
  // Type 0: a FontNeHe loaded from `name`; other types fail with
  // "LibFont : Unknown font type: <n>".
  bool Create(CRefCountPtrT<FontBase>& font, unsigned type, const std::string& name);
};

class LibFont : public CRefCountPtrT<LibFontBase> {
 public:
  using CRefCountPtrT<LibFontBase>::CRefCountPtrT;
  static LibFont& Instance() { return SingletonInstance<LibFont, LibFontBase, SingletonSlot::LibFont>(); }
};
