# Launch to first map under a virtual display: a bare Qt main window with an MDI area (with or without
# a menu bar), and the listener that times them and the program. Tools for bench/launch_to_map.sh,
# not tests.
if(VELTRIX_BUILD_GUI)
  add_executable(bare_window ${CMAKE_CURRENT_LIST_DIR}/bare_window.cpp)
  target_link_libraries(bare_window PRIVATE Qt6::Widgets)

  find_package(PkgConfig QUIET)
  if(PkgConfig_FOUND)
    pkg_check_modules(VELTRIX_XCB QUIET IMPORTED_TARGET xcb)
  endif()
  if(VELTRIX_XCB_FOUND)
    add_executable(launch_to_map ${CMAKE_CURRENT_LIST_DIR}/launch_to_map.cpp)
    target_link_libraries(launch_to_map PRIVATE PkgConfig::VELTRIX_XCB)
  else()
    message(STATUS "xcb not found: launch_to_map is not built")
  endif()
endif()
