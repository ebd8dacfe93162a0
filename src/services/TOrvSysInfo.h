#pragma once

#include "services/IOrvSysInfo.h"

class IOrvSysInfoPlatform;

class TOrvSysInfo final : public IOrvSysInfo
{
public:
    // Whether a read is the unit's start-up or a later ModuleInit; they differ
    // in three fallbacks.
    enum class TRead { StartUp, Again };

    // Queries nothing: the unit's start-up fills the object through Read.
    TOrvSysInfo() = default;

    // Reads the three platform services, falling back to fixed values for
    // each one the platform does not offer. An error of a query goes on to
    // the caller, leaving what was read before it.
    void Read(const IOrvSysInfoPlatform& APlatform, TRead ARead);

    void ModuleInit() override;
    QString GetModel() const override;
    TDeviceClass GetDeviceClass() const override;
    TDeviceFeatures GetDeviceFeatures() const override;
    QPointF GetScreenSize() const override;
    float GetScreenScale() const override;
    TDeviceDisplayMetrics GetDisplayMetrics() const override;
    bool IsPhoneClass() const override;
    bool IsTabletClass() const override;
    bool IsDesktopClass() const override;

private:
    QString FModel;
    TDeviceFeatures FDeviceFeatures;
    TDeviceClass FDeviceClass = TDeviceClass::Unknown;
    QPointF FScreenSize;
    float FScreenScale = 0.0f;
    TDeviceDisplayMetrics FDisplayMetrics;
};
