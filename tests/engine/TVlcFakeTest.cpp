#include "engine/TVlc.h"
#include "engine/TVlcEqualizer.h"
#include "engine/TVlcMedia.h"
#include "engine/TVlcMediaListC.h"
#include "engine/TVlcMediaPlayerC.h"
#include "engine/VlcLoader.h"

#include "FakeLibVlc.h"

#include <QtTest>

// The engine instance and media items against recording fake libraries: what
// reaches libvlc, in which order.

namespace {

// The argument vector of the one libvlc_new call the fake saw.
QStringList startArguments(const QString& sFake)
{
    const QList<FakeLibVlc::Call> calls = FakeLibVlc::callsOf(sFake, QStringLiteral("libvlc_new"));
    if (calls.size() != 1)
        return {QStringLiteral("libvlc_new called %1 times").arg(calls.size())};
    QStringList arguments = calls[0].arguments;
    const int argc = arguments.takeFirst().toInt();
    if (argc != arguments.size())
        return {QStringLiteral("argc %1 for %2 arguments").arg(argc).arg(arguments.size())};
    return arguments;
}

QStringList callNames(const QString& sFake)
{
    QStringList names;
    for (const FakeLibVlc::Call& call : FakeLibVlc::calls(sFake))
        names.append(call.name);
    return names;
}

QStringList numberedOptions(int count)
{
    QStringList options;
    for (int i = 0; i < count; ++i)
        options.append(QStringLiteral("--option-%1").arg(i));
    return options;
}

const QString Fake22 = QStringLiteral("fakevlc_2_2_0");

} // namespace

class TVlcFakeTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startArgumentsByVersion_data();
    void startArgumentsByVersion();
    void startArgumentCap_data();
    void startArgumentCap();
    void blankAndRepeatedOptions();
    void noInstanceWhileLoaderReportsError();
    void mediaKindByName_data();
    void mediaKindByName();
    void deinterlaceOptions_data();
    void deinterlaceOptions();
    void emptyMediaCallsNothing();
    void listOperationsTakeTheLockOnce();
    void listAddAppliesPlayerSettings();
    void equalizerWithoutInstance();
};

void TVlcFakeTest::init()
{
    LibVlcUnload();
    // A failed load must never fall back to the machine's libvlc here.
    LibVlcSetInstallDirLookup([] { return QString(); });
}

void TVlcFakeTest::cleanup()
{
    LibVlcUnload();
    LibVlcSetInstallDirLookup({});
}

void TVlcFakeTest::startArgumentsByVersion_data()
{
    QTest::addColumn<QString>("fake");
    QTest::addColumn<bool>("titleShow");
    QTest::addColumn<QStringList>("added");

    QTest::newRow("2.2") << Fake22 << false
                         << QStringList {"--sub-source=marq", "--sub-filter=logo:marq"};
    QTest::newRow("2.2, title shown") << Fake22 << true
                                      << QStringList {"--sub-source=marq", "--sub-filter=logo:marq"};
    QTest::newRow("2.0") << "fakevlc_2_0_0" << false
                         << QStringList {"--no-video-title-show", "--sub-source=marq", "--sub-filter=logo:marq"};
    QTest::newRow("2.0, title shown") << "fakevlc_2_0_0" << true
                                      << QStringList {"--video-title-show", "--sub-source=marq", "--sub-filter=logo:marq"};
    QTest::newRow("1.1") << "fakevlc_1_1_0" << false << QStringList {"--no-video-title-show", "--sub-filter=logo:marq"};
}

