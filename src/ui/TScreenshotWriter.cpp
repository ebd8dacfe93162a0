#include "ui/TScreenshotWriter.h"

#include "services/OrvHandOver.h"
#include "services/OrvPath.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <mutex>

const QString TScreenshotWriter::Ext = QStringLiteral(".png");
const QString TScreenshotWriter::SavingText = QStringLiteral("Saving the screenshot…");

// A screenshot asked for: given up once Abandoned is set.
struct TScreenshotWriter::TJob
{
    std::atomic<bool> Abandoned {false};
};

// The writer its thread reports to, while it is there.
struct TScreenshotWriter::TReceiver
{
    std::mutex Lock;
    TScreenshotWriter* Writer = nullptr;
};

namespace {

struct TScreenshotResult
{
    QString FileName;
    bool Written = false;
    // Why it was not written; a name in it is WhyName, for its "%1".
    QString Why;
    QString WhyName;
};

// Writes AFrame as the next numbered screenshot of ANames: whole into a file
// of its own first, then published under its number, so that the folder never
// shows a screenshot half made. Nothing is published once AAbandoned is set.
TScreenshotResult WriteScreenshot(const std::function<TFrameReader::TFrame()>& AFrame,
                                  const TScreenshotWriter::TNames& ANames, const std::atomic<bool>& AAbandoned)
{
    TScreenshotResult result;
    // The name it would get now, to tell of a failure: the published name
    // may be a later one.
    const QString next = AutoFileIn_Literal(ANames.Folder, ANames.Prefix, TScreenshotWriter::Ext);
    if (next.isEmpty()) {
        result.Why = QStringLiteral("every number up to 9999 is taken");
        return result;
    }
    if (AAbandoned)
        return result;
    const QImage picture = AFrame().Image;
    if (picture.isNull()) {
        result.Why = QStringLiteral("the video gives no picture of this frame");
        return result;
    }
    // Made in memory first, then written: Qt's PNG writer loses memory when
    // the file refuses a write halfway (a full disk), and a short write is
    // plainly told this way.
    QByteArray png;
    QBuffer pngBuffer(&png);
    const bool encoded = picture.save(&pngBuffer, "PNG");
    QFile temp;
    QString tempPath;
    if (!PathOpenTemp(temp, ANames.Folder, tempPath, result.Why))
        return result;
    const auto removeTemp = qScopeGuard([&tempPath] {
        if (!tempPath.isEmpty())
            PathRemoveFile(tempPath);
    });
    if (!encoded || temp.write(png) != png.size() || temp.error() != QFileDevice::NoError) {
        result.Why = QStringLiteral("the frame could not be written to %1");
        result.WhyName = PathDisplay(PathFileName(next));
        return result;
    }
    temp.close();
    if (AAbandoned)
        return result;
    const TOrvPublishedFile published =
        AutoFileIn_LiteralPublish(ANames.Folder, ANames.Prefix, TScreenshotWriter::Ext, tempPath);
    if (published.NumbersUsedUp) {
        result.Why = QStringLiteral("every number up to 9999 is taken");
    } else if (published.FileName.isEmpty()) {
        result.Why = published.ErrorText;
    } else {
        tempPath.clear();
        result.FileName = published.FileName;
        result.Written = true;
    }
    return result;
}

} // namespace

TScreenshotWriter::TNames TScreenshotWriter::NamesOf(const QString& sVideo)
{
    const QString full = QDir::cleanPath(QFileInfo(sVideo).absoluteFilePath());
    const QString pngName = PathFileName(PathChangeExt(full, Ext));
    return {PathDirectory(full), pngName.chopped(Ext.size()) + u'_'};
}

TScreenshotWriter::TScreenshotWriter(QObject* parent)
    : QObject(parent)
    , FThread(new QThreadPool(this))
    , FWait(new QTimer(this))
    , FReceiver(std::make_shared<TReceiver>())
{
    // One thread: the screenshots claim their numbers in the order asked.
    FThread->setMaxThreadCount(1);
    FReceiver->Writer = this;
    FWait->setSingleShot(true);
    FWait->setInterval(WaitMs);
    connect(FWait, &QTimer::timeout, this, &TScreenshotWriter::Abandon);
}

TScreenshotWriter::~TScreenshotWriter()
{
    Close();
}

void TScreenshotWriter::Take(std::function<TFrameReader::TFrame()> AFrame, const QString& sVideo)
{
    if (FClosed)
        return;
    auto job = std::make_shared<TJob>();
    FJobs.push_back(job);
    OrvHandOver_Start(*FThread, [receiver = FReceiver, job, frame = std::move(AFrame), names = NamesOf(sVideo)] {
        const TScreenshotResult result = WriteScreenshot(frame, names, job->Abandoned);
        std::lock_guard lock(receiver->Lock);
        if (!receiver->Writer)
            return;
        OrvHandOver_Invoke(receiver->Writer, [writer = receiver->Writer, job, result] {
            writer->Written(job, result.FileName, result.Written, result.Why, result.WhyName);
        });
    });
}

void TScreenshotWriter::Written(const std::shared_ptr<TJob>& AJob, const QString& sFileName, bool AWritten,
                                const QString& sWhy, const QString& sWhyName)
{
    const auto job = std::find(FJobs.begin(), FJobs.end(), AJob);
    // One given up was told of then; one published all the same is listed.
    const bool awaited = job != FJobs.end();
    if (awaited) {
        FJobs.erase(job);
        // The new row in the list says it was saved; only a failure is told.
        if (AWritten)
            emit statusMessage(QString(), QString());
        else
            emit statusMessage(QStringLiteral("No screenshot saved: ") + sWhy, sWhyName);
    }
    if (AWritten || awaited)
        emit finished(AWritten ? sFileName : QString());
    if (FJobs.empty())
        RunWaiting();
}

void TScreenshotWriter::Then(std::function<void()> AAction)
{
    if (FClosed)
        return;
    if (FJobs.empty() && FWaiting.empty()) {
        AAction();
        return;
    }
    FWaiting.push_back(std::move(AAction));
    if (!FWait->isActive()) {
        FWait->start();
        emit statusMessage(SavingText, QString());
    }
}

void TScreenshotWriter::Abandon()
{
    if (FJobs.empty())
        return;
    for (const std::shared_ptr<TJob>& job : FJobs)
        job->Abandoned = true;
    FJobs.clear();
    emit statusMessage(QStringLiteral("No screenshot saved: it took longer than %1 s").arg(WaitMs / 1000), QString());
    RunWaiting();
}

void TScreenshotWriter::RunWaiting()
{
    FWait->stop();
    // In the order asked; a screenshot among them is waited for in turn.
    while (FJobs.empty() && !FWaiting.empty() && !FClosed) {
        const std::function<void()> action = std::move(FWaiting.front());
        FWaiting.erase(FWaiting.begin());
        action();
    }
    if (FJobs.empty())
        emit waitOver();
}

void TScreenshotWriter::Close()
{
    if (FClosed)
        return;
    FClosed = true;
    FWaiting.clear();
    FWait->stop();
    // A screenshot under way is of a picture the user asked for: it is given
    // a moment, not forever.
    if (!FThread->waitForDone(CloseWaitMs)) {
        for (const std::shared_ptr<TJob>& job : FJobs)
            job->Abandoned = true;
    }
    FJobs.clear();
    // What is still under way reports to no one.
    std::lock_guard lock(FReceiver->Lock);
    FReceiver->Writer = nullptr;
}
