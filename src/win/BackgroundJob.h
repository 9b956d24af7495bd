// One job at a time on a thread of the program's own, beside the window's thread: the
// window goes on copying while the job reads back what it copied before.
#pragma once

#include "win/Handles.h"

#include <atomic>

namespace win {

class BackgroundJob {
public:
    // eventsOnly: waits on events as on systems before Windows 8, also where the
    // system offers waits on a word of memory.
    explicit BackgroundJob(bool eventsOnly = false) noexcept;
    BackgroundJob(const BackgroundJob&) = delete;
    BackgroundJob& operator=(const BackgroundJob&) = delete;
    // Waits for the job that runs: it may read what the owner is about to free.
    ~BackgroundJob();

    // Runs job(data) on the thread, made with the first job; where no thread can be made,
    // runs it here and now. The job must not throw, and data must last until the job has
    // ended. Waits for the job before it first.
    void Start(void (*job)(void*), void* data);
    // Returns once the job has ended; at once when none runs.
    void Wait();
    // Started and not yet waited for.
    bool Running() const noexcept { return running_; }
    // Running, but its job has ended: Wait returns at once.
    bool Ended() const noexcept { return state_ == kDone; }

private:
    static DWORD WINAPI ThreadMain(void* self);
    // Wakes whoever waits for word to change: on word itself, or on event.
    void Signal(std::atomic<long>& word, HANDLE event) const;
    // Returns once word no longer holds value, or once event is set.
    void Await(std::atomic<long>& word, long value, HANDLE event) const;

    void (*job_)(void*) = nullptr;
    void* data_ = nullptr;
    UniqueHandle thread_, go_, done_;
    // Under Wine every wait on an event and every signal is a call to its server, which
    // a thread also copying files waits for: the end of a job is signalled only to a
    // waiting owner, and an owner finding the job ended does not wait. Where the system
    // waits on a word of memory (Windows 8 on, and Wine, where that is the kernel's
    // futex), the thread and its owner wait on state_ and jobs_ instead.
    enum : long { kRunning, kWaiting, kDone };
    std::atomic<long> state_{kDone};
    // Jobs started: the thread's word to wait on for the next one.
    std::atomic<long> jobs_{0};
    std::atomic<bool> ending_{false};
    bool running_ = false;
    bool addressWaits_ = false;
};

} // namespace win
