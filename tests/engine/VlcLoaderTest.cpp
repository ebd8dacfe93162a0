#include "engine/VlcLoader.h"

#include "FakeLibVlc.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtEndian>
#include <QtTest>

#include <functional>

// The loader against fake libvlc.so.5 libraries built by the test (see
// tests/engine/CMakeLists.txt). Its state is process-wide, so every case
// starts from an unloaded library.

namespace {

enum class SlotState { Empty, Stub, Bound };

struct Slot {
    const char* name;
    TLibVlcGroup group;
    void (*address)();
};

QList<Slot> tableSlots()
{
    QList<Slot> table;
#define SLOT_OF(R, name, params, args, group, stub) \
    table.append({#name, TLibVlcGroup::group, reinterpret_cast<void (*)()>(LibVlcEntries.name)});
    LIBVLC_ENTRY_LIST(SLOT_OF)
#undef SLOT_OF
    return table;
}

bool isGated(TLibVlcGroup group)
{
    return group != TLibVlcGroup::Version && group != TLibVlcGroup::Base;
}

quint32 groupMinimum(TLibVlcGroup group)
{
    switch (group) {
    case TLibVlcGroup::Version:
    case TLibVlcGroup::Base: return 0;
    case TLibVlcGroup::V1_1_0: return 0x010100;
    case TLibVlcGroup::V1_1_1: return 0x010101;
    case TLibVlcGroup::V1_1_5: return 0x010105;
    case TLibVlcGroup::V2_0_0: return 0x020000;
    case TLibVlcGroup::V2_1_0: return 0x020100;
    case TLibVlcGroup::V2_2_0: return 0x020200;
    }
    return 0;
}

// Number of leading slots a Ready load of that version binds.
int boundCountFor(quint32 version)
{
    int count = 0;
    for (const Slot& slot : tableSlots())
        count += groupMinimum(slot.group) <= version;
    return count;
}

int indexOf(const char* entry)
{
    const QList<Slot> table = tableSlots();
    for (int i = 0; i < table.size(); ++i) {
        if (qstrcmp(table[i].name, entry) == 0)
            return i;
    }
    return -1;
}

// Bound means: the fake's own export of that name.
SlotState stateOf(const Slot& slot, const QString& sFake)
{
    if (!slot.address)
        return SlotState::Empty;
    if (LibVlcIsStub(slot.address))
        return SlotState::Stub;
    if (!sFake.isEmpty() && reinterpret_cast<void*>(slot.address) == FakeLibVlc::exported(sFake, slot.name))
        return SlotState::Bound;
    return SlotState::Empty; // neither a stub nor the fake's function: wrong
}

const char* stateName(SlotState state)
{
    switch (state) {
    case SlotState::Empty: return "empty";
    case SlotState::Stub: return "stub";
    case SlotState::Bound: return "bound";
    }
    return "?";
}

// The first boundCount slots hold the fake's functions, the slot at
// missingIndex holds nothing, and every later slot is reset: gated slots hold
// their stub, the others nothing.
QString tableMismatch(const QString& sFake, int boundCount, int missingIndex = -1)
{
    const QList<Slot> table = tableSlots();
    for (int i = 0; i < table.size(); ++i) {
        SlotState expected = isGated(table[i].group) ? SlotState::Stub : SlotState::Empty;
        if (i < boundCount)
            expected = SlotState::Bound;
        if (i == missingIndex)
            expected = SlotState::Empty;
        const SlotState actual = stateOf(table[i], sFake);
        if (actual != expected)
            return QStringLiteral("%1: %2, expected %3").arg(table[i].name, stateName(actual), stateName(expected));
    }
    return {};
}

QString libraryNotFound()
{
    return QStringLiteral("Library not found libvlc.so.5, GetLastError() = ");
}

QByteArray elfIdent(char elfClass)
{
    QByteArray bytes(64, '\0');
    bytes.replace(0, 4, "\x7F" "ELF");
    bytes[4] = elfClass;
    bytes[5] = 1;
    bytes[6] = 1;
    return bytes;
}

QByteArray peImage(quint16 machine, quint32 headerOffset = 0x80, bool withSignature = true)
{
    QByteArray bytes(0x100, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    qToLittleEndian<quint32>(headerOffset, bytes.data() + 0x3C);
    if (withSignature && headerOffset + 6 <= quint32(bytes.size())) {
        bytes.replace(int(headerOffset), 4, QByteArray("PE\0\0", 4));
        qToLittleEndian<quint16>(machine, bytes.data() + headerOffset + 4);
    }
    return bytes;
}

} // namespace

using StubCall = std::function<QVariant()>;
Q_DECLARE_METATYPE(StubCall)

class VlcLoaderTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void parseVersionPart_data();
    void parseVersionPart();
    void findFile_data();
    void findFile();
    void imageBits_data();
    void imageBits();

    void unloadWithNothingLoaded();
    void loadVersions_data();
    void loadVersions();
    void libraryWithoutVersionEntry();
    void stubOfNewerGroup();
    void stubResults_data();
    void stubResults();
    void stubMessageBox();
    void loadFailures_data();
    void loadFailures();
    void pathWithTrailingSeparators();
    void secondLoadChangesNothing_data();
    void secondLoadChangesNothing();
    void loadInstalledUsesLookup();
    void loadInstalledWhileLoaded();
    void displayWindow();

private:
    QTemporaryDir FTemp;
    QStringList FStubMessages;
};

void VlcLoaderTest::initTestCase()
{
    // Before any load: nothing bound, no stubs, no texts.
    for (const Slot& slot : tableSlots())
        QVERIFY2(!slot.address, slot.name);
    QVERIFY(!LibVlcHandle());
    QVERIFY(LibVlcLastError().isEmpty());
    QVERIFY(LibVlcPath().isEmpty());
    QVERIFY(LibVlcVersionText().isEmpty());
    QCOMPARE(LibVlcVersionBin(), 0u);
    QVERIFY(FTemp.isValid());
}

void VlcLoaderTest::init()
{
    FStubMessages.clear();
    LibVlcSetStubNotifier([this](const QString& sText) { FStubMessages.append(sText); });
    LibVlcUnload();
    QVERIFY(!LibVlcHandle());
}

void VlcLoaderTest::cleanup()
{
    LibVlcUnload();
    LibVlcSetStubNotifier({});
    LibVlcSetInstallDirLookup({});
}

void VlcLoaderTest::parseVersionPart_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<quint32>>("parts");
    QTest::addColumn<QByteArray>("rest");
    QTest::newRow("with release name") << QByteArray("2.2.4 Weatherwax") << QList<quint32> {2, 2, 4} << QByteArray(" Weatherwax");
    QTest::newRow("two parts") << QByteArray("2.1") << QList<quint32> {2, 1, 0} << QByteArray();
    QTest::newRow("no digit first") << QByteArray("Weatherwax 2.2") << QList<quint32> {0, 0, 0} << QByteArray("Weatherwax 2.2");
    QTest::newRow("wide part") << QByteArray("1.256.3") << QList<quint32> {1, 256, 3} << QByteArray();
    QTest::newRow("empty part") << QByteArray("1..2") << QList<quint32> {1, 0, 2} << QByteArray();
    // Each part steps over one point only: three parts leave the fourth.
    QTest::newRow("one point only") << QByteArray("3....") << QList<quint32> {3, 0, 0} << QByteArray(".");
}

void VlcLoaderTest::parseVersionPart()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<quint32>, parts);
    QFETCH(QByteArray, rest);
    const char* cursor = text.constData();
    for (quint32 part : parts)
        QCOMPARE(LibVlcParseVersionPart(cursor), part);
    QCOMPARE(QByteArray(cursor), rest);

    const char* none = nullptr;
    QCOMPARE(LibVlcParseVersionPart(none), 0u);
    QCOMPARE(LibVlcParseVersion(nullptr), 0u);
    QCOMPARE(LibVlcParseVersion(text.constData()), LibVlcPackVersion(parts[0], parts[1], parts[2]));
}