void TVlcFakeTest::startArgumentsByVersion()
{
    QFETCH(QString, fake);
    QFETCH(bool, titleShow);
    QFETCH(QStringList, added);

    const QStringList options {"--ignore-config", "--intf=dummy", "--quiet"};
    {
        TVlc vlc;
        for (const QString& sOption : options)
            vlc.AddOption(sOption);
        vlc.SetTitleShow(titleShow);
        vlc.SetPath(FakeLibVlc::dir(fake));
        QVERIFY(vlc.GetHandle());
        QCOMPARE(startArguments(fake), QStringList {FakeLibVlc::dir(fake)} + options + added);

        // The instance is made once; later calls return it.
        QCOMPARE(vlc.GetHandle(), vlc.GetHandle());
        QCOMPARE(FakeLibVlc::callsOf(fake, QStringLiteral("libvlc_new")).size(), 1);
        QCOMPARE(vlc.GetVersionBin(), LibVlcVersionBin());
    }
    QCOMPARE(FakeLibVlc::callsOf(fake, QStringLiteral("libvlc_release")).size(), 1);
}

void TVlcFakeTest::startArgumentCap_data()
{
    QTest::addColumn<int>("optionCount");
    QTest::addColumn<QStringList>("expectedOptions");
    QTest::newRow("300: the first 255 only") << 300 << numberedOptions(255);
    QTest::newRow("253: no room for the sub-source")
        << 253 << numberedOptions(253) + QStringList {"--sub-filter=logo:marq"};
    QTest::newRow("252: both added") << 252
                                     << numberedOptions(252) + QStringList {"--sub-source=marq", "--sub-filter=logo:marq"};
}

void TVlcFakeTest::startArgumentCap()
{
    QFETCH(int, optionCount);
    QFETCH(QStringList, expectedOptions);

    TVlc vlc;
    for (const QString& sOption : numberedOptions(optionCount))
        vlc.AddOption(sOption);
    vlc.SetPath(FakeLibVlc::dir(Fake22));
    QVERIFY(vlc.GetHandle());
    const QStringList arguments = startArguments(Fake22);
    QVERIFY(arguments.size() <= TVlc::MaxStartArguments);
    QCOMPARE(arguments, QStringList {FakeLibVlc::dir(Fake22)} + expectedOptions);
}

void TVlcFakeTest::blankAndRepeatedOptions()
{
    TVlc vlc;
    vlc.AddOption(QString());
    vlc.AddOption(QStringLiteral("--quiet"));
    vlc.AddOption(QStringLiteral("--QUIET"));
    vlc.AddOption(QStringLiteral("   "));
    vlc.AddOption(QStringLiteral(" \t\x01"));
    vlc.AddOption(QStringLiteral(" --leading-blank"));
    vlc.AddOption(QStringLiteral("--quiet"));
    QCOMPARE(vlc.StartOptions(),
             QStringList({"--quiet", "   ", QStringLiteral(" \t\x01"), " --leading-blank"}));

    vlc.SetPath(FakeLibVlc::dir(Fake22));
    QVERIFY(vlc.GetHandle());
    QCOMPARE(startArguments(Fake22), QStringList({FakeLibVlc::dir(Fake22), "--quiet", " --leading-blank",
                                                  "--sub-source=marq", "--sub-filter=logo:marq"}));
}

void TVlcFakeTest::noInstanceWhileLoaderReportsError()
{
    const QString sOld = QStringLiteral("fakevlc_0_9_10");
    LibVlcLoad(FakeLibVlc::dir(sOld));
    QVERIFY(!LibVlcLastError().isEmpty());

    TVlc vlc;
    vlc.SetPath(FakeLibVlc::dir(Fake22));
    QVERIFY(!vlc.GetHandle());
    QVERIFY(!vlc.GetHandle());
    QVERIFY(FakeLibVlc::callsOf(sOld, QStringLiteral("libvlc_new")).isEmpty());

    // Once a good library is loaded, the same object makes its instance.
    LibVlcUnload();
    LibVlcLoad(FakeLibVlc::dir(Fake22));
    QVERIFY(LibVlcLastError().isEmpty());
    QVERIFY(vlc.GetHandle());
    QCOMPARE(FakeLibVlc::callsOf(Fake22, QStringLiteral("libvlc_new")).size(), 1);
}

