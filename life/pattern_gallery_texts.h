// Where the gallery's texts come from: the pattern files of
// resources/patterns, as the program carries them (RLE resources) or as the
// host build compiles them in. One text per file, in the gallery's order.
#pragma once

#include <string>
#include <vector>

#include "life/pattern_gallery.h"

struct GalleryText {
  std::string name;  // the file's name in capitals, as its resource is named
  std::string text;
};

// The texts this build carries: the program's RLE resources in the Windows
// build, the compiled table in the host build. Empty when there are none.
std::vector<GalleryText> GalleryTexts();
// The table the build compiles from the files (the generated
// pattern_texts.cpp, library life_pattern_texts).
std::vector<GalleryText> CompiledGalleryTexts();

// The entries of `texts`, in their order. A text that is not an RLE pattern
// with a name and a readable rule is left out, with a line in the main log;
// the tests count the entries against the texts.
std::vector<GalleryEntry> BuildGallery(const std::vector<GalleryText>& texts);
