# One full paint of the outline screen per drawing: picture, render and copy.
if(VELTRIX_BUILD_GUI)
  veltrix_add_bench(outline_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/outline_bench.cpp
    LIBS veltrix_outline_window Qt6::Widgets)
endif()
