#include "specification_window/tolerances_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace veltrix {
namespace {

TEST(TolerancesDialog, ShowsTheGuidelinesAtTheirPlaces) {
    TolerancesDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Tolerances");
    EXPECT_EQ(dialog.size(), QSize(388, 237));
    EXPECT_EQ(dialog.findChild<QFrame*>("bevel")->geometry(), QRect(8, 8, 372, 177));

    const std::tuple<QString, int, int> expected[] = {
        {"Tolerance Information", 136, 24},
        {"Due to manufacturing variations, please observe these guidelines: ", 24, 48},
        {QString::fromUtf8("Actual attenuation at any given frequency point may vary by \u00B110%."), 48, 64},
        {"Actual 3dB bandwidth may be wider than specified (typically 10-20%).", 48, 80},
        {"Passband insertion loss may exceed given value (10% maximum).", 48, 96},
        {"For fo < 2 GHz, attenuation levels are guaranteed to -60dBc.", 24, 120},
        {"For fo > 2 GHz, attenuation levels are guaranteed to -30dBc.", 24, 136},
        {"For more stringent requirements, please contact the factory.", 55, 160}};
    const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), static_cast<qsizetype>(std::size(expected)));
    for (const auto& [text, x, y] : expected) {
        const QLabel* match = nullptr;
        for (const QLabel* label : labels)
            if (label->text() == text) match = label;
        ASSERT_NE(match, nullptr) << text.toStdString();
        EXPECT_EQ(match->pos(), QPoint(x, y)) << text.toStdString();
        EXPECT_LE(match->geometry().right(), 8 + 372 - 2) << "inside the bevel: " << text.toStdString();
        EXPECT_EQ(match->font().bold(), text == "Tolerance Information");
        EXPECT_EQ(match->font().italic(), text.startsWith("For more"));
    }
    EXPECT_EQ(dialog.OkButton()->geometry(), QRect(160, 200, 75, 25));
    EXPECT_TRUE(dialog.OkButton()->isDefault());
}

TEST(TolerancesDialog, ReturnPressesOkAndEveryShowingStartsThere) {
    TolerancesDialog dialog;
    for (int showing = 0; showing < 2; ++showing) {
        QWidget* focused = nullptr;
        QTimer::singleShot(0, &dialog, [&] {
            focused = dialog.focusWidget();
            QTest::keyClick(&dialog, Qt::Key_Return);
        });
        EXPECT_EQ(dialog.exec(), QDialog::Accepted);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(focused, dialog.OkButton());
        EXPECT_EQ(dialog.focusWidget(), dialog.OkButton());
    }
}

}  // namespace
}  // namespace veltrix
