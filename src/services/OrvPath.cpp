#include "services/OrvPath.h"

#include "services/TOrvMaskError.h"
#include "services/TOrvNumberMask.h"
#include "services/TOrvPathError.h"

#include <QFile>
#include <QStringDecoder>
#include <QStandardPaths>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The date macros of AutoFileIn_Last match any two characters; NUL stands for
// them because no real path can hold it.
constexpr QChar AnyChar = QChar(0);

void CheckPath(const QString& sPath)
{
    if (sPath.contains(QChar(0)))
        throw TOrvPathError(sPath, QStringLiteral("a path cannot hold a NUL character"));
}

QString JoinPath(const QString& sPath1, const QString& sPath2)
{
    if (sPath1.isEmpty())
        return sPath2;
    if (sPath2.isEmpty())
        return sPath1;
    if (sPath2.startsWith(u'/'))
        return sPath2;
    if (sPath1.endsWith(u'/'))
        return sPath1 + sPath2;
    return sPath1 + u'/' + sPath2;
}

// The length of the well-formed UTF-8 sequence ABytes starts with, 0 when it
// starts with none (Unicode's table of well-formed byte sequences: no
// overlong forms, no surrogates, nothing past U+10FFFF).
qsizetype Utf8SequenceLength(QByteArrayView ABytes)
{
    const auto lead = quint8(ABytes.front());
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    quint8 secondLow = 0x80;
    quint8 secondHigh = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            secondLow = 0xA0;
        else if (lead == 0xED)
            secondHigh = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            secondLow = 0x90;
        else if (lead == 0xF4)
            secondHigh = 0x8F;
    } else {
        return 0;
    }
    if (ABytes.size() < length || quint8(ABytes[1]) < secondLow || quint8(ABytes[1]) > secondHigh)
        return 0;
    for (qsizetype i = 2; i < length; ++i) {
        if (quint8(ABytes[i]) < 0x80 || quint8(ABytes[i]) > 0xBF)
            return 0;
    }
    return length;
}

// The byte that position i of sPath holds for PathFromNative, or -1 for a
// character of text. A surrogate pair is text: i then moves onto its second half.
int HeldByte(QStringView sPath, qsizetype& i)
{
    const char16_t c = sPath[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < sPath.size() && QChar::isLowSurrogate(sPath[i + 1].unicode())) {
        ++i;
        return -1;
    }
    return c >= 0xDC80 && c <= 0xDCFF ? int(c - 0xDC00) : -1;
}

// What a name stands for once links are followed: not_found when nothing
// does, none when it cannot be told.
fs::file_type TypeOf(const fs::path& APath)
{
    std::error_code ec;
    return fs::status(APath, ec).type();
}

// The same for a listed entry, from the type the listing already read except
// for links, which are followed.
fs::file_type TypeOf(const fs::directory_entry& AEntry)
{
    std::error_code ec;
    if (AEntry.is_regular_file(ec))
        return fs::file_type::regular;
    if (AEntry.is_directory(ec))
        return fs::file_type::directory;
    return AEntry.status(ec).type();
}

// A number is in use when anything but a folder exists under its name.
bool InUse(fs::file_type AType)
{
    return fs::exists(fs::file_status(AType)) && AType != fs::file_type::directory;
}

bool IsRegularFile(fs::file_type AType)
{
    return AType == fs::file_type::regular;
}

using TPresent = bool (*)(fs::file_type);

// The entry's name, every byte kept.
QString EntryName(const fs::directory_entry& AEntry)
{
    const std::string& path = AEntry.path().native();
    return PathFromNative(QByteArrayView(path).sliced(path.rfind('/') + 1));
}

QString ReplaceDateMacros(QString sMask, const QString& sYear, const QString& sMonth, const QString& sDay)
{
    return sMask.replace(QStringLiteral("yy"), sYear)
        .replace(QStringLiteral("YY"), sYear)
        .replace(QStringLiteral("mm"), sMonth)
        .replace(QStringLiteral("MM"), sMonth)
        .replace(QStringLiteral("dd"), sDay)
        .replace(QStringLiteral("DD"), sDay);
}

