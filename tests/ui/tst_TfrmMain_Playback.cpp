#include "TfrmMainFixture.h"

#include "engine/VlcLoader.h"

#include <QLocale>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

// Playback, stepping and the timeline of the real window, with the real
// engine playing videos made for the test.
class tst_TfrmMain_Playback : public QObject
{
    Q_OBJECT

private:
    // Long enough for every step of the step table to stay inside the video.
    static constexpr int ClipMs = 65000;
    // The clips play at 5 frames a second.
    static constexpr int ClipFrameMs = 200;

    TfrmMainFixture F;
    QTemporaryDir FMedia;

    // Chooses a video through the folder button, which lists its folder and
    // clicks it, and waits until its first frames rest on screen.
    void ChooseAndRest(const QString& sName)
    {
        F.Choose(FMedia.filePath(sName));
        QVERIFY(F.CoverShown());
        F.WaitResting(FMedia.filePath(sName));
    }

    // Keeps the window resting on sName, well before its end, bringing it
    // there only when needed.
    void RestingOn(const QString& sName)
    {
        if (!F.Window || F.Access().FileName() != FMedia.filePath(sName) || !F.Resting()
            || F.Player()->GetVideoPosInMs() > ClipMs - 10000) {
            F.FreshWindow();
            ChooseAndRest(sName);
        }
    }

    // Centre of the timeline's handle, in the timeline's coordinates.
    QPoint TimelineHandle() const
    {
        auto* timeline = F.Control<QSlider>("tbProcess");
        QStyleOptionSlider option;
        option.initFrom(timeline);
        option.orientation = timeline->orientation();
        option.minimum = timeline->minimum();
        option.maximum = timeline->maximum();
        option.sliderPosition = timeline->sliderPosition();
        option.sliderValue = timeline->value();
        option.subControls = QStyle::SC_All;
        return timeline->style()
            ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, timeline)
            .center();
    }

    // Real mouse input through the window system, so that the platform's
    // button state follows it.
    QPoint InWindow(QWidget* AWidget, QPoint APoint) const { return AWidget->mapTo(F.Window.get(), APoint); }

