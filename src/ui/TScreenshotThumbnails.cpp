#include "ui/TScreenshotThumbnails.h"

#include "services/OrvPath.h"
#include "ui/BitmapFile.h"

#include <QFutureWatcher>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cmath>

namespace {

// One processor is left to the GUI thread, the display server and the engine.
struct TDecodePool : QThreadPool
{
    TDecodePool() { setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 1)); }
};

Q_GLOBAL_STATIC(TDecodePool, decodePool)

} // namespace

QThreadPool* TScreenshotThumbnails::DecodePool()
{
    return decodePool();
}

TScreenshotThumbnails::TScreenshotThumbnails(QObject* parent)
    : QObject(parent)
    , FCache(CacheLimitKiB)
{
}

TScreenshotThumbnails::~TScreenshotThumbnails()
{
    DropAll();
}

void TScreenshotThumbnails::SetBox(const QSize& ABox, qreal ADevicePixelRatio)
{
    if (ABox == FBox && qFuzzyCompare(ADevicePixelRatio, FDevicePixelRatio))
        return;
    DropAll();
    FCache.clear();
    FBox = ABox;
    FDevicePixelRatio = ADevicePixelRatio;
}

std::optional<QImage> TScreenshotThumbnails::Thumbnail(const QString& sFilePath)
{
    const TStamp stamp = PathStamp(sFilePath);
    if (const TEntry* entry = FCache.object(sFilePath); entry && entry->stamp == stamp)
        return entry->image;
    const auto pending = FPending.find(sFilePath);
    if (pending == FPending.end() || !(pending->stamp == stamp)) {
        if (pending != FPending.end()) {
            Drop(*pending);
            FPending.erase(pending);
        }
        Request(sFilePath, stamp);
    }
    return std::nullopt;
}

void TScreenshotThumbnails::RetainOnly(const QSet<QString>& sFilePaths)
{
    for (auto it = FPending.begin(); it != FPending.end();) {
        if (sFilePaths.contains(it.key())) {
            ++it;
            continue;
        }
        Drop(*it);
        it = FPending.erase(it);
    }
}

void TScreenshotThumbnails::Request(const QString& sFilePath, const TStamp& AStamp)
{
    const QSize boxPx(int(std::ceil(FBox.width() * FDevicePixelRatio)),
                      int(std::ceil(FBox.height() * FDevicePixelRatio)));
    auto* watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcher<QImage>::finished, this,
            [this, sFilePath, watcher] { Deliver(sFilePath, watcher); });
    watcher->setFuture(QtConcurrent::run(DecodePool(), &LoadThumbnailFromFile, sFilePath, boxPx));
    FPending.insert(sFilePath, {AStamp, watcher});
}

void TScreenshotThumbnails::Deliver(const QString& sFilePath, QFutureWatcher<QImage>* AWatcher)
{
    AWatcher->deleteLater();
    const auto pending = FPending.find(sFilePath);
    if (pending == FPending.end() || pending->watcher != AWatcher)
        return;
    const TStamp stamp = pending->stamp;
    FPending.erase(pending);

    QImage image = AWatcher->future().resultCount() > 0 ? AWatcher->result() : QImage();
    image.setDevicePixelRatio(FDevicePixelRatio);
    const qint64 costKiB = std::max<qint64>(1, qint64(image.sizeInBytes()) / 1024);
    FCache.insert(sFilePath, new TEntry {stamp, image}, int(costKiB));
    emit thumbnailReady(sFilePath, image);
}

void TScreenshotThumbnails::Drop(TPending& APending)
{
    // Cancelling never waits: a decode already running finishes on its own and
    // its result goes nowhere once the watcher is gone.
    APending.watcher->disconnect(this);
    APending.watcher->future().cancel();
    APending.watcher->deleteLater();
}

void TScreenshotThumbnails::DropAll()
{
    for (TPending& pending : FPending)
        Drop(pending);
    FPending.clear();
}
