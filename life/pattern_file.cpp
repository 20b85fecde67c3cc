#include "life/pattern_file.h"

#include <memory>

namespace {
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
}  // namespace

bool ReadFileText(const std::string& utf8Path, size_t limit, std::string& text) {
  if (utf8Path.empty()) return false;
  std::unique_ptr<std::FILE, FileCloser> file(OpenUtf8ForReading(utf8Path));
  if (!file) return false;
  std::string bytes;
  std::unique_ptr<char[]> chunk(new char[65536]);
  while (bytes.size() <= limit) {
    const size_t got = std::fread(chunk.get(), 1, 65536, file.get());
    if (got == 0) break;
    bytes.append(chunk.get(), got);
  }
  if (std::ferror(file.get())) return false;
  if (bytes.size() > limit + 1) bytes.resize(limit + 1);
  text = std::move(bytes);
  return true;
}
