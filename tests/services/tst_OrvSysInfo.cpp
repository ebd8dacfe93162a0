#include "services/IOrvSysInfoPlatform.h"
#include "services/OrvSysInfo.h"
#include "services/OrvSysInfo_Impl.h"
#include "services/TOrvSysInfo.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtTest>

#include <stdexcept>

namespace {
enum class Query { None, Screen, Device, Metrics };

// Platform answers set by the test; the test keeps a pointer to change them
// between reads.
struct FakePlatform final : IOrvSysInfoPlatform
{
    std::optional<TScreen> screen;
    std::optional<TDevice> device;
    std::optional<TDeviceDisplayMetrics> metrics;
    Query throwing = Query::None;

    std::optional<TScreen> Screen() const override
    {
        Throw(Query::Screen);
        return screen;
    }
    std::optional<TDevice> Device() const override
    {
        Throw(Query::Device);
        return device;
    }
    std::optional<TDeviceDisplayMetrics> DisplayMetrics() const override
    {
        Throw(Query::Metrics);
        return metrics;
    }

private:
    void Throw(Query AQuery) const
    {
        if (throwing == AQuery)
            throw std::runtime_error("platform query failed");
    }
};

IOrvSysInfoPlatform::TScreen ScreenOf(int AWidth, int AHeight, float AScale)
{
    return {QPointF(AWidth, AHeight), AScale, QSize(qRound(AWidth * AScale), qRound(AHeight * AScale))};
}

FakePlatform* StartUp(FakePlatform APlatform)
{
    auto platform = std::make_unique<FakePlatform>(std::move(APlatform));
    FakePlatform* const kept = platform.get();
    OrvSysInfo_Impl_ModuleInit(std::move(platform));
    return kept;
}
}

Q_DECLARE_METATYPE(TDeviceClass)
Q_DECLARE_METATYPE(Query)

