#include "engine/VlcTimeText.h"

QString TwoDigitStr(quint16 value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString MsToTimeStr(const QString& sFmt, qint64 ms)
{
    if (ms < 0)
        ms = 0;
    const auto milliseconds = static_cast<quint16>(ms % 1000);
    const auto seconds = static_cast<quint16>((ms / 1000) % 60);
    const auto minutes = static_cast<quint16>((ms / 60000) % 60);
    const auto hours = static_cast<quint16>((ms / 3600000) % 24);
    const auto days = static_cast<quint16>(ms / 86400000);

    QString sText = sFmt;
    sText.replace(QLatin1String("dd"), TwoDigitStr(days), Qt::CaseInsensitive);
    sText.replace(QLatin1String("hh"), TwoDigitStr(hours), Qt::CaseInsensitive);
    sText.replace(QLatin1String("mm"), TwoDigitStr(minutes), Qt::CaseInsensitive);
    sText.replace(QLatin1String("ss"), TwoDigitStr(seconds), Qt::CaseInsensitive);
    sText.replace(QLatin1String("ms"), TwoDigitStr(milliseconds), Qt::CaseInsensitive);
    return sText;
}