void VlcLoaderTest::findFile_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("expected");
    const QString sFake = FakeLibVlc::dir(QStringLiteral("fakevlc_2_2_0"));
    QTest::newRow("folder with the library") << sFake << QStringLiteral("libvlc.so.5");
    QTest::newRow("two trailing separators") << sFake + QStringLiteral("//") << QStringLiteral("libvlc.so.5");
    QTest::newRow("folder without it") << QDir::tempPath() << QString();
    QTest::newRow("the library file itself") << sFake + QStringLiteral("/libvlc.so.5") << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("missing folder") << sFake + QStringLiteral("/nothing") << QString();
}

void VlcLoaderTest::findFile()
{
    QFETCH(QString, dir);
    QFETCH(QString, expected);
    QCOMPARE(LibVlcFindFile(dir), expected);
}

void VlcLoaderTest::imageBits_data()
{
    QTest::addColumn<QByteArray>("content"); // written to a file; "<dir>", "<none>" and "<no name>" are special
    QTest::addColumn<int>("bits");
    QTest::newRow("missing file") << QByteArray("<none>") << -1;
    QTest::newRow("no file name") << QByteArray("<no name>") << -1;
    QTest::newRow("folder") << QByteArray("<dir>") << -1;
    QTest::newRow("empty file") << QByteArray() << 0;
    QTest::newRow("text") << QByteArray("not a library at all, only some text that is long enough to read 64 bytes") << 0;
    QTest::newRow("ELF 32") << elfIdent(1) << 32;
    QTest::newRow("ELF 64") << elfIdent(2) << 64;
    QTest::newRow("ELF unknown class") << elfIdent(3) << 0;
    QTest::newRow("ELF cut short") << elfIdent(1).left(8) << 0;
    QTest::newRow("PE i386") << peImage(0x014C) << 32;
    QTest::newRow("PE x64") << peImage(0x8664) << 64;
    QTest::newRow("PE Itanium") << peImage(0x0200) << 64;
    QTest::newRow("PE Alpha 64") << peImage(0x0284) << 64;
    QTest::newRow("PE ARM") << peImage(0x01C0) << 0;
    QTest::newRow("PE without signature") << peImage(0x014C, 0x80, false) << 0;
    QTest::newRow("PE header beyond the end") << peImage(0x014C, 0x1000) << 0;
    QTest::newRow("PE machine cut off") << peImage(0x014C, 0xFB) << 0;
    QTest::newRow("MZ shorter than 64 bytes") << peImage(0x014C).left(40) << 0;
}