void TVlcFakeTest::mediaKindByName_data()
{
    QTest::addColumn<QString>("mrl");
    QTest::addColumn<QString>("entry");
    QTest::newRow("existing file") << QCoreApplication::applicationFilePath() << "libvlc_media_new_path";
    QTest::newRow("network location") << "http://example.invalid/x" << "libvlc_media_new_location";
    QTest::newRow("missing file") << "/no/such/clip.avi" << "libvlc_media_new_location";
    QTest::newRow("a folder") << QDir::tempPath() << "libvlc_media_new_location";
}

void TVlcFakeTest::mediaKindByName()
{
    QFETCH(QString, mrl);
    QFETCH(QString, entry);
    QVERIFY(!mrl.isEmpty());
    TVlc vlc;
    vlc.SetPath(FakeLibVlc::dir(Fake22));
    {
        TVlcMedia media(&vlc, mrl);
        QVERIFY(media.MD());
        const QList<FakeLibVlc::Call> made = FakeLibVlc::callsOf(Fake22, entry);
        QCOMPARE(made.size(), 1);
        QCOMPARE(made[0].arguments.value(1), mrl);
    }
    QCOMPARE(FakeLibVlc::callsOf(Fake22, QStringLiteral("libvlc_media_release")).size(), 1);
}

void TVlcFakeTest::deinterlaceOptions_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("options");
    QTest::newRow("off, discard") << int(deOFF) << int(dmDISCARD) << QStringList {"deinterlace=0", "deinterlace-mode=discard"};
    QTest::newRow("on, yadif2x") << int(deON) << int(dmYADIF2x) << QStringList {"deinterlace=1", "deinterlace-mode=yadif2x"};
    QTest::newRow("on, ivtc") << int(deON) << int(dmIVTC) << QStringList {"deinterlace=1", "deinterlace-mode=ivtc"};
    QTest::newRow("on, x") << int(deON) << int(dmX) << QStringList {"deinterlace=1", "deinterlace-mode=x"};
}

void TVlcFakeTest::deinterlaceOptions()
{
    QFETCH(int, filter);
    QFETCH(int, mode);
    QFETCH(QStringList, options);
    TVlc vlc;
    vlc.SetPath(FakeLibVlc::dir(Fake22));
    TVlcMedia media(&vlc, QStringLiteral("http://example.invalid/x"));
    media.SetDeinterlaceFilter(TDeinterlaceFilter(filter));
    media.SetDeinterlaceFilterMode(TDeinterlaceMode(mode));
    QStringList added;
    for (const FakeLibVlc::Call& call : FakeLibVlc::callsOf(Fake22, QStringLiteral("libvlc_media_add_option")))
        added.append(call.arguments.value(1));
    QCOMPARE(added, options);
}

void TVlcFakeTest::emptyMediaCallsNothing()
{
    TVlc vlc;
    vlc.SetPath(FakeLibVlc::dir(Fake22));
    QVERIFY(vlc.GetHandle());
    FakeLibVlc::clearCalls(Fake22);

    TVlcMedia media(&vlc);
    media.AddOption(QStringLiteral("x"));
    media.SetDeinterlaceFilter(deON);
    media.SetMeta(libvlc_meta_Title, QStringLiteral("t"));
    media.SaveMeta();
    media.Parse();
    media.ParseAsync();
    media.SetUserData(&vlc);
    libvlc_media_stats_t stats {};
    TVlcTrackInfoArray tracks;
    QCOMPARE(media.GetMrl(), QString());
    QCOMPARE(media.GetMeta(libvlc_meta_Title), QString());
    QCOMPARE(media.GetState(), libvlc_NothingSpecial);
    QVERIFY(!media.GetStats(stats));
    QCOMPARE(media.GetDuration(), qint64(-1));
    QVERIFY(!media.IsParsed());
    QVERIFY(!media.GetUserData());
    QVERIFY(!media.GetEventManager());
    QCOMPARE(media.GetTracksInfo(tracks), 0);
    QVERIFY(!media.Duplicate()->MD());
    QCOMPARE(media.SubItems()->Count(), 0);

    TVlcMediaListC none(&vlc, nullptr);
    none.Add(media);
    none.Delete(0);
    none.Clear();
    QCOMPARE(none.Count(), 0);
    QCOMPARE(none.GetIndex(media), -1);
    QVERIFY(!none.GetMedia(0)->MD());
    QVERIFY(callNames(Fake22).isEmpty());
}