private slots:
    void initTestCase()
    {
        F.Start();
        TestMedia::VideoFormat format;
        format.durationMs = ClipMs;
        format.size = QSize(320, 180);
        format.fps = 1000 / ClipFrameMs;
        QVERIFY(TestMedia::makeVideo(FMedia.filePath(QStringLiteral("clip.avi")), format));
        format.durationMs = 10000;
        QVERIFY(TestMedia::makeVideo(FMedia.filePath(QStringLiteral("short.avi")), format));
        for (const QString& name : {QStringLiteral("with space ä.avi"), QStringLiteral("100% #1.avi")})
            QVERIFY(QFile::copy(FMedia.filePath(QStringLiteral("short.avi")), FMedia.filePath(name)));
        format.durationMs = 4000;
        format.audioTonesHz = {440};
        QVERIFY(TestMedia::makeVideo(FMedia.filePath(QStringLiteral("tone.avi")), format));
        QVERIFY(QFile::copy(FMedia.filePath(QStringLiteral("tone.avi")), FMedia.filePath(QStringLiteral("tone2.avi"))));
    }

    void cleanupTestCase() { F.Finish(); }

    void timeText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << "C" << qint64(0) << "0:00:00-000";
        QTest::newRow("duration") << "C" << qint64(83456) << "0:01:23-456";
        QTest::newRow("hours, padded ms") << "C" << qint64(3723004) << "1:02:03-004";
        QTest::newRow("last ms of a day") << "C" << qint64(86399999) << "23:59:59-999";
        QTest::newRow("25 hours drop the day") << "C" << qint64(90000000) << "1:00:00-000";
        QTest::newRow("beyond 32 bits") << "C" << qint64(4294967296) << "17:02:47-296";
        QTest::newRow("unknown") << "C" << qint64(-1) << "-:--:------";
        QTest::newRow("far negative") << "C" << qint64(-90000000) << "-:--:------";
        QTest::newRow("locale separator") << "fi_FI" << qint64(3723004) << "1.02.03-004";
        QTest::newRow("English US") << "en_US" << qint64(3723004) << "1:02:03-004";
    }

    void timeText()
    {
        QFETCH(QString, locale);
        QFETCH(qint64, ms);
        QFETCH(QString, text);
        const QLocale before;
        QLocale::setDefault(QLocale(locale));
        const QString result = TfrmMainAccess::MediaTime_Text(ms);
        QLocale::setDefault(before);
        QCOMPARE(result, text);
    }

    // The engine answers -1 for the length and time of nothing.
    void unknownLengthAndTimeShowTheEmptyTexts()
    {
        RestingOn(QStringLiteral("clip.avi"));
        F.Player()->Stop();
        QCOMPARE(F.Player()->GetVideoLenInMs(), qint64(-1));
        F.Access().EvOnMediaPlayerPlaying();
        F.Access().EvOnMediaPlayerTimeChanged(-1);
        QCOMPARE(F.Text("LabelMediaDuration"), QStringLiteral("-:--:------"));
        QCOMPARE(F.Text("LabelMediaTime"), QStringLiteral("-:--:------"));
        auto* timeline = F.Control<QSlider>("tbProcess");
        QCOMPARE(timeline->minimum(), 0);
        QCOMPARE(timeline->maximum(), 0);
        QCOMPARE(timeline->value(), 0);
    }

    // Clicking the file displayed once more leaves the video where it is,
    // paused.
    void clickingTheDisplayedFileAgainKeepsItsPosition_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::newRow("paused") << false;
        QTest::newRow("playing") << true;
    }

    void clickingTheDisplayedFileAgainKeepsItsPosition()
    {
        QFETCH(bool, playing);
        RestingOn(QStringLiteral("clip.avi"));
        if (playing) {
            F.PressKey(Qt::Key_P);
            F.WaitState(vlcPlayer_Playing);
            QVERIFY(TestLoop::waitFor([&] { return F.Player()->GetVideoPosInMs() > 1500; }, 10000));
        } else {
            F.Access().Timeline_SetValue(2000);
            F.PressKey(Qt::Key_Right, Qt::ControlModifier);
        }
        const qint64 before = F.Player()->GetVideoPosInMs();

        F.ClickFile(QStringLiteral("clip.avi"));
        QVERIFY(F.CoverShown());
        QVERIFY(TestLoop::waitFor([&] { return !F.CoverShown(); }));
        F.WaitState(vlcPlayer_Paused);
        TestLoop::run(300);

        // Paused while playing, the video rests on the start of the frame
        // it shows.
        const qint64 after = F.Player()->GetVideoPosInMs();
        QVERIFY2(after >= before - before % ClipFrameMs && after < before + 1000,
                 qPrintable(QStringLiteral("%1 ms before the click, %2 ms after").arg(before).arg(after)));
        QCOMPARE(F.Player()->GetState(), vlcPlayer_Paused);
    }

    void firstFrameFlow()
    {
        F.FreshWindow();
        THeaderTabBar* header = F.Header();
        header->setCurrentIndex(1);
        ChooseAndRest(QStringLiteral("clip.avi"));

        QVERIFY2(F.Player()->GetVideoPosInMs() < 1000, qPrintable(QString::number(F.Player()->GetVideoPosInMs())));
        QCOMPARE(header->currentIndex(), 0);
        QCOMPARE(F.PlayLook(), QStringLiteral("playtoolbutton"));
        QVERIFY(!F.Control("AniIndicatorCover")->isEnabled());
        QVERIFY(!F.Access().StopImmediately());
        QCOMPARE(F.Player()->GetVideoLenInMs(), qint64(ClipMs));
        QCOMPARE(F.Text("LabelMediaDuration"), QStringLiteral("0:01:05-000"));
        QCOMPARE(F.Access().Timeline_Maximum(), float(ClipMs));
        QCOMPARE(F.Access().StartPosition(), qint64(0));
        QCOMPARE(F.Access().EndPosition(), qint64(-1));
        QVERIFY(QUrl(F.Player()->GetMediaMrl()).toLocalFile() == FMedia.filePath(QStringLiteral("clip.avi")));
    }

    // Asked of the engine, not of the control's remembered setting; -1 while
    // the engine has no audio output.
    int EngineMute() { return LibVlcEntries.libvlc_audio_get_mute(F.Player()->GetPlayerHandle()); }
    int EngineVolume() { return LibVlcEntries.libvlc_audio_get_volume(F.Player()->GetPlayerHandle()); }

    // Muted at volume 0 as asked of the engine, which takes both only once its
    // audio output exists, some time after the start.
    bool EngineSilent() { return EngineMute() == 1 && EngineVolume() == 0; }

    void startsAreMutedAtVolumeZero()
    {
        F.FreshWindow();
        // An audio output that keeps its volume without a sound device.
        F.Player()->SetStartOptions({QStringLiteral("--aout=amem")});
        ChooseAndRest(QStringLiteral("tone.avi"));
        QVERIFY(F.Player()->GetAudioMute());
        QVERIFY(TestLoop::waitFor([&] { return EngineSilent(); }));

        F.PressKey(Qt::Key_P);
        F.WaitState(vlcPlayer_Playing);
        QVERIFY(F.Player()->GetAudioMute());
        QVERIFY(TestLoop::waitFor([&] { return EngineSilent(); }));
        QTest::mouseClick(F.Control("bPlay"), Qt::LeftButton);
        F.WaitState(vlcPlayer_Paused);

        // A new playback, with a new audio output.
        ChooseAndRest(QStringLiteral("tone2.avi"));
        QVERIFY(F.Player()->GetAudioMute());
        QVERIFY(TestLoop::waitFor([&] { return EngineVolume() >= 0; }));
        QVERIFY(TestLoop::waitFor([&] { return EngineSilent(); }));
        F.PressKey(Qt::Key_P);
        F.WaitState(vlcPlayer_Playing);
        TestLoop::run(300);
        QVERIFY(EngineSilent());
    }

    void steps_data()
    {
        QTest::addColumn<float>("maximum");
        QTest::addColumn<float>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<qint64>("expected");
        const int none = Qt::NoModifier;
        const int shift = Qt::ShiftModifier;
        const int ctrl = Qt::ControlModifier;
        const int alt = Qt::AltModifier;
        const int left = Qt::Key_Left;
        const int right = Qt::Key_Right;
        QTest::newRow("Left at 15") << 60000.f << 15.f << left << none << qint64(0);
        QTest::newRow("Left at 25") << 60000.f << 25.f << left << none << qint64(5);
        QTest::newRow("Left at 20") << 60000.f << 20.f << left << none << qint64(0);
        QTest::newRow("Right at 1,000") << 60000.f << 1000.f << right << none << qint64(1020);
        QTest::newRow("Right at 59,990") << 60000.f << 59990.f << right << none << qint64(60000);
        QTest::newRow("Right at 59,980") << 60000.f << 59980.f << right << none << qint64(60000);
        QTest::newRow("Right at 59,979") << 60000.f << 59979.f << right << none << qint64(59999);
        QTest::newRow("Ctrl+Right at 59,000") << 60000.f << 59000.f << right << ctrl << qint64(60000);
        QTest::newRow("Ctrl+Right at 58,999") << 60000.f << 58999.f << right << ctrl << qint64(59999);
        QTest::newRow("Ctrl+Left at 5,000") << 60000.f << 5000.f << left << ctrl << qint64(4000);
        QTest::newRow("Shift+Left at 1,000") << 60000.f << 1000.f << left << shift << qint64(995);
        QTest::newRow("Shift+Right at 1,000") << 60000.f << 1000.f << right << shift << qint64(1005);
        QTest::newRow("Ctrl+Shift+Left at 12,000") << 60000.f << 12000.f << left << (ctrl | shift) << qint64(2000);
        QTest::newRow("Ctrl+Shift+Left at 9,000") << 60000.f << 9000.f << left << (ctrl | shift) << qint64(0);
        QTest::newRow("Ctrl+Shift+Right at 12,000") << 60000.f << 12000.f << right << (ctrl | shift) << qint64(22000);
        QTest::newRow("Alt+Left as Left") << 60000.f << 1000.f << left << alt << qint64(980);
        QTest::newRow("Alt+Shift+Left as Shift+Left") << 60000.f << 1000.f << left << (alt | shift) << qint64(995);
        QTest::newRow("keypad Left as Left") << 60000.f << 1000.f << left << int(Qt::KeypadModifier) << qint64(980);
    }

    // The keys reach the window before the focused control: the timeline
    // itself would move by one on an arrow key.
    void steps()
    {
        QFETCH(float, maximum);
        QFETCH(float, start);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(qint64, expected);
        RestingOn(QStringLiteral("clip.avi"));
        F.Access().Timeline_SetMaximum(maximum);
        F.Access().Timeline_SetValue(start);

        QTest::keyClick(F.Control("tbProcess"), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(qint64(F.Access().Timeline_Value()), expected);
        QCOMPARE(F.Text("LabelMediaTime"), TfrmMainAccess::MediaTime_Text(expected));
        QCOMPARE(F.Control<TStyleButton>("b1SecBackward")->Tag(), 20);
        QCOMPARE(F.Control<TStyleButton>("b1SecForward")->Tag(), 20);
        QCOMPARE(F.Control<TStyleButton>("b10SecBackward")->Tag(), 1000);
        QCOMPARE(F.Control<TStyleButton>("b10SecForward")->Tag(), 1000);
        QCOMPARE(F.Player()->GetState(), vlcPlayer_Paused);
    }

    void stepButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<float>("start");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("rewind") << "b10SecBackward" << 5000.f << qint64(4000);
        QTest::newRow("rewind near the start") << "b10SecBackward" << 700.f << qint64(0);
        QTest::newRow("arrow left") << "b1SecBackward" << 5000.f << qint64(4980);
        QTest::newRow("arrow right") << "b1SecForward" << 5000.f << qint64(5020);
        QTest::newRow("forward") << "b10SecForward" << 5000.f << qint64(6000);
        QTest::newRow("forward near the end") << "b10SecForward" << 59500.f << qint64(60000);
    }

    // Steps pause a playing video first and bring the Video view back.
    void stepButtons()
    {
        QFETCH(QString, button);
        QFETCH(float, start);
        QFETCH(qint64, expected);
        RestingOn(QStringLiteral("clip.avi"));
        F.Access().Timeline_SetMaximum(60000.f);
        F.Access().Timeline_SetValue(start);
        F.Header()->setCurrentIndex(1);

        QTest::mouseClick(F.Control(button.toLatin1().constData()), Qt::LeftButton);
        QCOMPARE(qint64(F.Access().Timeline_Value()), expected);
        QCOMPARE(F.Header()->currentIndex(), 0);
        QVERIFY(F.Control("tbProcess")->isVisible());
        QCOMPARE(F.PlayLook(), QStringLiteral("playtoolbutton"));
    }

    void stepWhilePlayingPauses()
    {
        RestingOn(QStringLiteral("clip.avi"));
        QTest::mouseClick(F.Control("bPlay"), Qt::LeftButton);
        F.WaitState(vlcPlayer_Playing);
        QCOMPARE(F.PlayLook(), QStringLiteral("stoptoolbutton"));
        QVERIFY(TestLoop::waitFor([&] { return F.Access().Timeline_Value() > 0; }));

        F.PressKey(Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(F.PlayLook(), QStringLiteral("playtoolbutton"));
        F.WaitState(vlcPlayer_Paused);
        QVERIFY2(F.Player()->GetVideoPosInMs() >= 1000, qPrintable(QString::number(F.Player()->GetVideoPosInMs())));
    }

    void playKeyPausesAndResumesTheSameMedia_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain name") << "clip.avi";
        QTest::newRow("space and non-ASCII letter") << "with space ä.avi";
        QTest::newRow("percent and hash") << "100% #1.avi";
    }

    void playKeyPausesAndResumesTheSameMedia()
    {
        QFETCH(QString, name);
        F.FreshWindow();
        ChooseAndRest(name);
        // Away from the start, so that starting again would show.
        for (int i = 0; i < 3; ++i)
            F.PressKey(Qt::Key_Right, Qt::ControlModifier);
        const qint64 held = qint64(F.Access().Timeline_Value());
        QVERIFY(held >= 3000);
        const QString mrl = F.Player()->GetMediaMrl();

        F.PressKey(Qt::Key_P);
        QCOMPARE(F.PlayLook(), QStringLiteral("stoptoolbutton"));
        F.WaitState(vlcPlayer_Playing);
        QVERIFY2(F.Player()->GetVideoPosInMs() >= held - 250,
                 qPrintable(QString::number(F.Player()->GetVideoPosInMs())));
        QCOMPARE(F.Player()->GetMediaMrl(), mrl);

        // A pause rests on the start of the frame shown: played on by more
        // than a frame, that is later than before.
        QVERIFY(TestLoop::waitFor([&] { return F.Access().Timeline_Value() > held + 200; }));
        F.PressKey(Qt::Key_P, Qt::ShiftModifier);
        QCOMPARE(F.PlayLook(), QStringLiteral("playtoolbutton"));
        F.WaitState(vlcPlayer_Paused);
        const qint64 paused = F.Player()->GetVideoPosInMs();
        QVERIFY(paused > held);

        F.PressKey(Qt::Key_P);
        F.WaitState(vlcPlayer_Playing);
        QVERIFY2(F.Player()->GetVideoPosInMs() >= paused - 250,
                 qPrintable(QString::number(F.Player()->GetVideoPosInMs())));
        QCOMPARE(F.Player()->GetMediaMrl(), mrl);
    }

    void sKeyTakesAScreenshot()
    {
        RestingOn(QStringLiteral("clip.avi"));
        const QString shot = FMedia.filePath(QStringLiteral("clip_0001.png"));
        QVERIFY(!QFile::exists(shot));
        F.PressKey(Qt::Key_S);
        QVERIFY(TestLoop::waitFor([&] { return F.Access().ScreenshotsPending() == 0; }, 10000));
        QVERIFY(!QImage(shot).isNull());
        QVERIFY(QFile::remove(shot));
    }

    // Keys other than the window's own still reach the focused control.
    void otherKeysReachTheFocusedControl()
    {
        RestingOn(QStringLiteral("clip.avi"));
        QListWidget* list = F.Access().ListBoxFiles();
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentRow(), 1);
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(F.Player()->GetState(), vlcPlayer_Paused);
    }

    void playWithNothingToPlayDoesNothing_data()
    {
        QTest::addColumn<bool>("selected");
        QTest::newRow("no selection") << false;
        // Selected with the keyboard but never displayed.
        QTest::newRow("selected, nothing shown yet") << true;
    }

    void playWithNothingToPlayDoesNothing()
    {
        QFETCH(bool, selected);
        F.FreshWindow();
        F.Choose(FMedia.filePath(QStringLiteral("photo.jpg")));
        if (selected)
            F.Access().ListBoxFiles()->setCurrentRow(0);
        F.PressKey(Qt::Key_P);
        QTest::mouseClick(F.Control("bPlay"), Qt::LeftButton);
        QCOMPARE(F.PlayLook(), QStringLiteral("playtoolbutton"));
        QCOMPARE(F.Player()->GetStateName(), QStringLiteral("Player not initialised"));
    }

    void draggingTheTimelinePausesAndSeeks()
    {
        RestingOn(QStringLiteral("clip.avi"));
        F.PressKey(Qt::Key_P);
        F.WaitState(vlcPlayer_Playing);
        QVERIFY(TestLoop::waitFor([&] { return F.Access().Timeline_Value() > 0; }));

        auto* timeline = F.Control<QSlider>("tbProcess");
        QWindow* window = F.Window->windowHandle();
        const QPoint from = TimelineHandle();
        const QPoint to(from.x() + timeline->width() / 2, from.y());
        QTest::mousePress(window, Qt::LeftButton, {}, InWindow(timeline, from));
        QTest::mouseMove(window, InWindow(timeline, QPoint(from.x() + timeline->width() / 4, from.y())));
        QTest::mouseMove(window, InWindow(timeline, to));
        QCOMPARE(F.PlayLook(), QStringLiteral("playtoolbutton"));
        const float dragged = F.Access().Timeline_Value();
        QVERIFY2(dragged > ClipMs / 3, qPrintable(QString::number(dragged)));
        QTest::mouseRelease(window, Qt::LeftButton, {}, InWindow(timeline, to));

        F.WaitState(vlcPlayer_Paused);
        QVERIFY(TestLoop::waitFor([&] { return qAbs(F.Player()->GetVideoPosInMs() - qint64(dragged)) <= 300; }));
        TestLoop::run(300);
        QCOMPARE(F.Player()->GetState(), vlcPlayer_Paused);
    }

    void timeReportsMoveTheTimelineWithoutSeeking()
    {
        RestingOn(QStringLiteral("clip.avi"));
        F.PressKey(Qt::Key_P);
        F.WaitState(vlcPlayer_Playing);
        const float first = F.Access().Timeline_Value();
        QVERIFY(TestLoop::waitFor([&] { return F.Access().Timeline_Value() >= first + 600; }));
        QCOMPARE(F.Player()->GetState(), vlcPlayer_Playing);
        QCOMPARE(F.PlayLook(), QStringLiteral("stoptoolbutton"));
        QCOMPARE(F.Text("LabelMediaTime"), TfrmMainAccess::MediaTime_Text(qint64(F.Access().Timeline_Value())));
        QTest::mouseClick(F.Control("bPlay"), Qt::LeftButton);
        F.WaitState(vlcPlayer_Paused);
    }

    // The button's state is asked of the platform, not of the event: a button
    // held anywhere makes the next time report a seek.
    void aButtonHeldElsewherePausesAtTheNextReport()
    {
        RestingOn(QStringLiteral("clip.avi"));
        F.PressKey(Qt::Key_P);
        F.WaitState(vlcPlayer_Playing);
        QWidget* banner = F.Control("Panel6");
        QWindow* window = F.Window->windowHandle();
        QTest::mousePress(window, Qt::LeftButton, {}, InWindow(banner, banner->rect().center()));
        F.WaitState(vlcPlayer_Paused);
        QCOMPARE(F.PlayLook(), QStringLiteral("playtoolbutton"));
        QTest::mouseRelease(window, Qt::LeftButton, {}, InWindow(banner, banner->rect().center()));
    }
};

QTEST_MAIN(tst_TfrmMain_Playback)
#include "tst_TfrmMain_Playback.moc"
