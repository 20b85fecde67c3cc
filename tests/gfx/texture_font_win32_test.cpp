// Textures, the texture and font libraries and text drawing, in a real WGL
// context under wine, with the program's own embedded pictures.
#include <windows.h>

#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/gl/font.h"
#include "engine/gl/texture.h"
#include "engine/image/image.h"
#include "tests/gfx/gl_test_context_win32.h"
#include "tests/support/log_capture.h"

namespace {

int Occurrences(const std::string& text, const std::string& piece) {
  int n = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

// One window and context per suite: making a context costs seconds under wine.
class GlFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    shared = new GlTestContext();
    created = shared->Create();
  }
  static void TearDownTestSuite() {
    delete shared;
    shared = nullptr;
  }

  void SetUp() override {
    ASSERT_TRUE(created);
    ASSERT_NE(module = UseProgramResources(), nullptr);
    ResetBoundTextures();
    glBindTexture(GL_TEXTURE_2D, 0);
  }
  void TearDown() override {
    // The libraries' objects belong to this context: empty them before it goes.
    LibFont::Instance()->Clear();
    LibTexture::Instance()->Clear();
    VekModule::Instance()->instance = nullptr;
    FreeLibrary(module);
  }
  static inline GlTestContext* shared = nullptr;
  static inline bool created = false;
  GlTestContext& gl = *shared;
  HMODULE module = nullptr;
};

using TextureLibrary = GlFixture;

TEST_F(TextureLibrary, SecondGetReturnsTheSameTextureAndLoadsOnce) {
  LogCapture capture;
  CRefCountPtrT<TextureBase> first, second;
  ASSERT_TRUE(LibTexture::Instance()->Get("res:PNG/PARTICLE_TEX", first, 0, true));
  ASSERT_TRUE(LibTexture::Instance()->Get("res:PNG/PARTICLE_TEX", second, 0, true));
  EXPECT_EQ(first.get(), second.get());
  EXPECT_EQ(Occurrences(capture.Text(), "Loading image from"), 1);
  EXPECT_EQ(first->GetName(), "res:PNG/PARTICLE_TEX");
  EXPECT_NE(first->id, 0u);
  EXPECT_TRUE(glIsTexture(first->id));
  EXPECT_EQ(first->target, static_cast<uint32_t>(GL_TEXTURE_2D));

  // The texture is bound and carries its parameters and its pixels.
  GLint value = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
  EXPECT_EQ(static_cast<GLuint>(value), first->id);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
  EXPECT_EQ(value, GL_REPEAT);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
  EXPECT_EQ(value, GL_LINEAR_MIPMAP_LINEAR);
  GLint width = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 64);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 32);  // the mipmap chain was built on upload
  GLfloat anisotropy = 0;
  glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy);
  EXPECT_LE(anisotropy, 2.0f);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureLibrary, KeysDifferingInCaseAreDifferentTextures) {
  LogCapture capture;
  CRefCountPtrT<TextureBase> upper, lower;
  ASSERT_TRUE(LibTexture::Instance()->Get("res:PNG/PARTICLE_TEX", upper, 0, true));
  // Resource names are found whatever their case, but the library's keys are exact.
  ASSERT_TRUE(LibTexture::Instance()->Get("res:png/particle_tex", lower, 0, true));
  EXPECT_NE(upper.get(), lower.get());
  EXPECT_NE(upper->id, lower->id);
  EXPECT_EQ(Occurrences(capture.Text(), "Loading image from"), 2);
}

TEST_F(TextureLibrary, NoLoadingWhenNotAllowedAndUnsupportedParameters) {
  LogCapture capture;
  CRefCountPtrT<TextureBase> texture;
  EXPECT_FALSE(LibTexture::Instance()->Get("res:TGA/CHILER_FONT", texture, 0, false));
  EXPECT_FALSE(texture);
  EXPECT_EQ(capture.Text(), "");
  EXPECT_EQ(LibTexture::Instance()->Find("res:TGA/CHILER_FONT"), -1);

  EXPECT_FALSE(LibTexture::Instance()->Get("seven", texture, 7, true));
  EXPECT_EQ(capture.Text(), "<!> LibTexture : Unknown texture parameter : 7\n");
  capture.Clear();
  for (unsigned parameter : {2u, 3u, 4u}) EXPECT_FALSE(LibTexture::Instance()->Get("other", texture, parameter, true));
  EXPECT_EQ(capture.Text(), "");

  ASSERT_TRUE(LibTexture::Instance()->Get("empty", texture, 1, true));
  EXPECT_EQ(texture->id, 0u);
  EXPECT_EQ(LibTexture::Instance()->Count(), 1);
}

