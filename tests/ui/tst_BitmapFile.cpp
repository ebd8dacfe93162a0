#include "ui/BitmapFile.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

// A limit no picture reaches: decode at the picture's own size.
constexpr qint64 AnySize = std::numeric_limits<qint64>::max();

class tst_BitmapFile : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir FDir;

    QString writeImage(const QString& name, const QSize& size, const QColor& color, const char* format)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        const QString path = FDir.filePath(name);
        if (!image.save(path, format))
            return {};
        return path;
    }

private slots:
    void decodesByContentWhateverTheSuffix_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("png as .png") << "a.png" << QByteArray("PNG");
        QTest::newRow("png as .jpg") << "b.jpg" << QByteArray("PNG");
        QTest::newRow("bmp as .png") << "c.png" << QByteArray("BMP");
        QTest::newRow("png without suffix") << "d" << QByteArray("PNG");
    }
    void decodesByContentWhateverTheSuffix()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        const QString path = writeImage(name, QSize(64, 48), QColor(10, 200, 30), format.constData());
        QVERIFY(!path.isEmpty());
        QImage bitmap;
        LoadBitmapFromFile(path, bitmap, AnySize);
        QCOMPARE(bitmap.size(), QSize(64, 48));
        QCOMPARE(QColor(bitmap.pixel(5, 5)), QColor(10, 200, 30));
    }

    void unrecognisedFileEmptiesTheBitmap()
    {
        const QString path = FDir.filePath(QStringLiteral("broken.png"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\x89PNG\r\n\x1a\n but then nothing an image would hold");
        file.close();
        QImage bitmap(10, 10, QImage::Format_RGB32);
        bitmap.fill(Qt::red);
        LoadBitmapFromFile(path, bitmap, AnySize);
        QVERIFY(bitmap.isNull());
    }

    void missingFileLeavesTheBitmapAlone_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("no such file") << "missing.png";
        QTest::newRow("a folder") << "folder.png";
    }
    void missingFileLeavesTheBitmapAlone()
    {
        QFETCH(QString, name);
        QVERIFY(QDir(FDir.path()).mkpath(QStringLiteral("folder.png")));
        QImage bitmap(10, 10, QImage::Format_RGB32);
        bitmap.fill(Qt::red);
        LoadBitmapFromFile(FDir.filePath(name), bitmap, AnySize);
        QCOMPARE(bitmap.size(), QSize(10, 10));
        QCOMPARE(QColor(bitmap.pixel(0, 0)), QColor(Qt::red));
    }

    // An 8K frame is larger than Qt's default allocation limit, which PNG
    // files are not decoded under.
    void picturesLargerThanQtsAllocationLimitStillDecode()
    {
        const QString path = FDir.filePath(QStringLiteral("big.png"));
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"), {"-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                               "color=c=0x3060C0:s=8192x4608", "-frames:v", "1", path});
        QVERIFY(ffmpeg.waitForFinished(60000));
        QCOMPARE(ffmpeg.exitCode(), 0);

        QImage bitmap;
        LoadBitmapFromFile(path, bitmap, AnySize);
        QCOMPARE(bitmap.size(), QSize(8192, 4608));

        const QImage thumb = LoadThumbnailFromFile(path, QSize(200, 50));
        QCOMPARE(thumb.size(), QSize(88, 50));
        QCOMPARE(QColor(thumb.pixel(44, 25)), QColor(bitmap.pixel(4000, 2000)));
    }

    // A picture of more pixels than the limit is decoded shrunk to it, its
    // shape and its colours kept, whatever its file format.
    void bitmapIsShrunkToTheLimit_data()
    {
        QTest::addColumn<QByteArray>("fileFormat");
        QTest::addColumn<int>("pixelFormat");
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<QSize>("expected");
        const int rgb = QImage::Format_RGB32;
        QTest::newRow("within the limit") << QByteArray("PNG") << rgb << QSize(640, 480) << qint64(640 * 480)
                                          << QSize(640, 480);
        QTest::newRow("square") << QByteArray("PNG") << rgb << QSize(2000, 2000) << qint64(1000000) << QSize(1000, 1000);
        QTest::newRow("wide") << QByteArray("PNG") << rgb << QSize(4000, 1000) << qint64(1000000) << QSize(2000, 500);
        QTest::newRow("long and thin") << QByteArray("PNG") << rgb << QSize(5000, 2) << qint64(1000) << QSize(1000, 1);
        QTest::newRow("tall and thin") << QByteArray("PNG") << rgb << QSize(2, 5000) << qint64(1000) << QSize(1, 1000);
        QTest::newRow("JPEG, scaled by its reader") << QByteArray("JPEG") << rgb << QSize(2000, 2000) << qint64(1000000)
                                                    << QSize(1000, 1000);
        QTest::newRow("BMP, read whole then scaled") << QByteArray("BMP") << rgb << QSize(2000, 2000)
                                                     << qint64(1000000) << QSize(1000, 1000);
        QTest::newRow("1-bit BMP") << QByteArray("BMP") << int(QImage::Format_Mono) << QSize(2000, 2000)
                                   << qint64(1000000) << QSize(1000, 1000);
    }
    void bitmapIsShrunkToTheLimit()
    {
        QFETCH(QByteArray, fileFormat);
        QFETCH(int, pixelFormat);
        QFETCH(QSize, picture);
        QFETCH(qint64, limit);
        QFETCH(QSize, expected);
        // Orange in the first half of the longer side, blue in the second.
        const QList<QRgb> colours {qRgb(255, 165, 0), qRgb(0, 0, 255)};
        const bool across = picture.width() >= picture.height();
        QImage image(picture, QImage::Format_Indexed8);
        image.setColorTable(colours);
        for (int y = 0; y < picture.height(); ++y) {
            uchar* line = image.scanLine(y);
            for (int x = 0; x < picture.width(); ++x)
                line[x] = across ? x >= picture.width() / 2 : y >= picture.height() / 2;
        }
        image = image.convertToFormat(QImage::Format(pixelFormat), colours);
        const QString path = FDir.filePath(QStringLiteral("limit.") + QString::fromLatin1(fileFormat).toLower());
        QVERIFY(image.save(path, fileFormat.constData()));

        QImage bitmap;
        LoadBitmapFromFile(path, bitmap, limit);
        QCOMPARE(bitmap.size(), expected);
        const QPoint first = across ? QPoint(expected.width() / 4, expected.height() / 2)
                                    : QPoint(expected.width() / 2, expected.height() / 4);
        const QPoint second = across ? QPoint(expected.width() * 3 / 4, expected.height() / 2)
                                     : QPoint(expected.width() / 2, expected.height() * 3 / 4);
        // JPEG changes colours a little.
        const auto near = [](QColor a, QColor b) {
            return qAbs(a.red() - b.red()) <= 8 && qAbs(a.green() - b.green()) <= 8 && qAbs(a.blue() - b.blue()) <= 8;
        };
        QVERIFY2(near(bitmap.pixelColor(first), QColor(colours[0])), qPrintable(bitmap.pixelColor(first).name()));
        QVERIFY2(near(bitmap.pixelColor(second), QColor(colours[1])), qPrintable(bitmap.pixelColor(second).name()));
    }

    void thumbnailFitsTheBoxKeepingItsShape_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("wide frame, 200x50 box") << QSize(1920, 1080) << QSize(200, 50) << QSize(88, 50);
        QTest::newRow("same box at ratio 2") << QSize(1920, 1080) << QSize(400, 100) << QSize(177, 100);
        QTest::newRow("very wide picture") << QSize(1000, 100) << QSize(200, 50) << QSize(200, 20);
        QTest::newRow("small picture grows to the box") << QSize(40, 20) << QSize(200, 50) << QSize(100, 50);
    }
    void thumbnailFitsTheBoxKeepingItsShape()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, box);
        QFETCH(QSize, expected);
        const QString path = writeImage(QStringLiteral("shape.png"), picture, Qt::blue, "PNG");
        const QImage thumb = LoadThumbnailFromFile(path, box);
        QCOMPARE(thumb.size(), expected);
        QCOMPARE(QColor(thumb.pixel(expected.width() / 2, expected.height() / 2)), QColor(Qt::blue));
    }

    // Shrunk by 3 in each direction, every thumbnail pixel is the mean of a
    // 3 x 3 block of the picture, whatever the way the file stores it.
    void thumbnailIsTheMeanOfEachArea_data()
    {
        QTest::addColumn<int>("pixelFormat");
        QTest::addColumn<bool>("interlaced");
        QTest::newRow("RGB") << int(QImage::Format_RGB32) << false;
        QTest::newRow("RGBA") << int(QImage::Format_ARGB32) << false;
        QTest::newRow("palette") << int(QImage::Format_Indexed8) << false;
        QTest::newRow("RGB, interlaced") << int(QImage::Format_RGB32) << true;
        QTest::newRow("RGBA, interlaced") << int(QImage::Format_ARGB32) << true;
    }
    void thumbnailIsTheMeanOfEachArea()
    {
        QFETCH(int, pixelFormat);
        QFETCH(bool, interlaced);
        // Noise, so that every pixel counts.
        QRandomGenerator random(20);
        QImage noise(QSize(600, 150), QImage::Format_ARGB32);
        for (int y = 0; y < noise.height(); ++y) {
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, random.generate() | (pixelFormat == QImage::Format_ARGB32 ? 0 : 0xff000000));
        }
        const QImage picture = pixelFormat == QImage::Format_Indexed8
            ? noise.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither)
            : noise.convertToFormat(QImage::Format(pixelFormat));
        QString path = FDir.filePath(QStringLiteral("noise.png"));
        QVERIFY(picture.save(path, "PNG"));
        if (interlaced) {
            const QString woven = FDir.filePath(QStringLiteral("noise-interlaced.png"));
            QProcess convert;
            convert.start(QStringLiteral("convert"), {path, QStringLiteral("-interlace"), QStringLiteral("PNG"), woven});
            QVERIFY2(convert.waitForFinished(60000) && convert.exitCode() == 0, "ImageMagick's convert is needed");
            QFile file(woven);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(int(file.read(29).at(28)), 1); // the header's interlace method: Adam7
            path = woven;
        }
        const QImage full = QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(full.size(), picture.size());

        const QImage thumb = LoadThumbnailFromFile(path, QSize(200, 50)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(thumb.size(), QSize(200, 50));
        for (int y = 0; y < thumb.height(); ++y) {
            for (int x = 0; x < thumb.width(); ++x) {
                int sums[4] = {};
                for (int dy = 0; dy < 3; ++dy) {
                    for (int dx = 0; dx < 3; ++dx) {
                        const QRgb pixel = full.pixel(3 * x + dx, 3 * y + dy);
                        sums[0] += qRed(pixel);
                        sums[1] += qGreen(pixel);
                        sums[2] += qBlue(pixel);
                        sums[3] += qAlpha(pixel);
                    }
                }
                const QRgb got = thumb.pixel(x, y);
                const int channels[4] = {qRed(got), qGreen(got), qBlue(got), qAlpha(got)};
                for (int c = 0; c < 4; ++c) {
                    if (qAbs(channels[c] - (sums[c] + 4) / 9) > 1)
                        QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3, not the mean of its block")
                                             .arg(x)
                                             .arg(y)
                                             .arg(got, 8, 16, QLatin1Char('0'))));
                }
            }
        }
    }

    void thumbnailOfAnUnreadableFileIsNull()
    {
        const QString path = FDir.filePath(QStringLiteral("text.png"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("plain text");
        file.close();
        QVERIFY(LoadThumbnailFromFile(path, QSize(200, 50)).isNull());
        QVERIFY(LoadThumbnailFromFile(FDir.filePath(QStringLiteral("none.png")), QSize(200, 50)).isNull());
    }
};

QTEST_GUILESS_MAIN(tst_BitmapFile)
#include "tst_BitmapFile.moc"
