#include "ui/TScreenshotThumbnails.h"

#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

class tst_TScreenshotThumbnails : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir FDir;

    QString writePng(const QString& name, const QColor& color, const QSize& size = QSize(320, 180))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        const QString path = FDir.filePath(name);
        return image.save(path, "PNG") ? path : QString();
    }

    static void setModified(const QString& path, const QDateTime& when)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
    }

    // Lets every started decode finish and every result reach the GUI thread.
    static void settle()
    {
        TScreenshotThumbnails::DecodePool()->waitForDone();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

private slots:
    void decodesOnceThenAnswersFromTheCache_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QSize>("pixels");
        QTest::newRow("ratio 1") << 1.0 << QSize(88, 50);
        QTest::newRow("ratio 2") << 2.0 << QSize(177, 100);
    }
    void decodesOnceThenAnswersFromTheCache()
    {
        QFETCH(qreal, ratio);
        QFETCH(QSize, pixels);
        const QString path = writePng(QStringLiteral("run_0001.png"), Qt::green, QSize(1920, 1080));
        TScreenshotThumbnails thumbs;
        thumbs.SetBox(QSize(200, 50), ratio);
        QSignalSpy ready(&thumbs, &TScreenshotThumbnails::thumbnailReady);

        QVERIFY(!thumbs.Thumbnail(path).has_value());
        QVERIFY(!thumbs.Thumbnail(path).has_value());
        QTRY_COMPARE(ready.size(), 1);
        settle();
        QCOMPARE(ready.size(), 1); // the second ask did not decode again
        QCOMPARE(ready[0][0].toString(), QFileInfo(path).absoluteFilePath());
        const QImage delivered = ready[0][1].value<QImage>();
        QCOMPARE(delivered.size(), pixels);
        QCOMPARE(delivered.devicePixelRatio(), ratio);
        QCOMPARE(QColor(delivered.pixel(pixels.width() / 2, pixels.height() / 2)), QColor(Qt::green));

        const std::optional<QImage> cached = thumbs.Thumbnail(path);
        QVERIFY(cached.has_value());
        QCOMPARE(cached->constBits(), delivered.constBits());
        QCOMPARE(thumbs.PendingCount(), 0);
    }

    void changedFileIsDecodedAgain()
    {
        const QString path = writePng(QStringLiteral("change.png"), Qt::red);
        setModified(path, QDateTime::currentDateTime().addSecs(-60));
        TScreenshotThumbnails thumbs;
        thumbs.SetBox(QSize(200, 50), 1.0);
        QSignalSpy ready(&thumbs, &TScreenshotThumbnails::thumbnailReady);
        thumbs.Thumbnail(path);
        QTRY_COMPARE(ready.size(), 1);

        QVERIFY(!writePng(QStringLiteral("change.png"), Qt::blue).isEmpty());
        QVERIFY(!thumbs.Thumbnail(path).has_value());
        QTRY_COMPARE(ready.size(), 2);
        QCOMPARE(QColor(ready[1][1].value<QImage>().pixel(10, 10)), QColor(Qt::blue));
    }

    void unreadableFileGivesAnEmptyThumbnailOnce()
    {
        const QString path = FDir.filePath(QStringLiteral("corrupt.png"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\x89PNG\r\n\x1a\ngarbage");
        file.close();
        TScreenshotThumbnails thumbs;
        thumbs.SetBox(QSize(200, 50), 1.0);
        QSignalSpy ready(&thumbs, &TScreenshotThumbnails::thumbnailReady);
        QVERIFY(!thumbs.Thumbnail(path).has_value());
        QTRY_COMPARE(ready.size(), 1);
        QVERIFY(ready[0][1].value<QImage>().isNull());
        const std::optional<QImage> again = thumbs.Thumbnail(path);
        QVERIFY(again.has_value());
        QVERIFY(again->isNull());
    }

    // A result that arrives after the file changed again, or after the file
    // stopped being wanted, must not reach anyone.
    void staleAndUnwantedResultsAreDropped()
    {
        const QString kept = writePng(QStringLiteral("kept.png"), Qt::red);
        const QString dropped = writePng(QStringLiteral("dropped.png"), Qt::red);
        setModified(kept, QDateTime::currentDateTime().addSecs(-60));
        TScreenshotThumbnails thumbs;
        thumbs.SetBox(QSize(200, 50), 1.0);
        QSignalSpy ready(&thumbs, &TScreenshotThumbnails::thumbnailReady);

        thumbs.Thumbnail(kept);
        thumbs.Thumbnail(dropped);
        QVERIFY(!writePng(QStringLiteral("kept.png"), Qt::yellow).isEmpty());
        thumbs.Thumbnail(kept);
        thumbs.RetainOnly({QFileInfo(kept).absoluteFilePath()});
        QCOMPARE(thumbs.PendingCount(), 1);
        settle();
        QTRY_COMPARE(ready.size(), 1);
        settle();
        QCOMPARE(ready.size(), 1);
        QCOMPARE(ready[0][0].toString(), QFileInfo(kept).absoluteFilePath());
        QCOMPARE(QColor(ready[0][1].value<QImage>().pixel(10, 10)), QColor(Qt::yellow));
        QVERIFY(!thumbs.Thumbnail(dropped).has_value());
    }

    void newBoxEmptiesTheCache()
    {
        const QString path = writePng(QStringLiteral("box.png"), Qt::cyan, QSize(1920, 1080));
        TScreenshotThumbnails thumbs;
        thumbs.SetBox(QSize(200, 50), 1.0);
        QSignalSpy ready(&thumbs, &TScreenshotThumbnails::thumbnailReady);
        thumbs.Thumbnail(path);
        QTRY_COMPARE(ready.size(), 1);
        thumbs.SetBox(QSize(200, 50), 1.5);
        QVERIFY(!thumbs.Thumbnail(path).has_value());
        QTRY_COMPARE(ready.size(), 2);
        QCOMPARE(ready[1][1].value<QImage>().size(), QSize(133, 75));
    }

    // Painting hands work to the global pool and waits for it: decodes queued
    // there would hold the window up until the last of them was done.
    void decodesLeaveTheGlobalPoolFree()
    {
        TScreenshotThumbnails thumbs;
        thumbs.SetBox(QSize(200, 50), 1.0);
        QSignalSpy ready(&thumbs, &TScreenshotThumbnails::thumbnailReady);
        for (int i = 0; i < 12; ++i)
            thumbs.Thumbnail(writePng(QStringLiteral("queue_%1.png").arg(i), Qt::darkGreen, QSize(1920, 1080)));
        QVERIFY(TScreenshotThumbnails::DecodePool()->activeThreadCount() > 0);
        QCOMPARE(QThreadPool::globalInstance()->activeThreadCount(), 0);
        QCOMPARE(TScreenshotThumbnails::DecodePool()->maxThreadCount(), std::max(1, QThread::idealThreadCount() - 1));
        QTRY_COMPARE(ready.size(), 12);
    }

    void destroyingWithDecodesInFlightIsSafe()
    {
        QStringList paths;
        for (int i = 0; i < 8; ++i)
            paths << writePng(QStringLiteral("flight_%1.png").arg(i), Qt::gray, QSize(1920, 1080));
        {
            TScreenshotThumbnails thumbs;
            thumbs.SetBox(QSize(200, 50), 1.0);
            for (const QString& p : paths)
                thumbs.Thumbnail(p);
            QCOMPARE(thumbs.PendingCount(), 8);
        }
        settle();
    }
};

QTEST_MAIN(tst_TScreenshotThumbnails)
#include "tst_TScreenshotThumbnails.moc"
