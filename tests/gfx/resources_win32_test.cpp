// The pictures embedded in the built screen saver, read through "res:" paths.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "engine/image/image.h"
#include "engine/io/file.h"
#include "tests/gfx/gl_test_context_win32.h"
#include "tests/support/log_capture.h"

namespace {

class ProgramResources : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(module = UseProgramResources(), nullptr); }
  void TearDown() override {
    VekModule::Instance()->instance = nullptr;
    FreeLibrary(module);
  }
  HMODULE module = nullptr;
};

std::vector<uint8_t> AllBytes(IVekFileBase& file) {
  std::vector<uint8_t> bytes(static_cast<size_t>(file.Size()));
  EXPECT_EQ(file.Read(bytes.data(), static_cast<int32_t>(bytes.size())), file.Size());
  return bytes;
}

TEST_F(ProgramResources, SlashAndBackslashFormsOpenTheSameResource) {
  CRefCountPtrT<IVekFileBase> slash, backslash;
  ASSERT_TRUE(OpenFile("res:PNG/PARTICLE_TEX", slash));
  ASSERT_TRUE(OpenFile("res:PNG\\PARTICLE_TEX", backslash));
  EXPECT_GT(slash->Size(), 100);
  EXPECT_EQ(AllBytes(*slash), AllBytes(*backslash));
  EXPECT_EQ(slash->path, "res:PNG/PARTICLE_TEX");
  EXPECT_EQ(slash->mode, IVekFileBase::ModeRead);
  // Seeking from the end counts back from the resource's size.
  ASSERT_TRUE(slash->Seek(10, 2));
  EXPECT_EQ(slash->Tell(), slash->Size() - 10);
}

TEST_F(ProgramResources, MissingResourcesAreNotFound) {
  CRefCountPtrT<IVekFileBase> file;
  EXPECT_FALSE(OpenFile("res:PNG/NO_SUCH_TEX", file));
  EXPECT_FALSE(OpenFile("res:PARTICLE_TEX", file));
  EXPECT_FALSE(file);
  LogCapture capture;
  CRefCountPtrT<Image> image;
  EXPECT_FALSE(LoadImage("res:TGA/NO_SUCH_FONT", image));
  EXPECT_EQ(capture.Text(), "<i> Loading image from res:TGA/NO_SUCH_FONT not found!\n");
}

TEST_F(ProgramResources, ParticleLoadsAsSixtyFourSquareRgba) {
  LogCapture capture;
  CRefCountPtrT<Image> image;
  ASSERT_TRUE(LoadImage("res:PNG/PARTICLE_TEX", image));
  EXPECT_EQ(capture.Text(), "<i> Loading image from res:PNG/PARTICLE_TEX(PNG)...OK\n");
  EXPECT_EQ(image->width, 64);
  EXPECT_EQ(image->height, 64);
  EXPECT_EQ(image->components, 4);
  EXPECT_NEAR(image->data[(32 * 64 + 32) * 4 + 3], 254, 2);
  EXPECT_NEAR(image->data[3], 15, 3);
}

TEST_F(ProgramResources, BothGlyphSheetsLoadAsTwoHundredFiftySixSquareRgba) {
  for (const char* path : {"res:TGA/CHILER_FONT", "res:TGA\\NEHE_FONT"}) {
    LogCapture capture;
    CRefCountPtrT<Image> image;
    ASSERT_TRUE(LoadImage(path, image)) << path;
    EXPECT_EQ(capture.Text(), std::string("<i> Loading image from ") + path + "(TGA)...OK\n");
    EXPECT_EQ(image->width, 256);
    EXPECT_EQ(image->height, 256);
    EXPECT_EQ(image->format, 0x1908u);  // GL_RGBA
  }
}

}  // namespace
