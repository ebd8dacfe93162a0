#include "services/TOrvTask_IdleWorker.h"

#include "services/OrvError.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {
constexpr double MSecsPerDay = 86400000.0;

// Due times name whole milliseconds: two compare equal when they fall on the same one.
qint64 DueMs(TOrvDateTime ADateTime)
{
    return std::llround(ADateTime.Days * MSecsPerDay);
}

TOrvDateTime FromMs(qint64 AMs)
{
    return TOrvDateTime(double(AMs) / MSecsPerDay);
}

std::unique_ptr<TOrvTask_IdleWorker> GDefault;

void DestroyDefault()
{
    GDefault.reset();
}
} // namespace

TOrvTask_IdleWorker& TOrvTask_IdleWorker::Default()
{
    if (!GDefault) {
        GDefault = std::make_unique<TOrvTask_IdleWorker>();
        // Runs while the application object is being destroyed, before its dispatcher goes.
        qAddPostRoutine(DestroyDefault);
    }
    return *GDefault;
}

TOrvTask_IdleWorker::TOrvTask_IdleWorker(TClock AClock)
    : FClock(std::move(AClock))
{
    FStopWatch.start();
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        FIdleConnection = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock,
                                           [this] { ProcessIdle(); });
}

TOrvTask_IdleWorker::~TOrvTask_IdleWorker()
{
    QObject::disconnect(FIdleConnection);
}

void TOrvTask_IdleWorker::Execute(TAction AAction)
{
    Insert(std::move(AAction), FromMs(NowMs()));
}

void TOrvTask_IdleWorker::Execute(TAction AAction, std::chrono::nanoseconds ADelay)
{
    const auto delayMs = std::chrono::duration_cast<std::chrono::milliseconds>(ADelay);
    Insert(std::move(AAction), FromMs(NowMs() + delayMs.count()));
}

void TOrvTask_IdleWorker::Execute(TAction AAction, quint32 ADelay)
{
    Insert(std::move(AAction), FromMs(NowMs() + qint64(ADelay)));
}

void TOrvTask_IdleWorker::Execute(TAction AAction, TOrvDateTime AExecuteAfter)
{
    Insert(std::move(AAction), AExecuteAfter);
}

void TOrvTask_IdleWorker::Clear()
{
    FTasks.clear();
    FTasks.shrink_to_fit();
}

quint32 TOrvTask_IdleWorker::WorkingTime() const
{
    return FWorkingTime;
}

void TOrvTask_IdleWorker::SetWorkingTime(quint32 AValue)
{
    if (AValue >= WorkingTime_Min)
        FWorkingTime = AValue;
}

void TOrvTask_IdleWorker::ProcessIdle()
{
    const qint64 passStart = NowMs();
    try {
        // The queue is re-read at every step: a task may queue or clear tasks.
        while (NowMs() - passStart < qint64(FWorkingTime) && !FTasks.empty()) {
            const qint64 dueMs = DueMs(FTasks.back().ExecuteAfter);
            if (NowMs() < dueMs)
                return;
            const auto it = std::find_if(FTasks.begin(), FTasks.end(),
                                         [dueMs](const TOrvTask& task) { return DueMs(task.ExecuteAfter) == dueMs; });
            // Removed before it runs, so a failing task is not run again.
            const TAction action = std::move(it->Action);
            FTasks.erase(it);
            action();
        }
    } catch (...) {
        // Qt's event loop must not be left by an exception.
        OrvError_ReportCurrent(QStringLiteral("Orv.Task.IdleWorker"));
    }
}

const std::vector<TOrvTask_IdleWorker::TOrvTask>& TOrvTask_IdleWorker::Tasks() const
{
    return FTasks;
}

qint64 TOrvTask_IdleWorker::NowMs() const
{
    return FClock ? FClock() : FStopWatch.elapsed();
}

void TOrvTask_IdleWorker::Insert(TAction AAction, TOrvDateTime AExecuteAfter)
{
    // Latest due first, so the earliest due is the last entry. A new task goes
    // behind those due in the same millisecond, which therefore run in the
    // order they were queued.
    const qint64 dueMs = DueMs(AExecuteAfter);
    const auto pos = std::find_if(FTasks.begin(), FTasks.end(),
                                  [dueMs](const TOrvTask& task) { return DueMs(task.ExecuteAfter) < dueMs; });
    FTasks.insert(pos, TOrvTask {std::move(AAction), AExecuteAfter});
}
