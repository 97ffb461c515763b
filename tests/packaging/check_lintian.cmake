# lintian --pedantic on the packages DebianPackagesBuild made: no error and no warning.
# cmake -DLINTIAN=<lintian> -DWORK=<folder of the .deb files> -P check_lintian.cmake
if(NOT LINTIAN OR LINTIAN MATCHES "-NOTFOUND$")
  message("SKIP: lintian not installed (scripts/setup.sh installs it)")
  return()
endif()
file(GLOB debs ${WORK}/*.deb)
list(LENGTH debs count)
if(NOT count EQUAL 2)
  message(FATAL_ERROR "expected the two packages in ${WORK}, found: ${debs}")
endif()
execute_process(COMMAND ${LINTIAN} --pedantic --display-info --fail-on error,warning ${debs}
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}")
if(NOT result EQUAL 0 OR out MATCHES "(^|\n)[EW]: ")
  message(FATAL_ERROR "lintian found faults (exit ${result}):\n${out}${err}")
endif()
