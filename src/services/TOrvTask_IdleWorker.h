#pragma once

#include <QElapsedTimer>
#include <QMetaObject>
#include <QtGlobal>

#include <chrono>
#include <functional>
#include <vector>

// A moment on the scheduler's own clock, in days since the scheduler was
// created (milliseconds / 86,400,000). A distinct type so that it never
// competes with a delay in milliseconds.
struct TOrvDateTime
{
    constexpr explicit TOrvDateTime(double ADays = 0.0) : Days(ADays) {}
    double Days;
};

// Runs closures on the GUI thread once they are due, a few per idle pass of
// the event loop (QAbstractEventDispatcher::aboutToBlock), within a time budget
// per pass. Nothing runs inside Execute, even when it is already due.
//
// A task that throws ends its pass; the error is reported to the message log
// and on stderr, the task is not run again and the rest stay queued.
class TOrvTask_IdleWorker
{
public:
    using TAction = std::function<void()>;
    // Elapsed whole milliseconds since the scheduler was created: its present moment.
    using TClock = std::function<qint64()>;

    struct TOrvTask
    {
        TAction Action;
        TOrvDateTime ExecuteAfter;
    };

    static constexpr quint32 WorkingTime_Default = 50;
    static constexpr quint32 WorkingTime_Min = 20;

    // The process-wide scheduler, created on first use on the GUI thread after
    // the application object; it is destroyed, its tasks unrun, when the
    // application object goes.
    static TOrvTask_IdleWorker& Default();

    // Subscribes to the idle passes of the calling thread's event dispatcher,
    // when there is one. AClock replaces the stopwatch, for driving passes by hand.
    explicit TOrvTask_IdleWorker(TClock AClock = {});
    ~TOrvTask_IdleWorker();
    TOrvTask_IdleWorker(const TOrvTask_IdleWorker&) = delete;
    TOrvTask_IdleWorker& operator=(const TOrvTask_IdleWorker&) = delete;

    // Due now.
    void Execute(TAction AAction);
    // Due after the whole milliseconds of ADelay; any fraction is dropped.
    void Execute(TAction AAction, std::chrono::nanoseconds ADelay);
    void Execute(TAction AAction, quint32 ADelay);
    // Due at AExecuteAfter on the scheduler's clock, not at a calendar date.
    void Execute(TAction AAction, TOrvDateTime AExecuteAfter);

    // Drops every queued task without running it.
    void Clear();

    quint32 WorkingTime() const;
    // Values below 20 ms are ignored.
    void SetWorkingTime(quint32 AValue);

    // One idle pass: runs due tasks, earliest first, while the pass has used
    // less than WorkingTime. Called on every idle pass of the event loop.
    void ProcessIdle();

    // Queued tasks, latest due first.
    const std::vector<TOrvTask>& Tasks() const;

private:
    qint64 NowMs() const;
    void Insert(TAction AAction, TOrvDateTime AExecuteAfter);

    std::vector<TOrvTask> FTasks;
    quint32 FWorkingTime = WorkingTime_Default;
    QElapsedTimer FStopWatch;
    TClock FClock;
    QMetaObject::Connection FIdleConnection;
};
