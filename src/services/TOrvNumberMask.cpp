#include "services/TOrvNumberMask.h"

#include "services/TOrvMaskError.h"

namespace {
bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

QString PositionText(qsizetype AIndex)
{
    return QString::number(AIndex + 1);
}
} // namespace

TOrvNumberMask::TOrvNumberMask(const QString& sMask)
{
    QString* part = &FPrefix;
    qsizetype i = 0;
    while (i < sMask.size()) {
        const QChar c = sMask.at(i);
        if (c != u'%') {
            part->append(c);
            ++i;
            continue;
        }
        const QStringView rest = QStringView(sMask).mid(i + 1);
        if (rest.startsWith(u'%')) {
            part->append(u'%');
            i += 2;
            continue;
        }
        int digits = -1;
        qsizetype length = 0;
        if (rest.startsWith(u'd')) {
            digits = 0;
            length = 2;
        } else if (rest.size() >= 3 && rest.at(0) == u'.' && IsAsciiDigit(rest.at(1)) && rest.at(2) == u'd') {
            digits = rest.at(1).unicode() - u'0';
            length = 4;
        }
        if (digits < 0) {
            if (rest.isEmpty())
                throw TOrvMaskError(sMask, QStringLiteral("a percent sign at the end (write \"%%\" for a percent sign)"));
            throw TOrvMaskError(sMask, QStringLiteral("unsupported conversion at position %1; only \"%d\", \"%.Nd\" "
                                                      "(N a digit) and \"%%\" are allowed")
                                           .arg(PositionText(i)));
        }
        if (FHasPlaceholder)
            throw TOrvMaskError(sMask, QStringLiteral("a second number placeholder at position %1").arg(PositionText(i)));
        FHasPlaceholder = true;
        FDigits = digits;
        part = &FSuffix;
        i += length;
    }
}

TOrvNumberMask TOrvNumberMask::Literal(const QString& sPrefix, int ADigits, const QString& sSuffix)
{
    TOrvNumberMask mask;
    mask.FPrefix = sPrefix;
    mask.FSuffix = sSuffix;
    mask.FDigits = ADigits;
    mask.FHasPlaceholder = true;
    return mask;
}

TOrvNumberMask TOrvNumberMask::WithPrefix(const QString& sPrefix) const
{
    TOrvNumberMask mask = *this;
    mask.FPrefix = sPrefix;
    return mask;
}

int TOrvNumberMask::Bound() const
{
    if (FHasPlaceholder && FDigits >= 1 && FDigits <= 5) {
        int bound = 1;
        for (int k = 0; k < FDigits; ++k)
            bound *= 10;
        return bound;
    }
    return 10000;
}

QString TOrvNumberMask::Format(int ANumber) const
{
    if (!FHasPlaceholder)
        return FPrefix;
    return FPrefix + QString::number(ANumber).rightJustified(FDigits, u'0') + FSuffix;
}

int TOrvNumberMask::NumberOf(QStringView sText, Qt::CaseSensitivity ACase) const
{
    if (!FHasPlaceholder || sText.size() <= FPrefix.size() + FSuffix.size() || !sText.startsWith(FPrefix, ACase)
        || !sText.endsWith(FSuffix, ACase))
        return -1;
    const QStringView digits = sText.mid(FPrefix.size(), sText.size() - FPrefix.size() - FSuffix.size());
    // Longer runs lie beyond every bound; rejecting them also keeps the value in range.
    if (digits.size() > 9 || digits.size() < FDigits)
        return -1;
    if (digits.size() > qMax(FDigits, 1) && digits.front() == u'0')
        return -1;
    int number = 0;
    for (QChar c : digits) {
        if (!IsAsciiDigit(c))
            return -1;
        number = number * 10 + (c.unicode() - u'0');
    }
    return number;
}
