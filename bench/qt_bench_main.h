#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <clocale>

#include "platform/fonts.h"
#include "platform/shared_icons.h"

// The main of a benchmark that paints windows: a Qt application on the offscreen platform, fonts
// resolved and standard icons shared as the program does, numbers in the C locale.
#define VELTRIX_QT_BENCHMARK_MAIN()                                       \
    int main(int argc, char** argv) {                                     \
        std::setlocale(LC_ALL, "C");                                      \
        qputenv("QT_QPA_PLATFORM", "offscreen");                          \
        QApplication app(argc, argv);                                     \
        veltrix::RegisterFontSubstitutions();                             \
        veltrix::ShareStandardIcons();                                    \
        benchmark::Initialize(&argc, argv);                               \
        if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1; \
        benchmark::RunSpecifiedBenchmarks();                              \
        benchmark::Shutdown();                                            \
        return 0;                                                         \
    }
