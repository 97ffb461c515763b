# One full paint of the specification screen: rules, computation, picture, render and copy.
if(VELTRIX_BUILD_GUI)
  veltrix_add_bench(spec_screen_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/spec_screen_bench.cpp
    LIBS veltrix_spec_screen Qt6::Widgets)
endif()
