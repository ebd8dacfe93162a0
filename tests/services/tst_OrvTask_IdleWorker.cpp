#include "services/OrvLog.h"
#include "services/TOrvLog_String.h"
#include "services/TOrvTask_IdleWorker.h"

#include <QEventLoop>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <stdexcept>

using namespace std::chrono_literals;

namespace {
// A scheduler driven by hand: passes run when the test calls ProcessIdle, at
// the moment the test sets.
struct ManualScheduler
{
    qint64 now = 0;
    TOrvTask_IdleWorker worker {[this] { return now; }};
    QStringList ran;

    TOrvTask_IdleWorker::TAction Record(const QString& sName, qint64 ADuration = 0)
    {
        return [this, sName, ADuration] {
            ran << sName;
            now += ADuration;
        };
    }
};

enum class Overload { Now, Milliseconds, TimeSpan, DateTime };
}
Q_DECLARE_METATYPE(Overload)

class tst_OrvTask_IdleWorker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        OrvLog_ModuleInit();
    }

    void cleanupTestCase()
    {
        OrvLog_ModuleFinalize();
    }

    void dueTime_data()
    {
        QTest::addColumn<Overload>("overload");
        QTest::addColumn<qint64>("argument");
        QTest::addColumn<qint64>("dueMs");

        QTest::newRow("no delay") << Overload::Now << qint64(0) << qint64(1000);
        QTest::newRow("0 ms") << Overload::Milliseconds << qint64(0) << qint64(1000);
        QTest::newRow("200 ms") << Overload::Milliseconds << qint64(200) << qint64(1200);
        QTest::newRow("time span 200 ms") << Overload::TimeSpan << qint64(200'000'000) << qint64(1200);
        QTest::newRow("time span fraction dropped") << Overload::TimeSpan << qint64(1'999'999) << qint64(1001);
        QTest::newRow("moment on the scheduler's clock") << Overload::DateTime << qint64(5000) << qint64(5000);
        QTest::newRow("moment already past") << Overload::DateTime << qint64(10) << qint64(1000);
    }

    // Queued at 1000 ms: not run inside Execute, not run a millisecond early, run when due.
    void dueTime()
    {
        QFETCH(Overload, overload);
        QFETCH(qint64, argument);
        QFETCH(qint64, dueMs);

        ManualScheduler s;
        s.now = 1000;
        switch (overload) {
        case Overload::Now:
            s.worker.Execute(s.Record("A"));
            break;
        case Overload::Milliseconds:
            s.worker.Execute(s.Record("A"), quint32(argument));
            break;
        case Overload::TimeSpan:
            s.worker.Execute(s.Record("A"), std::chrono::nanoseconds(argument));
            break;
        case Overload::DateTime:
            s.worker.Execute(s.Record("A"), TOrvDateTime(double(argument) / 86400000.0));
            break;
        }
        QVERIFY(s.ran.isEmpty());

        if (dueMs > s.now) {
            s.now = dueMs - 1;
            s.worker.ProcessIdle();
            QVERIFY(s.ran.isEmpty());
            s.now = dueMs;
        }
        s.worker.ProcessIdle();
        QCOMPARE(s.ran, QStringList {"A"});
        QVERIFY(s.worker.Tasks().empty());
    }

    void integerDelayPicksMilliseconds()
    {
        ManualScheduler s;
        s.worker.Execute(s.Record("A"), 200);
        s.now = 199;
        s.worker.ProcessIdle();
        QVERIFY(s.ran.isEmpty());
        s.now = 200;
        s.worker.ProcessIdle();
        QCOMPARE(s.ran, QStringList {"A"});
    }

    void laterQueuedShorterDelayRunsFirst()
    {
        ManualScheduler s;
        s.worker.Execute(s.Record("A"), 200);
        s.worker.Execute(s.Record("B"), 50);

        s.now = 50;
        s.worker.ProcessIdle();
        QCOMPARE(s.ran, QStringList {"B"});
        s.now = 199;
        s.worker.ProcessIdle();
        QCOMPARE(s.ran, QStringList {"B"});
        s.now = 200;
        s.worker.ProcessIdle();
        QCOMPARE(s.ran, (QStringList {"B", "A"}));
    }

    void tasksDueInTheSameMillisecondAllRun()
    {
        ManualScheduler s;
        s.worker.Execute(s.Record("A"), 100);
        s.worker.Execute(s.Record("B"), 100);
        s.worker.Execute(s.Record("C"), 100);
        s.now = 100;
        s.worker.ProcessIdle();
        QCOMPARE(s.ran, (QStringList {"A", "B", "C"}));
    }

    // Five due tasks of 15 ms with a 50 ms budget: checks at 0, 15, 30 and 45 ms
    // run four, the check at 60 ms ends the pass.
    void budgetEndsThePass()
    {
        ManualScheduler s;
        for (const char* name : {"1", "2", "3", "4", "5"})
            s.worker.Execute(s.Record(name, 15));
        s.worker.ProcessIdle();
        QCOMPARE(s.ran, (QStringList {"1", "2", "3", "4"}));
        s.worker.ProcessIdle();
        QCOMPARE(s.ran, (QStringList {"1", "2", "3", "4", "5"}));
    }

    void longTaskIsNotInterrupted()
    {
        ManualScheduler s;
        s.worker.Execute(s.Record("long", 500));
        s.worker.Execute(s.Record("next"));
        s.worker.ProcessIdle();
        QCOMPARE(s.ran, QStringList {"long"});
        QCOMPARE(s.worker.Tasks().size(), size_t(1));
    }

    void clearThenExecute()
    {
        ManualScheduler s;
        auto held = std::make_shared<int>(0);
        s.worker.Execute([held] {}, 10);
        s.worker.Execute(s.Record("B"));
        s.worker.Clear();
        QCOMPARE(held.use_count(), 1L);
        s.worker.Execute(s.Record("A"), 200);
        QCOMPARE(s.worker.Tasks().size(), size_t(1));
        s.now = 1000;
        s.worker.ProcessIdle();
        QCOMPARE(s.ran, QStringList {"A"});
    }

    void workingTime_data()
    {
        QTest::addColumn<quint32>("written");
        QTest::addColumn<quint32>("expected");
        QTest::newRow("0 ignored") << 0u << 50u;
        QTest::newRow("19 ignored") << 19u << 50u;
        QTest::newRow("20 stored") << 20u << 20u;
        QTest::newRow("120 stored") << 120u << 120u;
    }

    void workingTime()
    {
        QFETCH(quint32, written);
        QFETCH(quint32, expected);
        ManualScheduler s;
        QCOMPARE(s.worker.WorkingTime(), 50u);
        s.worker.SetWorkingTime(written);
        QCOMPARE(s.worker.WorkingTime(), expected);
    }

    void workingTimeSetsTheBudget()
    {
        ManualScheduler s;
        s.worker.SetWorkingTime(20);
        for (const char* name : {"1", "2", "3"})
            s.worker.Execute(s.Record(name, 15));
        s.worker.ProcessIdle();
        QCOMPARE(s.ran, (QStringList {"1", "2"}));
    }

    void throwingTaskIsReportedAndNotRunAgain()
    {
        ManualScheduler s;
        int throwCount = 0;
        s.worker.Execute([&throwCount] {
            ++throwCount;
            throw std::runtime_error("disk on fire");
        });
        s.worker.Execute(s.Record("B"), 1);
        s.worker.Execute(s.Record("C"), 1);
        s.now = 1;

        const qsizetype logSize = OrvLog_Object()->Logs().size();
        QTest::ignoreMessage(QtWarningMsg, "Orv.Task.IdleWorker: disk on fire");
        s.worker.ProcessIdle();
        QCOMPARE(throwCount, 1);
        QVERIFY(s.ran.isEmpty());
        QCOMPARE(OrvLog_Object()->Logs().size(), logSize + 1);
        QCOMPARE(OrvLog_Object()->Logs().last(), QStringLiteral("Orv.Task.IdleWorker: disk on fire"));

        s.worker.ProcessIdle();
        QCOMPARE(throwCount, 1);
        QCOMPARE(s.ran, (QStringList {"B", "C"}));
    }

    void calendarDateIsAMomentOnTheSchedulersClock()
    {
        ManualScheduler s;
        const double days = 45000.25; // a calendar date in the 2020s
        s.worker.Execute(s.Record("A"), TOrvDateTime(days));
        s.now = 10'000;
        s.worker.ProcessIdle();
        QVERIFY(s.ran.isEmpty());
        s.now = qint64(days * 86400000.0) - 1;
        s.worker.ProcessIdle();
        QVERIFY(s.ran.isEmpty());
        s.now += 1;
        s.worker.ProcessIdle();
        QCOMPARE(s.ran, QStringList {"A"});
    }

    void taskQueuesMoreTasks()
    {
        ManualScheduler s;
        s.worker.Execute([&s] {
            s.ran << "A";
            s.worker.Execute(s.Record("due at once"));
            s.worker.Execute(s.Record("later"), 10);
        });
        s.worker.ProcessIdle();
        QCOMPARE(s.ran, (QStringList {"A", "due at once"}));
        s.now = 10;
        s.worker.ProcessIdle();
        QCOMPARE(s.ran, (QStringList {"A", "due at once", "later"}));
    }

    void taskClearsTheQueue()
    {
        ManualScheduler s;
        s.worker.Execute([&s] {
            s.ran << "A";
            s.worker.Clear();
        });
        s.worker.Execute(s.Record("B"));
        s.worker.ProcessIdle();
        s.worker.ProcessIdle();
        QCOMPARE(s.ran, QStringList {"A"});
    }

    void destructionRunsNoQueuedTask()
    {
        bool ran = false;
        auto held = std::make_shared<int>(0);
        {
            qint64 now = 0;
            TOrvTask_IdleWorker worker([&now] { return now; });
            worker.Execute([&ran, held] { ran = true; });
            worker.Execute([&ran, held] { ran = true; }, 100);
            now = 500;
        }
        QVERIFY(!ran);
        QCOMPARE(held.use_count(), 1L);
        QCoreApplication::processEvents();
        QVERIFY(!ran);
    }

    void defaultIsOneScheduler()
    {
        QCOMPARE(&TOrvTask_IdleWorker::Default(), &TOrvTask_IdleWorker::Default());
    }

    // Real idle passes of the GUI thread's event loop.
    void runsFromTheEventLoop()
    {
        TOrvTask_IdleWorker& worker = TOrvTask_IdleWorker::Default();
        QEventLoop loop;
        QTimer safety;
        safety.setSingleShot(true);
        connect(&safety, &QTimer::timeout, &loop, &QEventLoop::quit);
        safety.start(5000);

        // Nothing wakes the loop until the single-shot timer: the task waits for it.
        QElapsedTimer clock;
        clock.start();
        bool eventHandled = false;
        bool ranAfterEvent = false;
        qint64 ranAt = -1;
        QTimer::singleShot(400, &loop, [&] { eventHandled = true; });
        worker.Execute([&] {
            ranAfterEvent = eventHandled;
            ranAt = clock.elapsed();
            loop.quit();
        }, 50);
        loop.exec();
        QVERIFY2(ranAt >= 0, "the task never ran");
        QVERIFY(ranAfterEvent);
        QVERIFY(ranAt >= 50);

        // A periodic 100 ms timer keeps waking the loop, so the task runs soon after it is due.
        QTimer tick;
        tick.start(100);
        clock.restart();
        ranAt = -1;
        worker.Execute([&] {
            ranAt = clock.elapsed();
            loop.quit();
        }, 150);
        safety.start(5000);
        loop.exec();
        QVERIFY2(ranAt >= 0, "the task never ran");
        QVERIFY(ranAt >= 150);
        QVERIFY2(ranAt < 2000, qPrintable(QStringLiteral("ran after %1 ms").arg(ranAt)));
    }
};

QTEST_MAIN(tst_OrvTask_IdleWorker)
#include "tst_OrvTask_IdleWorker.moc"
