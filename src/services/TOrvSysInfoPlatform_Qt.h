#pragma once

#include "services/IOrvSysInfoPlatform.h"

// Qt answers the screen query from the primary screen, when a GUI application
// object and a screen exist. It has no device service and no display-metrics
// service.
class TOrvSysInfoPlatform_Qt final : public IOrvSysInfoPlatform
{
public:
    std::optional<TScreen> Screen() const override;
    std::optional<TDevice> Device() const override;
    std::optional<TDeviceDisplayMetrics> DisplayMetrics() const override;
};
