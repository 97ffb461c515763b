# Reading a measured Touchstone file: the whole parse, with a phase that keeps turning.
veltrix_add_bench(touchstone_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/touchstone_bench.cpp
  LIBS veltrix_measured)