TEST_F(TextureLibrary, AMissingImageStoresNothing) {
  LogCapture capture;
  CRefCountPtrT<TextureBase> texture;
  EXPECT_FALSE(LibTexture::Instance()->Get("res:PNG/MISSING", texture, 0, true));
  EXPECT_EQ(capture.Text(), "<i> Loading image from res:PNG/MISSING not found!\n");
  EXPECT_EQ(LibTexture::Instance()->Count(), 0);
}

TEST_F(TextureLibrary, BindingTheSameTextureTwiceBindsOnce) {
  CRefCountPtrT<TextureBase> a, b;
  ASSERT_TRUE(LibTexture::Instance()->Get("res:PNG/PARTICLE_TEX", a, 0, true));
  ASSERT_TRUE(LibTexture::Instance()->Get("res:TGA/CHILER_FONT", b, 0, true));
  BoundTextureCache& cache = BoundTextures();
  const int32_t before = cache.bindCount;
  a->Bind();
  a->Bind();
  EXPECT_EQ(cache.bindCount, before + 1);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), a->id);
  b->Bind();
  EXPECT_EQ(cache.bindCount, before + 2);
  EXPECT_EQ(cache.boundTextures[0], b->id);
}

TEST_F(TextureLibrary, ReloadingReplacesTheNameAndEmptyImagesAreRefused) {
  CRefCountPtrT<TextureBase> texture;
  ASSERT_TRUE(LibTexture::Instance()->Get("blank", texture, 1, true));
  CRefCountPtrT<Image> image;
  image.Adopt(new Image());
  LogCapture capture;
  EXPECT_FALSE(LoadTexture(*texture, *image));
  EXPECT_EQ(capture.Text(), "<!> Can't load texture. Image is not valid.\n");
  ASSERT_TRUE(image->Allocate(2, 2, 4));
  image->format = image->internalFormat = GL_RGBA;
  std::memset(image->data, 0x7F, 16);
  ASSERT_TRUE(LoadTexture(*texture, *image));
  const uint32_t firstName = texture->id;
  ASSERT_TRUE(LoadTexture(*texture, *image));
  EXPECT_FALSE(glIsTexture(firstName));
  EXPECT_TRUE(glIsTexture(texture->id));
}

// As on OpenGL 1.1 without GL_SGIS_generate_mipmap: the particle must still
// draw textured (bright centre, dark corners), not as a plain square.
TEST_F(TextureLibrary, WithoutAutomaticMipmapsTexturesStayComplete) {
  CRefCountPtrT<Image> image;
  {
    LogCapture quiet;
    ASSERT_TRUE(LoadImage("res:PNG/PARTICLE_TEX", image));
  }
  CRefCountPtrT<TextureBase> texture;
  ASSERT_TRUE(LibTexture::Instance()->Get("no mipmaps", texture, 1, true));
  ASSERT_TRUE(LoadTexture(*texture, *image, TextureCaps{}));
  GLint value = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
  EXPECT_EQ(value, GL_LINEAR);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, &value);
  EXPECT_EQ(value, GL_FALSE);

  // Drawn at half size, so minification samples it.
  gl.PixelProjection();
  glDisable(GL_DEPTH_TEST);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 0, 0, 1);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0), glVertex2f(10, 10);
  glTexCoord2f(1, 0), glVertex2f(42, 10);
  glTexCoord2f(1, 1), glVertex2f(42, 42);
  glTexCoord2f(0, 1), glVertex2f(10, 42);
  glEnd();
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glFinish();
  uint8_t centre[4] = {}, corner[4] = {};
  glReadBuffer(GL_BACK);
  glReadPixels(26, 26, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, centre);
  glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, corner);
  EXPECT_GT(centre[0], 200);
  EXPECT_LT(corner[0], 60);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// ---- fonts ----

