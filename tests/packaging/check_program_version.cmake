# Both programs print "Veltrix <version>" for --version, from the top-level project():
# cmake -DPROGRAM=<veltrix> -DCLI=<veltrix-cli> -DVERSION=<x.y> -DWORK=<folder> -P check_program_version.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
foreach(program IN ITEMS ${PROGRAM} ${CLI})
  execute_process(COMMAND env -i PATH=/usr/bin:/bin HOME=${WORK} XDG_CONFIG_HOME=${WORK}/config
                          "ASAN_OPTIONS=$ENV{ASAN_OPTIONS}" "UBSAN_OPTIONS=$ENV{UBSAN_OPTIONS}"
                          ${program} --version
    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0 OR NOT out STREQUAL "Veltrix ${VERSION}\n")
    message(FATAL_ERROR "${program} --version gave ${result}, '${out}' (expected 'Veltrix ${VERSION}'): ${err}")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK})
