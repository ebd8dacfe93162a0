#pragma once

#include <functional>

class QObject;
class QThreadPool;

// Work handed to another thread through Qt (a thread pool, a queued call, a
// posted event) crosses by locks inside Qt's library, which ThreadSanitizer
// cannot see, since Qt is not built for it. What the work was given before
// the hand-over is ordered before the work in the C++ memory model as well
// when the giver calls OrvHandOver_Release last and the work
// OrvHandOver_Acquire first; each costs one atomic operation.
void OrvHandOver_Release();
void OrvHandOver_Acquire();

// AWork run on APool (before work of a lower APriority), handed over as above.
void OrvHandOver_Start(QThreadPool& APool, std::function<void()> AWork, int APriority = 0);
// AWork run on AReceiver's thread by its event loop, handed over as above;
// nothing when AReceiver is gone by then.
void OrvHandOver_Invoke(QObject* AReceiver, std::function<void()> AWork);
