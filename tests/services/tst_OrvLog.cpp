#include "app/OrvModuleReport.h"
#include "services/OrvLog.h"
#include "services/TOrvLog_String.h"

#include <QtTest>

#include <memory>
#include <stdexcept>

namespace {
// A subscriber that records what it receives.
struct Recorder
{
    QStringList received;
    TOrvLogProc proc = OrvLogProc([this](const QString& sMsg) { received << sMsg; });
};
}

class tst_OrvLog : public QObject
{
    Q_OBJECT

private slots:
    void createdEmptyAndActive()
    {
        TOrvLog_String log;
        QVERIFY(log.Logs().isEmpty());
        QVERIFY(log.Active());
        QCOMPARE(log.Logs_Capacity(), 10000);
    }

    void unitStartUpPublishesTheLog()
    {
        QVERIFY(!OrvLog);
        OrvModuleReport(QStringLiteral("Orv.Early"));
        OrvLog_ModuleInit();
        QVERIFY(OrvLog);
        QCOMPARE(OrvLog_Object()->Logs(), (QStringList {"Log initiated", "Log active"}));

        IOrvLog* const published = OrvLog;
        OrvLog_ModuleInit();
        QCOMPARE(OrvLog, published);
        QCOMPARE(OrvLog_Object()->Logs().size(), 2);

        OrvModuleReport(QStringLiteral("Orv.Unit"));
        QCOMPARE(OrvLog_Object()->Logs().last(), QStringLiteral("Orv.Unit.Module_Init enter"));

        OrvLog_ModuleFinalize();
        QVERIFY(!OrvLog);
        QVERIFY(!OrvLog_Object());
        OrvModuleReport(QStringLiteral("Orv.Late"));

        OrvLog_ModuleInit();
        QCOMPARE(OrvLog_Object()->Logs(), (QStringList {"Log initiated", "Log active"}));
        OrvLog_ModuleFinalize();
    }

    void writingActiveAddsAMessageEveryTime()
    {
        TOrvLog_String log;
        log.SetActive(false);
        QVERIFY(!log.Active());
        log.Add(QStringLiteral("kept while inactive"));
        log.SetActive(false);
        log.SetActive(true);
        log.SetActive(true);
        QCOMPARE(log.Logs(), (QStringList {"Log inactive", "kept while inactive", "Log inactive", "Log active", "Log active"}));
    }

    void capacity_data()
    {
        QTest::addColumn<int>("capacity");
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("kept");

        QTest::newRow("newest dropped when full") << 3 << QStringList {"A", "B", "C", "D"} << QStringList {"A", "B", "C"};
        QTest::newRow("exactly full") << 3 << QStringList {"A", "B", "C"} << QStringList {"A", "B", "C"};
        QTest::newRow("capacity 0 keeps nothing") << 0 << QStringList {"A", "B"} << QStringList {};
        QTest::newRow("capacity 1") << 1 << QStringList {"A", "B", "C"} << QStringList {"A"};
    }

    void capacity()
    {
        QFETCH(int, capacity);
        QFETCH(QStringList, added);
        QFETCH(QStringList, kept);

        TOrvLog_String log;
        Recorder recorder;
        log.LogProc_Add(recorder.proc);
        log.SetLogs_Capacity(capacity);
        for (const QString& sMsg : added)
            log.Add(sMsg);
        QCOMPARE(log.Logs(), kept);
        QCOMPARE(recorder.received, added);
    }

    void loweringCapacityRemovesNothing()
    {
        TOrvLog_String log;
        for (const char* sMsg : {"A", "B", "C", "D"})
            log.Add(sMsg);
        log.SetLogs_Capacity(2);
        QCOMPARE(log.Logs().size(), 4);
        log.Add(QStringLiteral("E"));
        QCOMPARE(log.Logs(), (QStringList {"A", "B", "C", "D"}));
    }

