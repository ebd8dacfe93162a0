#pragma once

#include "app/IOrvDeviceInfo.h"

class TOrvDeviceInfo final : public IOrvDeviceInfo
{
public:
    void SetDevice(const QString& sModel, TDeviceClass ADeviceClass, TDeviceFeatures ADeviceFeatures);

    QString DeviceModel() const override;
    TDeviceClass DeviceClass() const override;
    TDeviceFeatures DeviceFeatures() const override;
    bool IsTablet() const override;
    bool IsPhone() const override;
    bool IsDesktop() const override;
    bool HasTouchscreen() const override;

private:
    QString FDevModel;
    TDeviceClass FDevClass = TDeviceClass::Unknown;
    TDeviceFeatures FDevFeatures;
};
