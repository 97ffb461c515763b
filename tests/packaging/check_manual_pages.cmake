# Formats each manual page with man's warnings on: any warning fails.
# cmake -DMAN=<man> -DPAGES=<page.1.gz;...> -P check_manual_pages.cmake
if(NOT MAN OR MAN MATCHES "-NOTFOUND$")
  message("SKIP: man not installed (scripts/setup.sh installs man-db)")
  return()
endif()
foreach(page IN LISTS PAGES)
  execute_process(COMMAND env MANWIDTH=80 LC_ALL=C.UTF-8 ${MAN} --warnings -E UTF-8 -l ${page}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0 OR NOT err STREQUAL "")
    message(FATAL_ERROR "man --warnings -l ${page}: exit ${result}\n${err}")
  endif()
  foreach(section NAME SYNOPSIS DESCRIPTION)
    if(NOT out MATCHES "\n${section}\n")
      message(FATAL_ERROR "${page} has no ${section} section:\n${out}")
    endif()
  endforeach()
endforeach()
