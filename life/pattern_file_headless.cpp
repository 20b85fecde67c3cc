#include "life/pattern_file.h"

std::FILE* OpenUtf8ForReading(const std::string& utf8Path) { return std::fopen(utf8Path.c_str(), "rb"); }