class FontDrawing : public GlFixture {
 protected:
  void SetUp() override {
    GlFixture::SetUp();
    if (HasFatalFailure()) return;
    LogCapture quiet;
    ASSERT_TRUE(LibFont::Instance()->Get("res:TGA/CHILER_FONT", font, 0, true)) << quiet.Text();
    gl.PixelProjection();
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 1, 1, 1);
  }

  // Draws `text` with its pen at (x, y) on black and reads the frame back.
  void Draw(const char* text, int32_t length, float x = 10, float y = 100) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(x, y, 0);
    font->DrawText(text, length);
    glFinish();
    pixels.assign(GlTestContext::kWidth * GlTestContext::kHeight * 4, 0);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, GlTestContext::kWidth, GlTestContext::kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  }

  bool Ink(int x, int y) const { return pixels[(y * GlTestContext::kWidth + x) * 4] > 96; }

  // Runs of columns with ink between rows y0 and y1: start columns.
  std::vector<int> InkRunStarts(int y0, int y1) const {
    std::vector<int> starts;
    bool inRun = false;
    for (int x = 0; x < GlTestContext::kWidth; ++x) {
      bool any = false;
      for (int y = y0; y < y1 && !any; ++y) any = Ink(x, y);
      if (any && !inRun) starts.push_back(x);
      inRun = any;
    }
    return starts;
  }

  int InkRows(int x0, int x1) const {
    int rows = 0;
    for (int y = 0; y < GlTestContext::kHeight; ++y)
      for (int x = x0; x < x1; ++x)
        if (Ink(x, y)) {
          ++rows;
          break;
        }
    return rows;
  }

  CRefCountPtrT<FontBase> font;
  std::vector<uint8_t> pixels;
};

TEST_F(FontDrawing, EightCharactersDrawEightGlyphsNinetyEightUnitsApart) {
  Draw("HHHHHHHH", -1);
  const std::vector<int> starts = InkRunStarts(100, 116);
  ASSERT_EQ(starts.size(), 8u);
  EXPECT_EQ(starts.back() - starts.front(), 98);
  for (size_t i = 1; i < starts.size(); ++i) EXPECT_EQ(starts[i] - starts[i - 1], 14);
  EXPECT_GE(starts.front(), 10);
  EXPECT_LT(starts.front(), 10 + 16);
}

TEST_F(FontDrawing, SecondGetSharesTheFontAndTheSheetIsLoadedOnce) {
  LogCapture capture;
  CRefCountPtrT<FontBase> again;
  ASSERT_TRUE(LibFont::Instance()->Get("res:TGA/CHILER_FONT", again, 0, true));
  EXPECT_EQ(again.get(), font.get());
  EXPECT_EQ(capture.Text(), "");
  auto* nehe = static_cast<FontNeHe*>(font.get());
  EXPECT_EQ(nehe->lineHeight, 16.0f);
  EXPECT_EQ(nehe->charWidth[255], 16);
  CRefCountPtrT<TextureBase> sheet;
  ASSERT_TRUE(LibTexture::Instance()->Get("res:TGA/CHILER_FONT", sheet, 0, false));
  EXPECT_EQ(sheet.get(), nehe->texture.get());
}

TEST_F(FontDrawing, LoadingLogsOnceAndUnknownTypesAreRefused) {
  LogCapture capture;
  CRefCountPtrT<FontBase> other;
  ASSERT_TRUE(LibFont::Instance()->Get("res:TGA/NEHE_FONT", other, 0, true));
  EXPECT_EQ(Occurrences(capture.Text(), "<i> Loading NeHe-style font res:TGA/NEHE_FONT\n"), 1);
  capture.Clear();
  EXPECT_FALSE(LibFont::Instance()->Get("res:TGA/NEHE_FONT2", other, 3, true));
  EXPECT_EQ(capture.Text(), "<!> LibFont : Unknown font type: 3\n");
  capture.Clear();
  EXPECT_FALSE(LibFont::Instance()->Get("res:TGA/NO_FONT", other, 0, true));
  EXPECT_NE(capture.Text().find(" not found!\n"), std::string::npos);
  EXPECT_EQ(LibFont::Instance()->Find("res:TGA/NO_FONT"), -1);
}

