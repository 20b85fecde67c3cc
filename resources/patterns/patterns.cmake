# The gallery's patterns. index.txt names the .rle files of this folder in
# the gallery's order; the files are the one source of the texts. The
# Windows program carries them as resources of type RLE (the index as INDEX,
# each file under its name in capitals) and reads them from there; the host
# build has no resources, so it compiles the same bytes into a table
# (life/pattern_gallery_texts.h). Both are written here when CMake runs, and
# CMake runs again when the index or a file changes.
set(vivarn_pattern_dir ${CMAKE_SOURCE_DIR}/resources/patterns)
set(vivarn_pattern_out ${CMAKE_BINARY_DIR}/generated/patterns)

file(STRINGS ${vivarn_pattern_dir}/index.txt vivarn_pattern_names)
set(vivarn_pattern_files "")
set(rc_text "// Written by resources/patterns/patterns.cmake from index.txt.\n")
string(APPEND rc_text "INDEX RLE \"${vivarn_pattern_dir}/index.txt\"\n")
set(cpp_table "")
set(cpp_arrays "")
set(index 0)
foreach(name IN LISTS vivarn_pattern_names)
  if(NOT name MATCHES "^[a-z][a-z0-9_]*$")
    message(FATAL_ERROR "resources/patterns/index.txt: \"${name}\" is not a pattern file's name (lower case, digits, _)")
  endif()
  set(file ${vivarn_pattern_dir}/${name}.rle)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "resources/patterns/index.txt names ${name}, but there is no ${name}.rle")
  endif()
  list(APPEND vivarn_pattern_files ${file})
  string(TOUPPER ${name} resource)
  string(APPEND rc_text "${resource} RLE \"${file}\"\n")
  file(READ ${file} bytes HEX)
  string(LENGTH "${bytes}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
  string(APPEND cpp_arrays "const unsigned char kText${index}[] = {\n${bytes}};\n")
  string(APPEND cpp_table "    {\"${resource}\", kText${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${vivarn_pattern_dir}/index.txt ${vivarn_pattern_files})

set(cpp_text "// Written by resources/patterns/patterns.cmake from index.txt and the files it names.
#include <cstddef>

#include \"life/pattern_gallery_texts.h\"

namespace {
${cpp_arrays}}  // namespace

std::vector<GalleryText> CompiledGalleryTexts() {
  static const struct {
    const char* name;
    const unsigned char* bytes;
    size_t size;
  } kTexts[] = {
${cpp_table}  };
  std::vector<GalleryText> texts;
  for (const auto& entry : kTexts) texts.push_back({entry.name, std::string(reinterpret_cast<const char*>(entry.bytes), entry.size)});
  return texts;
}
")
# Rewritten only when different, so that an unchanged gallery rebuilds nothing.
file(WRITE ${vivarn_pattern_out}/pattern_texts.cpp.new "${cpp_text}")
configure_file(${vivarn_pattern_out}/pattern_texts.cpp.new ${vivarn_pattern_out}/pattern_texts.cpp COPYONLY)
file(WRITE ${vivarn_pattern_out}/patterns.rc.new "${rc_text}")
configure_file(${vivarn_pattern_out}/patterns.rc.new ${vivarn_pattern_out}/patterns.rc COPYONLY)

set(VIVARN_PATTERN_TEXTS_CPP ${vivarn_pattern_out}/pattern_texts.cpp)
set(VIVARN_PATTERN_RC ${vivarn_pattern_out}/patterns.rc CACHE INTERNAL "The gallery's resources")
set(VIVARN_PATTERN_FILES ${vivarn_pattern_dir}/index.txt ${vivarn_pattern_files} CACHE INTERNAL "")

# vivarn_use_patterns(<target>): the program target that carries the
# gallery's RLE resources. Source properties belong to the directory of the
# caller, so this runs there.
function(vivarn_use_patterns target)
  target_sources(${target} PRIVATE ${VIVARN_PATTERN_RC})
  set_source_files_properties(${VIVARN_PATTERN_RC} PROPERTIES OBJECT_DEPENDS "${VIVARN_PATTERN_FILES}")
endfunction()
