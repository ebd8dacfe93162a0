#pragma once

#include "services/IOrvSysInfo.h"

#include <optional>

// The three platform services that system information reads. Each answers
// with its values or with nullopt when the platform does not offer it; any
// of them may throw.
class IOrvSysInfoPlatform
{
public:
    struct TScreen
    {
        QPointF Size;     // device-independent pixels
        float Scale;      // device pixels per device-independent pixel
        QSize SizePixels; // device pixels
    };

    struct TDevice
    {
        QString Model;
        TDeviceClass DeviceClass;
        TDeviceFeatures Features;
    };

    virtual ~IOrvSysInfoPlatform() = default;

    virtual std::optional<TScreen> Screen() const = 0;
    virtual std::optional<TDevice> Device() const = 0;
    virtual std::optional<TDeviceDisplayMetrics> DisplayMetrics() const = 0;
};
