#pragma once

#include "services/OrvPath.h"

#include <QByteArrayList>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

// A media folder of a test's own, reached by the bytes of its names: a Linux
// file name is bytes, and Qt cannot name every file.
class TByteNamedMedia
{
public:
    void Make() { FDir = std::make_unique<QTemporaryDir>(); }
    void Remove() { FDir.reset(); }

    // The folder as the file system names it.
    QByteArray Folder() const { return QFile::encodeName(FDir->path()); }
    std::filesystem::path File(const QByteArray& AName) const
    {
        return std::filesystem::path((Folder() + '/' + AName).toStdString());
    }
    // The window's path of a file in the folder.
    QString Path(const QByteArray& AName) const { return PathFromNative(Folder() + '/' + AName); }
    // Qt's path of a file whose name Qt can hold.
    QString QtPath(const QString& sName) const { return FDir->filePath(sName); }

    void CopyIn(const QString& sSource, const QByteArray& AName) const
    {
        std::error_code ec;
        std::filesystem::copy_file(std::filesystem::path(QFile::encodeName(sSource).toStdString()), File(AName), ec);
        QVERIFY2(!ec, ec.message().c_str());
    }

    // The names of the folder's PNG files, as the file system holds them.
    QByteArrayList PngFiles() const
    {
        QByteArrayList names;
        for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(File({})))
            if (entry.path().extension() == ".png")
                names << QByteArray::fromStdString(entry.path().filename().native());
        std::sort(names.begin(), names.end());
        return names;
    }

    static QByteArray ReadBytes(const std::filesystem::path& AFile)
    {
        std::ifstream in(AFile, std::ios::binary);
        const std::string bytes {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        return QByteArray::fromStdString(bytes);
    }

private:
    std::unique_ptr<QTemporaryDir> FDir;
};
