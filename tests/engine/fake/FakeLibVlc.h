#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Reads the calls that a fake libvlc.so.5 (scenora_add_fake_libvlc) recorded.
// The fake must be loaded at the time, normally by the loader.
namespace FakeLibVlc {

struct Call {
    QString name;
    QStringList arguments; // libvlc_new: the count, then each argument
};

// Directory of the fake library built under that name.
QString dir(const QString& sFakeName);
// Every recorded call of the loaded fake, oldest first; fails the test when
// the fake is not loaded.
QList<Call> calls(const QString& sFakeName);
// Only the calls of one entry point.
QList<Call> callsOf(const QString& sFakeName, const QString& sEntry);
void clearCalls(const QString& sFakeName);
// Address of an entry point exported by the loaded fake; null when it lacks it.
void* exported(const QString& sFakeName, const char* entry);

} // namespace FakeLibVlc