void VlcLoaderTest::imageBits()
{
    QFETCH(QByteArray, content);
    QFETCH(int, bits);
    QString sFile = FTemp.filePath(QString::fromLatin1(QTest::currentDataTag()));
    if (content == "<none>") {
        sFile += QStringLiteral("-missing");
    } else if (content == "<no name>") {
        sFile.clear();
    } else if (content == "<dir>") {
        QVERIFY(QDir().mkpath(sFile));
    } else {
        QFile file(sFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QCOMPARE(LibVlcImageBits(sFile), bits);
}

void VlcLoaderTest::unloadWithNothingLoaded()
{
    // init() has unloaded: base slots empty, gated slots hold stubs.
    const QString sMismatch = tableMismatch(QString(), 0);
    QVERIFY2(sMismatch.isEmpty(), qPrintable(sMismatch));
    int stubs = 0;
    for (const Slot& slot : tableSlots())
        stubs += LibVlcIsStub(slot.address);
    QCOMPARE(stubs, 82);
    QVERIFY(!LibVlcHandle());
}

void VlcLoaderTest::loadVersions_data()
{
    QTest::addColumn<QString>("fake");
    QTest::addColumn<QString>("versionText");
    QTest::addColumn<quint32>("versionBin");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("boundCount");
    QTest::addColumn<int>("missingIndex");

    QTest::newRow("0.9.10: too old, stays loaded")
        << "fakevlc_0_9_10" << "0.9.10" << quint32(9 * 256 + 10)
        << "Current libvlc version: 0.9.10, minimum supported version is 1.0.0" << 1 << -1;
    QTest::newRow("1.1.0") << "fakevlc_1_1_0" << "1.1.0" << quint32(0x010100) << QString()
                           << boundCountFor(0x010100) << -1;
    QTest::newRow("1.1.10: up to 1.1.5") << "fakevlc_1_1_10" << "1.1.10" << quint32(65536 + 256 + 10) << QString()
                                         << boundCountFor(0x01010A) << -1;
    QTest::newRow("1.256.3: minor cut to 0") << "fakevlc_1_256_3" << "1.256.3" << quint32(65536 + 3) << QString()
                                             << boundCountFor(0x010003) << -1;
    QTest::newRow("2.1") << "fakevlc_2_1" << "2.1" << quint32(0x020100) << QString() << boundCountFor(0x020100) << -1;
    QTest::newRow("no leading digit")
        << "fakevlc_no_digit" << "Weatherwax 2.2" << quint32(0)
        << "Current libvlc version: 0.0.0, minimum supported version is 1.0.0" << 1 << -1;
    QTest::newRow("2.2.4 without libvlc_audio_equalizer_new")
        << "fakevlc_2_2_4_no_equalizer" << "2.2.4 Weatherwax" << quint32(0x020204)
        << "Entry point \"libvlc_audio_equalizer_new\" not found!" << indexOf("libvlc_audio_equalizer_new")
        << indexOf("libvlc_audio_equalizer_new");
    QTest::newRow("2.2.0: everything") << "fakevlc_2_2_0" << "2.2.0" << quint32(0x020200) << QString() << 257 << -1;
}

void VlcLoaderTest::loadVersions()
{
    QFETCH(QString, fake);
    QFETCH(QString, versionText);
    QFETCH(quint32, versionBin);
    QFETCH(QString, error);
    QFETCH(int, boundCount);
    QFETCH(int, missingIndex);

    LibVlcLoad(FakeLibVlc::dir(fake));
    QCOMPARE(LibVlcLastError(), error);
    QVERIFY(LibVlcHandle());
    QCOMPARE(LibVlcPath(), FakeLibVlc::dir(fake));
    QCOMPARE(LibVlcFileName(), QStringLiteral("libvlc.so.5"));
    QCOMPARE(LibVlcVersionText(), versionText);
    QCOMPARE(LibVlcVersionBin(), versionBin);
    const QString sMismatch = tableMismatch(fake, boundCount, missingIndex);
    QVERIFY2(sMismatch.isEmpty(), qPrintable(sMismatch));
    QVERIFY(FStubMessages.isEmpty());

    // Entry points of groups above the version are never looked up, so a fake
    // that lacks them still loads without error.
    if (error.isEmpty() && boundCount < 257)
        QVERIFY(!FakeLibVlc::exported(fake, tableSlots().at(boundCount).name));

    LibVlcUnload();
    QVERIFY(!LibVlcHandle());
    const QString sReset = tableMismatch(QString(), 0);
    QVERIFY2(sReset.isEmpty(), qPrintable(sReset));
    QCOMPARE(LibVlcLastError(), error);
    QCOMPARE(LibVlcVersionBin(), versionBin);
}

void VlcLoaderTest::libraryWithoutVersionEntry()
{
    const QString sFake = QStringLiteral("fakevlc_no_version");
    LibVlcLoad(FakeLibVlc::dir(sFake));
    QCOMPARE(LibVlcLastError(), QStringLiteral("Entry point \"libvlc_get_version\" not found!"));
    QVERIFY(LibVlcHandle());
    const QString sMismatch = tableMismatch(sFake, 0, 0);
    QVERIFY2(sMismatch.isEmpty(), qPrintable(sMismatch));
    QVERIFY(FakeLibVlc::exported(sFake, "libvlc_new")); // binding stopped before the base group
}

void VlcLoaderTest::stubOfNewerGroup()
{
    const QString sFake = QStringLiteral("fakevlc_1_1_0");
    LibVlcLoad(FakeLibVlc::dir(sFake));
    QVERIFY(LibVlcLastError().isEmpty());
    FakeLibVlc::clearCalls(sFake);

    LibVlcEntries.libvlc_video_set_format(nullptr, "RV32", 320, 240, 1280);
    QCOMPARE(FStubMessages, QStringList {QStringLiteral("libvlc_video_set_format require libvlc 1.1.1")});
    QVERIFY(FakeLibVlc::calls(sFake).isEmpty());

    // A bound entry of the same library reaches the library, without a message.
    LibVlcEntries.libvlc_video_set_deinterlace(nullptr, "yadif");
    QCOMPARE(FStubMessages.size(), 1);
    const QList<FakeLibVlc::Call> calls = FakeLibVlc::callsOf(sFake, QStringLiteral("libvlc_video_set_deinterlace"));
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].arguments.value(1), QStringLiteral("yadif"));
}

