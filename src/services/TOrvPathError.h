#pragma once

#include <QString>

#include <stdexcept>

// A path the platform cannot take: it holds a character that is not allowed in
// paths (on Linux only NUL) or is longer than the platform's path limit.
class TOrvPathError : public std::invalid_argument
{
public:
    TOrvPathError(const QString& sPath, const QString& sReason)
        : std::invalid_argument(Describe(sPath, sReason).toStdString())
        , FPath(sPath)
    {
    }

    const QString& Path() const { return FPath; }

private:
    static QString Describe(const QString& sPath, const QString& sReason)
    {
        // A NUL would cut the message short.
        QString shown = sPath;
        shown.replace(QChar(0), QStringLiteral("\\0"));
        if (shown.size() > 300)
            shown = shown.left(300) + QStringLiteral("...");
        return QStringLiteral("Invalid path \"%1\": %2").arg(shown, sReason);
    }

    QString FPath;
};
