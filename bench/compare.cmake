# The "Compare Parts" window with six parts: a repaint after the marker moves (also over a 100,000-point
# measured file) and after a zoom.
if(VELTRIX_BUILD_GUI)
  veltrix_add_bench(compare_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/compare_bench.cpp
    LIBS veltrix_compare_window Qt6::Widgets)
endif()
