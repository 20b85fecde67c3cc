// The built program's RLE resources give the gallery: every file of
// resources/patterns, in order, the same entries the compiled texts give.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/module.h"
#include "life/pattern_gallery.h"
#include "life/pattern_gallery_texts.h"

namespace {

// The program mapped as a data file becomes the module whose resources the
// gallery reads. The path is the Linux one; wine sees it on Z:.
HMODULE UseProgramResources() {
  std::string path = "Z:" VIVARN_SCR_PATH;
  for (char& c : path)
    if (c == '/') c = '\\';
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  VekModule::Instance()->instance = module;
  return module;
}

TEST(GalleryResources, TheProgramCarriesEveryPatternFile) {
  ASSERT_NE(UseProgramResources(), nullptr);
  const std::vector<GalleryText> resources = GalleryTexts();
  const std::vector<GalleryText> compiled = CompiledGalleryTexts();
  ASSERT_GE(compiled.size(), 40u);
  ASSERT_EQ(resources.size(), compiled.size());
  for (size_t i = 0; i < compiled.size(); ++i) {
    EXPECT_EQ(resources[i].name, compiled[i].name);
    EXPECT_EQ(resources[i].text, compiled[i].text) << compiled[i].name;
  }

  const std::vector<GalleryEntry>& gallery = PatternGallery();
  const std::vector<GalleryEntry> expected = BuildGallery(compiled);
  ASSERT_EQ(gallery.size(), compiled.size());
  for (size_t i = 0; i < gallery.size(); ++i) {
    EXPECT_EQ(gallery[i].name, expected[i].name);
    EXPECT_EQ(gallery[i].rule, expected[i].rule) << gallery[i].name;
    EXPECT_EQ(gallery[i].pattern.cells.size(), expected[i].pattern.cells.size()) << gallery[i].name;
  }
  EXPECT_NE(FindGalleryEntry("gosper glider gun"), nullptr);
}

}  // namespace
