#pragma once

#include "engine/TFrameReader.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QThreadPool;
class QTimer;

// Screenshots written off the GUI thread, the writing twin of
// TScreenshotThumbnails. Each is a video's next numbered PNG beside it,
// written whole on a thread of the writer's own and published under its
// number in the order asked. Actions that must see the screenshots before
// them done (a step, playing, another file) wait behind them in one queue,
// WaitMs at most; a screenshot that takes longer is given up. What the user
// is to read of all this comes as statusMessage.
class TScreenshotWriter : public QObject
{
    Q_OBJECT
public:
    static constexpr int WaitMs = 5000;
    // The longest Close waits for a screenshot under way.
    static constexpr int CloseWaitMs = 3000;
    static const QString Ext;
    // What the status bar says while something waits for a screenshot.
    static const QString SavingText;

    // Where the screenshots of a video go: its folder, and the literal start
    // of their names, the video's name without its extension and an
    // underscore ("run_" for run.avi, then run_0001.png and so on).
    struct TNames
    {
        QString Folder;
        QString Prefix;
    };
    static TNames NamesOf(const QString& sVideo);

    explicit TScreenshotWriter(QObject* parent = nullptr);
    ~TScreenshotWriter() override;

    // Writes the picture AFrame gives (called on the writer's thread) as the
    // next screenshot of the video sVideo. A second screenshot asked for
    // takes the number after the first.
    void Take(std::function<TFrameReader::TFrame()> AFrame, const QString& sVideo);
    // Runs AAction now when no screenshot is under way and nothing waits,
    // else once those before it are done or given up, in the order asked.
    void Then(std::function<void()> AAction);
    // Actions wait behind screenshots.
    bool IsWaiting() const { return !FWaiting.empty(); }
    // Screenshots under way and actions waiting behind them.
    int Pending() const { return int(FJobs.size() + FWaiting.size()); }
    // Ends the writer's work for good: nothing waiting runs, a screenshot
    // under way gets CloseWaitMs to finish, and nothing is reported after.
    void Close();

signals:
    // A screenshot asked for is published as sFileName; or one came to
    // nothing while it was awaited (sFileName empty): the folder may have
    // changed all the same.
    void finished(const QString& sFileName);
    // What the user is to read: an empty sText clears what the writer said
    // before. A name within sText is sName, for its "%1".
    void statusMessage(const QString& sText, const QString& sName);
    // Nothing waits any more; "Saving the screenshot…" is over.
    void waitOver();

private:
    friend struct TfrmMainAccess;
    struct TJob;
    struct TReceiver;

    void Written(const std::shared_ptr<TJob>& AJob, const QString& sFileName, bool AWritten, const QString& sWhy,
                 const QString& sWhyName);
    void Abandon();
    void RunWaiting();

    QThreadPool* FThread;
    QTimer* FWait;
    std::shared_ptr<TReceiver> FReceiver;
    // The screenshots asked for and not yet written nor given up, in order.
    std::vector<std::shared_ptr<TJob>> FJobs;
    // What waits for the screenshots before it, in the order asked.
    std::vector<std::function<void()>> FWaiting;
    bool FClosed = false;
};