void TVlcFakeTest::listOperationsTakeTheLockOnce()
{
    TVlc vlc;
    vlc.SetPath(FakeLibVlc::dir(Fake22));
    TVlcMediaListC list(&vlc);
    QVERIFY(list.ML());
    TVlcMedia media(&vlc, QStringLiteral("http://example.invalid/x"));
    FakeLibVlc::clearCalls(Fake22);

    list.Add(media);
    list.Insert(media, 0);
    list.Delete(0);
    list.Count();
    list.Clear(); // the fake list counts 0: nothing to remove
    QCOMPARE(callNames(Fake22),
             QStringList({"libvlc_media_list_lock", "libvlc_media_list_add_media", "libvlc_media_list_unlock",
                          "libvlc_media_list_lock", "libvlc_media_list_insert_media", "libvlc_media_list_unlock",
                          "libvlc_media_list_lock", "libvlc_media_list_remove_index", "libvlc_media_list_unlock",
                          "libvlc_media_list_lock", "libvlc_media_list_count", "libvlc_media_list_unlock",
                          "libvlc_media_list_lock", "libvlc_media_list_count", "libvlc_media_list_unlock"}));
}

void TVlcFakeTest::listAddAppliesPlayerSettings()
{
    TVlc vlc;
    vlc.SetPath(FakeLibVlc::dir(Fake22));
    TVlcMediaListC list(&vlc);
    TVlcMediaPlayerC settings;
    settings.SetDeinterlaceFilter(deON);
    settings.SetDeinterlaceMode(dmBOB);
    list.SetMediaPlayerSettings(&settings);
    FakeLibVlc::clearCalls(Fake22);

    list.Add(QStringLiteral("http://example.invalid/x"));
    QCOMPARE(callNames(Fake22),
             QStringList({"libvlc_media_new_location", "libvlc_media_add_option", "libvlc_media_add_option",
                          "libvlc_media_list_lock", "libvlc_media_list_add_media", "libvlc_media_list_unlock",
                          "libvlc_media_release"}));
    const QList<FakeLibVlc::Call> options = FakeLibVlc::callsOf(Fake22, QStringLiteral("libvlc_media_add_option"));
    QCOMPARE(options[0].arguments.value(1), QStringLiteral("deinterlace=1"));
    QCOMPARE(options[1].arguments.value(1), QStringLiteral("deinterlace-mode=bob"));
}

void TVlcFakeTest::equalizerWithoutInstance()
{
    const QString sOld = QStringLiteral("fakevlc_0_9_10");
    LibVlcLoad(FakeLibVlc::dir(sOld));
    TVlc vlc;
    vlc.SetPath(FakeLibVlc::dir(sOld));
    TVlcEqualizer equalizer(&vlc, 0);
    QVERIFY(!equalizer.GetHandle());
    equalizer.SetPreAmp(3.0f);
    equalizer.SetAmp(1, 3.0f);
    QCOMPARE(equalizer.GetPreAmp(), 0.0f);
    QCOMPARE(equalizer.GetAmp(1), 0.0f);
    QCOMPARE(equalizer.GetBandCount(), 0u);
    QCOMPARE(equalizer.GetBandFrequency(0), 0.0f);
    QCOMPARE(equalizer.GetPresetCount(), 0u);
    QCOMPARE(equalizer.GetPresetName(), QString());
    QCOMPARE(callNames(sOld), QStringList {"libvlc_get_version"});
}

QTEST_GUILESS_MAIN(TVlcFakeTest)
#include "TVlcFakeTest.moc"
