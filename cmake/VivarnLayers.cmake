# The layers the libraries stand in, from the top:
#   app > config/pages > config/controls > config/ui, config/logic
#   config/pages > life > life/field, palette, engine/gl > engine/image
#       > engine/io > engine/core (which all but life/field may stand on)
# Every target has the repository root as include folder, so the compiler
# cannot refuse an include that points upward; each library folder states
# instead which folders its sources may include, and cmake/check_includes.cmake
# (the include_layers test) holds the sources and the links to it.

# vivarn_may_include(<target> <folder>...): the folders, relative to the
# repository root, whose headers the sources in the folder of this
# CMakeLists.txt may include and whose libraries <target> may link. The
# folder itself and resources/resource.h (identifiers only) are always
# allowed. Several statements in one folder add up.
function(vivarn_may_include target)
  foreach(folder IN LISTS ARGN)
    if(NOT IS_DIRECTORY ${CMAKE_SOURCE_DIR}/${folder})
      message(FATAL_ERROR "vivarn_may_include(${target}): there is no folder ${folder}")
    endif()
  endforeach()
  set_property(TARGET ${target} PROPERTY VIVARN_MAY_INCLUDE ${ARGN})
endfunction()
