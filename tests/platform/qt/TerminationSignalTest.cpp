#include "platform/qt/TerminationSignal.h"

#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

using kal::qt::TerminationSignal;

TEST(TerminationSignal, ATerminationRequestArrivesInTheEventLoop)
{
    for (int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        TerminationSignal termination;
        ASSERT_TRUE(termination.installed());
        int received = 0;
        QObject::connect(&termination, &TerminationSignal::received, &termination, [&] { ++received; });
        ASSERT_EQ(std::raise(signal), 0);
        ASSERT_EQ(std::raise(signal), 0);
        EXPECT_EQ(received, 0) << "nothing runs inside the handler";
        EXPECT_TRUE(QTest::qWaitFor([&] { return received > 0; }, 2000));
        QTest::qWait(20);
        EXPECT_EQ(received, 1) << "requests pending together arrive once";
    }
}