class tst_OrvSysInfo : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        OrvSysInfo_Impl_ModuleFinalize();
        QVERIFY(!OrvSysInfo);
    }

    void noDeviceService()
    {
        StartUp({});
        QVERIFY(OrvSysInfo);
        QCOMPARE(OrvSysInfo->GetModel(), QStringLiteral("<unknown>"));
        QCOMPARE(OrvSysInfo->GetDeviceClass(), TDeviceClass::Unknown);
        QVERIFY(OrvSysInfo->GetDeviceFeatures().IsEmpty());
        QVERIFY(!OrvSysInfo->IsDesktopClass());
        QVERIFY(!OrvSysInfo->IsPhoneClass());
        QVERIFY(!OrvSysInfo->IsTabletClass());
    }

    void classification_data()
    {
        QTest::addColumn<TDeviceClass>("deviceClass");
        QTest::addColumn<bool>("isDesktop");
        QTest::addColumn<bool>("isPhone");
        QTest::addColumn<bool>("isTablet");
        QTest::newRow("Unknown") << TDeviceClass::Unknown << false << false << false;
        QTest::newRow("Desktop") << TDeviceClass::Desktop << true << false << false;
        QTest::newRow("Phone") << TDeviceClass::Phone << false << true << false;
        QTest::newRow("MediaPlayer") << TDeviceClass::MediaPlayer << true << false << false;
        QTest::newRow("Tablet") << TDeviceClass::Tablet << false << false << true;
        QTest::newRow("Automotive") << TDeviceClass::Automotive << false << false << false;
        QTest::newRow("Industrial") << TDeviceClass::Industrial << true << false << false;
        QTest::newRow("Embedded") << TDeviceClass::Embedded << false << false << false;
        QTest::newRow("Watch") << TDeviceClass::Watch << false << false << false;
        QTest::newRow("Glasses") << TDeviceClass::Glasses << false << false << false;
        QTest::newRow("Elf") << TDeviceClass::Elf << false << false << false;
        QTest::newRow("Dwarf") << TDeviceClass::Dwarf << false << false << false;
        QTest::newRow("Wizard") << TDeviceClass::Wizard << false << false << false;
    }

    // The device class alone decides, whatever the screen.
    void classification()
    {
        QFETCH(TDeviceClass, deviceClass);
        QFETCH(bool, isDesktop);
        QFETCH(bool, isPhone);
        QFETCH(bool, isTablet);

        FakePlatform platform;
        platform.screen = ScreenOf(390, 844, 3.0f);
        platform.device = IOrvSysInfoPlatform::TDevice {"Model 7", deviceClass, {TDeviceFeature::HasTouchScreen}};
        StartUp(platform);
        QCOMPARE(OrvSysInfo->GetModel(), QStringLiteral("Model 7"));
        QCOMPARE(OrvSysInfo->GetDeviceClass(), deviceClass);
        QVERIFY(OrvSysInfo->GetDeviceFeatures().Contains(TDeviceFeature::HasTouchScreen));
        QCOMPARE(OrvSysInfo->IsDesktopClass(), isDesktop);
        QCOMPARE(OrvSysInfo->IsPhoneClass(), isPhone);
        QCOMPARE(OrvSysInfo->IsTabletClass(), isTablet);
    }

    void fallbackMetrics_data()
    {
        QTest::addColumn<bool>("hasScreen");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<float>("scale");
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<float>("aspectAtStartUp");
        QTest::addColumn<float>("aspectAgain");
        QTest::addColumn<float>("scaleAtStartUp");

        QTest::newRow("1920 x 1080") << true << QSize(1920, 1080) << 1.0f << QSize(1920, 1080) << 1.7777778f << 1.7777778f << 1.0f;
        QTest::newRow("1920 x 1080 at 1.5") << true << QSize(1280, 720) << 1.5f << QSize(1920, 1080) << 1.7777778f << 1.7777778f << 1.5f;
        QTest::newRow("0 x 0") << true << QSize(0, 0) << 2.0f << QSize(0, 0) << 4.0f / 3.0f << 1.0f << 2.0f;
        QTest::newRow("no height") << true << QSize(800, 0) << 1.0f << QSize(800, 0) << 4.0f / 3.0f << 1.0f << 1.0f;
        QTest::newRow("no screen service") << false << QSize(0, 0) << 1.0f << QSize(0, 0) << 4.0f / 3.0f << 1.0f << 1.0f;
    }

    void fallbackMetrics()
    {
        QFETCH(bool, hasScreen);
        QFETCH(QSize, size);
        QFETCH(float, scale);
        QFETCH(QSize, pixels);
        QFETCH(float, aspectAtStartUp);
        QFETCH(float, aspectAgain);
        QFETCH(float, scaleAtStartUp);

        FakePlatform platform;
        if (hasScreen)
            platform.screen = IOrvSysInfoPlatform::TScreen {QPointF(size.width(), size.height()), scale, pixels};
        StartUp(platform);

        QCOMPARE(OrvSysInfo->GetScreenSize(), QPointF(size.width(), size.height()));
        QCOMPARE(OrvSysInfo->GetScreenScale(), scaleAtStartUp);
        TDeviceDisplayMetrics metrics = OrvSysInfo->GetDisplayMetrics();
        QCOMPARE(metrics.PhysicalScreenSize, pixels);
        QCOMPARE(metrics.LogicalScreenSize, pixels);
        QCOMPARE(metrics.RawScreenSize, QSize(0, 0));
        QCOMPARE(metrics.AspectRatio, aspectAtStartUp);
        QCOMPARE(metrics.PixelsPerInch, 96);
        QCOMPARE(metrics.ScreenScale, scaleAtStartUp);
        QCOMPARE(metrics.FontScale, 1.0f);

        OrvSysInfo->ModuleInit();
        metrics = OrvSysInfo->GetDisplayMetrics();
        QCOMPARE(OrvSysInfo->GetScreenScale(), scaleAtStartUp);
        QCOMPARE(metrics.PhysicalScreenSize, pixels);
        QCOMPARE(metrics.AspectRatio, aspectAgain);
        QCOMPARE(metrics.PixelsPerInch, 96);
        QCOMPARE(metrics.ScreenScale, 1.0f);
        QCOMPARE(metrics.FontScale, 1.0f);
    }

    void metricsServiceIsTakenUnchanged()
    {
        TDeviceDisplayMetrics reported;
        reported.PhysicalScreenSize = QSize(1170, 2532);
        reported.LogicalScreenSize = QSize(390, 844);
        reported.RawScreenSize = QSize(1170, 2532);
        reported.AspectRatio = 0.46f;
        reported.PixelsPerInch = 460;
        reported.ScreenScale = 3.0f;
        reported.FontScale = 1.2f;
        FakePlatform platform;
        platform.screen = ScreenOf(390, 844, 3.0f);
        platform.metrics = reported;
        StartUp(platform);
        QCOMPARE(OrvSysInfo->GetDisplayMetrics(), reported);
        OrvSysInfo->ModuleInit();
        QCOMPARE(OrvSysInfo->GetDisplayMetrics(), reported);
    }

    void readingAgainWithoutScreenKeepsTheScale()
    {
        FakePlatform platform;
        platform.screen = ScreenOf(1280, 1024, 2.0f);
        FakePlatform* const live = StartUp(platform);
        live->screen.reset();
        OrvSysInfo->ModuleInit();
        QCOMPARE(OrvSysInfo->GetScreenSize(), QPointF(0, 0));
        QCOMPARE(OrvSysInfo->GetScreenScale(), 2.0f);
    }

    void readingAgainWorksOnThePublishedObject()
    {
        FakePlatform platform;
        platform.screen = ScreenOf(1280, 1024, 1.0f);
        FakePlatform* const live = StartUp(platform);
        IOrvSysInfo* const published = OrvSysInfo;
        live->screen = ScreenOf(1920, 1080, 1.0f);
        live->device = IOrvSysInfoPlatform::TDevice {"Box", TDeviceClass::MediaPlayer, {}};

        TOrvSysInfo other;
        other.ModuleInit();
        QCOMPARE(OrvSysInfo, published);
        QCOMPARE(OrvSysInfo->GetScreenSize(), QPointF(1920, 1080));
        QVERIFY(OrvSysInfo->IsDesktopClass());
        QCOMPARE(other.GetModel(), QString());
        QVERIFY(!other.IsDesktopClass());
    }

    void secondStartUpChangesNothing()
    {
        FakePlatform first;
        first.screen = ScreenOf(1280, 1024, 1.0f);
        StartUp(first);
        IOrvSysInfo* const published = OrvSysInfo;

        FakePlatform second;
        second.device = IOrvSysInfoPlatform::TDevice {"Other", TDeviceClass::Phone, {}};
        StartUp(second);
        QCOMPARE(OrvSysInfo, published);
        QCOMPARE(OrvSysInfo->GetScreenSize(), QPointF(1280, 1024));
        QVERIFY(!OrvSysInfo->IsPhoneClass());

        // Reading again still uses the platform of the first start-up.
        OrvSysInfo->ModuleInit();
        QVERIFY(!OrvSysInfo->IsPhoneClass());
    }

    void throwingQueryStillPublishes_data()
    {
        QTest::addColumn<Query>("throwing");
        QTest::addColumn<QPointF>("screenSize");
        QTest::newRow("screen") << Query::Screen << QPointF(0, 0);
        QTest::newRow("device") << Query::Device << QPointF(1920, 1080);
        QTest::newRow("metrics") << Query::Metrics << QPointF(1920, 1080);
    }

    void throwingQueryStillPublishes()
    {
        QFETCH(Query, throwing);
        QFETCH(QPointF, screenSize);

        FakePlatform platform;
        platform.screen = ScreenOf(1920, 1080, 1.0f);
        platform.throwing = throwing;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, StartUp(platform));
        QVERIFY(OrvSysInfo);
        QCOMPARE(OrvSysInfo->GetScreenSize(), screenSize);

        QVERIFY_THROWS_EXCEPTION(std::runtime_error, OrvSysInfo->ModuleInit());
        QVERIFY(OrvSysInfo);
    }

    void readingAgainAfterFinalizationDoesNothing()
    {
        StartUp({});
        OrvSysInfo_Impl_ModuleFinalize();
        TOrvSysInfo stray;
        stray.ModuleInit();
        QVERIFY(!OrvSysInfo);
    }

    void realScreen()
    {
        const QScreen* screen = QGuiApplication::primaryScreen();
        QVERIFY(screen);
        OrvSysInfo_Impl_ModuleInit();
        QVERIFY(OrvSysInfo);
        QCOMPARE(OrvSysInfo->GetModel(), QStringLiteral("<unknown>"));
        QCOMPARE(OrvSysInfo->GetDeviceClass(), TDeviceClass::Unknown);
        QVERIFY(!OrvSysInfo->IsDesktopClass());

        const QPointF size = OrvSysInfo->GetScreenSize();
        QCOMPARE(size, QPointF(screen->size().width(), screen->size().height()));
        QVERIFY(size.x() > 0 && size.y() > 0);
        QCOMPARE(OrvSysInfo->GetScreenScale(), float(screen->devicePixelRatio()));

        const TDeviceDisplayMetrics metrics = OrvSysInfo->GetDisplayMetrics();
        const QSize pixels = (QSizeF(screen->size()) * screen->devicePixelRatio()).toSize();
        QCOMPARE(metrics.PhysicalScreenSize, pixels);
        QCOMPARE(metrics.AspectRatio, float(pixels.width()) / float(pixels.height()));
        QCOMPARE(metrics.PixelsPerInch, 96);
        QCOMPARE(metrics.ScreenScale, OrvSysInfo->GetScreenScale());
    }
};

QTEST_MAIN(tst_OrvSysInfo)
#include "tst_OrvSysInfo.moc"
