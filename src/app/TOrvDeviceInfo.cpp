#include "app/TOrvDeviceInfo.h"

void TOrvDeviceInfo::SetDevice(const QString& sModel, TDeviceClass ADeviceClass, TDeviceFeatures ADeviceFeatures)
{
    FDevModel = sModel;
    FDevClass = ADeviceClass;
    FDevFeatures = ADeviceFeatures;
}

QString TOrvDeviceInfo::DeviceModel() const
{
    return FDevModel;
}

TDeviceClass TOrvDeviceInfo::DeviceClass() const
{
    return FDevClass;
}

TDeviceFeatures TOrvDeviceInfo::DeviceFeatures() const
{
    return FDevFeatures;
}

bool TOrvDeviceInfo::IsTablet() const
{
    return FDevClass == TDeviceClass::Tablet;
}

bool TOrvDeviceInfo::IsPhone() const
{
    return FDevClass == TDeviceClass::Phone;
}

bool TOrvDeviceInfo::IsDesktop() const
{
    return FDevClass == TDeviceClass::Desktop;
}

bool TOrvDeviceInfo::HasTouchscreen() const
{
    return FDevFeatures.Contains(TDeviceFeature::HasTouchScreen);
}
