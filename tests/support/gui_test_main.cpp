#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>

#include "platform/fonts.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    veltrix::RegisterFontSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
