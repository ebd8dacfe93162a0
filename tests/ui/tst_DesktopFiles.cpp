#include "TestLoop.h"

#include "services/OrvPath.h"
#include "ui/DesktopFiles.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QtTest>

namespace {

const QString FileManagerService = QStringLiteral("org.freedesktop.FileManager1");

// The URL's path as the file system's bytes.
QByteArray BytesOf(const QString& sUrl)
{
    return QByteArray::fromPercentEncoding(QUrl(sUrl).path(QUrl::FullyEncoded).toLatin1());
}

} // namespace

// The file manager's side of ShowItems: it records each call, and answers it
// or refuses it.
class TFileManager : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QList<QStringList> Shown;
    QStringList StartupIds;
    bool Refuse = false;

public slots:
    void ShowItems(const QStringList& uris, const QString& startupId)
    {
        Shown << uris;
        StartupIds << startupId;
        if (Refuse)
            sendErrorReply(QDBusError::Failed, QStringLiteral("cannot show them"));
    }
};

// Show in folder with a file manager on the session bus, and without one. The
// test runs in a session bus of its own (dbus-run-session, with a bus that
// starts nothing on demand); the file manager is a service on a connection of
// its own, so that the call goes through the bus daemon as it does between
// two programs.
class tst_DesktopFiles : public QObject
{
    Q_OBJECT

private:
    TFileManager FFileManager;
    QDBusConnection FFileManagerBus {QString()};
    // What was opened, in the order asked.
    QList<QUrl> FOpened;

    void PutFileManagerOnTheBus(bool AOn)
    {
        if (AOn)
            QVERIFY2(FFileManagerBus.registerService(FileManagerService),
                     qPrintable(FFileManagerBus.lastError().message()));
        else
            FFileManagerBus.unregisterService(FileManagerService);
    }

    static QByteArray Folder() { return QByteArrayLiteral("/media/clips \xe2\x80\x94 day 2"); }

    static void AddNames()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("plain") << QByteArray("run_0001.png");
        QTest::newRow("spaces") << QByteArray("my run_0001.png");
        QTest::newRow("percent signs") << QByteArray("50% off %41_0001.png");
        QTest::newRow("URL delimiters") << QByteArray("#1 ?a=b_0001.png");
        QTest::newRow("UTF-8") << QByteArray("caf\xc3\xa9 \xf0\x9f\x93\xb9_0001.png");
        QTest::newRow("not UTF-8") << QByteArray("r\xe9sum\xe9 \xff_0001.png");
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(),
                 "this test needs a session bus of its own: run it under dbus-run-session");
        FFileManagerBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("file manager"));
        QVERIFY(FFileManagerBus.isConnected());
        QVERIFY(FFileManagerBus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &FFileManager,
                                               QDBusConnection::ExportAllSlots));
        DesktopSetUrlOpener([this](const QUrl& AUrl) {
            FOpened << AUrl;
            return true;
        });
    }

    void cleanupTestCase()
    {
        DesktopSetUrlOpener({});
        QDBusConnection::disconnectFromBus(QStringLiteral("file manager"));
    }

    void init()
    {
        FFileManager.Shown.clear();
        FFileManager.StartupIds.clear();
        FFileManager.Refuse = false;
        FOpened.clear();
    }

    void cleanup() { PutFileManagerOnTheBus(false); }

    // The file manager is asked to show the file, named by its own bytes, and
    // nothing else is opened.
    void fileManagerShowsTheFile_data() { AddNames(); }

    void fileManagerShowsTheFile()
    {
        QFETCH(QByteArray, name);
        const QByteArray file = Folder() + '/' + name;
        PutFileManagerOnTheBus(true);

        DesktopShowInFolder(PathFromNative(file));

        QVERIFY(TestLoop::waitFor([&] { return !FFileManager.Shown.isEmpty(); }, 30000));
        QCOMPARE(FFileManager.Shown.size(), 1);
        QCOMPARE(FFileManager.Shown.first().size(), 1);
        const QString uri = FFileManager.Shown.first().first();
        QVERIFY2(uri.startsWith(QLatin1String("file:///")), qPrintable(uri));
        QCOMPARE(BytesOf(uri), file);
        QCOMPARE(FFileManager.StartupIds, QStringList {QString()});

        // Answers come in the order asked: once the refusal of a second call
        // has opened the folder, the first answer has been read too, and
        // opened nothing.
        FFileManager.Refuse = true;
        DesktopShowInFolder(PathFromNative(file));
        QVERIFY(TestLoop::waitFor([&] { return !FOpened.isEmpty(); }, 30000));
        QCOMPARE(FOpened.size(), 1);
        QCOMPARE(FFileManager.Shown.size(), 2);
    }

    // When no file manager shows the file, its folder is opened.
    void withoutAFileManagerTheFolderOpens_data()
    {
        QTest::addColumn<bool>("onTheBus");
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("none on the bus") << false << QByteArray("run_0001.png");
        QTest::newRow("none on the bus, a name not UTF-8") << false << QByteArray("r\xe9sum\xe9 \xff_0001.png");
        QTest::newRow("the file manager refuses") << true << QByteArray("50% off_0001.png");
    }

    void withoutAFileManagerTheFolderOpens()
    {
        QFETCH(bool, onTheBus);
        QFETCH(QByteArray, name);
        PutFileManagerOnTheBus(onTheBus);
        FFileManager.Refuse = true;

        DesktopShowInFolder(PathFromNative(Folder() + '/' + name));

        QVERIFY(TestLoop::waitFor([&] { return !FOpened.isEmpty(); }, 30000));
        QCOMPARE(FOpened.size(), 1);
        QVERIFY(FOpened.first().isLocalFile());
        QCOMPARE(BytesOf(QString::fromLatin1(FOpened.first().toEncoded())), Folder());
        QCOMPARE(FFileManager.Shown.size(), onTheBus ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(tst_DesktopFiles)
#include "tst_DesktopFiles.moc"
