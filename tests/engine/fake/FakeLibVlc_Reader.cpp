#include "FakeLibVlc.h"

#include <QFile>
#include <QTest>

#include <dlfcn.h>

namespace FakeLibVlc {

namespace {

// Looks up a function of the already loaded fake without loading it again.
template <typename F>
F fakeFunction(const QString& sFakeName, const char* symbol, void*& handle)
{
    const QByteArray path = QFile::encodeName(dir(sFakeName) + QStringLiteral("/libvlc.so.5"));
    handle = dlopen(path.constData(), RTLD_NOW | RTLD_NOLOAD);
    if (!handle) {
        QTest::qFail(qPrintable(QStringLiteral("fake libvlc %1 is not loaded").arg(sFakeName)), __FILE__, __LINE__);
        return nullptr;
    }
    return reinterpret_cast<F>(dlsym(handle, symbol));
}

} // namespace

QString dir(const QString& sFakeName)
{
    return QStringLiteral(SCENORA_FAKE_LIBVLC_ROOT "/") + sFakeName;
}

QList<Call> calls(const QString& sFakeName)
{
    void* handle = nullptr;
    const auto read = fakeFunction<const char* (*)()>(sFakeName, "scenora_fake_libvlc_calls", handle);
    QList<Call> result;
    if (read) {
        const QStringList lines = QString::fromUtf8(read()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& sLine : lines) {
            QStringList fields = sLine.split(QLatin1Char('\t'));
            Call call;
            call.name = fields.takeFirst();
            call.arguments = fields;
            result.append(call);
        }
    }
    if (handle)
        dlclose(handle);
    return result;
}

QList<Call> callsOf(const QString& sFakeName, const QString& sEntry)
{
    QList<Call> result;
    for (const Call& call : calls(sFakeName)) {
        if (call.name == sEntry)
            result.append(call);
    }
    return result;
}

void clearCalls(const QString& sFakeName)
{
    void* handle = nullptr;
    if (const auto clear = fakeFunction<void (*)()>(sFakeName, "scenora_fake_libvlc_clear_calls", handle))
        clear();
    if (handle)
        dlclose(handle);
}

void* exported(const QString& sFakeName, const char* entry)
{
    void* handle = nullptr;
    void* symbol = fakeFunction<void*>(sFakeName, entry, handle);
    if (handle)
        dlclose(handle);
    return symbol;
}

} // namespace FakeLibVlc
