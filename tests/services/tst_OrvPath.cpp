#include "services/OrvPath.h"
#include "services/TOrvMaskError.h"
#include "services/TOrvNumberMask.h"
#include "services/TOrvPathError.h"

#include "TestMedia.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Fills sFolder from a list of entries: "name" is an empty file, "name/" a
// folder, "name->target" a symbolic link to target (relative to the link).
void MakeEntries(const QString& sFolder, const QStringList& AEntries)
{
    QDir folder(sFolder);
    for (const QString& entry : AEntries) {
        const qsizetype arrow = entry.indexOf(QStringLiteral("->"));
        const QString name = arrow < 0 ? entry : entry.left(arrow);
        QVERIFY(folder.mkpath(QFileInfo(folder.filePath(name)).path()));
        if (arrow >= 0) {
            QVERIFY2(QFile::link(entry.mid(arrow + 2), folder.filePath(name)), qPrintable(entry));
        } else if (name.endsWith(u'/')) {
            QVERIFY(folder.mkpath(name));
        } else {
            QFile file(folder.filePath(name));
            QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(entry));
        }
    }
}

QStringList Numbered(const QString& sPrefix, int AFirst, int ALast, const QString& sSuffix, int ADigits)
{
    QStringList names;
    for (int n = AFirst; n <= ALast; ++n)
        names << sPrefix + QString::number(n).rightJustified(ADigits, u'0') + sSuffix;
    return names;
}

// Every entry below sFolder, folders marked with a trailing "/".
QStringList Tree(const QString& sFolder)
{
    QStringList entries;
    QDirIterator it(sFolder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString relative = QDir(sFolder).relativeFilePath(it.filePath());
        entries << (it.fileInfo().isDir() ? relative + u'/' : relative);
    }
    entries.sort();
    return entries;
}

} // namespace

class tst_OrvPath : public QObject
{
    Q_OBJECT

    QTemporaryDir FHome;

private slots:
    void initTestCase()
    {
        QVERIFY(FHome.isValid());
        TestMedia::isolateHome(FHome.path());
    }

    void pathCombine_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("expected");

