#pragma once

#include <QByteArrayView>
#include <QDate>
#include <QFlags>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <filesystem>

class QFile;
class TOrvNumberMask;

// Path helpers and numbered file names. Paths use "/" as separator. Routines
// that take path parts raise TOrvPathError for a part the platform does not
// allow (a NUL character); mask routines raise TOrvMaskError for a mask the
// mask formatter rejects (see TOrvNumberMask). Neither is caught here.

enum TOrvPathMode : quint8 {
    pmNone = 0x0,
    // The numbered-file routines create missing folders.
    pmForceDirectories = 0x1,
    pmOverwriteIfExists = 0x2,
};
Q_DECLARE_FLAGS(TOrvPathModes, TOrvPathMode)
Q_DECLARE_OPERATORS_FOR_FLAGS(TOrvPathModes)

// sPath1 and sPath2 joined with one "/" (none added when sPath1 ends in one);
// an empty part yields the other, a rooted sPath2 replaces sPath1.
QString PathCombine(const QString& sPath1, const QString& sPath2);
// sPath with the extension of its last element replaced by sExt (with or
// without its dot), or with sExt appended when it has none. A leading dot
// (".profile") belongs to the name, not to the extension.
QString PathChangeExt(const QString& sPath, const QString& sExt);
// The folder part of sPath ("" for a bare name, "/" for an entry of the root);
// a path at or above the platform's path limit (4096 bytes) is rejected.
QString PathDirectory(const QString& sPath);
// The last element of sPath ("" when sPath ends in "/").
QString PathFileName(const QString& sPath);

// A file name is bytes to the file system, any but "/" and NUL; most names
// are UTF-8, but not all. Qt reads names as UTF-8 and turns the bytes that are
// not into U+FFFD, losing them (its folder listings even pass such names over).
// This program's paths keep every byte: a byte that is not part of valid UTF-8
// is held as the lone surrogate U+DC00 + byte (U+DC80 to U+DCFF), which no
// decoded text holds, and everything else as Qt reads it. Such a path reaches
// the file system only through PathNative, never through Qt's file classes,
// and is shown through PathDisplay.

// The path the file system hands over as ABytes, every byte kept.
QString PathFromNative(QByteArrayView ABytes);
// The file system's own bytes of sPath: PathFromNative's inverse.
std::filesystem::path PathNative(const QString& sPath);
// sPath as text to show: each byte kept by PathFromNative becomes U+FFFD.
QString PathDisplay(const QString& sPath);
// The file:// URL of the full path sPath, percent-encoded from its bytes
// (PathNative), for other programs: QUrl::fromLocalFile would write each
// byte kept by PathFromNative as the UTF-8 of its stand-in, naming another file.
QUrl PathUrl(const QString& sPath);
// What the program asks of the file system about a path, every byte of it
// kept. A path that cannot be read answers as a missing one.
// sPath is a regular file, or a link to one.
bool PathIsFile(const QString& sPath);
// A file's size and last change, to tell whether it has changed.
struct TOrvFileStamp
{
    std::uintmax_t Size = 0;
    std::filesystem::file_time_type Written{};
    bool operator==(const TOrvFileStamp&) const = default;
};
TOrvFileStamp PathStamp(const QString& sPath);
// Removes the file sPath; false when there was none or it could not be removed.
bool PathRemoveFile(const QString& sPath);
// The names of the regular files in the folder sFolder (links to them
// included), in the order the folder lists them; empty when it cannot be listed.
QStringList PathFileNames(const QString& sFolder);

// Opens the file sPath for reading into AFile (whose own file name stays
// empty); false when it cannot be opened.
bool PathOpenRead(QFile& AFile, const QString& sPath);
// Opens the file sPath for writing it anew, making it when it is missing;
// false when it cannot be opened. Writes are unbuffered, so a failed one
// shows at once.
bool PathOpenWrite(QFile& AFile, const QString& sPath);

// The user's documents folder (XDG documents folder).
QString PathDocuments();
// The all-users documents folder; empty, since Linux has none.
QString PathSharedDocuments();
// The user's roaming application-data folder (XDG data home).
QString PathHome();

