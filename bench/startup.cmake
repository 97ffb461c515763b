# Start-up: the frame with its windows built and painted once, beside a bare Qt main window; and one
# edit of the centre frequency until every window has repainted.
if(VELTRIX_BUILD_GUI)
  veltrix_add_bench(startup_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/startup_bench.cpp
    LIBS veltrix_frame Qt6::Widgets)
endif()
