#include "engine/TVlcPlayer.h"

// Engine events are not attached yet.
void TVlcPlayer::EventsEnable()
{
    EventsDisable();
}

void TVlcPlayer::EventsDisable()
{
}
