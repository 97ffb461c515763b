#include "app/application.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <stdexcept>

#include "platform/services.h"
#include "tests/support/fakes.h"

namespace veltrix {
namespace {

TEST(ExceptionMessage, EndsWithAFullStop) {
    EXPECT_EQ(ExceptionMessage("Disk full"), QString("Disk full."));
    EXPECT_EQ(ExceptionMessage("Done."), QString("Done."));
    EXPECT_FALSE(ExceptionMessage(nullptr).isEmpty());
    EXPECT_FALSE(ExceptionMessage("").isEmpty());
}

TEST(ExceptionReporter, ACommandsExceptionIsShownAfterItUnwindsAndTheProgramGoesOn) {
    testing::FakeMessages messages;
    ExceptionReporter reporter(&messages);
    EXPECT_TRUE(reporter.Guard([] { return true; }));
    EXPECT_FALSE(reporter.Guard([]() -> bool { throw std::runtime_error("Bad value"); }));
    EXPECT_TRUE(messages.texts.isEmpty()) << "not inside the handler that failed";
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.texts, QStringList{"Bad value."});

    // The same failure repeating before its box shows is reported once; later ones again.
    reporter.Guard([]() -> bool { throw std::runtime_error("Again"); });
    reporter.Guard([]() -> bool { throw std::runtime_error("Again"); });
    reporter.Guard([]() -> bool { throw 42; });
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.texts.mid(1).size(), 2);
    EXPECT_EQ(messages.texts.at(1), QString("Again."));
    reporter.Guard([]() -> bool { throw std::runtime_error("Again"); });
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.texts.size(), 4);
}

TEST(ExceptionReporter, DuringStartUpTheFailureIsKeptForTheStartUpCode) {
    testing::FakeMessages messages;
    ExceptionReporter reporter(&messages);
    reporter.SetStarting(true);
    reporter.Guard([]() -> bool { throw std::runtime_error("first"); });
    reporter.Guard([]() -> bool { throw std::runtime_error("second"); });
    reporter.SetStarting(false);
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages.texts.isEmpty());

    std::exception_ptr failure = reporter.TakeStartupFailure();
    ASSERT_TRUE(failure);
    try {
        std::rethrow_exception(failure);
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "first");
    }
    EXPECT_FALSE(reporter.TakeStartupFailure());
}

}  // namespace
}  // namespace veltrix