TEST_F(FontDrawing, ControlCharactersDrawNothingAndDoNotMoveThePen) {
  Draw("H\x01H\x1FH", -1);
  const std::vector<int> starts = InkRunStarts(100, 116);
  ASSERT_EQ(starts.size(), 3u);
  EXPECT_EQ(starts[1] - starts[0], 14);
  EXPECT_EQ(starts[2] - starts[1], 14);
}

TEST_F(FontDrawing, AnExplicitShorterLengthTruncates) {
  Draw("HHHHHHHH", 3);
  EXPECT_EQ(InkRunStarts(100, 116).size(), 3u);
  Draw("HH", 50);  // a longer length stops at the terminator
  EXPECT_EQ(InkRunStarts(100, 116).size(), 2u);
}

TEST_F(FontDrawing, LineBreaksStartTheNextPieceBelowAtTheLeftMargin) {
  Draw("HHH\nH\r\nHH", -1);
  const std::vector<int> first = InkRunStarts(100, 116);
  const std::vector<int> second = InkRunStarts(84, 100);
  const std::vector<int> third = InkRunStarts(68, 84);
  ASSERT_EQ(first.size(), 3u);
  ASSERT_EQ(second.size(), 1u);
  ASSERT_EQ(third.size(), 2u);
  EXPECT_EQ(second[0], first[0]);
  EXPECT_EQ(third[0], first[0]);
  EXPECT_EQ(InkRunStarts(52, 68).size(), 0u);
}

TEST_F(FontDrawing, EmptyTextDrawsNothingAndLeavesTheStateAsItWas) {
  glEnable(GL_CULL_FACE);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  GLfloat before[16], after[16];
  glLoadIdentity();
  glTranslatef(3, 4, 0);
  glGetFloatv(GL_MODELVIEW_MATRIX, before);
  font->DrawText("", -1);
  glGetFloatv(GL_MODELVIEW_MATRIX, after);
  EXPECT_EQ(std::memcmp(before, after, sizeof before), 0);
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  Draw("", -1);
  EXPECT_EQ(InkRows(0, GlTestContext::kWidth), 0);
  // A drawn line leaves the matrix where it was too.
  glLoadIdentity();
  font->DrawText("HH\nH", -1);
  glGetFloatv(GL_MODELVIEW_MATRIX, after);
  GLfloat identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  EXPECT_EQ(std::memcmp(identity, after, sizeof after), 0);
}

TEST_F(FontDrawing, DrawingAgainWithTheSameSheetIssuesNoBind) {
  Draw("HH", -1);
  const int32_t before = BoundTextures().bindCount;
  Draw("HH", -1);
  EXPECT_EQ(BoundTextures().bindCount, before);
}

TEST_F(FontDrawing, DrawCharDrawsOneGlyphAndAdvancesThePen) {
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(10, 100, 0);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  font->DrawChar('H');
  font->DrawChar('\x02');
  font->DrawChar('H');
  glFinish();
  pixels.assign(GlTestContext::kWidth * GlTestContext::kHeight * 4, 0);
  glReadPixels(0, 0, GlTestContext::kWidth, GlTestContext::kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  const std::vector<int> starts = InkRunStarts(100, 116);
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[1] - starts[0], 14);
}

TEST_F(FontDrawing, TheSecondCharacterSetDrawsTheOtherHalfOfTheSheet) {
  Draw("H", -1);
  const std::vector<uint8_t> upright = pixels;
  static_cast<FontNeHe*>(font.get())->charSet = 1;
  Draw("H", -1);
  EXPECT_GT(InkRows(0, GlTestContext::kWidth), 5);
  EXPECT_NE(pixels, upright);
  Draw(" ", -1);  // cell 128 is blank like the space of the first set
  EXPECT_EQ(InkRows(0, GlTestContext::kWidth), 0);
  Draw("\xA0\xFFH", -1);  // beyond the sheet: nothing, and the pen stays
  EXPECT_EQ(InkRunStarts(100, 116).size(), 1u);
  static_cast<FontNeHe*>(font.get())->charSet = 0;
}

}  // namespace