        QTest::newRow("joined") << "a" << "b" << "a/b";
        QTest::newRow("left ends in a separator") << "a/" << "b" << "a/b";
        QTest::newRow("nested") << "/x/y" << "c/d.png" << "/x/y/c/d.png";
        QTest::newRow("empty left") << "" << "b" << "b";
        QTest::newRow("empty right") << "a" << "" << "a";
        QTest::newRow("rooted right replaces left") << "a" << "/b" << "/b";
        QTest::newRow("root") << "/" << "b" << "/b";
        QTest::newRow("backslash is a name character") << "a" << "b\\c" << "a/b\\c";
    }

    void pathCombine()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, expected);
        QCOMPARE(PathCombine(a, b), expected);
    }

    void pathChangeExt_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QString>("expected");

        QTest::newRow("replaced") << "a/b.txt" << ".ini" << "a/b.ini";
        QTest::newRow("given without dot") << "a/b.txt" << "ini" << "a/b.ini";
        QTest::newRow("appended") << "a/b" << ".ini" << "a/b.ini";
        QTest::newRow("dot in a folder only") << "a.d/b" << ".ini" << "a.d/b.ini";
        QTest::newRow("last extension only") << "a/b.tar.gz" << ".ini" << "a/b.tar.ini";
        QTest::newRow("leading dot is the name") << "a/.profile" << ".ini" << "a/.profile.ini";
        QTest::newRow("removed") << "a/b.txt" << "" << "a/b";
    }

    void pathChangeExt()
    {
        QFETCH(QString, path);
        QFETCH(QString, ext);
        QFETCH(QString, expected);
        QCOMPARE(PathChangeExt(path, ext), expected);
    }

    void pathDirectoryAndFileName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("fileName");

        QTest::newRow("file in a folder") << "/a/b.txt" << "/a" << "b.txt";
        QTest::newRow("bare name") << "b.txt" << "" << "b.txt";
        QTest::newRow("entry of the root") << "/b.txt" << "/" << "b.txt";
        QTest::newRow("trailing separator") << "a/b/" << "a/b" << "";
        QTest::newRow("relative") << "a/b/c" << "a/b" << "c";
        QTest::newRow("longer than 260") << QString(300, u'x') + "/f" << QString(300, u'x') << "f";
    }

    void pathDirectoryAndFileName()
    {
        QFETCH(QString, path);
        QFETCH(QString, directory);
        QFETCH(QString, fileName);
        QCOMPARE(PathDirectory(path), directory);
        QCOMPARE(PathFileName(path), fileName);
    }

    void pathDirectoryLimitIsThePlatformLimit()
    {
        const QString longest = u'/' + QString(PATH_MAX - 4, u'a') + QStringLiteral("/b");
        QCOMPARE(QFile::encodeName(longest).size(), PATH_MAX - 1);
        QCOMPARE(PathDirectory(longest).size(), PATH_MAX - 3);
        QVERIFY_THROWS_EXCEPTION(TOrvPathError, PathDirectory(longest + u'c'));
        // Measured in the bytes the platform stores, not in characters.
        const QString wide = u'/' + QString(PATH_MAX / 2, QChar(0x00e9));
        QVERIFY_THROWS_EXCEPTION(TOrvPathError, PathDirectory(wide));
    }

    void nulIsRejected()
    {
        const QString bad = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
        QVERIFY_THROWS_EXCEPTION(TOrvPathError, PathCombine(bad, "x"));
        QVERIFY_THROWS_EXCEPTION(TOrvPathError, PathCombine("x", bad));
        QVERIFY_THROWS_EXCEPTION(TOrvPathError, PathChangeExt(bad, ".ini"));
        QVERIFY_THROWS_EXCEPTION(TOrvPathError, PathDirectory(bad));
        QVERIFY_THROWS_EXCEPTION(TOrvPathError, PathFileName(bad));
        QVERIFY_THROWS_EXCEPTION(TOrvPathError, AutoFileIn(bad, "", "a_%d", pmNone, true));
        QVERIFY_THROWS_EXCEPTION(TOrvPathError, AutoFileIn(FHome.path(), bad, "a_%d", pmForceDirectories, true));
        QVERIFY_THROWS_EXCEPTION(TOrvPathError, AutoFileIn(FHome.path(), "", bad + "_%d", pmForceDirectories, true));
        QVERIFY_THROWS_EXCEPTION(TOrvPathError, AutoFileIn_Last(FHome.path(), "", bad + "_%d"));
        QVERIFY_THROWS_EXCEPTION(TOrvPathError, AutoFileIn_Literal(FHome.path(), bad, ".png"));
        try {
            PathCombine(bad, "x");
        } catch (const TOrvPathError& error) {
            QCOMPARE(error.Path(), bad);
            QVERIFY2(QByteArray(error.what()).contains("a\\0b"), error.what());
        }
    }

    // The folders follow the XDG settings of the user: the data home variable
    // and the documents entry of user-dirs.dirs, else their defaults below HOME.
    // Every name the file system can hold reads back to its own bytes; a
    // valid UTF-8 name reads as its text, any other shows each byte outside
    // UTF-8 as U+FFFD and is not the name of that text.
    void nativeNamesKeepEveryByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");

        QTest::newRow("ASCII") << QByteArray("/v/run.avi") << QStringLiteral("/v/run.avi");
        QTest::newRow("UTF-8") << QByteArray("caf\xc3\xa9 \xf0\x9f\x8e\xac") << QStringLiteral("café 🎬");
        QTest::newRow("U+FFFD itself") << QByteArray("\xef\xbf\xbd") << QStringLiteral("\uFFFD");
        QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbfx") << QStringLiteral("\uFEFFx");
        QTest::newRow("byte order mark after a byte")
            << QByteArray("\xff\xef\xbb\xbfx") << QStringLiteral("\uFFFD\uFEFFx");
        QTest::newRow("invalid bytes") << QByteArray("bad\xff\xfe") << QStringLiteral("bad\uFFFD\uFFFD");
        QTest::newRow("lone continuation byte") << QByteArray("\x80") << QStringLiteral("\uFFFD");
        QTest::newRow("cut off at the end") << QByteArray("caf\xc3") << QStringLiteral("caf\uFFFD");
        QTest::newRow("cut off before text") << QByteArray("\xe2\x82x") << QStringLiteral("\uFFFD\uFFFDx");
        QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << QStringLiteral("\uFFFD\uFFFD");
        QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << QStringLiteral("\uFFFD\uFFFD\uFFFD");
        QTest::newRow("beyond U+10FFFF")
            << QByteArray("\xf4\x90\x80\x80") << QStringLiteral("\uFFFD\uFFFD\uFFFD\uFFFD");
        // U+1F4F9's second half, U+DCF9, is also what byte 0xF9 is held as.
        QTest::newRow("surrogate pair") << QByteArray("\xf0\x9f\x93\xb9") << QStringLiteral("📹");
        QTest::newRow("around a surrogate pair")
            << QByteArray("\xf9\xf0\x9f\x93\xb9\xf9") << QStringLiteral("\uFFFD📹\uFFFD");
        QTest::newRow("Latin-1") << QByteArray("/v/r\xe9sum\xe9.avi") << QStringLiteral("/v/r\uFFFDsum\uFFFD.avi");
    }

    void nativeNamesKeepEveryByte()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);

        const QString path = PathFromNative(bytes);
        QCOMPARE(QByteArray::fromStdString(PathNative(path).native()), bytes);
        QCOMPARE(PathDisplay(path), shown);
        if (bytes.isValidUtf8())
            QCOMPARE(path, shown);
        else
            QVERIFY(path != PathFromNative(shown.toUtf8()));
    }

    // A file's URL names the file's own bytes, escaped where a URL needs it;
    // a UTF-8 name's URL reads back, in Qt too, as that name.
    void urlsNameTheFilesBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("encoded");

        QTest::newRow("plain") << QByteArray("/v/run_0001.png") << QByteArray("file:///v/run_0001.png");
        QTest::newRow("spaces") << QByteArray("/my clips/a b_0001.png")
                                << QByteArray("file:///my%20clips/a%20b_0001.png");
        QTest::newRow("percent signs, also before hex digits")
            << QByteArray("/v/50% off %41_0001.png") << QByteArray("file:///v/50%25%20off%20%2541_0001.png");
        QTest::newRow("URL delimiters") << QByteArray("/v/#1 ?a=b;c&d+e [x]_0001.png")
                                        << QByteArray("file:///v/%231%20%3Fa=b;c&d+e%20%5Bx%5D_0001.png");
        QTest::newRow("UTF-8") << QByteArray("/v/caf\xc3\xa9 \xf0\x9f\x93\xb9_0001.png")
                               << QByteArray("file:///v/caf%C3%A9%20%F0%9F%93%B9_0001.png");
        QTest::newRow("Latin-1") << QByteArray("/v/r\xe9sum\xe9_0001.png")
                                 << QByteArray("file:///v/r%E9sum%E9_0001.png");
        QTest::newRow("invalid bytes beside UTF-8") << QByteArray("/v\xff/caf\xc3\xa9\xc3_0001.png")
                                                    << QByteArray("file:///v%FF/caf%C3%A9%C3_0001.png");
    }

    void urlsNameTheFilesBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, encoded);

        const QUrl url = PathUrl(PathFromNative(bytes));
        QVERIFY2(url.isValid(), qPrintable(url.errorString()));
        QCOMPARE(url.toEncoded(), encoded);
        QVERIFY(url.isLocalFile());
        QCOMPARE(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()), bytes);
        if (bytes.isValidUtf8())
            QCOMPARE(url.toLocalFile(), QString::fromUtf8(bytes));
    }

    // What the window asks of the file system, by names that are bytes: a
    // name that is not UTF-8, a link to a file, and what is not a file.
    void fileQuestions_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("linkTo");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<bool>("isFile");
        QTest::newRow("UTF-8 file") << QByteArray("caf\xc3\xa9.png") << QByteArray("abc") << QByteArray() << false << true;
        QTest::newRow("Latin-1 file") << QByteArray("r\xe9sum\xe9.png") << QByteArray("abcd") << QByteArray() << false
                                      << true;
        QTest::newRow("empty file") << QByteArray("empty.png") << QByteArray() << QByteArray() << false << true;
        QTest::newRow("link to a file") << QByteArray("link.png") << QByteArray("ab") << QByteArray("target") << false
                                        << true;
        QTest::newRow("dangling link") << QByteArray("dangling.png") << QByteArray() << QByteArray("missing") << false
                                       << false;
        QTest::newRow("folder") << QByteArray("folder.png") << QByteArray() << QByteArray() << true << false;
    }

    void fileQuestions()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, linkTo);
        QFETCH(bool, folder);
        QFETCH(bool, isFile);
        QTemporaryDir dir;
        const std::filesystem::path native = std::filesystem::path(QFile::encodeName(dir.path()).toStdString()) / name.toStdString();
        if (folder) {
            QVERIFY(std::filesystem::create_directory(native));
        } else {
            const std::filesystem::path written = linkTo.isEmpty() ? native : native.parent_path() / linkTo.toStdString();
            if (linkTo != "missing") {
                std::ofstream file(written, std::ios::binary);
                file.write(content.constData(), content.size());
                QVERIFY(file.good());
            }
            if (!linkTo.isEmpty())
                std::filesystem::create_symlink(linkTo.toStdString(), native);
        }
        const QString path = PathFromNative(QByteArray::fromStdString(native.string()));

        QCOMPARE(PathIsFile(path), isFile);
        QCOMPARE(PathFileNames(dir.path()).contains(PathFromNative(name)), isFile);
        const TOrvFileStamp stamp = PathStamp(path);
        QCOMPARE(stamp.Size, std::uintmax_t(isFile ? content.size() : 0));
        QCOMPARE(stamp.Written != std::filesystem::file_time_type{}, isFile);
        QCOMPARE(PathRemoveFile(path), isFile || !linkTo.isEmpty());
        QVERIFY(!PathIsFile(path));
        // A link goes, not what it names; a folder stays.
        std::error_code ec;
        if (!linkTo.isEmpty() && linkTo != "missing")
            QVERIFY(std::filesystem::is_regular_file(native.parent_path() / linkTo.toStdString(), ec));
        QCOMPARE(std::filesystem::is_directory(native, ec), folder);
        QVERIFY(!PathRemoveFile(path));
        QCOMPARE(PathStamp(path), TOrvFileStamp{});
    }

    void userFolders_data()
    {
        QTest::addColumn<QByteArray>("dataHome");
        QTest::addColumn<QByteArray>("userDirs");
        QTest::addColumn<QString>("documents");
        QTest::addColumn<QString>("home");

        QTest::newRow("defaults") << QByteArray() << QByteArray() << "Documents" << ".local/share";
        QTest::newRow("XDG settings") << QByteArray("xdg/data") << QByteArray("XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n")
                                      << "Papers" << "xdg/data";
    }

    void userFolders()
    {
        QFETCH(QByteArray, dataHome);
        QFETCH(QByteArray, userDirs);
        QFETCH(QString, documents);
        QFETCH(QString, home);

        const QString userDirsFile = FHome.filePath(".config/user-dirs.dirs");
        const auto restore = qScopeGuard([&] {
            TestMedia::isolateHome(FHome.path());
            QFile::remove(userDirsFile);
        });
        if (dataHome.isEmpty())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", QFile::encodeName(FHome.filePath(dataHome)));
        if (!userDirs.isEmpty()) {
            QVERIFY(QDir().mkpath(FHome.filePath(".config")));
            QFile file(userDirsFile);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(userDirs);
        }

        QCOMPARE(PathDocuments(), FHome.filePath(documents));
        QCOMPARE(PathHome(), FHome.filePath(home));
        QCOMPARE(PathSharedDocuments(), QString());
    }

    void autoFileIn_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<bool>("afterHighest");
        QTest::addColumn<QString>("expected");

        const QString trip = QStringLiteral("trip_%.4d.png");
        QTest::newRow("none yet") << QStringList() << trip << true << "trip_0001.png";
        QTest::newRow("none yet, lowest free") << QStringList() << trip << false << "trip_0001.png";
        const QStringList gaps {"trip_0001.png", "trip_0002.png", "trip_0005.png"};
        QTest::newRow("after the highest") << gaps << trip << true << "trip_0006.png";
        QTest::newRow("lowest free fills the gap") << gaps << trip << false << "trip_0003.png";
        QTest::newRow("9999 used") << QStringList {"trip_0001.png", "trip_9999.png"} << trip << true << "";
        QTest::newRow("9999 used, lowest free") << QStringList {"trip_9999.png"} << trip << false << "trip_0001.png";
        QTest::newRow("only 9998") << QStringList {"trip_9998.png"} << trip << true << "trip_9999.png";
        QTest::newRow("10000 counts") << QStringList {"trip_0003.png", "trip_10000.png"} << trip << true << "";
        QTest::newRow("10001 does not") << QStringList {"trip_10001.png"} << trip << true << "trip_0001.png";
        QTest::newRow("extra leading zero is another name") << QStringList {"trip_00007.png"} << trip << true
                                                            << "trip_0001.png";
        QTest::newRow("folder named like a candidate") << QStringList {"trip_0003.png/"} << trip << true
                                                       << "trip_0001.png";
        QTest::newRow("folder taken as free") << QStringList {"trip_0001.png/"} << trip << false << "trip_0001.png";
        QTest::newRow("link to a file counts") << QStringList {"target", "trip_0004.png->target"} << trip << true
                                               << "trip_0005.png";
        QTest::newRow("dangling link does not") << QStringList {"trip_0004.png->missing"} << trip << true
                                                << "trip_0001.png";
        QTest::newRow("link to a folder does not") << QStringList {"d/", "trip_0004.png->d"} << trip << true
                                                   << "trip_0001.png";
        QTest::newRow("other names ignored")
            << QStringList {"trip_0003.png.bak", "Trip_0008.png", "trip_0009.jpg", "trip_00a1.png"} << trip << true
            << "trip_0001.png";
        QTest::newRow("no placeholder, free") << QStringList() << "fixed.png" << true << "fixed.png";
        QTest::newRow("no placeholder, free, lowest") << QStringList() << "fixed.png" << false << "fixed.png";
        QTest::newRow("no placeholder, used") << QStringList {"fixed.png"} << "fixed.png" << true << "";
        QTest::newRow("no placeholder, used, lowest") << QStringList {"fixed.png"} << "fixed.png" << false << "";
        const QStringList full = Numbered("x_", 1, 99, ".png", 2);
        QTest::newRow("%.2d full") << full << "x_%.2d.png" << true << "";
        QTest::newRow("%.2d full, lowest") << full << "x_%.2d.png" << false << "";
        QTest::newRow("%.2d 99 left") << Numbered("x_", 1, 98, ".png", 2) << "x_%.2d.png" << false << "x_99.png";
        QTest::newRow("unpadded") << QStringList {"s_9.png", "s_10.png", "s_010.png"} << "s_%d.png" << true
                                  << "s_11.png";
        QTest::newRow("percent sign") << QStringList {"50%_001.png"} << "50%%_%.3d.png" << true << "50%_002.png";
        QTest::newRow("mask with a folder") << QStringList {"shots/a_01.png", "a_07.png"} << "shots/a_%.2d.png" << true
                                            << "shots/a_02.png";
        QTest::newRow("number in a folder name") << QStringList {"d_03/shot.png", "d_05/"} << "d_%.2d/shot.png"
                                                 << true << "d_04/shot.png";
    }

    void autoFileIn()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, mask);
        QFETCH(bool, afterHighest);
        QFETCH(QString, expected);

        QTemporaryDir dir;
        MakeEntries(dir.path(), entries);
        const QStringList before = Tree(dir.path());
        const QString result = AutoFileIn(dir.path(), "", mask, pmNone, afterHighest, QDate(2024, 3, 8));
        QCOMPARE(result, expected.isEmpty() ? QString() : dir.filePath(expected));
        QCOMPARE(Tree(dir.path()), before);
    }

    // Both ways of finding the highest number in use agree, on every kind of
    // folder content.
    void highestInUseListingMatchesProbing_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<int>("highest");

        const QString trip = QStringLiteral("trip_%.4d.png");
        QTest::newRow("empty") << QStringList() << trip << 0;
        QTest::newRow("gaps") << QStringList {"trip_0002.png", "trip_0005.png", "trip_0031.png"} << trip << 31;
        QTest::newRow("9998") << QStringList {"trip_9998.png"} << trip << 9998;
        QTest::newRow("9999") << QStringList {"trip_0001.png", "trip_9999.png"} << trip << 9999;
        QTest::newRow("10000") << QStringList {"trip_10000.png"} << trip << 10000;
        QTest::newRow("beyond the bound") << QStringList {"trip_10001.png", "trip_0002.png"} << trip << 2;
        QTest::newRow("zero") << QStringList {"trip_0000.png"} << trip << 0;
        QTest::newRow("folders") << QStringList {"trip_0007.png/", "trip_0003.png"} << trip << 3;
        QTest::newRow("links") << QStringList {"t", "d/", "trip_0009.png->t", "trip_0011.png->d", "trip_0012.png->gone"}
                               << trip << 9;
        QTest::newRow("names in another case")
            << QStringList {"TRIP_0007.PNG", "Trip_0008.png", "trip_0009.PNG", "trip_0002.png"} << trip << 2;
        QTest::newRow("hidden name") << QStringList {".h_05"} << ".h_%.2d" << 5;
        QTest::newRow("unpadded") << QStringList {"s_7", "s_07", "s_0"} << "s_%d" << 7;
        QTest::newRow("mask with a folder") << QStringList {"sub/a_4", "a_9"} << "sub/a_%d" << 4;
        QTest::newRow("missing folder in the mask") << QStringList() << "sub/a_%d" << 0;
        QTest::newRow("number in a folder name") << QStringList {"d_03/x", "d_06/"} << "d_%.2d/x" << 3;
        QTest::newRow("no placeholder") << QStringList {"fixed"} << "fixed" << 10000;
        QTest::newRow("no placeholder, missing") << QStringList() << "fixed" << 0;
        QTest::newRow("many") << Numbered("m_", 1, 700, "", 3) << "m_%.3d" << 700;
    }

    void highestInUseListingMatchesProbing()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, mask);
        QFETCH(int, highest);

        QTemporaryDir dir;
        MakeEntries(dir.path(), entries);
        const TOrvNumberMask parsed(mask);
        QCOMPARE(AutoFileIn_HighestInUse(dir.path(), parsed, TOrvNumberScan::Probing), highest);
        QCOMPARE(AutoFileIn_HighestInUse(dir.path(), parsed, TOrvNumberScan::Listing), highest);
    }

    // A name that is not valid UTF-8 shows as U+FFFD, yet it is not the
    // file a mask holding U+FFFD names.
    void highestInUseWithUndecodableNames()
    {
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path());
        const QByteArrayList names {"\xff_05", "\xef\xbf\xbd_03"};
        // Qt cannot name the first file, so it could not remove the folder.
        const auto removeNames = qScopeGuard([&] {
            for (const QByteArray& name : names)
                ::unlink(folder + '/' + name);
        });
        for (const QByteArray& name : names) {
            const int fd = ::open(folder + '/' + name, O_WRONLY | O_CREAT | O_EXCL, 0644);
            QVERIFY2(fd >= 0, name.toHex().constData());
            ::close(fd);
        }
        const TOrvNumberMask mask(QString(QChar(0xfffd)) + QStringLiteral("_%.2d"));
        QCOMPARE(AutoFileIn_HighestInUse(dir.path(), mask, TOrvNumberScan::Probing), 3);
        QCOMPARE(AutoFileIn_HighestInUse(dir.path(), mask, TOrvNumberScan::Listing), 3);
    }

    void highestInUseInAFolderThatCannotBeListed()
    {
        if (geteuid() == 0)
            QSKIP("root lists every folder");
        QTemporaryDir dir;
        MakeEntries(dir.path(), {"locked/trip_0004.png"});
        const QString locked = dir.filePath("locked");
        QVERIFY(QFile::setPermissions(locked, QFile::ExeOwner | QFile::WriteOwner));
        const TOrvNumberMask mask(QStringLiteral("trip_%.4d.png"));
        const int probed = AutoFileIn_HighestInUse(locked, mask, TOrvNumberScan::Probing);
        const int listed = AutoFileIn_HighestInUse(locked, mask, TOrvNumberScan::Listing);
        QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner | QFile::WriteOwner));
        QCOMPARE(probed, 4);
        QCOMPARE(listed, 4);
    }

    void dateMacros_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("expected");

        QTest::newRow("day inside a word") << "addon_%.4d.png" << "a08on_0001.png";
        QTest::newRow("upper case") << "IMG_YYMMDD_%.3d.jpg" << "IMG_240308_001.jpg";
        QTest::newRow("lower case") << "yymmdd_%d" << "240308_1";
        QTest::newRow("month inside a word") << "Summary_%d" << "Su03ary_1";
        QTest::newRow("mixed spelling is text") << "Yy_yY_Mm_dD_%d" << "Yy_yY_Mm_dD_1";
        QTest::newRow("every occurrence") << "yyyy_%d" << "2424_1";
        QTest::newRow("odd run") << "yyy_%d" << "24y_1";
    }

    void dateMacros()
    {
        QFETCH(QString, mask);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QCOMPARE(AutoFileIn(dir.path(), "", mask, pmNone, true, QDate(2024, 3, 8)), dir.filePath(expected));
    }

    void dateMacrosDefaultToTheLocalDate()
    {
        QTemporaryDir dir;
        const QDate before = QDate::currentDate();
        const QString result = AutoFileIn(dir.path(), "", "YYMMDD_%d", pmNone, true);
        const QDate after = QDate::currentDate();
        const QString name = PathFileName(result);
        QVERIFY2(name == before.toString("yyMMdd_1") || name == after.toString("yyMMdd_1"), qPrintable(name));
    }

    void dateMacrosFormTheMaskBeforeTheFormatter()
    {
        QTemporaryDir dir;
        // "dd" becomes the day first, so "%dd" leaves a stray percent sign.
        try {
            AutoFileIn(dir.path(), "", "x_%dd", pmNone, true, QDate(2024, 3, 8));
            QFAIL("accepted");
        } catch (const TOrvMaskError& error) {
            QCOMPARE(error.Mask(), QStringLiteral("x_%dd"));
        }
    }

    void forceDirectories()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("base/sub/deeper");
        const QString mask = QStringLiteral("YYMMDD/img_%.3d.png");
        const QDate day(2024, 3, 8);

        QCOMPARE(AutoFileIn(dir.path(), "base/sub/deeper", mask, pmNone, true, day), folder + "/240308/img_001.png");
        QVERIFY(!QFileInfo::exists(dir.filePath("base")));

        QCOMPARE(AutoFileIn(dir.path(), "base/sub/deeper", mask, pmForceDirectories, true, day),
                 folder + "/240308/img_001.png");
        QCOMPARE(Tree(dir.path()), (QStringList {"base/", "base/sub/", "base/sub/deeper/", "base/sub/deeper/240308/"}));

        MakeEntries(folder, {"240308/img_001.png"});
        QCOMPARE(AutoFileIn(dir.path(), "base/sub/deeper", mask, pmForceDirectories | pmOverwriteIfExists, true, day),
                 folder + "/240308/img_002.png");
    }

    void forceDirectoriesWithoutAnswerCreatesOnlyTheFolder()
    {
        QTemporaryDir dir;
        MakeEntries(dir.path(), {"fixed"});
        QCOMPARE(AutoFileIn(dir.path(), "sub", "../fixed", pmForceDirectories, true), QString());
        QCOMPARE(Tree(dir.path()), (QStringList {"fixed", "sub/"}));
    }

    void rejectedMasksRaise_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::newRow("conversions") << "%s%s%n";
        QTest::newRow("stray percent sign") << "50% off_%.4d.png";
        QTest::newRow("second placeholder") << "a_%d_%.2d";
        QTest::newRow("not an integer") << "a_%.4f";
    }

    void rejectedMasksRaise()
    {
        QFETCH(QString, mask);
        QTemporaryDir dir;
        for (bool afterHighest : {true, false}) {
            try {
                AutoFileIn(dir.path(), "", mask, pmForceDirectories, afterHighest);
                QFAIL("accepted");
            } catch (const TOrvMaskError& error) {
                QCOMPARE(error.Mask(), mask);
            }
        }
        try {
            AutoFileIn_Last(dir.path(), "", mask);
            QFAIL("accepted");
        } catch (const TOrvMaskError& error) {
            QCOMPARE(error.Mask(), mask);
        }
        QVERIFY(Tree(dir.path()).isEmpty());
    }

    void autoFileInLast_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("subPath");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("expected");

        const QString img = QStringLiteral("IMG_YYMMDD_%.3d.jpg");
        QTest::newRow("any date")
            << QStringList {"IMG_230101_001.jpg", "IMG_240615_002.jpg", "IMG_190704_017.jpg"} << "" << img
            << "IMG_240615_002.jpg";
        QTest::newRow("only matching files")
            << QStringList {"IMG_230101_001.jpg", "IMG_991231_001.jpg/", "IMG_240615_abc.jpg", "img_250101_001.jpg",
                            "IMG_250101_001.jpg.bak", "IMG_2501010_001.jpg", "IMG_250101_01.jpg"}
            << "" << img << "IMG_230101_001.jpg";
        QTest::newRow("nothing matches") << QStringList {"IMG_240615_abc.jpg"} << "" << img << "";
        QTest::newRow("empty folder") << QStringList() << "" << img << "";
        QTest::newRow("missing folder") << QStringList {"IMG_230101_001.jpg"} << "nope" << img << "";
        QTest::newRow("sub-path") << QStringList {"a/b/IMG_230101_001.jpg", "IMG_240101_001.jpg"} << "a/b" << img
                                  << "a/b/IMG_230101_001.jpg";
        QTest::newRow("unpadded number of any length") << QStringList {"shot_123.png"} << "" << "shot_%d.png"
                                                       << "shot_123.png";
        QTest::newRow("zeros of the text stay text") << QStringList {"v1_01.png"} << "" << "v0_%.2d.png" << "";
        QTest::newRow("literal text") << QStringList {"v0_01.png", "v0_02.png"} << "" << "v0_%.2d.png" << "v0_02.png";
        QTest::newRow("no placeholder") << QStringList {"log_240101.txt", "log_240102.txt"} << "" << "log_YYMMDD.txt"
                                        << "log_240102.txt";
        QTest::newRow("folder in the mask") << QStringList {"shots/img_1.png"} << "" << "shots/img_%d.png"
                                            << "shots/img_1.png";
        QTest::newRow("date in a folder name is not searched")
            << QStringList {"240308/img_1.png", "img_1.png"} << "" << "YYMMDD/img_%d.png" << "";
        QTest::newRow("percent sign and brackets") << QStringList {"50% [a]_07.png"} << "" << "50%% [a]_%.2d.png"
                                                   << "50% [a]_07.png";
    }

    void autoFileInLast()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, subPath);
        QFETCH(QString, mask);
        QFETCH(QString, expected);

        QTemporaryDir dir;
        MakeEntries(dir.path(), entries);
        QCOMPARE(AutoFileIn_Last(dir.path(), subPath, mask), expected.isEmpty() ? QString() : dir.filePath(expected));
    }

    void literal_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("expected");

        QTest::newRow("percent sign") << QStringList() << "50% off_" << "50% off_0001.png";
        QTest::newRow("date letters") << QStringList() << "summer mmdd_" << "summer mmdd_0001.png";
        QTest::newRow("after the highest")
            << QStringList {"summer mmdd_0001.png", "summer mmdd_0003.png", "summer 0308_0009.png"} << "summer mmdd_"
            << "summer mmdd_0004.png";
        QTest::newRow("conversions") << QStringList {"%s%n%d_0041.png"} << "%s%n%d_" << "%s%n%d_0042.png";
        QTest::newRow("9999 used") << QStringList {"50% off_9999.png"} << "50% off_" << "";
        QTest::newRow("10000 used") << QStringList {"50% off_0002.png", "50% off_10000.png"} << "50% off_" << "";
        QTest::newRow("other videos and formats")
            << QStringList {"50% off2_0007.png", "50% off_0008.jpg", "50%% off_0009.png"} << "50% off_"
            << "50% off_0001.png";
    }

    void literal()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, prefix);
        QFETCH(QString, expected);

        QTemporaryDir dir;
        MakeEntries(dir.path(), entries);
        QCOMPARE(AutoFileIn_Literal(dir.path(), prefix, ".png"), expected.isEmpty() ? QString() : dir.filePath(expected));
    }

    void literalPublish_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("published");
        QTest::addColumn<bool>("usedUp");

        QTest::newRow("first") << QStringList() << "run_0001.png" << false;
        QTest::newRow("after the highest") << QStringList {"run_0001.png", "run_0004.png"} << "run_0005.png" << false;
        QTest::newRow("a link to nothing in the way")
            << QStringList {"run_0001.png", "run_0002.png->gone"} << "run_0003.png" << false;
        QTest::newRow("9999 used") << QStringList {"run_9999.png"} << "" << true;
    }

    // The written file is put in place whole under the next number; until
    // then nothing of it shows under a numbered name.
    void literalPublish()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, published);
        QFETCH(bool, usedUp);
        QTemporaryDir dir;
        MakeEntries(dir.path(), entries);
        const QStringList before = Tree(dir.path());
        const QStringList numberedBefore = AutoFileIn_LiteralFiles(dir.path(), "run_", ".png");

        QFile temp;
        QString tempPath;
        QString error;
        QVERIFY2(PathOpenTemp(temp, dir.path(), tempPath, error), qPrintable(error));
        QCOMPARE(temp.write("picture"), qint64(7));
        temp.close();
        QVERIFY(QFileInfo(tempPath).isHidden());
        QCOMPARE(AutoFileIn_LiteralFiles(dir.path(), "run_", ".png"), numberedBefore);

        const TOrvPublishedFile file = AutoFileIn_LiteralPublish(dir.path(), "run_", ".png", tempPath);

        QCOMPARE(file.FileName, published.isEmpty() ? QString() : dir.filePath(published));
        QCOMPARE(file.NumbersUsedUp, usedUp);
        QVERIFY(file.ErrorText.isEmpty());
        QStringList after = before;
        if (published.isEmpty()) {
            // Not published: the written file stays, for the writer to remove.
            after << QDir(dir.path()).relativeFilePath(tempPath);
        } else {
            after << published;
            QFile written(file.FileName);
            QVERIFY(written.open(QIODevice::ReadOnly));
            QCOMPARE(written.readAll(), QByteArray("picture"));
        }
        after.sort();
        QCOMPARE(Tree(dir.path()), after);
    }

    void literalPublishInAMissingFolderSaysWhy()
    {
        QTemporaryDir dir;
        QFile temp;
        QString tempPath;
        QString error;
        QVERIFY(!PathOpenTemp(temp, dir.filePath("missing"), tempPath, error));
        QCOMPARE(error, qt_error_string(ENOENT));
        QVERIFY(PathOpenTemp(temp, dir.path(), tempPath, error));
        const TOrvPublishedFile file = AutoFileIn_LiteralPublish(dir.filePath("missing"), "run_", ".png", tempPath);
        QVERIFY(file.FileName.isEmpty());
        QVERIFY(!file.NumbersUsedUp);
        QVERIFY(!file.ErrorText.isEmpty());
        QVERIFY(QFileInfo::exists(tempPath));
    }

    // Writers publishing in one folder at the same moment, as two copies of
    // the program would, each get a number of their own, and no file
    // replaces another.
    void literalPublishesAtOnceNeverShareANumber()
    {
        QTemporaryDir dir;
        constexpr int Writers = 6;
        constexpr int WritesEach = 25;
        QList<QStringList> published(Writers);
        std::vector<std::thread> writers;
        for (int w = 0; w < Writers; ++w)
            writers.emplace_back([&, w] {
                for (int i = 0; i < WritesEach; ++i) {
                    QFile temp;
                    QString tempPath;
                    QString error;
                    if (!PathOpenTemp(temp, dir.path(), tempPath, error))
                        return;
                    temp.write(QByteArray::number(w * WritesEach + i));
                    temp.close();
                    published[w] << AutoFileIn_LiteralPublish(dir.path(), "run_", ".png", tempPath).FileName;
                }
            });
        for (std::thread& writer : writers)
            writer.join();

        QStringList all;
        QSet<QByteArray> contents;
        for (const QStringList& names : published) {
            all << names;
            for (const QString& name : names) {
                QFile file(name);
                QVERIFY(file.open(QIODevice::ReadOnly));
                contents.insert(file.readAll());
            }
        }
        all.sort();
        QStringList expected;
        for (const QString& name : Numbered("run_", 1, Writers * WritesEach, ".png", 4))
            expected << dir.filePath(name);
        QCOMPARE(all, expected);
        QCOMPARE(contents.size(), Writers * WritesEach);
        QCOMPARE(Tree(dir.path()).size(), Writers * WritesEach);
    }

    // Numbered files of a name that is not UTF-8 are found, numbered and
    // published under its own bytes; a UTF-8 name that shows the same is
    // another name.
    void literalNumbersKeepNativeNames_data()
    {
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<QByteArray>("prefix");

        QTest::newRow("invalid bytes") << QByteArray() << QByteArray("bad\xff\xfe_");
        QTest::newRow("encoded surrogate") << QByteArray() << QByteArray("\xed\xa0\x80_");
        QTest::newRow("in the folder's name too") << QByteArray("clips\xe9") << QByteArray("r\xe9sum\xe9_");
    }

    void literalNumbersKeepNativeNames()
    {
        QFETCH(QByteArray, folder);
        QFETCH(QByteArray, prefix);
        QTemporaryDir dir;
        const QByteArray base = QFile::encodeName(dir.path()) + (folder.isEmpty() ? QByteArray() : '/' + folder);
        // Qt cannot name these files, so it could not remove them.
        const auto removeAll = qScopeGuard([&] {
            std::error_code ec;
            std::filesystem::remove_all(QFile::encodeName(dir.path()).toStdString(), ec);
        });
        QVERIFY(std::filesystem::create_directories(base.toStdString()) || folder.isEmpty());
        const QByteArray twin = PathDisplay(PathFromNative(prefix)).toUtf8();
        for (const QByteArray& name : {prefix + "0001.png", prefix + "0003.png", twin + "0007.png"}) {
            const int fd = ::open(base + '/' + name, O_WRONLY | O_CREAT | O_EXCL, 0644);
            QVERIFY2(fd >= 0, name.toHex().constData());
            ::close(fd);
        }
        const QString path = PathFromNative(base);
        const QString start = PathFromNative(prefix);
        const auto native = [](const QString& sPath) { return QByteArray::fromStdString(PathNative(sPath).native()); };

        const QStringList files = AutoFileIn_LiteralFiles(path, start, ".png");
        QCOMPARE(files.size(), 2);
        QCOMPARE(native(files[0]), base + '/' + prefix + "0001.png");
        QCOMPARE(native(files[1]), base + '/' + prefix + "0003.png");
        QCOMPARE(native(AutoFileIn_Literal(path, start, ".png")), base + '/' + prefix + "0004.png");
        QCOMPARE(native(AutoFileIn(path, {}, start + "%.4d.png", pmNone, true)), base + '/' + prefix + "0004.png");
        QCOMPARE(native(AutoFileIn_Last(path, {}, start + "%.4d.png")), base + '/' + prefix + "0003.png");

        QFile temp;
        QString tempPath;
        QString error;
        QVERIFY2(PathOpenTemp(temp, path, tempPath, error), qPrintable(error));
        temp.close();
        const TOrvPublishedFile file = AutoFileIn_LiteralPublish(path, start, ".png", tempPath);
        QCOMPARE(file.ErrorText, QString());
        QCOMPARE(native(file.FileName), base + '/' + prefix + "0004.png");
        QVERIFY(::access(base + '/' + prefix + "0004.png", F_OK) == 0);
        QCOMPARE(native(AutoFileIn_Literal(path, PathFromNative(twin), ".png")), base + '/' + twin + "0008.png");
    }

    void literalFiles()
    {
        QTemporaryDir dir;
        MakeEntries(dir.path(),
                    {"run_0010.png", "run_0001.png", "run_9999.png", "run_0003.png", "run_10000.png", "run_00002.png",
                     "run_0000.png", "run_0004.png/", "run_0005.png->run_0001.png", "run_0006.png->gone",
                     "walk_0002.png", "run_0007.jpg", "run_0008.png.bak", "Run_0011.png"});
        const QStringList expected {dir.filePath("run_0001.png"), dir.filePath("run_0003.png"),
                                    dir.filePath("run_0005.png"), dir.filePath("run_0010.png"),
                                    dir.filePath("run_9999.png")};
        QCOMPARE(AutoFileIn_LiteralFiles(dir.path(), "run_", ".png"), expected);

        MakeEntries(dir.path(), {"50% off mmdd_0002.png", "50% off mmdd_0001.png"});
        QCOMPARE(AutoFileIn_LiteralFiles(dir.path(), "50% off mmdd_", ".png"),
                 (QStringList {dir.filePath("50% off mmdd_0001.png"), dir.filePath("50% off mmdd_0002.png")}));

        QCOMPARE(AutoFileIn_LiteralFiles(dir.filePath("missing"), "run_", ".png"), QStringList());
    }
};

QTEST_GUILESS_MAIN(tst_OrvPath)
#include "tst_OrvPath.moc"
