# Printing a window to PDF at 300 and 1200 dpi: time, and peak memory measured in child processes.
if(VELTRIX_BUILD_GUI)
  veltrix_add_bench(printing_bench SOURCES printing_bench.cpp
    LIBS veltrix_printing veltrix_specification_window Qt6::Widgets Qt6::PrintSupport)
endif()