// Errors name the mask the caller gave, not its date-replaced form; the
// replacements keep every position.
TOrvNumberMask ParseMask(const QString& sReplaced, const QString& sAutoFileMask)
{
    try {
        return TOrvNumberMask(sReplaced);
    } catch (const TOrvMaskError& error) {
        throw TOrvMaskError(sAutoFileMask, error.Reason());
    }
}

// The candidate paths as one mask: joining puts the folder in front of the
// mask's text the same way for every number.
TOrvNumberMask CandidateMask(const QString& sFolder, const TOrvNumberMask& AMask)
{
    const QString one = AMask.Format(1);
    const QString path = JoinPath(sFolder, one);
    return AMask.WithPrefix(path.left(path.size() - one.size() + AMask.Prefix().size()));
}

// The numbers from 1 to AMax whose candidate is present, read from one listing
// of the candidates' folder; nullopt when that cannot answer (the number lies in
// a folder name, or the folder exists but cannot be listed).
std::optional<std::vector<int>> ListedNumbers(const TOrvNumberMask& ACandidates, int AMax, TPresent APresent)
{
    if (!ACandidates.HasPlaceholder() || ACandidates.Suffix().contains(u'/'))
        return std::nullopt;
    const QString& head = ACandidates.Prefix();
    const qsizetype slash = head.lastIndexOf(u'/');
    const QString folder = head.left(slash + 1);
    const TOrvNumberMask names = ACandidates.WithPrefix(head.mid(slash + 1));

    std::error_code ec;
    fs::directory_iterator entry(folder.isEmpty() ? fs::path(".") : PathNative(folder), ec);
    if (ec) {
        if (ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory)
            return std::vector<int>();
        return std::nullopt;
    }
    std::vector<int> numbers;
    for (const fs::directory_iterator end; entry != end; entry.increment(ec)) {
        const QString name = EntryName(*entry);
        int number = names.NumberOf(name);
        const bool exact = number >= 0;
        // Names differing in case are tested too: in a folder that ignores case
        // (vfat, casefolded ext4) the candidate's own name finds them.
        if (number < 0)
            number = names.NumberOf(name, Qt::CaseInsensitive);
        if (number < 1 || number > AMax)
            continue;
        if (APresent(exact ? TypeOf(*entry) : TypeOf(PathNative(ACandidates.Format(number)))))
            numbers.push_back(number);
    }
    if (ec)
        return std::nullopt;
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

std::vector<int> NumbersPresent(const TOrvNumberMask& ACandidates, int AMax, TPresent APresent, TOrvNumberScan AScan)
{
    if (AScan == TOrvNumberScan::Listing) {
        if (auto listed = ListedNumbers(ACandidates, AMax, APresent))
            return *listed;
    }
    std::vector<int> numbers;
    for (int n = 1; n <= AMax; ++n) {
        if (APresent(TypeOf(PathNative(ACandidates.Format(n)))))
            numbers.push_back(n);
    }
    return numbers;
}

int HighestInUse(const TOrvNumberMask& ACandidates, TOrvNumberScan AScan)
{
    const int bound = ACandidates.Bound();
    // Every number names the same file, so one test decides them all.
    if (AScan == TOrvNumberScan::Listing && !ACandidates.HasPlaceholder())
        return InUse(TypeOf(PathNative(ACandidates.Format(1)))) ? bound : 0;
    const std::vector<int> numbers = NumbersPresent(ACandidates, bound, InUse, AScan);
    return numbers.empty() ? 0 : numbers.back();
}

void ForceDirectories(const QString& sFolder)
{
    // A folder that cannot be made is not reported: the name is returned all the same.
    std::error_code ec;
    fs::create_directories(PathNative(sFolder), ec);
}

QString NumberedFile(const QString& sFolder, const TOrvNumberMask& AMask, TOrvPathModes APathModes,
                     bool AAfterHighest)
{
    CheckPath(sFolder);
    CheckPath(AMask.Format(1));
    const bool force = APathModes.testFlag(pmForceDirectories);
    if (force && !sFolder.isEmpty())
        ForceDirectories(sFolder);

    const TOrvNumberMask candidates = CandidateMask(sFolder, AMask);
    const int bound = AMask.Bound();
    int number = 0;
    if (AAfterHighest) {
        const int highest = HighestInUse(candidates, TOrvNumberScan::Listing);
        if (highest < bound - 1)
            number = highest + 1;
    } else if (!AMask.HasPlaceholder()) {
        number = InUse(TypeOf(PathNative(candidates.Format(1)))) ? 0 : 1;
    } else {
        for (int n = 1; n < bound; ++n) {
            if (!InUse(TypeOf(PathNative(candidates.Format(n))))) {
                number = n;
                break;
            }
        }
    }
    if (number == 0)
        return {};
    const QString result = candidates.Format(number);
    if (force) {
        const QString folder = PathDirectory(result);
        if (!folder.isEmpty())
            ForceDirectories(folder);
    }
    return result;
}

// True when sText is sPattern, each AnyChar of which stands for any one
// character. Compared by hand: Qt's regular expressions refuse text that
// holds the bytes PathFromNative keeps.
bool MatchesWildcards(QStringView sText, QStringView sPattern)
{
    if (sText.size() != sPattern.size())
        return false;
    for (qsizetype i = 0; i < sText.size(); ++i) {
        if (sPattern[i] != AnyChar && sPattern[i] != sText[i])
            return false;
    }
    return true;
}

// The name sName is sHead, a number of at least AMinDigits digits, and sTail,
// with AnyChar standing for any one character; without a number (AMinDigits
// 0) it is sHead alone.
bool MatchesNumbered(QStringView sName, QStringView sHead, int AMinDigits, QStringView sTail)
{
    if (AMinDigits == 0)
        return MatchesWildcards(sName, sHead);
    const qsizetype digits = sName.size() - sHead.size() - sTail.size();
    if (digits < AMinDigits)
        return false;
    const QStringView number = sName.sliced(sHead.size(), digits);
    return MatchesWildcards(sName.first(sHead.size()), sHead) && MatchesWildcards(sName.last(sTail.size()), sTail)
        && std::all_of(number.begin(), number.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Opens sPath by its own bytes with the flags of open(2) and hands the
// descriptor to AFile, which closes it.
bool PathOpenNative(QFile& AFile, const QString& sPath, int AFlags, QIODevice::OpenMode AMode)
{
    const int fd = ::open(PathNative(sPath).c_str(), AFlags | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    if (AFile.open(fd, AMode, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
}

} // namespace

QString PathCombine(const QString& sPath1, const QString& sPath2)
{
    CheckPath(sPath1);
    CheckPath(sPath2);
    return JoinPath(sPath1, sPath2);
}

QString PathChangeExt(const QString& sPath, const QString& sExt)
{
    CheckPath(sPath);
    CheckPath(sExt);
    const qsizetype nameStart = sPath.lastIndexOf(u'/') + 1;
    const qsizetype dot = sPath.lastIndexOf(u'.');
    const QString base = dot > nameStart ? sPath.left(dot) : sPath;
    if (sExt.isEmpty() || sExt.startsWith(u'.'))
        return base + sExt;
    return base + u'.' + sExt;
}

QString PathDirectory(const QString& sPath)
{
    CheckPath(sPath);
    if (PathNative(sPath).native().size() >= PATH_MAX)
        throw TOrvPathError(sPath, QStringLiteral("longer than the platform's path limit of %1 bytes").arg(PATH_MAX));
    const qsizetype slash = sPath.lastIndexOf(u'/');
    if (slash < 0)
        return {};
    if (slash == 0)
        return QStringLiteral("/");
    return sPath.left(slash);
}

QString PathFileName(const QString& sPath)
{
    CheckPath(sPath);
    return sPath.mid(sPath.lastIndexOf(u'/') + 1);
}

QString PathFromNative(QByteArrayView ABytes)
{
    // A name may start with U+FEFF, whose bytes Qt's plain decoding drops.
    QStringDecoder text(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    if (ABytes.isValidUtf8())
        return text.decode(ABytes);
    QString path;
    path.reserve(ABytes.size());
    qsizetype textStart = 0;
    for (qsizetype i = 0; i < ABytes.size();) {
        if (const qsizetype length = Utf8SequenceLength(ABytes.sliced(i))) {
            i += length;
            continue;
        }
        path += text.decode(ABytes.sliced(textStart, i - textStart));
        path += QChar(char16_t(0xDC00 + quint8(ABytes[i])));
        textStart = ++i;
    }
    return path + text.decode(ABytes.sliced(textStart));
}

fs::path PathNative(const QString& sPath)
{
    std::string bytes;
    qsizetype textStart = 0;
    for (qsizetype i = 0; i < sPath.size(); ++i) {
        const qsizetype at = i;
        const int byte = HeldByte(sPath, i);
        if (byte < 0)
            continue;
        bytes += QStringView(sPath).sliced(textStart, at - textStart).toUtf8().toStdString();
        bytes += char(byte);
        textStart = i + 1;
    }
    bytes += QStringView(sPath).sliced(textStart).toUtf8().toStdString();
    return fs::path(std::move(bytes));
}

QString PathDisplay(const QString& sPath)
{
    QString shown = sPath;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const qsizetype at = i;
        if (HeldByte(shown, i) >= 0)
            shown[at] = QChar::ReplacementCharacter;
    }
    return shown;
}

QUrl PathUrl(const QString& sPath)
{
    // Escaped as QUrl and the desktop escape a path: the characters a path
    // may hold as they are stay.
    const fs::path native = PathNative(sPath);
    return QUrl::fromEncoded(
        "file://" + QByteArray::fromStdString(native.native()).toPercentEncoding("/!$&'()*+,;=:@"), QUrl::StrictMode);
}

bool PathIsFile(const QString& sPath)
{
    std::error_code ec;
    return fs::is_regular_file(PathNative(sPath), ec);
}

TOrvFileStamp PathStamp(const QString& sPath)
{
    const fs::path file = PathNative(sPath);
    std::error_code ec;
    TOrvFileStamp stamp;
    stamp.Size = fs::file_size(file, ec);
    if (ec)
        return {};
    stamp.Written = fs::last_write_time(file, ec);
    return ec ? TOrvFileStamp{} : stamp;
}

bool PathRemoveFile(const QString& sPath)
{
    const fs::path file = PathNative(sPath);
    std::error_code ec;
    return !fs::is_directory(file, ec) && fs::remove(file, ec);
}

QStringList PathFileNames(const QString& sFolder)
{
    QStringList names;
    std::error_code ec;
    for (fs::directory_iterator entry(PathNative(sFolder), ec), end; !ec && entry != end; entry.increment(ec)) {
        std::error_code typeError;
        if (entry->is_regular_file(typeError))
            names << PathFromNative(entry->path().filename().native());
    }
    return names;
}

bool PathOpenRead(QFile& AFile, const QString& sPath)
{
    return PathOpenNative(AFile, sPath, O_RDONLY, QIODevice::ReadOnly);
}

bool PathOpenWrite(QFile& AFile, const QString& sPath)
{
    return PathOpenNative(AFile, sPath, O_WRONLY | O_CREAT | O_TRUNC, QIODevice::WriteOnly | QIODevice::Unbuffered);
}

QString PathDocuments()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString PathSharedDocuments()
{
    return {};
}

QString PathHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString AutoFileIn(const QString& sPath, const QString& sSubPath, const QString& sAutoFileMask,
                   TOrvPathModes APathModes, bool AAfterHighest, const QDate& AToday)
{
    const QString replaced = ReplaceDateMacros(sAutoFileMask, AToday.toString(u"yy"), AToday.toString(u"MM"),
                                               AToday.toString(u"dd"));
    const TOrvNumberMask mask = ParseMask(replaced, sAutoFileMask);
    const QString folder = sSubPath.isEmpty() ? sPath : PathCombine(sPath, sSubPath);
    return NumberedFile(folder, mask, APathModes, AAfterHighest);
}

QString AutoFileIn_Last(const QString& sPath, const QString& sSubPath, const QString& sAutoFileMask)
{
    CheckPath(sAutoFileMask);
    const QString any2(2, AnyChar);
    const TOrvNumberMask mask = ParseMask(ReplaceDateMacros(sAutoFileMask, any2, any2, any2), sAutoFileMask);
    const QString folder = PathCombine(sPath, sSubPath);
    if (!folder.isEmpty() && TypeOf(PathNative(folder)) != fs::file_type::directory)
        return {};

    const TOrvNumberMask candidates = CandidateMask(folder, mask);
    if (candidates.Suffix().contains(u'/'))
        return {};
    const QString& head = candidates.Prefix();
    const qsizetype slash = head.lastIndexOf(u'/');
    const QString searchFolder = head.left(slash + 1);
    if (searchFolder.contains(AnyChar))
        return {};
    const QString nameHead = head.mid(slash + 1);
    const int minDigits = candidates.HasPlaceholder() ? qMax(candidates.Digits(), 1) : 0;

    std::error_code ec;
    fs::directory_iterator entry(searchFolder.isEmpty() ? fs::path(".") : PathNative(searchFolder), ec);
    QStringList found;
    for (const fs::directory_iterator end; !ec && entry != end; entry.increment(ec)) {
        const QString name = EntryName(*entry);
        if (MatchesNumbered(name, nameHead, minDigits, candidates.Suffix()) && InUse(TypeOf(*entry)))
            found << name;
    }
    if (found.isEmpty())
        return {};
    std::sort(found.begin(), found.end());
    return searchFolder + found.last();
}

QString AutoFileIn_Literal(const QString& sFolder, const QString& sPrefix, const QString& sSuffix)
{
    return NumberedFile(sFolder, TOrvNumberMask::Literal(sPrefix, 4, sSuffix), pmNone, true);
}

TOrvPublishedFile AutoFileIn_LiteralPublish(const QString& sFolder, const QString& sPrefix, const QString& sSuffix,
                                            const QString& sTempFile)
{
    const TOrvNumberMask mask = TOrvNumberMask::Literal(sPrefix, 4, sSuffix);
    const std::filesystem::path temp = PathNative(sTempFile);
    TOrvPublishedFile published;
    // A name taken since the folder was read, or in the way without counting
    // as in use (a link to nothing), passes the file on to the next number.
    for (int number = AutoFileIn_HighestInUse(sFolder, mask, TOrvNumberScan::Listing) + 1; number < mask.Bound();
         ++number) {
        const QString name = PathCombine(sFolder, mask.Format(number));
        const std::filesystem::path target = PathNative(name);
        int moved = ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
        // A file system that cannot rename without replacing (NFS) can link.
        if (moved != 0 && (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
            moved = ::link(temp.c_str(), target.c_str());
            if (moved == 0)
                ::unlink(temp.c_str());
        }
        if (moved == 0) {
            published.FileName = name;
            return published;
        }
        if (errno != EEXIST) {
            published.ErrorText = qt_error_string(errno);
            return published;
        }
    }
    published.NumbersUsedUp = true;
    return published;
}

bool PathOpenTemp(QFile& AFile, const QString& sFolder, QString& sTempFile, QString& sError)
{
    std::string name = (PathNative(sFolder) / ".scenora-XXXXXX.part").native();
    const int fd = ::mkostemps(name.data(), int(std::strlen(".part")), O_CLOEXEC);
    if (fd < 0) {
        sError = qt_error_string(errno);
        return false;
    }
    sTempFile = PathFromNative(name);
    if (AFile.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        return true;
    sError = AFile.errorString();
    ::close(fd);
    ::unlink(name.c_str());
    return false;
}

QStringList AutoFileIn_LiteralFiles(const QString& sFolder, const QString& sPrefix, const QString& sSuffix)
{
    const TOrvNumberMask mask = TOrvNumberMask::Literal(sPrefix, 4, sSuffix);
    CheckPath(sFolder);
    CheckPath(mask.Format(1));
    const TOrvNumberMask candidates = CandidateMask(sFolder, mask);
    QStringList files;
    for (int number : NumbersPresent(candidates, mask.Bound() - 1, IsRegularFile, TOrvNumberScan::Listing))
        files << candidates.Format(number);
    return files;
}

int AutoFileIn_HighestInUse(const QString& sFolder, const TOrvNumberMask& AMask, TOrvNumberScan AScan)
{
    CheckPath(sFolder);
    CheckPath(AMask.Format(1));
    return HighestInUse(CandidateMask(sFolder, AMask), AScan);
}
