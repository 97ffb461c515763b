# The program started with no display says so in one line and exits with 1; --screenshot and --help
# still work. cmake -DPROGRAM=<veltrix> -DWORK=<folder> -P check_no_display.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
# Nothing but what a login without a desktop has: no DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM.
# The sanitizers' settings of a sanitizer build pass through.
set(bare env -i PATH=/usr/bin:/bin HOME=${WORK} XDG_CONFIG_HOME=${WORK}/config LANG=C.UTF-8
    "ASAN_OPTIONS=$ENV{ASAN_OPTIONS}" "UBSAN_OPTIONS=$ENV{UBSAN_OPTIONS}")

# Also when the X11 platform is asked for by name with no X display to use, and with displays that are
# named but cannot be reached: no X server on :7391 (a number no virtual display takes), a Wayland
# socket that does not exist (and, on a plain Debian, no Wayland platform installed).
foreach(platform IN ITEMS "" QT_QPA_PLATFORM=xcb DISPLAY=:7391 "DISPLAY=:7391;QT_QPA_PLATFORM=xcb"
                          WAYLAND_DISPLAY=wayland-9 "WAYLAND_DISPLAY=wayland-9;XDG_RUNTIME_DIR=${WORK}"
                          "WAYLAND_DISPLAY=wayland-9;XDG_SESSION_TYPE=wayland;XDG_RUNTIME_DIR=${WORK}"
                          "WAYLAND_DISPLAY=wayland-9;QT_QPA_PLATFORM=wayland;XDG_RUNTIME_DIR=${WORK}")
  execute_process(COMMAND ${bare} ${platform} ${PROGRAM} WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(REGEX MATCHALL "\n" newlines "${err}")
  list(LENGTH newlines lines)
  if(NOT result EQUAL 1 OR NOT out STREQUAL "" OR NOT lines EQUAL 1
     OR NOT err MATCHES "^veltrix: no display" OR NOT err MATCHES "--screenshot")
    message(FATAL_ERROR "with no display (${platform}): exit ${result}, ${lines} lines on standard error:\n"
                        "${err}\nstdout: ${out}")
  endif()
endforeach()
if(EXISTS ${WORK}/config)
  message(FATAL_ERROR "the program wrote its preferences although it never started")
endif()

execute_process(COMMAND ${bare} ${PROGRAM} --help WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR NOT out MATCHES "--screenshot <file>")
  message(FATAL_ERROR "--help with no display: exit ${result}: ${out}${err}")
endif()

execute_process(COMMAND ${bare} ${PROGRAM} --screenshot ${WORK}/frame.png WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE result ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR NOT EXISTS ${WORK}/frame.png)
  message(FATAL_ERROR "--screenshot with no display: exit ${result}: ${err}")
endif()
file(REMOVE_RECURSE ${WORK})
