#pragma once

#include <QString>
#include <QStringView>

// A numbered-file mask read by the program's own formatter, never by printf:
// literal text with at most one number placeholder, "%d" (no padding) or
// "%.Nd" (N a digit: at least N digits, zero-padded), and "%%" for a percent
// sign. Anything else after a percent sign is rejected with TOrvMaskError.
class TOrvNumberMask
{
public:
    explicit TOrvNumberMask(const QString& sMask);

    // sPrefix and sSuffix are taken as they are around a number of at least
    // ADigits digits (0 writes it without padding); no character is interpreted.
    static TOrvNumberMask Literal(const QString& sPrefix, int ADigits, const QString& sSuffix);

    // The same mask with another text before the number.
    TOrvNumberMask WithPrefix(const QString& sPrefix) const;

    bool HasPlaceholder() const { return FHasPlaceholder; }
    // Minimum number of digits; 0 for "%d".
    int Digits() const { return FDigits; }
    // The text before and after the number, percent signs already unescaped.
    // Without a placeholder the whole text is the prefix.
    const QString& Prefix() const { return FPrefix; }
    const QString& Suffix() const { return FSuffix; }

    // Numbers run from 1 to Bound() - 1: "%.1d" to "%.5d" give 10 to 100000,
    // every other mask 10000.
    int Bound() const;

    QString Format(int ANumber) const;

    // The number that formats to exactly sText, or -1 when there is none (other
    // text around it, too few digits, extra leading zeros, or no placeholder).
    // With Qt::CaseInsensitive the text around the number may differ in case.
    int NumberOf(QStringView sText, Qt::CaseSensitivity ACase = Qt::CaseSensitive) const;

private:
    TOrvNumberMask() = default;

    QString FPrefix;
    QString FSuffix;
    int FDigits = 0;
    bool FHasPlaceholder = false;
};
