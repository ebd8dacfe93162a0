#include "engine/VlcLoader.h"

#include <QtTest>

#include <dlfcn.h>

// The loader against the machine's own libvlc.so.5.

class VlcLoaderInstalledTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void readInstallDir();
    void loadInstalledBindsEverything();
    void unloadAndLoadAgain();
};

void VlcLoaderInstalledTest::cleanup()
{
    LibVlcUnload();
}

void VlcLoaderInstalledTest::readInstallDir()
{
    const QString sDir = LibVlcReadInstallDir();
    QVERIFY2(QDir::isAbsolutePath(sDir), qPrintable(sDir));
    QCOMPARE(LibVlcFindFile(sDir), QStringLiteral("libvlc.so.5"));
    // Looking the folder up leaves nothing loaded.
    QVERIFY(!dlopen(QFile::encodeName(sDir + QStringLiteral("/libvlc.so.5")).constData(), RTLD_NOW | RTLD_NOLOAD));
}

void VlcLoaderInstalledTest::loadInstalledBindsEverything()
{
    LibVlcLoadInstalled();
    QVERIFY2(LibVlcLastError().isEmpty(), qPrintable(LibVlcLastError()));
    QVERIFY(LibVlcHandle());
    QCOMPARE(LibVlcPath(), LibVlcReadInstallDir());
    QVERIFY2(LibVlcVersionText().startsWith(QLatin1String("3.0.")), qPrintable(LibVlcVersionText()));
    QCOMPARE(LibVlcVersionBin() & 0xFFFF00, 0x030000u);

    void* library = dlopen(QFile::encodeName(LibVlcPath() + QStringLiteral("/libvlc.so.5")).constData(),
                           RTLD_NOW | RTLD_NOLOAD);
    QVERIFY(library);
    int bound = 0;
#define CHECK_BOUND(R, name, params, args, group, stub)                                  \
    QVERIFY2(reinterpret_cast<void*>(LibVlcEntries.name) == dlsym(library, #name), #name); \
    bound += LibVlcBound(LibVlcEntries.name);
    LIBVLC_ENTRY_LIST(CHECK_BOUND)
#undef CHECK_BOUND
    dlclose(library);
    QCOMPARE(bound, 257);
}

void VlcLoaderInstalledTest::unloadAndLoadAgain()
{
    LibVlcLoadInstalled();
    QVERIFY(LibVlcHandle());
    LibVlcUnload();
    QVERIFY(!LibVlcHandle());
    QVERIFY(!LibVlcEntries.libvlc_new);
    QVERIFY(LibVlcIsStub(reinterpret_cast<void (*)()>(LibVlcEntries.libvlc_media_new_path)));
    LibVlcLoadInstalled();
    QVERIFY2(LibVlcLastError().isEmpty(), qPrintable(LibVlcLastError()));
    QVERIFY(LibVlcBound(LibVlcEntries.libvlc_audio_equalizer_new));
}

QTEST_GUILESS_MAIN(VlcLoaderInstalledTest)
#include "VlcLoaderInstalledTest.moc"
