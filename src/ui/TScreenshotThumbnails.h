#pragma once

#include "services/OrvPath.h"

#include <QCache>
#include <QHash>
#include <QObject>
#include <QImage>
#include <QSet>
#include <QSize>

#include <memory>
#include <optional>

template <typename T> class QFutureWatcher;
class QThreadPool;

// Screenshot thumbnails scaled to one image box, cached by path, file size and
// modification time, so that listing the same files again decodes only what
// changed on disk. Files not in the cache are decoded on DecodePool and
// announced on the GUI thread by thumbnailReady.
class TScreenshotThumbnails : public QObject
{
    Q_OBJECT
public:
    // Thumbnails kept at most, in KiB of pixel data.
    static constexpr int CacheLimitKiB = 64 * 1024;

    explicit TScreenshotThumbnails(QObject* parent = nullptr);
    ~TScreenshotThumbnails() override;

    // The box the thumbnails fit, in logical units, and the device pixel ratio
    // they are drawn at. A change empties the cache.
    void SetBox(const QSize& ABox, qreal ADevicePixelRatio);
    QSize Box() const { return FBox; }

    // The thumbnail of the file sFilePath (a full path, every byte of its name
    // kept, see PathNative) when the cache holds it for the file's current size
    // and modification time: a null image for a file no codec recognises.
    // Otherwise std::nullopt, and the file is being decoded (thumbnailReady follows).
    std::optional<QImage> Thumbnail(const QString& sFilePath);

    // Drops the pending decodes of every file not in sFilePaths; those not yet
    // started never run, and results of the others are discarded.
    void RetainOnly(const QSet<QString>& sFilePaths);

    // Number of decodes requested and not yet delivered or dropped.
    int PendingCount() const { return int(FPending.size()); }

    // The threads thumbnails are decoded on: a pool of their own, one thread
    // fewer than there are processors. Qt's painting hands work to the global
    // pool and waits for it, so a long queue of decodes there would freeze the
    // window until the queue was done.
    static QThreadPool* DecodePool();

signals:
    void thumbnailReady(const QString& sFilePath, const QImage& AImage);

private:
    using TStamp = TOrvFileStamp;
    struct TEntry
    {
        TStamp stamp;
        QImage image;
    };
    struct TPending
    {
        TStamp stamp;
        QFutureWatcher<QImage>* watcher = nullptr;
    };

    void Request(const QString& sFilePath, const TStamp& AStamp);
    void Deliver(const QString& sFilePath, QFutureWatcher<QImage>* AWatcher);
    void Drop(TPending& APending);
    void DropAll();

    QSize FBox;
    qreal FDevicePixelRatio = 1.0;
    QCache<QString, TEntry> FCache;
    QHash<QString, TPending> FPending;
};
