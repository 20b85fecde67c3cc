// The program's gallery: the INDEX resource of type RLE lists the pattern
// files in order, one name a line; each is a resource of its own.
#include <string>
#include <vector>

#include "engine/core/log.h"
#include "engine/io/file.h"
#include "life/pattern_gallery_texts.h"

namespace {
constexpr const char* kPatternResourceType = "RLE";
}

std::vector<GalleryText> GalleryTexts() {
  std::vector<GalleryText> texts;
  std::vector<uint8_t> bytes;
  if (!ReadEmbeddedResource(kPatternResourceType, "INDEX", bytes)) {
    MainLog() << "<!> The program carries no pattern gallery.\n";
    return texts;
  }
  const std::string index(bytes.begin(), bytes.end());
  size_t start = 0;
  while (start < index.size()) {
    size_t end = index.find('\n', start);
    if (end == std::string::npos) end = index.size();
    std::string name = index.substr(start, end - start);
    start = end + 1;
    while (!name.empty() && (name.back() == '\r' || name.back() == ' ')) name.pop_back();
    if (name.empty()) continue;
    for (char& c : name)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (!ReadEmbeddedResource(kPatternResourceType, name, bytes)) {
      MainLog() << "<!> Gallery pattern " << name << ": no such resource; left out.\n";
      continue;
    }
    texts.push_back({name, std::string(bytes.begin(), bytes.end())});
  }
  return texts;
}
