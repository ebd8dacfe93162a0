#include "engine/TVlc.h"
#include "engine/TVlcEqualizer.h"
#include "engine/TVlcMedia.h"
#include "engine/TVlcMediaListC.h"
#include "engine/VlcLoader.h"

#include "TestMedia.h"

#include <QtTest>

#include <memory>

// The engine instance and media items against the machine's libvlc 3.0.

class VlcClassTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void instanceCreated();
    void mediaByName_data();
    void mediaByName();
    void emptyItem();
    void duplicate();
    void deinterlaceOptionsKeepTheMedia();
    void mediaList();
    void clearOfReadOnlyList();
    void equalizerFlatAndPreset();
    void equalizerPresetsAndBands();
    void equalizerValues();

private:
    QString filePath(const QString& sName, const QByteArray& content);

    QTemporaryDir FTemp;
    std::unique_ptr<TVlc> FVlc;
};

QString VlcClassTest::filePath(const QString& sName, const QByteArray& content)
{
    const QString sPath = FTemp.filePath(sName);
    QFile file(sPath);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return sPath;
}

void VlcClassTest::initTestCase()
{
    QVERIFY(FTemp.isValid());
    TestMedia::isolateHome(FTemp.filePath(QStringLiteral("home")));
    FVlc = std::make_unique<TVlc>();
    for (const char* option : {"--ignore-config", "--intf=dummy", "--quiet", "--no-audio", "--vout=dummy"})
        FVlc->AddOption(QString::fromLatin1(option));
}

void VlcClassTest::cleanupTestCase()
{
    FVlc.reset();
    LibVlcUnload();
}

void VlcClassTest::instanceCreated()
{
    // No path of its own: the installed library is loaded.
    QVERIFY(FVlc->GetHandle());
    QVERIFY(LibVlcLastError().isEmpty());
    QCOMPARE(LibVlcPath(), LibVlcReadInstallDir());
    QVERIFY(FVlc->GetVersion().startsWith(QLatin1String("3.0.")));
    QCOMPARE(FVlc->GetVersionBin(), LibVlcParseVersion(FVlc->GetVersion().toUtf8().constData()));
    QCOMPARE(FVlc->GetVersionBin(), LibVlcVersionBin());
    QVERIFY(!FVlc->GetCompiler().isEmpty());
    QVERIFY(!FVlc->GetChangeSet().isEmpty());
}

void VlcClassTest::mediaByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("mrl");
    const QString sFile = filePath(QStringLiteral("clip.avi"), "not really a video");
    QTest::newRow("existing file: path media") << sFile << QUrl::fromLocalFile(sFile).toString(QUrl::FullyEncoded);
    QTest::newRow("network location") << "http://example.invalid/x" << "http://example.invalid/x";
}

void VlcClassTest::mediaByName()
{
    QFETCH(QString, name);
    QFETCH(QString, mrl);
    TVlcMedia media(FVlc.get(), name);
    QVERIFY(media.MD());
    QCOMPARE(media.GetMrl(), mrl);
}

void VlcClassTest::emptyItem()
{
    TVlcMedia empty(FVlc.get());
    QVERIFY(!empty.MD());
    QCOMPARE(empty.GetMrl(), QString());
    const std::unique_ptr<TVlcMedia> copy = empty.Duplicate();
    QVERIFY(copy);
    QVERIFY(!copy->MD());
    QCOMPARE(copy->VLC(), FVlc.get());
    QCOMPARE(empty.GetDuration(), qint64(-1));
}

void VlcClassTest::duplicate()
{
    TVlcMedia media(FVlc.get(), QStringLiteral("http://example.invalid/x"));
    const std::unique_ptr<TVlcMedia> copy = media.Duplicate();
    QVERIFY(copy->MD());
    QVERIFY(copy->MD() != media.MD());
    QCOMPARE(copy->GetMrl(), media.GetMrl());

    // Moving hands the one reference over.
    TVlcMedia moved(std::move(media));
    QVERIFY(!media.MD());
    QCOMPARE(moved.GetMrl(), QStringLiteral("http://example.invalid/x"));
}

void VlcClassTest::deinterlaceOptionsKeepTheMedia()
{
    TVlcMedia media(FVlc.get(), filePath(QStringLiteral("interlaced.avi"), "x"));
    const QString sMrl = media.GetMrl();
    media.SetDeinterlaceFilter(deON);
    media.SetDeinterlaceFilterMode(dmYADIF2x);
    media.AddOptionFlag(QStringLiteral("no-audio"), 0x100);
    QCOMPARE(media.GetMrl(), sMrl);
    QCOMPARE(media.GetState(), libvlc_NothingSpecial);
}

