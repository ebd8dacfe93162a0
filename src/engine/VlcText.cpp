#include "engine/VlcText.h"

QString VlcTrimControls(const QString& sText)
{
    qsizetype first = 0;
    qsizetype last = sText.size();
    while (first < last && sText.at(first).unicode() <= 0x20)
        ++first;
    while (last > first && sText.at(last - 1).unicode() <= 0x20)
        --last;
    return sText.mid(first, last - first);
}