void VlcLoaderTest::stubResults_data()
{
    QTest::addColumn<StubCall>("call");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QVariant>("result");

    QTest::newRow("-1") << StubCall([] {
        unsigned x = 0, y = 0;
        return QVariant(LibVlcEntries.libvlc_video_get_size(nullptr, 0, &x, &y));
    }) << "libvlc_video_get_size require libvlc 1.1.0" << QVariant(-1);
    QTest::newRow("-1 of 1.1.1") << StubCall([] { return QVariant(LibVlcEntries.libvlc_audio_set_delay(nullptr, 5)); })
                                 << "libvlc_audio_set_delay require libvlc 1.1.1" << QVariant(-1);
    QTest::newRow("64-bit 0") << StubCall([] { return QVariant(qint64(LibVlcEntries.libvlc_video_get_spu_delay(nullptr))); })
                              << "libvlc_video_get_spu_delay require libvlc 2.0.0" << QVariant(qint64(0));
    QTest::newRow("0.0") << StubCall([] { return QVariant(LibVlcEntries.libvlc_audio_equalizer_get_band_frequency(3)); })
                         << "libvlc_audio_equalizer_get_band_frequency require libvlc 2.2.0" << QVariant(0.0f);
    QTest::newRow("null media") << StubCall([] {
        return QVariant(LibVlcEntries.libvlc_media_new_path(nullptr, "/x") == nullptr);
    }) << "libvlc_media_new_path require libvlc 1.1.0" << QVariant(true);
    QTest::newRow("null text") << StubCall([] { return QVariant(LibVlcEntries.libvlc_errmsg() == nullptr); })
                               << "libvlc_errmsg require libvlc 1.1.0" << QVariant(true);
    QTest::newRow("variadic") << StubCall([] {
        return QVariant(LibVlcEntries.libvlc_printerr("%d %s", 1, "x") == nullptr);
    }) << "libvlc_printerr require libvlc 1.1.0" << QVariant(true);
    QTest::newRow("integer 0") << StubCall([] { return QVariant(LibVlcEntries.libvlc_audio_equalizer_get_band_count()); })
                               << "libvlc_audio_equalizer_get_band_count require libvlc 2.2.0" << QVariant(0u);
    QTest::newRow("no result") << StubCall([] {
        LibVlcEntries.libvlc_media_new_fd(nullptr, 0);
        LibVlcEntries.libvlc_media_player_set_video_title_display(nullptr, libvlc_position_center, 2000);
        return QVariant();
    }) << "libvlc_media_new_fd require libvlc 1.1.5|libvlc_media_player_set_video_title_display require libvlc 2.1.0"
       << QVariant();
}

