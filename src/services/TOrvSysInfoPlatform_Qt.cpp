#include "services/TOrvSysInfoPlatform_Qt.h"

#include <QGuiApplication>
#include <QScreen>

std::optional<IOrvSysInfoPlatform::TScreen> TOrvSysInfoPlatform_Qt::Screen() const
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return std::nullopt;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    const qreal ratio = screen->devicePixelRatio();
    return TScreen {QPointF(screen->size().width(), screen->size().height()), float(ratio),
                    (QSizeF(screen->size()) * ratio).toSize()};
}

std::optional<IOrvSysInfoPlatform::TDevice> TOrvSysInfoPlatform_Qt::Device() const
{
    return std::nullopt;
}

std::optional<TDeviceDisplayMetrics> TOrvSysInfoPlatform_Qt::DisplayMetrics() const
{
    return std::nullopt;
}
