veltrix_add_bench(finder_bench SOURCES finder_bench.cpp LIBS veltrix_finder)
