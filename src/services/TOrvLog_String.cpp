#include "services/TOrvLog_String.h"

#include <algorithm>

TOrvLog_String::TOrvLog_String() = default;

bool TOrvLog_String::Active() const
{
    return FActive;
}

void TOrvLog_String::SetActive(bool AValue)
{
    FActive = AValue;
    Add(AValue ? QStringLiteral("Log active") : QStringLiteral("Log inactive"));
}

int TOrvLog_String::LogProc_Add(const TOrvLogProc& AProc)
{
    const auto it = std::find(FLogProcList.begin(), FLogProcList.end(), AProc);
    if (it != FLogProcList.end())
        return int(it - FLogProcList.begin());
    FLogProcList.push_back(AProc);
    return int(FLogProcList.size()) - 1;
}

int TOrvLog_String::LogProc_Remove(const TOrvLogProc& AProc)
{
    const auto it = std::find(FLogProcList.begin(), FLogProcList.end(), AProc);
    if (it == FLogProcList.end())
        return -1;
    const int index = int(it - FLogProcList.begin());
    FLogProcList.erase(it);
    return index;
}

void TOrvLog_String::LogProc_RemoveLast()
{
    if (!FLogProcList.empty())
        FLogProcList.pop_back();
}

void TOrvLog_String::Add(const QString& sMsg)
{
    FLog.append(sMsg);
    if (FLog.size() > FLogs_Capacity)
        FLog.removeLast();
    if (!FLogProcList.empty())
        LogProc_Notify(sMsg);
}

const QStringList& TOrvLog_String::Logs() const
{
    return FLog;
}

qint32 TOrvLog_String::Logs_Capacity() const
{
    return FLogs_Capacity;
}

void TOrvLog_String::SetLogs_Capacity(qint32 AValue)
{
    FLogs_Capacity = AValue;
}

void TOrvLog_String::LogProc_Notify(const QString& sMsg)
{
    // The copy also keeps each closure alive while it runs, should it unsubscribe itself.
    const std::vector<TOrvLogProc> procs = FLogProcList;
    for (const TOrvLogProc& proc : procs) {
        if (proc && *proc)
            (*proc)(sMsg);
    }
}