    void subscribersByIdentity()
    {
        TOrvLog_String log;
        Recorder first;
        Recorder second;
        QCOMPARE(log.LogProc_Add(first.proc), 0);
        QCOMPARE(log.LogProc_Add(second.proc), 1);
        QCOMPARE(log.LogProc_Add(first.proc), 0);

        // A closure doing the same thing is still another subscriber.
        const TOrvLogProc lookAlike = OrvLogProc([&first](const QString& sMsg) { first.received << sMsg; });
        QCOMPARE(log.LogProc_Remove(lookAlike), -1);

        log.Add(QStringLiteral("once"));
        QCOMPARE(first.received, QStringList {"once"});
        QCOMPARE(second.received, QStringList {"once"});

        QCOMPARE(log.LogProc_Remove(first.proc), 0);
        QCOMPARE(log.LogProc_Remove(first.proc), -1);
        QCOMPARE(log.LogProc_Add(first.proc), 1);
        log.Add(QStringLiteral("again"));
        QCOMPARE(first.received, (QStringList {"once", "again"}));
    }

    void removeLast()
    {
        TOrvLog_String log;
        log.LogProc_RemoveLast();

        Recorder first;
        Recorder second;
        log.LogProc_Add(first.proc);
        log.LogProc_Add(second.proc);
        log.LogProc_RemoveLast();
        log.Add(QStringLiteral("A"));
        QCOMPARE(first.received, QStringList {"A"});
        QVERIFY(second.received.isEmpty());
        QCOMPARE(log.LogProc_Remove(second.proc), -1);
    }

    void notificationReachesThoseSubscribedWhenItBegan()
    {
        TOrvLog_String log;
        Recorder early;
        Recorder late;
        Recorder added;
        QStringList order;
        TOrvLogProc changer;
        changer = OrvLogProc([&](const QString& sMsg) {
            order << "changer";
            if (sMsg == QLatin1String("change")) {
                log.LogProc_Remove(changer);
                log.LogProc_Remove(late.proc);
                log.LogProc_Add(added.proc);
            }
        });
        log.LogProc_Add(early.proc);
        log.LogProc_Add(changer);
        log.LogProc_Add(late.proc);

        log.Add(QStringLiteral("change"));
        QCOMPARE(order, QStringList {"changer"});
        QCOMPARE(early.received, QStringList {"change"});
        QCOMPARE(late.received, QStringList {"change"});
        QVERIFY(added.received.isEmpty());

        log.Add(QStringLiteral("next"));
        QCOMPARE(order, QStringList {"changer"});
        QCOMPARE(early.received, (QStringList {"change", "next"}));
        QCOMPARE(late.received, QStringList {"change"});
        QCOMPARE(added.received, QStringList {"next"});
    }

    void throwingSubscriberStopsTheNotification()
    {
        TOrvLog_String log;
        Recorder before;
        Recorder after;
        log.LogProc_Add(before.proc);
        log.LogProc_Add(OrvLogProc([](const QString&) { throw std::runtime_error("subscriber failed"); }));
        log.LogProc_Add(after.proc);

        QVERIFY_THROWS_EXCEPTION(std::runtime_error, log.Add(QStringLiteral("A")));
        QCOMPARE(log.Logs(), QStringList {"A"});
        QCOMPARE(before.received, QStringList {"A"});
        QVERIFY(after.received.isEmpty());
    }

    void destroyingDropsEverySubscriber()
    {
        Recorder first;
        Recorder second;
        {
            TOrvLog_String log;
            log.LogProc_Add(first.proc);
            log.LogProc_Add(second.proc);
            QCOMPARE(first.proc.use_count(), 2L);
        }
        QCOMPARE(first.proc.use_count(), 1L);
        QCOMPARE(second.proc.use_count(), 1L);
    }
};

QTEST_APPLESS_MAIN(tst_OrvLog)
#include "tst_OrvLog.moc"
