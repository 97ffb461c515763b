# One full paint of the specification screen: rules, computation, picture, render and copy.
if(VELTRIX_BUILD_GUI)
  veltrix_add_bench(specification_window_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/specification_window_bench.cpp
    LIBS veltrix_specification_window Qt6::Widgets)
endif()
