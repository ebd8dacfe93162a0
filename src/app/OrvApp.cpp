#include "app/OrvApp.h"

#include "app/OrvModuleReport.h"
#include "app/TOrvApplication.h"
#include "app/TOrvDeviceInfo.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <memory>

IOrvApplication* OrvApplication = nullptr;
IOrvDeviceInfo* OrvDeviceInfo = nullptr;
QString OrvAppVersion;

namespace {
std::unique_ptr<TOrvApplication> GApplication;
std::unique_ptr<TOrvDeviceInfo> GDeviceInfo;
}

QString StripVersion(const QString& sText)
{
    QString result = sText;
    result.remove(QLatin1Char('V'));
    result.remove(QLatin1Char('v'));
    result.remove(QLatin1Char('.'));
    return result;
}

void OrvApp_ModuleInit()
{
    if (GApplication)
        return;
    OrvModuleReport(QStringLiteral("Orv.App"));

    OrvAppVersion = QStringLiteral("1.1.0");
    GApplication = std::make_unique<TOrvApplication>(
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName(),
        StripVersion(OrvAppVersion),
        QStringLiteral("Brivant Scenora"),
        OrvAppVersion);
    GApplication->SetFolderCompany(QStringLiteral("Brivant"));
    GApplication->SetFolderApplication(QStringLiteral("Scenora"));
    OrvApplication = GApplication.get();

    // Qt has no device service (model, class, features), so the device stays unknown.
    GDeviceInfo = std::make_unique<TOrvDeviceInfo>();
    GDeviceInfo->SetDevice(QStringLiteral("<unknown>"), TDeviceClass::Unknown, {});
    OrvDeviceInfo = GDeviceInfo.get();
}

void OrvApp_ModuleFinalize()
{
    OrvApplication = nullptr;
    OrvDeviceInfo = nullptr;
    OrvAppVersion.clear();
    GDeviceInfo.reset();
    GApplication.reset();
}