void VlcClassTest::mediaList()
{
    TVlcMediaListC list(FVlc.get());
    QVERIFY(list.ML());
    QVERIFY(!list.IsReadOnly());
    list.Add(QStringLiteral("http://example.invalid/a"));
    list.Add(QStringLiteral("http://example.invalid/b"));
    TVlcMedia first(FVlc.get(), QStringLiteral("http://example.invalid/first"));
    list.Insert(first, 0);
    QCOMPARE(list.Count(), 3);
    QCOMPARE(list.GetMedia(0)->GetMrl(), QStringLiteral("http://example.invalid/first"));
    QCOMPARE(list.GetMedia(2)->GetMrl(), QStringLiteral("http://example.invalid/b"));
    QCOMPARE(list.GetIndex(first), 0);
    QVERIFY(!list.GetMedia(7)->MD());

    list.Delete(1);
    QCOMPARE(list.Count(), 2);
    QCOMPARE(list.GetMedia(1)->GetMrl(), QStringLiteral("http://example.invalid/b"));

    // Lock and UnLock let a caller hold the lock across operations that do
    // not take it themselves.
    list.Lock();
    list.UnLock();

    list.Clear();
    QCOMPARE(list.Count(), 0);
    QCOMPARE(list.GetIndex(first), -1);
}

void VlcClassTest::clearOfReadOnlyList()
{
    const QString sPlaylist = filePath(QStringLiteral("list.m3u"),
                                       "#EXTM3U\nhttp://example.invalid/1\nhttp://example.invalid/2\n");
    TVlcMedia playlist(FVlc.get(), sPlaylist);
    playlist.Parse();
    const std::unique_ptr<TVlcMediaListC> items = playlist.SubItems();
    QVERIFY(items->ML());
    QCOMPARE(items->Count(), 2);
    QVERIFY(items->IsReadOnly());

    // libvlc refuses to remove items of a read-only list; Clear must return.
    items->Clear();
    QCOMPARE(items->Count(), 2);
}

void VlcClassTest::equalizerFlatAndPreset()
{
    TVlcEqualizer flat(FVlc.get(), TVlcEqualizer::NoPreset);
    QVERIFY(flat.GetHandle());
    QCOMPARE(flat.GetHandle(), flat.GetHandle());
    QCOMPARE(flat.GetPreAmp(), 0.0f);

    // Preset 0 is made from libvlc's preset, whose preamp differs from flat.
    libvlc_equalizer_t* reference = LibVlcEntries.libvlc_audio_equalizer_new_from_preset(0);
    const float presetPreAmp = LibVlcEntries.libvlc_audio_equalizer_get_preamp(reference);
    LibVlcEntries.libvlc_audio_equalizer_release(reference);
    QVERIFY(presetPreAmp != 0.0f);

    TVlcEqualizer preset(FVlc.get(), 0);
    QVERIFY(preset.GetHandle());
    QCOMPARE(preset.GetPreAmp(), presetPreAmp);
    QCOMPARE(preset.GetPreset(), quint16(0));

    // A preset beyond libvlc's presets falls back to a flat equalizer.
    TVlcEqualizer unknown(FVlc.get(), 999);
    QVERIFY(unknown.GetHandle());
    QCOMPARE(unknown.GetPreAmp(), 0.0f);

    // Changing the preset drops the equalizer; the next one follows the preset.
    flat.SetPreset(0);
    QCOMPARE(flat.GetPreAmp(), presetPreAmp);
}

void VlcClassTest::equalizerPresetsAndBands()
{
    TVlcEqualizer equalizer(FVlc.get(), 2);
    const unsigned presets = LibVlcEntries.libvlc_audio_equalizer_get_preset_count();
    QVERIFY(presets > 2);
    QCOMPARE(equalizer.GetPresetCount(), presets);
    for (unsigned i = 0; i < presets; ++i) {
        const QString sName = equalizer.GetPresetName(i);
        QVERIFY(!sName.isEmpty());
        QCOMPARE(sName, QString::fromUtf8(LibVlcEntries.libvlc_audio_equalizer_get_preset_name(i)));
    }
    QCOMPARE(equalizer.GetPresetName(), equalizer.GetPresetName(2));

    const unsigned bands = LibVlcEntries.libvlc_audio_equalizer_get_band_count();
    QVERIFY(bands > 0);
    QCOMPARE(equalizer.GetBandCount(), bands);
    for (unsigned i = 0; i < bands; ++i)
        QCOMPARE(equalizer.GetBandFrequency(i), LibVlcEntries.libvlc_audio_equalizer_get_band_frequency(i));
    QVERIFY(equalizer.GetBandFrequency(0) < equalizer.GetBandFrequency(bands - 1));
}

void VlcClassTest::equalizerValues()
{
    TVlcEqualizer equalizer(FVlc.get(), TVlcEqualizer::NoPreset);
    equalizer.SetPreAmp(5.5f);
    equalizer.SetAmp(3, -7.25f);
    QCOMPARE(equalizer.GetPreAmp(), 5.5f);
    QCOMPARE(equalizer.GetAmp(3), -7.25f);
    QCOMPARE(equalizer.GetAmp(2), 0.0f);
}

QTEST_GUILESS_MAIN(VlcClassTest)
#include "VlcClassTest.moc"
