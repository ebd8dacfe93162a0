#include "services/TOrvTask_IdleWorker.h"

#include <QGuiApplication>
#include <QtTest>

#include <memory>

// The process-wide scheduler goes with the application object, its tasks unrun.
class tst_OrvTask_IdleWorker_Shutdown : public QObject
{
    Q_OBJECT

private slots:
    void queuedTasksAreDroppedWithTheApplication()
    {
        int argc = 1;
        char name[] = "tst_OrvTask_IdleWorker_Shutdown";
        char* argv[] = {name, nullptr};
        bool ran = false;
        auto held = std::make_shared<int>(0);
        {
            QGuiApplication app(argc, argv);
            TOrvTask_IdleWorker::Default().Execute([&ran, held] { ran = true; });
            TOrvTask_IdleWorker::Default().Execute([&ran, held] { ran = true; }, 10);
            QCOMPARE(held.use_count(), 3L);
        }
        QVERIFY(!ran);
        QCOMPARE(held.use_count(), 1L);
    }
};

QTEST_APPLESS_MAIN(tst_OrvTask_IdleWorker_Shutdown)
#include "tst_OrvTask_IdleWorker_Shutdown.moc"
