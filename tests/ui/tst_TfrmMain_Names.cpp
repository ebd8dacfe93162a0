#include "TestScreen.h"
#include "TByteNamedMedia.h"
#include "TfrmMainFixture.h"

#include "services/OrvPath.h"
#include "ui/OrvDlg.h"
#include "ui/TImageViewer.h"
#include "ui/TScreenshotListModel.h"
#include "ui/TScreenshotListView.h"
#include "ui/TStyleButton.h"


#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace fs = std::filesystem;

// Video names that Linux allows and UTF-8 does not (any bytes but "/" and
// NUL), with the real window and engine: each is listed, plays, resumes, and
// gets screenshots named after its own bytes, which are listed, shown and
// deleted. Qt cannot name such files, so the test reaches them by their bytes.
class tst_TfrmMain_Names : public QObject
{
    Q_OBJECT

private:
    TfrmMainFixture F;
    QTemporaryDir FSource;
    TByteNamedMedia FMedia;


    static QImage ReadImage(const fs::path& AFile)
    {
        std::ifstream in(AFile, std::ios::binary);
        const std::string bytes {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        return QImage::fromData(QByteArrayView(bytes)).convertToFormat(QImage::Format_RGB32);
    }

    struct TColourShares
    {
        double Red = 0;
        double Green = 0;
        double Blue = 0;
    };

    // The share of the picture's pixels that are plainly red, green or blue.
    static TColourShares Shares(const QImage& AImage)
    {
        TColourShares shares;
        if (AImage.isNull())
            return shares;
        const QImage rgb = AImage.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < rgb.height(); ++y) {
            for (int x = 0; x < rgb.width(); ++x) {
                const QRgb p = rgb.pixel(x, y);
                shares.Red += qRed(p) > 150 && qGreen(p) < 80 && qBlue(p) < 80;
                shares.Green += qGreen(p) > 100 && qRed(p) < 80 && qBlue(p) < 80;
                shares.Blue += qBlue(p) > 150 && qRed(p) < 80 && qGreen(p) < 80;
            }
        }
        const double pixels = double(rgb.width()) * rgb.height();
        return {shares.Red / pixels, shares.Green / pixels, shares.Blue / pixels};
    }

    // Red, and none of the other two videos' colours.
    static bool OnlyRed(const QImage& AImage, double AShare)
    {
        const TColourShares shares = Shares(AImage);
        return shares.Red >= AShare && shares.Green < 0.01 && shares.Blue < 0.01;
    }

    static QString Describe(const QImage& AImage)
    {
        const TColourShares shares = Shares(AImage);
        return QStringLiteral("red %1 %, green %2 %, blue %3 %")
            .arg(shares.Red * 100, 0, 'f', 1)
            .arg(shares.Green * 100, 0, 'f', 1)
            .arg(shares.Blue * 100, 0, 'f', 1);
    }

    QListWidgetItem* ItemOf(const QString& sPath) const
    {
        QListWidget* list = F.Access().ListBoxFiles();
        for (int i = 0; i < list->count(); ++i) {
            if (F.Access().FileList_Path(list->item(i)) == sPath)
                return list->item(i);
        }
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        F.Start();
        OrvDlg::DlgSetPresenter([](const QString&, QMessageBox::Icon, QMessageBox::StandardButtons) {
            return QMessageBox::StandardButton::Yes;
        });
        TestMedia::VideoFormat format;
        format.durationMs = 6000;
        format.size = QSize(320, 180);
        for (const QString colour : {"red", "green", "blue"}) {
            format.source = QStringLiteral("color=c=") + colour;
            QVERIFY(TestMedia::makeVideo(FSource.filePath(colour + QStringLiteral(".avi")), format));
        }
    }

    void cleanupTestCase()
    {
        OrvDlg::DlgSetPresenter({});
        F.Finish();
    }

    void init()
    {
        FMedia.Make();
        F.FreshWindow();
    }

    void cleanup()
    {
        F.CloseWindow();
        // Qt's own removal passes over the names it cannot read.
        std::error_code ec;
        fs::remove_all(FMedia.File({}), ec);
        FMedia.Remove();
    }

    void everyNameIsListedPlayedAndScreenshotted_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("shown");

