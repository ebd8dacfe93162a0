#include "ui/DesktopFiles.h"

#include "services/OrvPath.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QStringList>

namespace {

TUrlOpener& Opener()
{
    static TUrlOpener opener;
    return opener;
}

} // namespace

bool DesktopOpenUrl(const QUrl& AUrl)
{
    const TUrlOpener& open = Opener();
    return open ? open(AUrl) : QDesktopServices::openUrl(AUrl);
}

void DesktopShowInFolder(const QString& sFilePath)
{
    const QUrl folder = PathUrl(PathDirectory(sFilePath));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        DesktopOpenUrl(folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    // The file's URL, and no start-up notification id.
    call << QStringList {QString::fromLatin1(PathUrl(sFilePath).toEncoded())} << QString();
    // The bus starts a file manager that is installed and not running, which
    // may take a while: the answer is not waited for here.
    auto* answer = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(answer, &QDBusPendingCallWatcher::finished, answer, [folder](QDBusPendingCallWatcher* AAnswer) {
        AAnswer->deleteLater();
        if (AAnswer->isError())
            DesktopOpenUrl(folder);
    });
}

void DesktopSetUrlOpener(TUrlOpener AOpener)
{
    Opener() = std::move(AOpener);
}
