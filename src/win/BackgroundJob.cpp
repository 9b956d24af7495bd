#include "win/BackgroundJob.h"

namespace win {

BackgroundJob::~BackgroundJob()
{
    Wait();
    if (!thread_) return;
    ending_ = true;
    SetEvent(go_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
}

void BackgroundJob::Start(void (*job)(void*), void* data)
{
    Wait();
    if (!thread_) {
        go_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
        done_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
        DWORD id = 0;
        if (go_ && done_) thread_.reset(CreateThread(nullptr, 0, ThreadMain, this, 0, &id));
        if (!thread_) {
            job(data);
            return;
        }
    }
    job_ = job;
    data_ = data;
    running_ = true;
    state_ = kRunning;
    SetEvent(go_.get());
}

void BackgroundJob::Wait()
{
    if (!running_) return;
    int running = kRunning;
    if (state_.compare_exchange_strong(running, kWaiting)) WaitForSingleObject(done_.get(), INFINITE);
    running_ = false;
}

DWORD WINAPI BackgroundJob::ThreadMain(void* self)
{
    auto& me = *static_cast<BackgroundJob*>(self);
    for (;;) {
        WaitForSingleObject(me.go_.get(), INFINITE);
        if (me.ending_) return 0;
        me.job_(me.data_);
        if (me.state_.exchange(kDone) == kWaiting) SetEvent(me.done_.get());
    }
}

} // namespace win
