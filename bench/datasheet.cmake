# One whole datasheet: the judgement and figures, the pages painted, the PDF made.
if(VELTRIX_BUILD_GUI)
  veltrix_add_bench(datasheet_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/datasheet_bench.cpp
    LIBS veltrix_datasheet Qt6::Widgets)
endif()
