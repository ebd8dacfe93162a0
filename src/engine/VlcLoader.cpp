#include "engine/VlcLoader.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QtEndian>

#include <dlfcn.h>
#include <link.h>

#include <memory>
#include <span>
#include <type_traits>
#include <utility>

TLibVlcEntries LibVlcEntries;

namespace {

enum class TStubResult { NoStub, NoResult, Zero, MinusOne };

struct TGroupVersion {
    quint32 minimum;
    const char* text;
};

constexpr TGroupVersion groupVersion(TLibVlcGroup group)
{
    switch (group) {
    case TLibVlcGroup::Version:
    case TLibVlcGroup::Base: return {0, ""};
    case TLibVlcGroup::V1_1_0: return {LibVlcPackVersion(1, 1, 0), "1.1.0"};
    case TLibVlcGroup::V1_1_1: return {LibVlcPackVersion(1, 1, 1), "1.1.1"};
    case TLibVlcGroup::V1_1_5: return {LibVlcPackVersion(1, 1, 5), "1.1.5"};
    case TLibVlcGroup::V2_0_0: return {LibVlcPackVersion(2, 0, 0), "2.0.0"};
    case TLibVlcGroup::V2_1_0: return {LibVlcPackVersion(2, 1, 0), "2.1.0"};
    case TLibVlcGroup::V2_2_0: return {LibVlcPackVersion(2, 2, 0), "2.2.0"};
    }
    return {0, ""};
}

constexpr quint32 MinimumVersion = LibVlcPackVersion(1, 0, 0);

// dlclose fails only for a handle that names no loaded library, which is
// then forgotten all the same.
struct TLibraryClose {
    void operator()(void* handle) const { dlclose(handle); }
};
using TLibraryHandle = std::unique_ptr<void, TLibraryClose>;

// The loaded library. Only LibVlcUnload frees it: the holder is never
// destroyed, so a library still loaded at exit stays loaded while the process
// ends, with whatever of libvlc's (threads, plugins) still runs then.
TLibraryHandle& loadedLibrary()
{
    static auto* library = new TLibraryHandle;
    return *library;
}

// Loader state; one per process, touched from the GUI thread only.
QString loadedPath;
QString loadedFileName;
QString loadedVersionText;
quint32 loadedVersionBin = 0;
QString lastError;
TLibVlcStubNotifier stubNotifier;
TLibVlcInstallDirLookup installDirLookup;

enum class TEntryId {
#define LIBVLC_ENTRY_ID(R, name, params, args, group, stub) name,
    LIBVLC_ENTRY_LIST(LIBVLC_ENTRY_ID)
#undef LIBVLC_ENTRY_ID
};

struct TEntryName {
    const char* name;
    TLibVlcGroup group;
};

constexpr TEntryName entryNames[] = {
#define LIBVLC_ENTRY_NAME(R, name, params, args, group, stub) {#name, TLibVlcGroup::group},
    LIBVLC_ENTRY_LIST(LIBVLC_ENTRY_NAME)
#undef LIBVLC_ENTRY_NAME
};

void showStubMessage(TEntryId id)
{
    const TEntryName& entry = entryNames[static_cast<int>(id)];
    const QString sText = QString::fromLatin1(entry.name) + QStringLiteral(" require libvlc ")
        + QString::fromLatin1(groupVersion(entry.group).text);
    if (stubNotifier)
        stubNotifier(sText);
    else
        QMessageBox::critical(nullptr, QStringLiteral("libvlc"), sText);
}

template <typename R, TStubResult Result>
R neutralResult()
{
    if constexpr (Result == TStubResult::MinusOne)
        return R(-1);
    else if constexpr (!std::is_void_v<R>)
        return R {};
}

// The stub routine of a gated entry point: accepts the entry's arguments,
// tells the user which release it needs, and returns a neutral result.
template <TEntryId Id, TStubResult Result, typename F>
struct TStub;

template <TEntryId Id, TStubResult Result, typename R, typename... A>
struct TStub<Id, Result, R (*)(A...)> {
    static R call(A...)
    {
        showStubMessage(Id);
        return neutralResult<R, Result>();
    }
};

template <TEntryId Id, TStubResult Result, typename R, typename... A>
struct TStub<Id, Result, R (*)(A..., ...)> {
    static R call(A..., ...)
    {
        showStubMessage(Id);
        return neutralResult<R, Result>();
    }
};

template <typename F, TEntryId Id, TStubResult Result>
constexpr F resetValue()
{
    if constexpr (Result == TStubResult::NoStub)
        return nullptr;
    else
        return &TStub<Id, Result, F>::call;
}

// What the binding loop, the reset and the stub check need of each slot.
struct TEntrySlot {
    const char* name;
    TLibVlcGroup group;
    void (*bind)(void* symbol);
    void (*reset)();
    void (*stub)();
};

// The signature of every slot must be the one libvlc's headers declare.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#define LIBVLC_ENTRY_CHECK(R, name, params, args, group, stub)                                         \
    static_assert(std::is_same_v<decltype(&::name), TLibVlcEntries::name##_fn>,                        \
                  #name " differs from libvlc's declaration");
LIBVLC_ENTRY_LIST(LIBVLC_ENTRY_CHECK)
#undef LIBVLC_ENTRY_CHECK
#pragma GCC diagnostic pop

#define LIBVLC_ENTRY_SLOT(R, name, params, args, group, stub)                                          \
    TEntrySlot {                                                                                       \
        #name, TLibVlcGroup::group,                                                                    \
        [](void* symbol) { LibVlcEntries.name = reinterpret_cast<TLibVlcEntries::name##_fn>(symbol); }, \
        [] {                                                                                           \
            LibVlcEntries.name =                                                                       \
                resetValue<TLibVlcEntries::name##_fn, TEntryId::name, TStubResult::stub>();            \
        },                                                                                             \
        reinterpret_cast<void (*)()>(                                                                  \
            resetValue<TLibVlcEntries::name##_fn, TEntryId::name, TStubResult::stub>())                \
    },
const TEntrySlot entrySlots[] = {LIBVLC_ENTRY_LIST(LIBVLC_ENTRY_SLOT)};
#undef LIBVLC_ENTRY_SLOT

constexpr int gatedCount()
{
    int count = 0;
    for (const TEntryName& entry : entryNames)
        count += entry.group != TLibVlcGroup::Version && entry.group != TLibVlcGroup::Base;
    return count;
}
static_assert(std::size(entryNames) == 257, "the table has 257 entry points");
static_assert(gatedCount() == 82, "82 entry points are gated by version");
static_assert(entryNames[0].group == TLibVlcGroup::Version, "libvlc_get_version is bound first");

#define LIBVLC_ENTRY_STUB_CHECK(R, name, params, args, group, stub)                                    \
    static_assert(std::is_void_v<R> == (TStubResult::stub == TStubResult::NoResult)                    \
                      || TStubResult::stub == TStubResult::NoStub,                                     \
                  #name ": stub result does not fit its return type");                                 \
    static_assert((TLibVlcGroup::group == TLibVlcGroup::Version || TLibVlcGroup::group == TLibVlcGroup::Base) \
                      == (TStubResult::stub == TStubResult::NoStub),                                   \
                  #name ": only gated entry points have stubs");
LIBVLC_ENTRY_LIST(LIBVLC_ENTRY_STUB_CHECK)
#undef LIBVLC_ENTRY_STUB_CHECK

void resetEntries(bool force)
{
    if (!force && loadedLibrary())
        return;
    for (const TEntrySlot& slot : entrySlots)
        slot.reset();
}

bool bindEntry(const TEntrySlot& slot)
{
    void* symbol = dlsym(loadedLibrary().get(), slot.name);
    slot.bind(symbol);
    if (!symbol) {
        lastError = QStringLiteral("Entry point \"%1\" not found!").arg(QLatin1String(slot.name));
        return false;
    }
    return true;
}

QString loadFailureText(const QString& sReason)
{
    return QStringLiteral("Library not found %1, GetLastError() = %2").arg(QLatin1String(LibVlcLibraryName), sReason);
}

} // namespace

bool LibVlcIsStub(void (*slot)())
{
    if (!slot)
        return false;
    for (const TEntrySlot& entry : entrySlots) {
        if (entry.stub == slot)
            return true;
    }
    return false;
}

quint32 LibVlcParseVersionPart(const char*& cursor)
{
    if (!cursor)
        return 0;
    quint32 value = 0;
    while (*cursor >= '0' && *cursor <= '9') {
        value = value * 10 + static_cast<quint32>(*cursor - '0');
        ++cursor;
    }
    if (*cursor == '.')
        ++cursor;
    return value;
}

quint32 LibVlcParseVersion(const char* text)
{
    const char* cursor = text;
    const quint32 major = LibVlcParseVersionPart(cursor);
    const quint32 minor = LibVlcParseVersionPart(cursor);
    const quint32 patch = LibVlcParseVersionPart(cursor);
    return LibVlcPackVersion(major, minor, patch);
}

QString LibVlcFindFile(const QString& sDir)
{
    if (QFileInfo(sDir).isDir() && QFileInfo(sDir + QLatin1Char('/') + QLatin1String(LibVlcLibraryName)).isFile())
        return QLatin1String(LibVlcLibraryName);
    return {};
}

int LibVlcImageBits(const QString& sFileName)
{
    QFile file(sFileName);
    if (sFileName.isEmpty() || !file.open(QIODevice::ReadOnly))
        return -1;

    const QByteArray head = file.read(64);
    // ELF: the class byte of the identification says 32 or 64 bits.
    constexpr int ElfIdentSize = 16;
    if (head.size() >= ElfIdentSize && head.startsWith("\x7F" "ELF")) {
        switch (head.at(4)) {
        case 1: return 32;
        case 2: return 64;
        default: return 0;
        }
    }

    // PE: the machine field behind the "PE\0\0" signature.
    if (head.size() < 64 || qFromLittleEndian<quint16>(head.constData()) != 0x5A4D)
        return 0;
    const quint32 headerOffset = qFromLittleEndian<quint32>(head.constData() + 0x3C);
    if (!file.seek(headerOffset) || file.pos() != headerOffset)
        return 0;
    const QByteArray signature = file.read(4);
    if (signature.size() < 4 || qFromLittleEndian<quint32>(signature.constData()) != 0x00004550)
        return 0;
    const QByteArray machine = file.read(2);
    if (machine.size() < 2)
        return 0;
    switch (qFromLittleEndian<quint16>(machine.constData())) {
    case 0x014C: return 32;
    case 0x0200:
    case 0x0284:
    case 0x8664: return 64;
    default: return 0;
    }
}

QString LibVlcReadInstallDir()
{
    void* handle = dlopen(LibVlcLibraryName, RTLD_LAZY | RTLD_LOCAL);
    if (!handle)
        return {};
    QString sDir;
    link_map* map = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name && *map->l_name)
        sDir = QFileInfo(QFile::decodeName(map->l_name)).absolutePath();
    dlclose(handle);
    return sDir;
}

void LibVlcLoad(const QString& sPath)
{
    if (loadedLibrary())
        return;

    lastError.clear();
    loadedPath = sPath;
    loadedFileName = LibVlcFindFile(sPath);
    while (loadedPath.endsWith(QLatin1Char('/')))
        loadedPath.chop(1);

    // The name always holds a directory part, so the system's library search
    // path is never consulted; a path of only separators is the root.
    QString sFullName;
    if (!loadedPath.isEmpty())
        sFullName = loadedPath + QLatin1Char('/') + loadedFileName;
    else if (!sPath.isEmpty())
        sFullName = QLatin1Char('/') + loadedFileName;

    const int imageBits = LibVlcImageBits(sFullName);
    constexpr int ApplicationBits = QT_POINTER_SIZE * 8;
    if ((imageBits == 32 || imageBits == 64) && imageBits != ApplicationBits) {
        lastError = QStringLiteral("Application is %1 bit, but %2 library is %3 bit")
                        .arg(ApplicationBits)
                        .arg(loadedFileName)
                        .arg(imageBits);
        return;
    }

    if (sFullName.isEmpty()) {
        lastError = loadFailureText(QStringLiteral("no library file name"));
        return;
    }
    // libvlc's plugins link libvlccore themselves and need none of libvlc's
    // symbols, so the library stays local to this handle.
    loadedLibrary().reset(dlopen(QFile::encodeName(sFullName).constData(), RTLD_NOW | RTLD_LOCAL));
    if (!loadedLibrary()) {
        const char* reason = dlerror();
        lastError = loadFailureText(reason ? QString::fromLocal8Bit(reason) : QStringLiteral("unknown error"));
        return;
    }

    resetEntries(true);
    if (!bindEntry(entrySlots[0]))
        return;

    const char* versionText = LibVlcEntries.libvlc_get_version();
    loadedVersionText = QString::fromUtf8(versionText);
    loadedVersionBin = LibVlcParseVersion(versionText);
    if (loadedVersionBin < MinimumVersion) {
        // The components as packed, each cut to its low 8 bits.
        lastError = QStringLiteral("Current libvlc version: %1.%2.%3, minimum supported version is 1.0.0")
                        .arg(loadedVersionBin >> 16)
                        .arg((loadedVersionBin >> 8) & 0xFF)
                        .arg(loadedVersionBin & 0xFF);
        return;
    }

    // The list runs from the base group through the gated groups in rising
    // order, so binding stops at the first group the library is too old for.
    for (const TEntrySlot& slot : std::span(entrySlots).subspan(1)) {
        if (loadedVersionBin < groupVersion(slot.group).minimum)
            break;
        if (!bindEntry(slot))
            return;
    }
}

void LibVlcLoadInstalled()
{
    if (loadedLibrary())
        return;
    LibVlcLoad(installDirLookup ? installDirLookup() : LibVlcReadInstallDir());
}

void LibVlcUnload()
{
    loadedLibrary().reset();
    resetEntries(false);
}

void LibVlcSetDisplayWindow(libvlc_media_player_t* p_mi, WId window)
{
    if (p_mi && LibVlcEntries.libvlc_media_player_set_xwindow)
        LibVlcEntries.libvlc_media_player_set_xwindow(p_mi, static_cast<uint32_t>(window));
}

bool LibVlcHandle()
{
    return loadedLibrary() != nullptr;
}

QString LibVlcPath()
{
    return loadedPath;
}

QString LibVlcFileName()
{
    return loadedFileName;
}

QString LibVlcVersionText()
{
    return loadedVersionText;
}

quint32 LibVlcVersionBin()
{
    return loadedVersionBin;
}

QString LibVlcLastError()
{
    return lastError;
}

TLibVlcStubNotifier LibVlcSetStubNotifier(TLibVlcStubNotifier notifier)
{
    return std::exchange(stubNotifier, std::move(notifier));
}

TLibVlcInstallDirLookup LibVlcSetInstallDirLookup(TLibVlcInstallDirLookup lookup)
{
    return std::exchange(installDirLookup, std::move(lookup));
}