void VlcLoaderTest::stubResults()
{
    QFETCH(StubCall, call);
    QFETCH(QString, message);
    QFETCH(QVariant, result);
    // Nothing loaded: the table was reset by init(), so every gated slot holds its stub.
    QCOMPARE(call(), result);
    QCOMPARE(FStubMessages.join(QLatin1Char('|')), message);
}

void VlcLoaderTest::stubMessageBox()
{
    // The default notifier: a modal error box without owner, captioned "libvlc".
    LibVlcSetStubNotifier({});
    QString sTitle;
    QString sText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool hasParent = true;
    QTimer closer;
    closer.setInterval(10);
    connect(&closer, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        sTitle = box->windowTitle();
        sText = box->text();
        icon = box->icon();
        hasParent = box->parentWidget() != nullptr;
        box->done(QMessageBox::Ok);
    });
    closer.start();

    QCOMPARE(LibVlcEntries.libvlc_video_get_marquee_int(nullptr, 0), -1);
    closer.stop();
    QCOMPARE(sText, QStringLiteral("libvlc_video_get_marquee_int require libvlc 1.1.0"));
    QCOMPARE(sTitle, QStringLiteral("libvlc"));
    QCOMPARE(icon, QMessageBox::Critical);
    QVERIFY(!hasParent);
}

