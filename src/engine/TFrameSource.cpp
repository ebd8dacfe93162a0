#include "engine/TFrameSource.h"

#include <mutex>

#include "services/OrvHandOver.h"

struct TFrameSource::TShared
{
    // Guards the file asked for; held only for moments, also on the GUI thread.
    std::mutex WantLock;
    QString Wanted;
    // Ends the decoding of the file asked for, once another is.
    std::stop_source Stop;
    // The reordering delay of the file DelayPath.
    QString DelayPath;
    qint64 Delay = 0;

    // Guards the reader; held while it decodes, never on the GUI thread.
    std::mutex ReaderLock;
    std::unique_ptr<TFrameReader> Reader;
    QString ReaderPath;

    // Requests made; a job of an older one is moot.
    std::atomic<quint64> Generation {0};

    struct TWanted
    {
        QString Path;
        std::stop_token Stop;
    };
    TWanted CurrentlyWanted()
    {
        std::lock_guard lock(WantLock);
        return {Wanted, Stop.get_token()};
    }

    // The reader of AWanted, opened if need be; null when FFmpeg cannot read
    // it. ReaderLock is held by the caller.
    TFrameReader* ReaderOf(const TWanted& AWanted)
    {
        if (AWanted.Path.isEmpty())
            return nullptr;
        if (!Reader || ReaderPath != AWanted.Path) {
            Reader.reset();
            Reader = std::make_unique<TFrameReader>(AWanted.Path, AWanted.Stop);
            ReaderPath = AWanted.Path;
            std::lock_guard lock(WantLock);
            DelayPath = AWanted.Path;
            Delay = Reader->IsOpen() ? Reader->ReorderDelayMs() : 0;
        }
        return Reader->IsOpen() ? Reader.get() : nullptr;
    }

    TFrameReader::TFrame FrameAt(const TWanted& AWanted, qint64 AMs)
    {
        std::lock_guard lock(ReaderLock);
        TFrameReader* reader = ReaderOf(AWanted);
        return reader ? reader->FrameAt(AMs) : TFrameReader::TFrame {};
    }
};

TFrameSource::TFrameSource(QObject* parent)
    : QObject(parent)
    , F(std::make_shared<TShared>())
{
    // One thread: the reader decodes one frame at a time, in order.
    FThread.setMaxThreadCount(1);
}

TFrameSource::~TFrameSource()
{
    {
        std::lock_guard lock(F->WantLock);
        F->Stop.request_stop();
    }
    ++F->Generation;
    FThread.clear();
    FThread.waitForDone();
}

void TFrameSource::SetFile(const QString& sPath)
{
    {
        std::lock_guard lock(F->WantLock);
        if (F->Wanted == sPath)
            return;
        F->Stop.request_stop();
        F->Stop = std::stop_source();
        F->Wanted = sPath;
    }
    Cancel();
    if (sPath.isEmpty())
        return;
    // Opened at once, so that its reordering delay is known early.
    OrvHandOver_Start(FThread, [shared = F] {
        const TShared::TWanted wanted = shared->CurrentlyWanted();
        std::lock_guard lock(shared->ReaderLock);
        shared->ReaderOf(wanted);
    });
}

void TFrameSource::Request(qint64 AMs)
{
    const quint64 generation = ++F->Generation;
    OrvHandOver_Start(FThread, [this, shared = F, generation, AMs] {
        if (shared->Generation != generation)
            return;
        TFrameReader::TFrame frame = shared->FrameAt(shared->CurrentlyWanted(), AMs);
        if (shared->Generation != generation)
            return;
        // The source waits for this job before it goes, so it is still there.
        OrvHandOver_Invoke(this, [this, generation, AMs, frame = std::move(frame)] {
            if (F->Generation == generation)
                emit frameReady(AMs, frame);
        });
    });
}

void TFrameSource::Cancel()
{
    ++F->Generation;
}

TFrameReader::TFrame TFrameSource::Take(qint64 AMs)
{
    return F->FrameAt(F->CurrentlyWanted(), AMs);
}

std::function<TFrameReader::TFrame()> TFrameSource::Taker(qint64 AMs) const
{
    return [shared = F, wanted = F->CurrentlyWanted(), AMs] { return shared->FrameAt(wanted, AMs); };
}

qint64 TFrameSource::ReorderDelayMs() const
{
    std::lock_guard lock(F->WantLock);
    return F->DelayPath == F->Wanted ? F->Delay : 0;
}
