#pragma once

#include "services/IOrvLog.h"

#include <QStringList>

#include <vector>

// Keeps messages in the order they were added, up to Logs_Capacity. Once full
// it keeps its first messages and drops each newer one, which subscribers
// still receive.
class TOrvLog_String final : public IOrvLog
{
public:
    TOrvLog_String();
    TOrvLog_String(const TOrvLog_String&) = delete;
    TOrvLog_String& operator=(const TOrvLog_String&) = delete;

    bool Active() const override;
    void SetActive(bool AValue) override;
    int LogProc_Add(const TOrvLogProc& AProc) override;
    int LogProc_Remove(const TOrvLogProc& AProc) override;
    void LogProc_RemoveLast() override;
    void Add(const QString& sMsg) override;

    // The live list, not a copy.
    const QStringList& Logs() const;
    qint32 Logs_Capacity() const;
    // Removes nothing at once: a log already above the new capacity stays at its size.
    void SetLogs_Capacity(qint32 AValue);

private:
    // Reaches, in order, the subscribers present when it began, even when one
    // of them subscribes or unsubscribes others meanwhile. A subscriber that
    // throws ends the notification.
    void LogProc_Notify(const QString& sMsg);

    bool FActive = true;
    QStringList FLog;
    std::vector<TOrvLogProc> FLogProcList;
    qint32 FLogs_Capacity = 10000;
};