        QTest::newRow("invalid bytes") << QByteArray("bad\xff\xfe") << QStringLiteral("bad\uFFFD\uFFFD");
        QTest::newRow("lone continuation byte") << QByteArray("\x80" "clip") << QStringLiteral("\uFFFDclip");
        QTest::newRow("cut-off sequence") << QByteArray("caf\xc3") << QStringLiteral("caf\uFFFD");
        QTest::newRow("encoded surrogate") << QByteArray("x\xed\xa0\x80") << QStringLiteral("x\uFFFD\uFFFD\uFFFD");
        QTest::newRow("overlong slash") << QByteArray("a\xc0\xaf" "b") << QStringLiteral("a\uFFFD\uFFFDb");
        QTest::newRow("Latin-1 with characters the engine escapes")
            << QByteArray("50% r\xe9sum\xe9 #1") << QStringLiteral("50% r\uFFFDsum\uFFFD #1");
        QTest::newRow("UTF-8") << QByteArray("caf\xc3\xa9 \xf0\x9f\x93\xb9") << QStringLiteral("café 📹");
    }

    void everyNameIsListedPlayedAndScreenshotted()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, shown);
        const QByteArray video = name + ".avi";
        const QByteArray shot = name + "_0001.png";
        // A UTF-8 name that shows the same text: only what lies behind a row
        // tells the two apart.
        const QByteArray twin = shown.toUtf8() + ".avi";
        const bool hasTwin = twin != video;
        FMedia.CopyIn(FSource.filePath(QStringLiteral("red.avi")), video);
        FMedia.CopyIn(FSource.filePath(QStringLiteral("green.avi")), "plain.avi");
        if (hasTwin)
            FMedia.CopyIn(FSource.filePath(QStringLiteral("blue.avi")), twin);

        // The folder is chosen through a name the folder dialog can show.
        F.ChooseAndRest(FMedia.QtPath(QStringLiteral("plain.avi")));
        QStringList listed = F.Access().FileListTexts();
        listed.sort();
        QStringList expected {shown + ".avi", QStringLiteral("plain.avi")};
        if (hasTwin)
            expected << shown + ".avi";
        expected.sort();
        QCOMPARE(listed, expected);

        // Clicked, it rests on its own first frames.
        QListWidgetItem* const item = ItemOf(FMedia.Path(video));
        QVERIFY(item);
        QCOMPARE(item->text(), shown + ".avi");
        QListWidget* const list = F.Access().ListBoxFiles();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
        F.WaitResting(FMedia.Path(video));
        QWidget* const panel = F.Control("PanelMedia");
        QVERIFY2(TestLoop::waitFor([&] { return OnlyRed(TestScreen::grab(panel), 0.2); }, 10000),
                 qPrintable(Describe(TestScreen::grab(panel))));

        // Played from a later point and paused, it resumes there.
        F.PressKey(Qt::Key_Right, Qt::ControlModifier);
        F.PressKey(Qt::Key_Right, Qt::ControlModifier);
        const qint64 held = qint64(F.Access().Timeline_Value());
        QVERIFY(held >= 2000);
        F.PressKey(Qt::Key_P);
        QCOMPARE(qint64(F.Access().Timeline_Value()), held);
        F.WaitState(vlcPlayer_Playing);
        QVERIFY2(F.Player()->GetVideoPosInMs() >= held - 250,
                 qPrintable(QString::number(F.Player()->GetVideoPosInMs())));
        F.PressKey(Qt::Key_P);
        F.WaitState(vlcPlayer_Paused);

        // S names the screenshot after the video's own bytes.
        F.PressKey(Qt::Key_S);
        QVERIFY(TestLoop::waitFor([&] { return F.Access().ScreenshotsPending() == 0; }, 10000));
        QCOMPARE(F.Access().StatusMessage(), QString());
        QCOMPARE(FMedia.PngFiles(), QByteArrayList {shot});
        const QImage written = ReadImage(FMedia.File(shot));
        QVERIFY2(OnlyRed(written, 0.9), qPrintable(Describe(written)));

        // Its thumbnail is listed under the name as shown, and drawn.
        auto* const thumbnails = F.Control<TScreenshotListView>("ListViewScreenshots");
        TScreenshotListModel* const model = thumbnails->Model();
        QCOMPARE(model->Count(), 2);
        QCOMPARE(model->data(model->index(1), TScreenshotListModel::DetailRole).toString(), shown + "_0001.png");
        QCOMPARE(model->FilePath(1), FMedia.Path(shot));
        const QRect row = thumbnails->visualRect(model->index(1));
        const auto rowOnScreen = [&] {
            const QPoint at = thumbnails->viewport()->mapToGlobal(row.topLeft());
            return QGuiApplication::primaryScreen()->grabWindow(0, at.x(), at.y(), row.width(), row.height()).toImage();
        };
        QVERIFY2(TestLoop::waitFor([&] { return Shares(rowOnScreen()).Red > 0.1; }, 10000),
                 qPrintable(Describe(rowOnScreen())));

        // Clicked, it is shown in the viewer. The screen there showed the red
        // video until now: the viewer's picture tells what it shows.
        QTest::mouseClick(thumbnails->viewport(), Qt::LeftButton, {}, row.center());
        QVERIFY(TestLoop::waitFor([&] { return !F.Access().ViewerLoading(); }, 30000));
        auto* const viewer = F.Control<TImageViewer>("ImageViewerScreenshot");
        QVERIFY2(OnlyRed(viewer->Picture(), 0.9), qPrintable(Describe(viewer->Picture())));
        QVERIFY2(TestLoop::waitFor([&] { return OnlyRed(TestScreen::grab(viewer), 0.2); }, 10000),
                 qPrintable(Describe(TestScreen::grab(viewer))));

        // Deleted, it is gone from the folder.
        QTest::mouseClick(F.Control<TStyleButton>("ButtonDeleteScreenshot"), Qt::LeftButton);
        QVERIFY(TestLoop::waitFor([&] { return FMedia.PngFiles().isEmpty(); }, 10000));
        QCOMPARE(model->Count(), 1);
    }
};

QTEST_MAIN(tst_TfrmMain_Names)
#include "tst_TfrmMain_Names.moc"
