#include "Delays.h"
#include "UiHooks.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class DelayTest : public ::testing::Test {
protected:
    void SetUp() override { Application::resetTerminated(); }
    void TearDown() override { Application::resetTerminated(); }
};

}  // namespace

TEST_F(DelayTest, HandlesEventsWhileWaitingItsTimeButNotForNothingOrLess)
{
    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    Delay(0);
    Delay(-5);
    EXPECT_FALSE(fired);

    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(5);
    QElapsedTimer clock;
    clock.start();
    // Long enough for two ticks however late a busy machine runs the loop.
    Delay(300);
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_GE(ticks, 2);
    EXPECT_TRUE(fired);
}

TEST_F(DelayTest, EndsWhenTheApplicationIsAskedToTerminate)
{
    QTimer::singleShot(10, [] { Application::terminate(); });
    QElapsedTimer clock;
    clock.start();
    Delay(60000);
    EXPECT_TRUE(Application::terminated());
    EXPECT_LT(clock.elapsed(), 30000);
}

TEST_F(DelayTest, TerminateRequestedBeforeTheLoopRunsEndsItAsSoonAsItStarts)
{
    Application::terminate();
    constexpr int SafetyMs = 20000;
    QTimer safety;  // ends a loop that the request failed to end
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    safety.start(SafetyMs);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_LT(clock.elapsed(), SafetyMs);
}
