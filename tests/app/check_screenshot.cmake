# Runs the program's --screenshot with no display, in a folder of its own, and checks the picture:
# cmake -DPROGRAM=<veltrix> -DWORK=<scratch folder> -P check_screenshot.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY XDG_CONFIG_HOME=${WORK}/config
          ${PROGRAM} --screenshot ${WORK}/frame.png
  WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE result ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "--screenshot failed (${result}): ${err}")
endif()
file(READ ${WORK}/frame.png signature LIMIT 8 HEX)
if(NOT signature STREQUAL "89504e470d0a1a0a")
  message(FATAL_ERROR "frame.png is not a PNG: ${signature}")
endif()
file(SIZE ${WORK}/frame.png size)
if(size LESS 20000)
  message(FATAL_ERROR "frame.png is only ${size} bytes: the windows were not painted")
endif()
if(EXISTS ${WORK}/veltrix.dat)
  message(FATAL_ERROR "a picture must not write preferences into the working directory")
endif()

# A file that cannot be written is an error with a message, not a silent success.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY XDG_CONFIG_HOME=${WORK}/config
          ${PROGRAM} --screenshot ${WORK}/no-such-folder/frame.png
  WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE result ERROR_VARIABLE err)
if(result EQUAL 0 OR NOT err MATCHES "cannot write")
  message(FATAL_ERROR "an unwritable picture gave ${result}: ${err}")
endif()
file(REMOVE_RECURSE ${WORK})
