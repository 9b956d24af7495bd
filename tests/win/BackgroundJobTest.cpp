// The thread beside the window's: jobs run there one at a time, and nobody goes on
// while a job may still read what it was given.
#include "win/BackgroundJob.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace {

TEST(BackgroundJobTest, JobsRunInTurnOnOneOtherThreadAndWaitEndsEachJob)
{
    std::vector<DWORD> threads;
    std::vector<int> order;
    {
        win::BackgroundJob job;
        EXPECT_FALSE(job.Running());
        job.Wait();  // with nothing running
        for (int i = 0; i < 3; ++i) {
            // Each job takes long enough that a Start not waiting for the last would overtake it.
            job.Start([&, i] {
                Sleep(i == 0 ? 100 : 0);
                order.push_back(i);
                threads.push_back(GetCurrentThreadId());
            });
            EXPECT_TRUE(job.Running());
        }
        job.Wait();
        EXPECT_FALSE(job.Running());
        EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    }
    ASSERT_EQ(threads.size(), 3u);
    EXPECT_NE(threads[0], GetCurrentThreadId());
    EXPECT_EQ(threads[1], threads[0]);
    EXPECT_EQ(threads[2], threads[0]);
}

TEST(BackgroundJobTest, GoingAwayWaitsForTheRunningJob)
{
    bool done = false;
    {
        win::BackgroundJob job;
        job.Start([&] {
            Sleep(200);
            done = true;
        });
    }
    EXPECT_TRUE(done);
}

} // namespace
