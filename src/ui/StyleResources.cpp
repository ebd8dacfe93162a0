#include "ui/StyleResources.h"

#include <QFile>
#include <QIconEngine>
#include <QPainter>
#include <QSvgRenderer>

#include <memory>

// The resources live in this static library; nothing else would pull them in.
static void EnsureStyleResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(scenora_ui);
        return true;
    }();
    Q_UNUSED(loaded);
}

namespace {

QString IconPath(const QString& sStyleLookup)
{
    return QStringLiteral(":/style/%1.svg").arg(sStyleLookup);
}

// Renders the SVG afresh for every size asked, so icons stay sharp at any
// scale; disabled buttons get a faded copy.
class TSvgIconEngine : public QIconEngine
{
public:
    explicit TSvgIconEngine(const QString& sPath)
        : FPath(sPath)
        , FRenderer(std::make_shared<QSvgRenderer>(sPath))
    {
    }

    void paint(QPainter* APainter, const QRect& ARect, QIcon::Mode AMode, QIcon::State) override
    {
        if (AMode == QIcon::Disabled)
            APainter->setOpacity(APainter->opacity() * 0.35);
        FRenderer->render(APainter, ARect);
    }

    QPixmap pixmap(const QSize& ASize, QIcon::Mode AMode, QIcon::State AState) override
    {
        QPixmap result(ASize);
        result.fill(Qt::transparent);
        QPainter painter(&result);
        paint(&painter, QRect(QPoint(0, 0), ASize), AMode, AState);
        return result;
    }

    QIconEngine* clone() const override { return new TSvgIconEngine(*this); }
    QString key() const override { return QStringLiteral("TSvgIconEngine"); }
    bool isNull() override { return !FRenderer->isValid(); }

private:
    QString FPath;
    std::shared_ptr<QSvgRenderer> FRenderer;
};

} // namespace

QIcon StyleIcon(const QString& sStyleLookup)
{
    EnsureStyleResources();
    const QString path = IconPath(sStyleLookup);
    if (sStyleLookup.isEmpty() || !QFile::exists(path))
        return {};
    return QIcon(new TSvgIconEngine(path));
}

QPixmap StyleBanner(const QSize& ASize, qreal ADevicePixelRatio)
{
    QPixmap result(ASize * ADevicePixelRatio);
    result.setDevicePixelRatio(ADevicePixelRatio);
    result.fill(Qt::black);
    EnsureStyleResources();
    QSvgRenderer renderer(QStringLiteral(":/style/banner.svg"));
    QPainter painter(&result);
    renderer.render(&painter, QRectF(QPointF(0, 0), ASize));
    return result;
}

QString StyleSheet()
{
    EnsureStyleResources();
    QFile file(QStringLiteral(":/style/StyleBook1.qss"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}
