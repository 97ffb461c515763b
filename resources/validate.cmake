# Runs a validator on a file: cmake -DTOOL=<program> -DFILE=<file> -DARGS=<args;...> -P validate.cmake
# Prints "SKIP:" (the test is reported as skipped) when the tool is not installed.
if(NOT TOOL OR TOOL MATCHES "-NOTFOUND$")
  message("SKIP: validator not installed (scripts/setup.sh installs desktop-file-utils and appstream)")
  return()
endif()
execute_process(COMMAND ${TOOL} ${ARGS} ${FILE} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${TOOL} rejected ${FILE} (exit ${result})")
endif()
