#include "services/TOrvSysInfo.h"

#include "services/IOrvSysInfoPlatform.h"
#include "services/OrvSysInfo_Impl.h"

void TOrvSysInfo::Read(const IOrvSysInfoPlatform& APlatform, TRead ARead)
{
    const bool atStartUp = ARead == TRead::StartUp;

    const std::optional<IOrvSysInfoPlatform::TScreen> screen = APlatform.Screen();
    if (screen) {
        FScreenSize = screen->Size;
        FScreenScale = screen->Scale;
    } else {
        FScreenSize = QPointF(0, 0);
        if (atStartUp)
            FScreenScale = 1.0f;
    }

    if (const std::optional<IOrvSysInfoPlatform::TDevice> device = APlatform.Device()) {
        FModel = device->Model;
        FDeviceFeatures = device->Features;
        FDeviceClass = device->DeviceClass;
    } else {
        FModel = QStringLiteral("<unknown>");
        FDeviceFeatures = {};
        FDeviceClass = TDeviceClass::Unknown;
    }

    if (const std::optional<TDeviceDisplayMetrics> metrics = APlatform.DisplayMetrics()) {
        FDisplayMetrics = *metrics;
    } else {
        TDeviceDisplayMetrics fallback;
        const QSize pixels = screen ? screen->SizePixels : QSize(0, 0);
        fallback.PhysicalScreenSize = pixels;
        fallback.LogicalScreenSize = pixels;
        // A screen without height has no aspect ratio; never divide by zero.
        if (pixels.height() == 0)
            fallback.AspectRatio = atStartUp ? 4.0f / 3.0f : 1.0f;
        else
            fallback.AspectRatio = float(pixels.width()) / float(pixels.height());
        fallback.PixelsPerInch = 96;
        fallback.ScreenScale = atStartUp ? FScreenScale : 1.0f;
        fallback.FontScale = 1.0f;
        FDisplayMetrics = fallback;
    }
}

void TOrvSysInfo::ModuleInit()
{
    OrvSysInfo_Impl_ReadAgain();
}

QString TOrvSysInfo::GetModel() const
{
    return FModel;
}

TDeviceClass TOrvSysInfo::GetDeviceClass() const
{
    return FDeviceClass;
}

TDeviceFeatures TOrvSysInfo::GetDeviceFeatures() const
{
    return FDeviceFeatures;
}

QPointF TOrvSysInfo::GetScreenSize() const
{
    return FScreenSize;
}

float TOrvSysInfo::GetScreenScale() const
{
    return FScreenScale;
}

TDeviceDisplayMetrics TOrvSysInfo::GetDisplayMetrics() const
{
    return FDisplayMetrics;
}

bool TOrvSysInfo::IsPhoneClass() const
{
    return FDeviceClass == TDeviceClass::Phone;
}

bool TOrvSysInfo::IsTabletClass() const
{
    return FDeviceClass == TDeviceClass::Tablet;
}

bool TOrvSysInfo::IsDesktopClass() const
{
    return FDeviceClass == TDeviceClass::Desktop || FDeviceClass == TDeviceClass::MediaPlayer
        || FDeviceClass == TDeviceClass::Industrial;
}
