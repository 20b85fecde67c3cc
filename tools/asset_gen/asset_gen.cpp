// Host tool run by the build: writes the pictures the program embeds.
//   particle.png     64 x 64 RGBA, white, alpha a Gaussian of the distance
//                    from the centre (254 in the middle, about 62 at the
//                    middle of each edge, about 15 in the corners)
//   chiler_font.tga  256 x 256 glyph sheet, 32-bit run-length encoded,
//                    top-left origin, white
//   nehe_font.tga    glyphs in the alpha channel; a 16 x 16 grid of 16-pixel
//                    cells: cells 0-94 hold characters 32-126, cells 128-222
//                    the same characters in a second style
//   vivarn.ico       16 x 16 and 32 x 32 pictures of a glider
// Usage: asset_gen <output dir> <font dir>
// Fonts are rendered with FreeType from the DejaVu TrueType files.
#include <ft2build.h>
#include FT_FREETYPE_H
#include <png.h>

#include <cmath>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/core/byte_order.h"

namespace {

using Bytes = std::vector<uint8_t>;

bool WriteFile(const std::string& path, const Bytes& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

void PutLE16(Bytes& b, unsigned v) { byte_order::AppendLE16(b, static_cast<uint16_t>(v)); }
void PutLE32(Bytes& b, uint32_t v) { byte_order::AppendLE32(b, v); }

// ---- particle ----

bool WriteParticle(const std::string& path) {
  constexpr int kSize = 64;
  // alpha = 254 exp(-k d^2) with d from the pixel's centre; k puts the
  // middle-of-edge pixels at 62.
  const double edge2 = 31.5 * 31.5 + 0.5 * 0.5;
  const double k = std::log(254.0 / 62.0) / edge2;
  std::vector<png_byte> rgba(kSize * kSize * 4);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const double dx = x + 0.5 - kSize / 2.0, dy = y + 0.5 - kSize / 2.0;
      png_byte* p = &rgba[(y * kSize + x) * 4];
      p[0] = p[1] = p[2] = 255;
      p[3] = static_cast<png_byte>(std::lround(254.0 * std::exp(-k * (dx * dx + dy * dy))));
    }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, kSize, kSize, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < kSize; ++y) png_write_row(png, &rgba[y * kSize * 4]);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}

// ---- glyph sheets ----

constexpr int kSheet = 256, kCell = 16;

struct Style {
  const char* file;
  int pixelHeight;
  int baseline;  // pixels from the cell's top to the baseline
};

// Renders characters 32-126 into cells first, first + 1, ...; coverage goes
// to `alpha` (sheet rows top first).
bool RenderSet(FT_Library library, const std::string& fontDir, const Style& style, int firstCell,
               std::vector<uint8_t>& alpha) {
  FT_Face face;
  if (FT_New_Face(library, (fontDir + "/" + style.file).c_str(), 0, &face)) {
    std::fprintf(stderr, "asset_gen: cannot open font %s/%s\n", fontDir.c_str(), style.file);
    return false;
  }
  FT_Set_Pixel_Sizes(face, 0, style.pixelHeight);
  for (int c = 32; c < 127; ++c) {
    if (FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT)) continue;
    const FT_GlyphSlot g = face->glyph;
    const int cell = firstCell + c - 32;
    const int cellX = (cell % 16) * kCell, cellY = (cell / 16) * kCell;
    // Centre each glyph on the 14-pixel pen advance the font draws with.
    const int advance = static_cast<int>(g->advance.x >> 6);
    const int left = (14 - advance) / 2 + g->bitmap_left;
    const int top = style.baseline - g->bitmap_top;
    for (unsigned row = 0; row < g->bitmap.rows; ++row)
      for (unsigned col = 0; col < g->bitmap.width; ++col) {
        const int x = left + static_cast<int>(col), y = top + static_cast<int>(row);
        if (x < 0 || x >= kCell || y < 0 || y >= kCell) continue;  // stay inside the cell
        const uint8_t v = g->bitmap.buffer[row * g->bitmap.pitch + col];
        uint8_t& out = alpha[(cellY + y) * kSheet + cellX + x];
        out = std::max(out, v);
      }
  }
  FT_Done_Face(face);
  return true;
}

// One row of white pixels with the given alphas as TGA packets; packets never
// cross a row, as readers may expect. A run is worth a packet from 2 pixels.
void AppendRunLengthRow(Bytes& b, const uint8_t* alpha, int count) {
  auto pixel = [&](int i) { b.insert(b.end(), {255, 255, 255, alpha[i]}); };
  int i = 0;
  while (i < count) {
    int run = 1;
    while (i + run < count && run < 128 && alpha[i + run] == alpha[i]) ++run;
    if (run >= 2) {
      b.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
      pixel(i);
      i += run;
      continue;
    }
    int literal = 1;
    while (i + literal < count && literal < 128 &&
           !(i + literal + 1 < count && alpha[i + literal] == alpha[i + literal + 1]))
      ++literal;
    b.push_back(static_cast<uint8_t>(literal - 1));
    for (int k = 0; k < literal; ++k) pixel(i + k);
    i += literal;
  }
}

