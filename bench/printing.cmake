# Printing a window to PDF at 300 and 1200 dpi: time, and peak memory measured in child processes.
if(VELTRIX_BUILD_GUI)
  veltrix_add_bench(printing_bench SOURCES printing_bench.cpp LIBS veltrix_printing Qt6::Widgets Qt6::PrintSupport)
  if(TARGET veltrix_spec_screen)
    target_link_libraries(printing_bench PRIVATE veltrix_spec_screen)
    target_compile_definitions(printing_bench PRIVATE VELTRIX_BENCH_SPEC_SCREEN=1)
  endif()
endif()
