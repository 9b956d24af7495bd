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
    ++jobs_;
    Signal(jobs_, go_.get());
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
    ++jobs_;
    Signal(jobs_, go_.get());
}

void BackgroundJob::Wait()
{
    if (!running_) return;
    long running = kRunning;
    if (state_.compare_exchange_strong(running, kWaiting)) Await(state_, kWaiting, done_.get());
    running_ = false;
}

void BackgroundJob::Signal(std::atomic<long>& word, HANDLE event) const
{
    if (addressWaits_)
        Wake(word);
    else
        SetEvent(event);
}

void BackgroundJob::Await(std::atomic<long>& word, long value, HANDLE event) const
{
    if (addressWaits_)
        WaitWhile(word, value);
    else
        WaitForSingleObject(event, INFINITE);
}

DWORD WINAPI BackgroundJob::ThreadMain(void* self)
{
    auto& me = *static_cast<BackgroundJob*>(self);
    long seen = 0;
    for (;;) {
        me.Await(me.jobs_, seen, me.go_.get());
        seen = me.jobs_;
        if (me.ending_) return 0;
        me.job_(me.data_);
        if (me.state_.exchange(kDone) == kWaiting) me.Signal(me.state_, me.done_.get());
    }
}

} // namespace win
