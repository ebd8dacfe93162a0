// The player's engine events against the machine's libvlc 3.0, under a real X server.
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QtTest>

#include <atomic>
#include <mutex>
#include <thread>

#include "TestMedia.h"
#include "TestPlayer.h"
#include "engine/TVlcPlayer.h"
#include "engine/VlcEventMessage.h"
#include "engine/VlcLoader.h"
#include "engine/VlcOwners.h"

namespace {

constexpr int VideoLengthMs = 3000;
const QSize VideoSize(320, 240);

// What the handlers saw, in one sequence: the engine-thread handler's calls
// ("engine" entries) and the GUI-thread handlers' calls.
struct TEventLog {
    struct TEntry {
        int type;      // engine event type
        bool engine;   // raised by OnMediaPlayerEvent
        bool onGui;    // ran on the GUI thread
        qint64 value;  // time or length where the report has one
    };

    void add(int type, bool engine, qint64 value = 0)
    {
        std::lock_guard lock(mutex);
        entries.push_back({type, engine, std::this_thread::get_id() == guiThread, value});
    }
    QList<TEntry> snapshot() const
    {
        std::lock_guard lock(mutex);
        return entries;
    }
    int count(int type, bool engine) const
    {
        std::lock_guard lock(mutex);
        return int(std::count_if(entries.begin(), entries.end(),
                                 [&](const TEntry& e) { return e.type == type && e.engine == engine; }));
    }

    const std::thread::id guiThread = std::this_thread::get_id();
    mutable std::mutex mutex;
    QList<TEntry> entries;
};

// Assigns every handler of the player so that it writes to log.
void logAllEvents(TVlcPlayer* player, TEventLog* log)
{
    player->SetOnMediaPlayerEvent([log](const libvlc_event_t* p_event, TVlcPlayer*) {
        qint64 value = 0;
        if (p_event->type == libvlc_MediaPlayerTimeChanged)
            value = p_event->u.media_player_time_changed.new_time;
        else if (p_event->type == libvlc_MediaPlayerLengthChanged)
            value = p_event->u.media_player_length_changed.new_length;
        log->add(p_event->type, true, value);
    });
    const auto notify = [log](int type) { return [log, type](QObject*) { log->add(type, false); }; };
    player->OnMediaPlayerMediaChanged = [log](QObject*, const QString&) { log->add(libvlc_MediaPlayerMediaChanged, false); };
    player->OnMediaPlayerNothingSpecial = notify(libvlc_MediaPlayerNothingSpecial);
    player->OnMediaPlayerOpening = notify(libvlc_MediaPlayerOpening);
    player->OnMediaPlayerBuffering = notify(libvlc_MediaPlayerBuffering);
    player->OnMediaPlayerPlaying = notify(libvlc_MediaPlayerPlaying);
    player->OnMediaPlayerPaused = notify(libvlc_MediaPlayerPaused);
    player->OnMediaPlayerStopped = notify(libvlc_MediaPlayerStopped);
    player->OnMediaPlayerForward = notify(libvlc_MediaPlayerForward);
    player->OnMediaPlayerBackward = notify(libvlc_MediaPlayerBackward);
    player->OnMediaPlayerEndReached = notify(libvlc_MediaPlayerEndReached);
    player->OnMediaPlayerEncounteredError = notify(libvlc_MediaPlayerEncounteredError);
    player->OnMediaPlayerTimeChanged = [log](QObject*, qint64 time) { log->add(libvlc_MediaPlayerTimeChanged, false, time); };
    player->OnMediaPlayerPositionChanged = [log](QObject*, float) { log->add(libvlc_MediaPlayerPositionChanged, false); };
    player->OnMediaPlayerSeekableChanged = [log](QObject*, bool) { log->add(libvlc_MediaPlayerSeekableChanged, false); };
    player->OnMediaPlayerPausableChanged = [log](QObject*, bool) { log->add(libvlc_MediaPlayerPausableChanged, false); };
    player->OnMediaPlayerTitleChanged = [log](QObject*, int) { log->add(libvlc_MediaPlayerTitleChanged, false); };
    player->OnMediaPlayerSnapshotTaken = [log](QObject*, const QString&) { log->add(libvlc_MediaPlayerSnapshotTaken, false); };
    player->OnMediaPlayerLengthChanged = [log](QObject*, qint64 time) { log->add(libvlc_MediaPlayerLengthChanged, false, time); };
    player->OnMediaPlayerVideoOutChanged = [log](QObject*, int) { log->add(libvlc_MediaPlayerVout, false); };
    player->OnMediaPlayerScrambledChanged = [log](QObject*, int) { log->add(libvlc_MediaPlayerScrambledChanged, false); };
    player->OnMediaPlayerCorked = notify(libvlc_MediaPlayerCorked);
    player->OnMediaPlayerUnCorked = notify(libvlc_MediaPlayerUncorked);
    player->OnMediaPlayerMuted = notify(libvlc_MediaPlayerMuted);
    player->OnMediaPlayerUnMuted = notify(libvlc_MediaPlayerUnmuted);
    player->OnMediaPlayerAudioVolume = [log](QObject*, float) { log->add(libvlc_MediaPlayerAudioVolume, false); };
}

int indexOf(const QList<TEventLog::TEntry>& entries, int type, bool engine, int from = 0)
{
    for (int i = from; i < entries.size(); ++i) {
        if (entries[i].type == type && entries[i].engine == engine)
            return i;
    }
    return -1;
}

// How many reports the GUI-thread handlers have seen.
int handledCount(const TEventLog& log)
{
    const QList<TEventLog::TEntry> entries = log.snapshot();
    return int(std::count_if(entries.begin(), entries.end(), [](const TEventLog::TEntry& e) { return !e.engine; }));
}

// Set while the engine reports the freeing of a media.
void noteMediaFreed(const libvlc_event_t*, void* data)
{
    static_cast<std::atomic<bool>*>(data)->store(true);
}

} // namespace

class TVlcPlayerEventsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void playReportsInOrder();
    void engineHandlerRunsFirst();
    void enableTwiceAttachesOnce();
    void disableStopsReportsAndMayRepeat();
    void errorFillsLastError_data();
    void errorFillsLastError();
    void snapshotReportsFileName();
    void destroyWhileReporting();

private:
    TestPlayer::TClipFixture FClip;
    QString FCorrupt;
};

void TVlcPlayerEventsTest::initTestCase()
{
    TestMedia::VideoFormat format;
    format.durationMs = VideoLengthMs;
    format.size = VideoSize;
    FClip.start(QStringLiteral("clip.avi"), format);
    // An AVI cut off after its RIFF header: no demuxer accepts it, so the
    // engine reports an error.
    FCorrupt = FClip.filePath(QStringLiteral("corrupt.avi"));
    QFile corrupt(FCorrupt);
    QVERIFY(corrupt.open(QIODevice::WriteOnly));
    corrupt.write(QByteArray("RIFF\x00\x10\x00\x00" "AVI ", 12));
    corrupt.close();
}

void TVlcPlayerEventsTest::playReportsInOrder()
{
    TestPlayer::TEmbeddedPlayer e(VideoSize);
    TEventLog log;
    logAllEvents(e.player, &log);
    QString mrl;
    QList<QObject*> senders;
    e.player->OnMediaPlayerMediaChanged = [&](QObject* sender, const QString& text) {
        senders << sender;
        mrl = text;
    };
    e.player->OnMediaPlayerPlaying = [&](QObject* sender) {
        senders << sender;
        log.add(libvlc_MediaPlayerPlaying, false);
    };

    e.player->Play(FClip.video);
    QTRY_VERIFY_WITH_TIMEOUT(log.count(libvlc_MediaPlayerTimeChanged, false) >= 3, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(log.count(libvlc_MediaPlayerLengthChanged, false) >= 1, 10000);

    const QList<TEventLog::TEntry> entries = log.snapshot();
    QList<TEventLog::TEntry> handled;
    for (const TEventLog::TEntry& entry : entries) {
        if (!entry.engine) {
            QVERIFY2(entry.onGui, qPrintable(QStringLiteral("type 0x%1").arg(entry.type, 0, 16)));
            handled << entry;
        }
    }
    const int opening = indexOf(handled, libvlc_MediaPlayerOpening, false);
    const int playing = indexOf(handled, libvlc_MediaPlayerPlaying, false);
    const int firstTime = indexOf(handled, libvlc_MediaPlayerTimeChanged, false);
    QVERIFY(opening >= 0);
    QVERIFY(playing > opening);
    QVERIFY(firstTime > playing);
    qint64 lastTime = -1;
    for (int i = firstTime; i < handled.size(); ++i) {
        if (handled[i].type == libvlc_MediaPlayerTimeChanged) {
            QVERIFY(handled[i].value >= lastTime);
            lastTime = handled[i].value;
        }
    }

    QCOMPARE(mrl, QUrl::fromLocalFile(FClip.video).toString(QUrl::FullyEncoded));
    QCOMPARE(senders, QList<QObject*>({e.player, e.player}));
    const int length = indexOf(entries, libvlc_MediaPlayerLengthChanged, false);
    QVERIFY(qAbs(entries[length].value - VideoLengthMs) <= 100);
}

void TVlcPlayerEventsTest::engineHandlerRunsFirst()
{
    TestPlayer::TEmbeddedPlayer e(VideoSize);
    TEventLog log;
    logAllEvents(e.player, &log);
    e.player->Play(FClip.video);
    QTRY_VERIFY_WITH_TIMEOUT(log.count(libvlc_MediaPlayerTimeChanged, false) >= 3, 10000);
    const QList<TEventLog::TEntry> entries = log.snapshot();

    // The engine's own thread reports these; each report reaches the
    // engine-thread handler there, then its GUI handler, with the same value.
    for (const int type : {libvlc_MediaPlayerOpening, libvlc_MediaPlayerPlaying, libvlc_MediaPlayerTimeChanged}) {
        int engine = -1;
        int handled = -1;
        int pairs = 0;
        while ((handled = indexOf(entries, type, false, handled + 1)) >= 0) {
            engine = indexOf(entries, type, true, engine + 1);
            QVERIFY2(engine >= 0 && engine < handled, qPrintable(QStringLiteral("type 0x%1").arg(type, 0, 16)));
            QVERIFY(!entries[engine].onGui);
            QCOMPARE(entries[handled].value, entries[engine].value);
            ++pairs;
        }
        QVERIFY(pairs > 0);
    }
    // Every report the engine made is of an attached type.
    for (const TEventLog::TEntry& entry : entries)
        QVERIFY(!entry.engine || VlcEventTypeIsPosted(entry.type));
}

void TVlcPlayerEventsTest::enableTwiceAttachesOnce()
{
    TestPlayer::TEmbeddedPlayer e(VideoSize);
    TEventLog log;
    logAllEvents(e.player, &log);
    QVERIFY(e.player->GetPlayerHandle());
    e.player->EventsEnable();
    e.player->EventsEnable();
    // Play fetches the engine player once more, which attaches again.
    e.player->Play(FClip.video);
    QTRY_VERIFY_WITH_TIMEOUT(log.count(libvlc_MediaPlayerTimeChanged, false) >= 2, 10000);
    QCOMPARE(log.count(libvlc_MediaPlayerOpening, true), 1);
    QCOMPARE(log.count(libvlc_MediaPlayerOpening, false), 1);
    QCOMPARE(log.count(libvlc_MediaPlayerPlaying, true), 1);
    QCOMPARE(log.count(libvlc_MediaPlayerPlaying, false), 1);
}

void TVlcPlayerEventsTest::disableStopsReportsAndMayRepeat()
{
    auto e = std::make_unique<TestPlayer::TEmbeddedPlayer>(VideoSize);
    TEventLog log;
    logAllEvents(e->player, &log);
    e->player->Play(FClip.video);
    QTRY_VERIFY_WITH_TIMEOUT(log.count(libvlc_MediaPlayerTimeChanged, false) >= 1, 10000);

    e->player->EventsDisable();
    // Reports posted before the detach are still handled.
    QCoreApplication::sendPostedEvents(e->player);
    const int seen = log.snapshot().size();
    QTest::qWait(500);
    QVERIFY(e->player->IsPlay());
    QCOMPARE(log.snapshot().size(), seen);

    // Detaching again, here and in the destructor, finds nothing attached.
    e->player->EventsDisable();
    e.reset();
    QCOMPARE(log.snapshot().size(), seen);
}

void TVlcPlayerEventsTest::errorFillsLastError_data()
{
    QTest::addColumn<bool>("withHandler");
    QTest::newRow("with handler") << true;
    QTest::newRow("without handler") << false;
}

void TVlcPlayerEventsTest::errorFillsLastError()
{
    QFETCH(bool, withHandler);
    TestPlayer::TEmbeddedPlayer e(VideoSize);
    int errors = 0;
    QString seenByHandler;
    if (withHandler) {
        e.player->OnMediaPlayerEncounteredError = [&](QObject* sender) {
            QCOMPARE(sender, e.player);
            seenByHandler = e.player->LastError();
            ++errors;
        };
    }
    std::atomic<int> engineErrors {0};
    e.player->SetOnMediaPlayerEvent([&](const libvlc_event_t* p_event, TVlcPlayer*) {
        if (p_event->type == libvlc_MediaPlayerEncounteredError)
            ++engineErrors;
    });

    // The engine keeps its error text per thread; the text of the GUI thread
    // is the one the control reads.
    // Play returns before the report is handled: the text set here is the
    // one the handler must find.
    const QByteArray engineText("cannot open corrupt.avi");
    e.player->Play(FCorrupt);
    LibVlcEntries.libvlc_printerr("%s", engineText.constData());
    QTRY_VERIFY_WITH_TIMEOUT(engineErrors > 0, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(e.player->LastError(), QString::fromUtf8(engineText), 10000);
    if (withHandler) {
        QTRY_COMPARE_WITH_TIMEOUT(errors, 1, 10000);
        QCOMPARE(seenByHandler, QString::fromUtf8(engineText));
    }

    // Without an engine text the error empties LastError again.
    LibVlcEntries.libvlc_clearerr();
    const int before = engineErrors;
    e.player->Play(FCorrupt);
    QTRY_VERIFY_WITH_TIMEOUT(engineErrors > before, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(e.player->LastError(), QString(), 10000);
    if (withHandler) {
        QTRY_COMPARE_WITH_TIMEOUT(errors, 2, 10000);
        QCOMPARE(seenByHandler, QString());
    }
}

void TVlcPlayerEventsTest::snapshotReportsFileName()
{
    TestPlayer::TEmbeddedPlayer e(VideoSize);
    TEventLog log;
    logAllEvents(e.player, &log);
    QStringList fileNames;
    e.player->OnMediaPlayerSnapshotTaken = [&](QObject* sender, const QString& fileName) {
        QCOMPARE(sender, e.player);
        fileNames << fileName;
    };
    e.player->Play(FClip.video);
    // The engine writes a snapshot only of a picture it has drawn.
    QTRY_VERIFY_WITH_TIMEOUT(TestPlayer::showsPicture(e.player), 15000);
    // A name that is not plain ASCII shows the UTF-8 decoding. One snapshot,
    // one report: the engine reports each snapshot once.
    const QString target = FClip.filePath(QStringLiteral("still-\u00e9t\u00e9.png"));
    QVERIFY(e.player->Snapshot(target));
    QTRY_COMPARE_WITH_TIMEOUT(fileNames.size(), 1, 10000);
    QCOMPARE(fileNames.first(), target);
    QCOMPARE(log.count(libvlc_MediaPlayerSnapshotTaken, true), 1);
    QVERIFY(QFileInfo::exists(target));
}

void TVlcPlayerEventsTest::destroyWhileReporting()
{
    auto e = std::make_unique<TestPlayer::TEmbeddedPlayer>(VideoSize);
    TEventLog log;
    logAllEvents(e->player, &log);
    e->player->Play(FClip.video);
    QTRY_VERIFY_WITH_TIMEOUT(log.count(libvlc_MediaPlayerTimeChanged, false) >= 3, 10000);

    // Playing again queues a media-changed report that holds the new media;
    // no message is handled from here on, while the engine goes on reporting.
    e->player->Play(FClip.video);
    libvlc_media_t* media = LibVlcEntries.libvlc_media_player_get_media(e->player->GetPlayerHandle());
    QVERIFY(media);
    std::atomic<bool> mediaFreed {false};
    QCOMPARE(LibVlcEntries.libvlc_event_attach(LibVlcEntries.libvlc_media_event_manager(media),
                                                libvlc_MediaFreed, &noteMediaFreed, &mediaFreed),
             0);
    LibVlcEntries.libvlc_media_release(media);
    QDeadlineTimer deadline(10000);
    while (log.count(libvlc_MediaPlayerTimeChanged, true) < 3 + log.count(libvlc_MediaPlayerTimeChanged, false)
           && !deadline.hasExpired())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    QCOMPARE(log.count(libvlc_MediaPlayerMediaChanged, true), 2);
    QCOMPARE(log.count(libvlc_MediaPlayerMediaChanged, false), 1);

    // Until the destructor has detached, the engine thread may still log;
    // the GUI handlers never run again.
    const int handled = handledCount(log);
    e.reset();
    QCOMPARE(handledCount(log), handled);
    // The discarded report gave its reference back with the engine's own.
    QVERIFY(mediaFreed);
    const int seen = int(log.snapshot().size());
    QTest::qWait(300);
    QCOMPARE(int(log.snapshot().size()), seen);
}

QTEST_MAIN(TVlcPlayerEventsTest)
#include "TVlcPlayerEventsTest.moc"
