#pragma once

#include <QString>

#include <stdexcept>

// A numbered-file mask the mask formatter does not accept: a stray percent sign,
// a second number placeholder or a conversion other than "%d" and "%.Nd".
class TOrvMaskError : public std::invalid_argument
{
public:
    TOrvMaskError(const QString& sMask, const QString& sReason)
        : std::invalid_argument(Describe(sMask, sReason).toStdString())
        , FMask(sMask)
        , FReason(sReason)
    {
    }

    const QString& Mask() const { return FMask; }
    const QString& Reason() const { return FReason; }

private:
    static QString Describe(const QString& sMask, const QString& sReason)
    {
        QString shown = sMask;
        shown.replace(QChar(0), QStringLiteral("\\0"));
        return QStringLiteral("Invalid numbered-file mask \"%1\": %2").arg(shown, sReason);
    }

    QString FMask;
    QString FReason;
};
