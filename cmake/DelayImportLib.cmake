# Makes a delay-load import library for one system DLL from the toolchain's
# ordinary import library: every function it names, bound on its first call
# instead of when the program loads. Run as a script:
#   cmake -DNM=... -DDLLTOOL=... -DDLL=comctl32 -DIMPORT_LIB=.../libcomctl32.a -DOUT=.../libcomctl32.a -P DelayImportLib.cmake
execute_process(COMMAND ${NM} ${IMPORT_LIB} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${NM} could not read ${IMPORT_LIB}")
endif()
# A function has both its thunk (T name) and its slot (I __imp_name); data
# has the slot only and cannot be delay-loaded, so it is left out.
string(REGEX MATCHALL "[0-9a-fA-F]+ T [A-Za-z_][A-Za-z0-9_@]*" thunks "${symbols}")
set(def "LIBRARY ${DLL}.dll\nEXPORTS\n")
foreach(line IN LISTS thunks)
  string(REGEX REPLACE "^[0-9a-fA-F]+ T " "" name "${line}")
  string(FIND "${symbols}" " I __imp_${name}\n" slot)
  if(NOT slot EQUAL -1)
    string(APPEND def "${name}\n")
  endif()
endforeach()
get_filename_component(dir ${OUT} DIRECTORY)
file(WRITE ${dir}/${DLL}.def "${def}")
execute_process(COMMAND ${DLLTOOL} --dllname ${DLL}.dll --def ${dir}/${DLL}.def --output-delaylib ${OUT}
  RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${DLLTOOL} could not make ${OUT}")
endif()