bool WriteSheet(const std::string& path, FT_Library library, const std::string& fontDir, const Style& first,
                const Style& second) {
  std::vector<uint8_t> alpha(kSheet * kSheet, 0);
  if (!RenderSet(library, fontDir, first, 0, alpha) || !RenderSet(library, fontDir, second, 128, alpha)) return false;
  // Run-length encoded (type 10): the sheets are mostly empty cells, and
  // they are embedded in the program, whose size users download.
  Bytes b = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  PutLE16(b, kSheet);
  PutLE16(b, kSheet);
  b.push_back(32);
  b.push_back(0x28);  // top-left origin, 8 alpha bits
  for (int y = 0; y < kSheet; ++y) AppendRunLengthRow(b, &alpha[y * kSheet], kSheet);
  return WriteFile(path, b);
}

// ---- icon ----

// A glider on a dark square: 1 = live cell.
const int kGlider[3][3] = {{0, 1, 0}, {0, 0, 1}, {1, 1, 1}};

// BGRA rows top first.
std::vector<uint8_t> DrawIcon(int size) {
  std::vector<uint8_t> px(size * size * 4);
  const int cell = size / 4;  // 3 x 3 cells plus a half-cell margin
  const int margin = (size - 3 * cell) / 2;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      uint8_t* p = &px[(y * size + x) * 4];
      p[0] = 60, p[1] = 30, p[2] = 20, p[3] = 255;  // deep blue
      const int cx = (x - margin) / cell, cy = (y - margin) / cell;
      const int inX = (x - margin) % cell, inY = (y - margin) % cell;
      if (x < margin || y < margin || cx > 2 || cy > 2 || !kGlider[cy][cx]) continue;
      if (inX == cell - 1 || inY == cell - 1) continue;  // a gap between cells
      p[0] = 90, p[1] = 230, p[2] = 120;               // bright green
    }
  return px;
}

bool WriteIcon(const std::string& path) {
  const int sizes[2] = {16, 32};
  std::vector<Bytes> images;
  for (int size : sizes) {
    const std::vector<uint8_t> px = DrawIcon(size);
    Bytes img;
    PutLE32(img, 40);
    PutLE32(img, size);
    PutLE32(img, size * 2);  // colour and mask halves
    PutLE16(img, 1);
    PutLE16(img, 32);
    for (int i = 0; i < 6; ++i) PutLE32(img, 0);
    for (int y = size - 1; y >= 0; --y) img.insert(img.end(), &px[y * size * 4], &px[(y + 1) * size * 4]);
    const int maskRow = ((size + 31) / 32) * 4;
    img.insert(img.end(), static_cast<size_t>(maskRow) * size, 0);  // all opaque
    images.push_back(img);
  }
  Bytes b;
  PutLE16(b, 0);
  PutLE16(b, 1);
  PutLE16(b, 2);
  uint32_t offset = 6 + 16 * 2;
  for (int i = 0; i < 2; ++i) {
    b.push_back(static_cast<uint8_t>(sizes[i]));
    b.push_back(static_cast<uint8_t>(sizes[i]));
    b.push_back(0);
    b.push_back(0);
    PutLE16(b, 1);
    PutLE16(b, 32);
    PutLE32(b, static_cast<uint32_t>(images[i].size()));
    PutLE32(b, offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (const auto& img : images) b.insert(b.end(), img.begin(), img.end());
  return WriteFile(path, b);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: asset_gen <output dir> <font dir>\n");
    return 2;
  }
  const std::string out = argv[1], fonts = argv[2];
  FT_Library library;
  if (FT_Init_FreeType(&library)) return 1;
  // The overlay's sheet: a bold monospaced face, clear at 16 pixels; the
  // second sheet uses serif faces so the two look different.
  const bool ok = WriteParticle(out + "/particle.png") &&
                  WriteSheet(out + "/chiler_font.tga", library, fonts, {"DejaVuSansMono-Bold.ttf", 14, 12},
                             {"DejaVuSansMono-BoldOblique.ttf", 14, 12}) &&
                  WriteSheet(out + "/nehe_font.tga", library, fonts, {"DejaVuSerif.ttf", 13, 12},
                             {"DejaVuSerif-Italic.ttf", 13, 12}) &&
                  WriteIcon(out + "/vivarn.ico");
  FT_Done_FreeType(library);
  if (!ok) std::fprintf(stderr, "asset_gen: failed\n");
  return ok ? 0 : 1;
}
