# cmake -DPROGRAM=<veltrix> -P check_usage_error.cmake
foreach(line "--bogus" "--screenshot;a.png;--screenshot;b.png" "stray")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
            ${PROGRAM} ${line}
    RESULT_VARIABLE result ERROR_VARIABLE err)
  if(NOT result EQUAL 2 OR err MATCHES "no display" OR NOT err MATCHES "^veltrix: ")
    message(FATAL_ERROR "veltrix ${line} without a display gave ${result}: ${err}")
  endif()
endforeach()
