# Fails where a source file spells out the version the top-level project() defines:
# cmake -DROOT=<source tree> -DVERSION=<x.y> -P check_version_source.cmake
string(REPLACE "." "\\." v "${VERSION}")
# The forms the version takes in the program: a title, a label, a part number, a release.
set(forms "Veltrix ${v}" "Version ${v}" "\"V${v}\"" "- ${v}\"" "-${v}\"" "version=\"${v}\"")
list(JOIN forms "|" pattern)
file(GLOB_RECURSE sources RELATIVE ${ROOT}
  ${ROOT}/*.cpp ${ROOT}/*.h ${ROOT}/*.in ${ROOT}/*.xml ${ROOT}/*.desktop ${ROOT}/*.cmake ${ROOT}/*.txt)
set(found)
foreach(source IN LISTS sources)
  if(source MATCHES "^(tests|build[^/]*)/")
    continue()
  endif()
  file(STRINGS ${ROOT}/${source} lines REGEX "${pattern}")
  foreach(line IN LISTS lines)
    string(APPEND found "\n  ${source}: ${line}")
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "the version ${VERSION} is typed here; take it from version/version.h or PROJECT_VERSION:${found}")
endif()