void VlcLoaderTest::loadFailures_data()
{
    QTest::addColumn<QString>("content"); // what the folder's libvlc.so.5 holds; empty: no file
    QTest::addColumn<QString>("path");    // "<temp>" = a fresh folder
    QTest::addColumn<QString>("error");   // the text, or its start when it ends with the system's reason
    QTest::addColumn<QString>("fileName");

    QTest::newRow("folder without the file") << QString() << "<temp>" << libraryNotFound() << QString();
    QTest::newRow("empty path") << QString() << QString() << libraryNotFound() << QString();
    QTest::newRow("not an image") << "just text" << "<temp>" << libraryNotFound() << "libvlc.so.5";
    QTest::newRow("32-bit header") << "elf32" << "<temp>" << "Application is 64 bit, but libvlc.so.5 library is 32 bit"
                                   << "libvlc.so.5";
}

void VlcLoaderTest::loadFailures()
{
    QFETCH(QString, content);
    QFETCH(QString, path);
    QFETCH(QString, error);
    QFETCH(QString, fileName);

    if (path == QLatin1String("<temp>")) {
        path = FTemp.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(path));
        if (!content.isEmpty()) {
            QFile file(path + QStringLiteral("/libvlc.so.5"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content == QLatin1String("elf32") ? elfIdent(1) : content.toUtf8());
        }
    }
    const QString sCurrent = QDir::currentPath();

    LibVlcLoad(path);
    QVERIFY(!LibVlcHandle());
    QCOMPARE(LibVlcFileName(), fileName);
    QCOMPARE(LibVlcPath(), path);
    QCOMPARE(QDir::currentPath(), sCurrent);
    if (error.endsWith(QLatin1String(" = "))) {
        QVERIFY2(LibVlcLastError().startsWith(error), qPrintable(LibVlcLastError()));
        QVERIFY2(LibVlcLastError().size() > error.size(), "the system's reason follows");
    } else {
        QCOMPARE(LibVlcLastError(), error);
    }

    // Nothing stayed loaded, so the next load starts afresh.
    LibVlcLoad(FakeLibVlc::dir(QStringLiteral("fakevlc_2_2_0")));
    QVERIFY2(LibVlcLastError().isEmpty(), qPrintable(LibVlcLastError()));
    QVERIFY(LibVlcHandle());
}

