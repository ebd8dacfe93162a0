#pragma once

#include "app/OrvTypes.h"

#include <QString>

// The kind of device the program runs on. Interface references never own the object.
class IOrvDeviceInfo
{
public:
    virtual QString DeviceModel() const = 0;
    virtual TDeviceClass DeviceClass() const = 0;
    virtual TDeviceFeatures DeviceFeatures() const = 0;
    virtual bool IsTablet() const = 0;
    virtual bool IsPhone() const = 0;
    virtual bool IsDesktop() const = 0;
    virtual bool HasTouchscreen() const = 0;

protected:
    ~IOrvDeviceInfo() = default;
};
