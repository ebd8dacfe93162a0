#pragma once

#include <QList>
#include <QString>

// One entry of a list the player hands out: a text and the number that goes
// with it (a track id, a preset index).
struct TVlcTextTag {
    QString Text;
    int Tag = 0;

    friend bool operator==(const TVlcTextTag&, const TVlcTextTag&) = default;
};

// Lists returned by the player belong to the caller.
using TVlcTextTagList = QList<TVlcTextTag>;