void VlcLoaderTest::pathWithTrailingSeparators()
{
    const QString sDir = FakeLibVlc::dir(QStringLiteral("fakevlc_2_2_0"));
    LibVlcLoad(sDir + QStringLiteral("//"));
    QVERIFY2(LibVlcLastError().isEmpty(), qPrintable(LibVlcLastError()));
    QVERIFY(LibVlcHandle());
    QCOMPARE(LibVlcPath(), sDir);
    QCOMPARE(LibVlcFileName(), QStringLiteral("libvlc.so.5"));
}

void VlcLoaderTest::secondLoadChangesNothing_data()
{
    QTest::addColumn<QString>("first");
    QTest::newRow("after success") << "fakevlc_2_2_0";
    QTest::newRow("after a version error") << "fakevlc_0_9_10";
    QTest::newRow("after a missing entry") << "fakevlc_2_2_4_no_equalizer";
}

void VlcLoaderTest::secondLoadChangesNothing()
{
    QFETCH(QString, first);
    LibVlcLoad(FakeLibVlc::dir(first));
    QVERIFY(LibVlcHandle());
    const QString sError = LibVlcLastError();
    const QString sVersion = LibVlcVersionText();
    const auto newEntry = LibVlcEntries.libvlc_new;

    LibVlcLoad(FakeLibVlc::dir(QStringLiteral("fakevlc_2_1")));
    QCOMPARE(LibVlcLastError(), sError);
    QCOMPARE(LibVlcPath(), FakeLibVlc::dir(first));
    QCOMPARE(LibVlcVersionText(), sVersion);
    QVERIFY(LibVlcEntries.libvlc_new == newEntry);
}

void VlcLoaderTest::loadInstalledUsesLookup()
{
    const QString sDir = FakeLibVlc::dir(QStringLiteral("fakevlc_2_1"));
    LibVlcSetInstallDirLookup([&] { return sDir; });
    LibVlcLoadInstalled();
    QVERIFY2(LibVlcLastError().isEmpty(), qPrintable(LibVlcLastError()));
    QCOMPARE(LibVlcPath(), sDir);

    // No engine installed: the lookup gives nothing and the load fails.
    LibVlcUnload();
    LibVlcSetInstallDirLookup([] { return QString(); });
    LibVlcLoadInstalled();
    QVERIFY(!LibVlcHandle());
    QVERIFY2(LibVlcLastError().startsWith(libraryNotFound()), qPrintable(LibVlcLastError()));
}

void VlcLoaderTest::loadInstalledWhileLoaded()
{
    LibVlcLoad(FakeLibVlc::dir(QStringLiteral("fakevlc_0_9_10")));
    const QString sError = LibVlcLastError();
    QVERIFY(!sError.isEmpty());
    int lookups = 0;
    LibVlcSetInstallDirLookup([&] {
        ++lookups;
        return FakeLibVlc::dir(QStringLiteral("fakevlc_2_2_0"));
    });
    LibVlcLoadInstalled();
    QCOMPARE(lookups, 0);
    QCOMPARE(LibVlcLastError(), sError);
    QCOMPARE(LibVlcPath(), FakeLibVlc::dir(QStringLiteral("fakevlc_0_9_10")));
}

void VlcLoaderTest::displayWindow()
{
    // Nothing loaded: the call is dropped.
    LibVlcSetDisplayWindow(reinterpret_cast<libvlc_media_player_t*>(&FTemp), 0x1234);

    const QString sFake = QStringLiteral("fakevlc_2_2_0");
    LibVlcLoad(FakeLibVlc::dir(sFake));
    FakeLibVlc::clearCalls(sFake);
    LibVlcSetDisplayWindow(reinterpret_cast<libvlc_media_player_t*>(&FTemp), 0x1234);
    const QList<FakeLibVlc::Call> calls = FakeLibVlc::calls(sFake);
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].name, QStringLiteral("libvlc_media_player_set_xwindow"));
    QCOMPARE(calls[0].arguments.value(1), QStringLiteral("4660"));
}

QTEST_MAIN(VlcLoaderTest)
#include "VlcLoaderTest.moc"
