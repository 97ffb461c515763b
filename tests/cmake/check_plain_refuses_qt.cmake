# Configures the tiny project once per case and checks which configurations fail, and why:
# cmake -DPROJECT=<dir> -DRULES=<plain_targets.cmake> -DWORK=<dir> -P check_plain_refuses_qt.cmake
set(cases Clean DirectQt QtThroughALaterTarget QtHeader)
foreach(case IN LISTS cases)
  file(REMOVE_RECURSE ${WORK}/${case})
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${PROJECT} -B ${WORK}/${case} -DCASE=${case} -DRULES=${RULES}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(case STREQUAL "Clean")
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "${case}: a plain target without Qt was refused:\n${output}")
    endif()
  elseif(result EQUAL 0)
    message(FATAL_ERROR "${case}: a plain target with Qt was accepted:\n${output}")
  elseif(NOT output MATCHES "plain_lib is plain C\\+\\+ and must not")
    message(FATAL_ERROR "${case}: failed, but not for Qt:\n${output}")
  endif()
endforeach()