// The full path of a free numbered file in sPath (joined with sSubPath when
// that is not empty), or "" when the numbers are used up. sAutoFileMask is a
// format: "yy"/"YY", "mm"/"MM" and "dd"/"DD" anywhere in it become the two-digit
// year, month and day of AToday (case-sensitive, also inside words), then the
// mask formatter writes the number. The placeholder sets the bound (see
// TOrvNumberMask::Bound). A number is in use when something other than a folder
// exists under its name. AAfterHighest: one past the highest number in use, up
// to and including the bound, gaps never filled; otherwise the lowest free one.
// With pmForceDirectories the folder and the answer's own folder are created.
// Nothing else is created, and no name is reserved.
QString AutoFileIn(const QString& sPath, const QString& sSubPath, const QString& sAutoFileMask,
                   TOrvPathModes APathModes, bool AAfterHighest, const QDate& AToday = QDate::currentDate());

// The last existing file (not a folder) matching sAutoFileMask in sPath (joined
// with sSubPath) whatever its date and number, or "" when the folder is missing
// or nothing matches. The date macros match any two characters, the number one
// or more digits (at least the placeholder's width), everything else literally;
// "last" is the last in name order. The search covers one folder: a mask whose
// folder part holds a date macro or the number finds nothing.
QString AutoFileIn_Last(const QString& sPath, const QString& sSubPath, const QString& sAutoFileMask);

// Numbered files named from data rather than from a mask, such as the
// screenshots of a video: sPrefix and sSuffix are taken as they are (no date
// macro, no percent sign is read in them) around a four-digit number. For the
// video "/v/50% off.avi" and "/v/summer mmdd.avi":
//   AutoFileIn_Literal("/v", "50% off_", ".png")     -> "/v/50% off_0001.png"
//   AutoFileIn_Literal("/v", "summer mmdd_", ".png") -> "/v/summer mmdd_0001.png"
// The answer is sFolder joined with sPrefix, the number one past the highest in
// use, and sSuffix; gaps are never filled. A number is in use when something
// other than a folder has its name; "50% off_10000.png" counts as 10000. Returns
// "" when 9999 or more is in use. Nothing is created or reserved: the caller
// writes the file. Raises TOrvPathError for a NUL in any part.
QString AutoFileIn_Literal(const QString& sFolder, const QString& sPrefix, const QString& sSuffix);
// A numbered file put in place by AutoFileIn_LiteralPublish.
struct TOrvPublishedFile
{
    // The file's full path; empty when it was not published.
    QString FileName;
    // Not published because 9999 or more is in use.
    bool NumbersUsedUp = false;
    // Why it could not be published, when it could not.
    QString ErrorText;
};
// The whole file sTempFile, written in sFolder, put in place under
// AutoFileIn_Literal's name in one step that never replaces anything, so that
// a reader sees either no file or the whole one. When another writer (another
// program, or another copy of this one) has taken that name since the folder
// was read, the next number is taken instead. sTempFile is gone once it is
// published and stays where it was when it is not.
TOrvPublishedFile AutoFileIn_LiteralPublish(const QString& sFolder, const QString& sPrefix, const QString& sSuffix,
                                            const QString& sTempFile);
// A new empty file of the writer's own in sFolder, for a file to be published
// there: hidden, and named so that no numbered name matches it. Opened for
// writing in AFile, its path in sTempFile; false, with the system's reason in
// sError, when it cannot be made.
bool PathOpenTemp(QFile& AFile, const QString& sFolder, QString& sTempFile, QString& sError);
// The regular files (links to them included) numbered 0001 to 9999 that
// AutoFileIn_Literal with the same arguments counts, as full paths in ascending
// number order, from one folder listing; empty when the folder is missing.
QStringList AutoFileIn_LiteralFiles(const QString& sFolder, const QString& sPrefix, const QString& sSuffix);

// How the numbers in use are found. Probing tests every candidate name from 1
// to the bound; Listing reads the folder once and tests only the candidates
// whose names it finds there (in any case, for folders that ignore case), with
// the same result. Listing probes when the folder cannot be listed or the
// number lies in a folder name.
enum class TOrvNumberScan { Listing, Probing };
// The highest number from 1 to AMask.Bound() inclusive whose candidate
// PathCombine(sFolder, AMask.Format(n)) is in use, or 0 when none is.
int AutoFileIn_HighestInUse(const QString& sFolder, const TOrvNumberMask& AMask, TOrvNumberScan AScan);
