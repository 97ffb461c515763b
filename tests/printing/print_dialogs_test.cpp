#include "printing/print_dialogs.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace veltrix {
namespace {

TEST(AbortDialogTest, CancelOnlyFlagsTheJobAndTheFrameCannotCloseIt) {
    PrintProgressDialog* dialog = OpenPrintProgress(nullptr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);
    EXPECT_TRUE(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(dialog->windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(dialog->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(dialog->size(), QSize(174, 98));
    EXPECT_EQ(dialog->CancelButton()->text(), QStringLiteral("&Cancel"));
    EXPECT_EQ(dialog->CancelButton()->geometry(), QRect(48, 32, 75, 25));
    EXPECT_TRUE(dialog->CancelButton()->isDefault());

    EXPECT_FALSE(PrintProgressCancelled(dialog));
    dialog->close();
    EXPECT_TRUE(dialog->isVisible());

    SetPrintProgressText(dialog, QStringLiteral("Printing - 40%"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Printing - 40%"));

    dialog->CancelButton()->click();
    dialog->CancelButton()->click();
    EXPECT_TRUE(PrintProgressCancelled(dialog));
    EXPECT_TRUE(dialog->isVisible());

    QPointer<PrintProgressDialog> watch(dialog);
    ClosePrintProgress(dialog);
    EXPECT_TRUE(watch.isNull());
}

TEST(AbortDialogTest, EscapeCancelsWithoutClosing) {
    PrintProgressDialog dialog;
    dialog.show();
    dialog.reject();
    EXPECT_TRUE(dialog.Cancelled);
    EXPECT_TRUE(dialog.isVisible());
}

TEST(PrintExceptionDialogTest, FixedTextsLayoutAndButtonsThatJustClose) {
    AbortPrintDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Abort Print"));
    EXPECT_EQ(dialog.size(), QSize(384, 179));
    EXPECT_EQ(dialog.Bevel()->geometry(), QRect(8, 8, 281, 161));
    EXPECT_EQ(dialog.Heading()->text(), QStringLiteral("Print Exception Message:"));
    EXPECT_EQ(dialog.Heading()->pos(), QPoint(32, 30));
    EXPECT_EQ(dialog.Message()->text(), QStringLiteral("Printer Operation Aborted."));
    EXPECT_EQ(dialog.Message()->pos(), QPoint(88, 90));
    EXPECT_EQ(dialog.OkButton()->geometry(), QRect(300, 8, 75, 25));
    EXPECT_EQ(dialog.CancelButton()->geometry(), QRect(300, 38, 75, 25));
    EXPECT_TRUE(dialog.OkButton()->isDefault());

    for (QPushButton* button : {dialog.OkButton(), dialog.CancelButton()}) {
        dialog.show();
        int finished = 0;
        auto connection = QObject::connect(&dialog, &QDialog::finished, [&] { ++finished; });
        button->click();
        QObject::disconnect(connection);
        EXPECT_EQ(finished, 1);
        EXPECT_FALSE(dialog.isVisible());
    }
}

}  // namespace
}  // namespace veltrix
