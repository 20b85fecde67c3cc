# Copies every layered folder's CMakeLists.txt (the statements, no sources)
# into a scratch root, plants one upward include at a time into each engine
# library, the pages (which see the Life task's front, not the field inside
# it), the field library and the pattern readers (which stand on nothing),
# and expects cmake/check_includes.cmake to refuse it by name. A
# widened statement, or a check that stops seeing nested library folders,
# lets a plant through.
# Usage: cmake -DROOT=<repository> -DSCRATCH=<folder> -P tests/support/plant_upward_includes.cmake
cmake_minimum_required(VERSION 3.20)
file(REMOVE_RECURSE ${SCRATCH})
file(GLOB tops RELATIVE ${ROOT} LIST_DIRECTORIES true ${ROOT}/*)
foreach(top IN LISTS tops)
  if(IS_DIRECTORY ${ROOT}/${top} AND NOT top MATCHES "^(\\..*|tests|tools|build.*)$")
    file(GLOB_RECURSE lists RELATIVE ${ROOT} ${ROOT}/${top}/CMakeLists.txt)
    foreach(list IN LISTS lists)
      configure_file(${ROOT}/${list} ${SCRATCH}/${list} COPYONLY)
    endforeach()
  endif()
endforeach()

# expect(<text the check must print, or "" for a pass>)
function(expect wanted)
  execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${SCRATCH} -P ${ROOT}/cmake/check_includes.cmake
    RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE out)
  string(FIND "${out}" "${wanted}" at)
  if(wanted STREQUAL "" AND NOT code EQUAL 0)
    message(FATAL_ERROR "the unplanted statements fail the check:\n${out}")
  elseif(NOT wanted STREQUAL "" AND (code EQUAL 0 OR at EQUAL -1))
    message(FATAL_ERROR "expected the check to fail with '${wanted}', it said:\n${out}")
  endif()
endfunction()

expect("")
foreach(plant IN ITEMS engine/io>engine/image/image.h engine/image>engine/gl/texture.h engine/gl>life/vivarn_task.h
    config/pages>life/field/life_field.h life/field>life/vivarn_task.h life/pattern>engine/core/log.h)
  string(REPLACE ">" ";" plant ${plant})
  list(GET plant 0 folder)
  list(GET plant 1 header)
  file(WRITE ${SCRATCH}/${folder}/planted.h "#include \"${header}\"\n")
  expect("${folder}/planted.h: #include \"${header}\" points outside")
  file(REMOVE ${SCRATCH}/${folder}/planted.h)
endforeach()

# A parent folder named instead of the libraries below it.
file(APPEND ${SCRATCH}/engine/io/CMakeLists.txt "vivarn_may_include(engine_io engine)\n")
expect("engine/io/CMakeLists.txt: engine is not a library folder")
