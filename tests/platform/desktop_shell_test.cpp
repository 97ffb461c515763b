// The desktop's opener, judged by how it ends, and the message and focus after it fails.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>
#include <optional>
#include <ostream>

#include "platform/services.h"
#include "tests/support/fake_opener.h"

namespace veltrix {
namespace {

using testing::FakeOpener;

class RecordedMessages : public MessageBoxes {
  public:
    void ShowMessage(QWidget* parent, const QString& text, const QString&) override {
        texts << text;
        parents << parent;
    }
    QStringList texts;
    QList<QWidget*> parents;
};

struct OpenerCase {
    const char* name;
    const char* script;
    bool opened;
};

void PrintTo(const OpenerCase& c, std::ostream* os) { *os << c.name; }

class OpenerEnd : public ::testing::TestWithParam<OpenerCase> {};

TEST_P(OpenerEnd, DecidesTheAnswer) {
    FakeOpener opener(QString::fromLatin1(GetParam().script));
    QtDesktopShell shell;
    std::optional<bool> answer;
    shell.Open(QStringLiteral("mailto:sales@norvane.example"), [&](bool opened) { answer = opened; });
    QTRY_VERIFY_WITH_TIMEOUT(answer.has_value(), 5000);
    EXPECT_EQ(*answer, GetParam().opened);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, OpenerEnd,
    ::testing::Values(OpenerCase{"Succeeds", "exit 0", true},
                      // xdg-open with no program for the target: "no method available", status 3.
                      OpenerCase{"FindsNoProgram", "echo 'xdg-open: no method available' >&2; exit 3", false},
                      OpenerCase{"IsKilled", "kill -9 $$", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DesktopShell, HandsTheTargetOverAndDoesNotWaitForTheOpener) {
    FakeOpener opener(QStringLiteral("echo \"$1\" > \"$(dirname \"$0\")/target\"; sleep 0.3; exit 3"));
    QtDesktopShell shell;
    std::optional<bool> answer;
    shell.Open(QStringLiteral("https://www.norvane.example/veltrix.html"),
               [&](bool opened) { answer = opened; });
    EXPECT_FALSE(answer.has_value()) << "Open waited for the opener";
    QTRY_VERIFY_WITH_TIMEOUT(answer.has_value(), 5000);
    EXPECT_FALSE(*answer);
    QFile target(opener.Folder() + QStringLiteral("/target"));
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll().trimmed(), "https://www.norvane.example/veltrix.html");
}

TEST(DesktopShell, AFailureShowsTheMessageAndGivesTheFocusBackToTheControlThatAsked) {
    FakeOpener opener(QStringLiteral("sleep 0.2; exit 3"));
    QtDesktopShell shell;
    RecordedMessages messages;
    QWidget page;
    auto* link = new QPushButton(QStringLiteral("sales@norvane.example"), &page);
    auto* other = new QPushButton(QStringLiteral("other"), &page);
    auto* layout = new QVBoxLayout(&page);
    layout->addWidget(link);
    layout->addWidget(other);
    page.show();
    QApplication::setActiveWindow(&page);
    link->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), link);

    OpenOrReport(&shell, &messages, &page, QStringLiteral("mailto:sales@norvane.example"),
                 QStringLiteral("Unable to start mail client."));
    // The user goes on while the opener runs.
    other->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE_WITH_TIMEOUT(messages.texts.size(), 1, 5000);
    EXPECT_EQ(messages.texts.front(), QStringLiteral("Unable to start mail client."));
    EXPECT_EQ(messages.parents.front(), &page);
    EXPECT_EQ(QApplication::focusWidget(), link);
}

TEST(DesktopShell, NoMessageOnceThePageIsGone) {
    FakeOpener opener(QStringLiteral("sleep 0.2; exit 3"));
    QtDesktopShell shell;
    RecordedMessages messages;
    auto page = std::make_unique<QWidget>();
    OpenOrReport(&shell, &messages, page.get(), QStringLiteral("mailto:sales@norvane.example"),
                 QStringLiteral("Unable to start mail client."));
    page.reset();
    QTest::qWait(600);
    EXPECT_TRUE(messages.texts.isEmpty());
}

}  // namespace
}  // namespace veltrix
