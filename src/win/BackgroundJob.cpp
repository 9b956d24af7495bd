#include "win/BackgroundJob.h"

#include "win/LaterCalls.h"

namespace win {

namespace {

using WaitOnAddressCall = BOOL(WINAPI*)(volatile void*, void*, SIZE_T, DWORD);
using WakeByAddressCall = void(WINAPI*)(void*);

struct AddressWaits {
    WaitOnAddressCall wait = LaterCall<WaitOnAddressCall>("kernelbase.dll", "WaitOnAddress");
    WakeByAddressCall wake = LaterCall<WakeByAddressCall>("kernelbase.dll", "WakeByAddressSingle");
};

const AddressWaits& Calls()
{
    static const AddressWaits calls;
    return calls;
}

static_assert(sizeof(std::atomic<long>) == sizeof(long), "a word the system can wait on");

// Returns once word no longer holds value; the system may wake a waiter early.
void WaitWhile(std::atomic<long>& word, long value)
{
    while (word.load() == value) Calls().wait(&word, &value, sizeof value, INFINITE);
}

void Wake(std::atomic<long>& word) { Calls().wake(&word); }

} // namespace

BackgroundJob::BackgroundJob(bool eventsOnly) noexcept
    : addressWaits_(!eventsOnly && Calls().wait && Calls().wake)
{
}

BackgroundJob::~BackgroundJob()
{
    Wait();
    if (!thread_) return;
    ending_ = true;
    if (addressWaits_) {
        ++jobs_;
        Wake(jobs_);
    } else {
        SetEvent(go_.get());
    }
    WaitForSingleObject(thread_.get(), INFINITE);
}

void BackgroundJob::Start(void (*job)(void*), void* data)
{
    Wait();
    if (!thread_) {
        if (!addressWaits_) {
            go_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
            done_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
        }
        DWORD id = 0;
        if (addressWaits_ || (go_ && done_)) thread_.reset(CreateThread(nullptr, 0, ThreadMain, this, 0, &id));
        if (!thread_) {
            job(data);
            return;
        }
    }
    job_ = job;
    data_ = data;
    running_ = true;
    state_ = kRunning;
    if (addressWaits_) {
        ++jobs_;
        Wake(jobs_);
    } else {
        SetEvent(go_.get());
    }
}

void BackgroundJob::Wait()
{
    if (!running_) return;
    long running = kRunning;
    if (state_.compare_exchange_strong(running, kWaiting)) {
        if (addressWaits_)
            WaitWhile(state_, kWaiting);
        else
            WaitForSingleObject(done_.get(), INFINITE);
    }
    running_ = false;
}

DWORD WINAPI BackgroundJob::ThreadMain(void* self)
{
    auto& me = *static_cast<BackgroundJob*>(self);
    long seen = 0;
    for (;;) {
        if (me.addressWaits_) {
            WaitWhile(me.jobs_, seen);
            seen = me.jobs_;
        } else {
            WaitForSingleObject(me.go_.get(), INFINITE);
        }
        if (me.ending_) return 0;
        me.job_(me.data_);
        if (me.state_.exchange(kDone) == kWaiting) {
            if (me.addressWaits_)
                Wake(me.state_);
            else
                SetEvent(me.done_.get());
        }
    }
}

} // namespace win
