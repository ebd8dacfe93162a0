#include "services/OrvHandOver.h"

#include <QMetaObject>
#include <QThreadPool>

#include <atomic>

namespace {
std::atomic<unsigned> handedOver {0};
} // namespace

void OrvHandOver_Release()
{
    handedOver.fetch_add(1, std::memory_order_release);
}

void OrvHandOver_Acquire()
{
    handedOver.load(std::memory_order_acquire);
}

void OrvHandOver_Start(QThreadPool& APool, std::function<void()> AWork, int APriority)
{
    std::function<void()> work = [handed = std::move(AWork)] {
        OrvHandOver_Acquire();
        handed();
    };
    OrvHandOver_Release();
    APool.start(std::move(work), APriority);
}

void OrvHandOver_Invoke(QObject* AReceiver, std::function<void()> AWork)
{
    std::function<void()> work = [handed = std::move(AWork)] {
        OrvHandOver_Acquire();
        handed();
    };
    OrvHandOver_Release();
    QMetaObject::invokeMethod(AReceiver, std::move(work), Qt::QueuedConnection);
}
