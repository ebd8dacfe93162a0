#pragma once

#include <functional>

// Waiting with a real event loop. QTest::qWait processes events without ever
// letting the loop block, so idle-time work (QAbstractEventDispatcher::aboutToBlock)
// never runs under it; these helpers let it run.
namespace TestLoop {

// Runs the event loop until condition() holds or timeoutMs have passed;
// returns the condition's last value.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000);

// Runs the event loop for ms milliseconds.
void run(int ms);

} // namespace TestLoop
