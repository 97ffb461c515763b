# A measured sample judged against the requirement beside six compared parts (plain C++).
veltrix_add_bench(sample_judgement_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/sample_judgement_bench.cpp
  LIBS veltrix_compare)
