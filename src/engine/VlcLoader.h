#pragma once

#include <QString>
#include <QtGui/qwindowdefs.h>

#include <functional>

#include <vlc/vlc.h>

#include "engine/VlcEntryList.h"

// Run-time loader of libvlc: finds and opens libvlc.so.5, reads its version
// and binds every entry point of VlcEntryList.h into LibVlcEntries. Entry
// points newer than the loaded library hold stub routines that tell the user
// which release they need. The state is process-wide and used from the GUI
// thread only.

inline constexpr const char* LibVlcLibraryName = "libvlc.so.5";

// The oldest libvlc release that provides an entry point (the group column of
// VlcEntryList.h).
enum class TLibVlcGroup { Version, Base, V1_1_0, V1_1_1, V1_1_5, V2_0_0, V2_1_0, V2_2_0 };

// Packed version: major in bits 16-23, minor in 8-15, patch in 0-7, each
// component cut to its low 8 bits. Every version comparison uses this form.
constexpr quint32 LibVlcPackVersion(quint32 major, quint32 minor, quint32 patch)
{
    return ((major & 0xFF) << 16) | ((minor & 0xFF) << 8) | (patch & 0xFF);
}

// One slot per entry point under its libvlc name, typed with its signature.
struct TLibVlcEntries {
#define LIBVLC_ENTRY_SLOT(R, name, params, args, group, stub) \
    using name##_fn = R(*) params;                              \
    name##_fn name = nullptr;
    LIBVLC_ENTRY_LIST(LIBVLC_ENTRY_SLOT)
#undef LIBVLC_ENTRY_SLOT
};

extern TLibVlcEntries LibVlcEntries;

// Loads libvlc.so.5 from the directory sPath; nothing happens while a library
// is loaded. Success is an empty LibVlcLastError() with LibVlcHandle() true.
void LibVlcLoad(const QString& sPath);
// Loads from the directory of the system's installed libvlc when none is loaded.
void LibVlcLoadInstalled();
// Frees the library; the table is reset once no library remains loaded.
void LibVlcUnload();
// Hands the native (X11) window to the media player; nothing without a library.
void LibVlcSetDisplayWindow(libvlc_media_player_t* p_mi, WId window);

bool LibVlcHandle();          // a library is loaded
QString LibVlcPath();         // directory of the last load, trailing separators removed
QString LibVlcFileName();     // "libvlc.so.5" when found there, else empty
QString LibVlcVersionText();  // libvlc_get_version() of the loaded library
quint32 LibVlcVersionBin();   // that version, packed
QString LibVlcLastError();    // empty = usable

// Reads one decimal version component at cursor and steps over one following
// "."; 0 and no movement when cursor is null or not at a digit.
quint32 LibVlcParseVersionPart(const char*& cursor);
// Major, minor and patch read from the start of text, packed; 0 for null.
quint32 LibVlcParseVersion(const char* text);
// "libvlc.so.5" when sDir is an existing directory holding that file, else empty.
QString LibVlcFindFile(const QString& sDir);
// Word size of an ELF or PE image: 32 or 64; 0 when unknown; -1 when unreadable.
int LibVlcImageBits(const QString& sFileName);
// Directory of the libvlc.so.5 the dynamic linker finds by name, or empty.
QString LibVlcReadInstallDir();

// True when the slot holds one of the loader's stub routines.
bool LibVlcIsStub(void (*slot)());
// True when the slot holds the library's own function: neither empty nor a stub.
template <typename F>
bool LibVlcBound(F slot)
{
    return slot && !LibVlcIsStub(reinterpret_cast<void (*)()>(slot));
}

// Replaceable platform seams, so tests can run without dialogs or without an
// installed engine. Each setter returns the previous function; an empty
// function restores the default.
using TLibVlcStubNotifier = std::function<void(const QString& sText)>;
TLibVlcStubNotifier LibVlcSetStubNotifier(TLibVlcStubNotifier notifier);
using TLibVlcInstallDirLookup = std::function<QString()>;
TLibVlcInstallDirLookup LibVlcSetInstallDirLookup(TLibVlcInstallDirLookup lookup);
