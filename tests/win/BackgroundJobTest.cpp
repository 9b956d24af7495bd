// The thread beside the window's: jobs run there one at a time, and nobody goes on
// while a job may still read what it was given.
#include "win/BackgroundJob.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace {

struct Log {
    std::vector<DWORD> threads;
    std::vector<int> order;
    int next = 0;
    bool done = false;
};

// Each job after the first takes long enough that a Start not waiting for the one
// before would overtake it.
void Note(void* data)
{
    auto& log = *static_cast<Log*>(data);
    const int mine = log.next++;
    Sleep(mine == 0 ? 100 : 0);
    log.order.push_back(mine);
    log.threads.push_back(GetCurrentThreadId());
}

// Both ways of waiting: on a word of memory (Windows 8 on, and Wine) and on events.
class BackgroundJobTest : public ::testing::TestWithParam<bool> {};

TEST_P(BackgroundJobTest, JobsRunInTurnOnOneOtherThreadAndWaitEndsEachJob)
{
    Log log;
    {
        win::BackgroundJob job(GetParam());
        EXPECT_FALSE(job.Running());
        job.Wait();  // with nothing running
        for (int i = 0; i < 3; ++i) {
            job.Start(Note, &log);
            EXPECT_TRUE(job.Running());
        }
        job.Wait();
        EXPECT_FALSE(job.Running());
        EXPECT_EQ(log.order, (std::vector<int>{0, 1, 2}));
        // Many short jobs: a signal lost between a job's end and the owner's wait
        // would hang here.
        int runs = 0;
        for (int i = 0; i < 2000; ++i) {
            job.Start([](void* n) { ++*static_cast<int*>(n); }, &runs);
            if (i % 2) job.Wait();
        }
        job.Wait();
        EXPECT_EQ(runs, 2000);
    }
    ASSERT_EQ(log.threads.size(), 3u);
    EXPECT_NE(log.threads[0], GetCurrentThreadId());
    EXPECT_EQ(log.threads[1], log.threads[0]);
    EXPECT_EQ(log.threads[2], log.threads[0]);
}

TEST_P(BackgroundJobTest, GoingAwayWaitsForTheRunningJob)
{
    Log log;
    {
        win::BackgroundJob job(GetParam());
        job.Start(
            [](void* data) {
                Sleep(200);
                static_cast<Log*>(data)->done = true;
            },
            &log);
    }
    EXPECT_TRUE(log.done);
}

INSTANTIATE_TEST_SUITE_P(Waits, BackgroundJobTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "OnEvents" : "OnMemory"; });

} // namespace
