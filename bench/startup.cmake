# Start-up: the frame with its windows built and painted once, beside a bare Qt main window; and one
# edit of the centre frequency until every window has repainted. Its
# source sits with the frame in app/, the one folder that may reach the frame.
if(VELTRIX_BUILD_GUI)
  veltrix_add_bench(startup_bench
    SOURCES ${PROJECT_SOURCE_DIR}/app/startup_bench.cpp
    LIBS veltrix_frame Qt6::Widgets)
endif()
