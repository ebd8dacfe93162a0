#pragma once

#include <QString>

#include <functional>
#include <memory>

// A log subscriber. Subscribers are compared by identity: the same shared
// closure object, never by what the closure does. Keep the TOrvLogProc that
// LogProc_Add was given and pass that same object to LogProc_Remove.
using TOrvLogProc = std::shared_ptr<const std::function<void(const QString& sMsg)>>;

inline TOrvLogProc OrvLogProc(std::function<void(const QString& sMsg)> AProc)
{
    return std::make_shared<const std::function<void(const QString& sMsg)>>(std::move(AProc));
}

// The in-memory message log. Interface references never own the object.
class IOrvLog
{
public:
    static constexpr const char* IID = "{40CAD640-AF10-45E4-8A10-814A45155C13}";

    virtual bool Active() const = 0;
    // Adds "Log active" or "Log inactive" on every write, changed or not.
    virtual void SetActive(bool AValue) = 0;
    // Index of the subscriber; an already subscribed closure keeps its index.
    virtual int LogProc_Add(const TOrvLogProc& AProc) = 0;
    // Former index of the removed subscriber, or -1 when it was not subscribed.
    virtual int LogProc_Remove(const TOrvLogProc& AProc) = 0;
    virtual void LogProc_RemoveLast() = 0;
    // Keeps the message (within capacity) and passes it to every subscriber.
    virtual void Add(const QString& sMsg) = 0;

protected:
    ~IOrvLog() = default;
};
