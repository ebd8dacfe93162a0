#include "app/OrvPlatform.h"

#include <QtTest>

Q_DECLARE_METATYPE(TOrvPlatform)

// Which platform the program runs on, from what the session's environment says.
class tst_OrvPlatform : public QObject
{
    Q_OBJECT

private slots:
    void choose_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("xDisplay");
        QTest::addColumn<QString>("waylandDisplay");
        QTest::addColumn<TOrvPlatform>("expected");
        QTest::newRow("X11 session") << "" << ":0" << "" << TOrvPlatform::Xcb;
        QTest::newRow("Wayland session with Xwayland") << "" << ":1" << "wayland-0" << TOrvPlatform::Xcb;
        QTest::newRow("Wayland session without Xwayland") << "" << "" << "wayland-0" << TOrvPlatform::NoXDisplay;
        QTest::newRow("no display at all") << "" << "" << "" << TOrvPlatform::NoDisplay;
        QTest::newRow("user chose Wayland") << "wayland" << ":1" << "wayland-0" << TOrvPlatform::UserChoice;
        QTest::newRow("user chose xcb without X display") << "xcb" << "" << "wayland-0" << TOrvPlatform::UserChoice;
        QTest::newRow("user chose offscreen, no display") << "offscreen" << "" << "" << TOrvPlatform::UserChoice;
    }

    void choose()
    {
        QFETCH(QString, platform);
        QFETCH(QString, xDisplay);
        QFETCH(QString, waylandDisplay);
        QFETCH(TOrvPlatform, expected);
        QCOMPARE(OrvPlatform_Choose(TOrvSession {platform, xDisplay, waylandDisplay}), expected);
    }

    void sessionIsReadFromTheEnvironment()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("DISPLAY", ":7");
        qputenv("WAYLAND_DISPLAY", "wayland-3");
        const TOrvSession session = OrvPlatform_Session();
        QCOMPARE(session.Platform, QStringLiteral("offscreen"));
        QCOMPARE(session.XDisplay, QStringLiteral(":7"));
        QCOMPARE(session.WaylandDisplay, QStringLiteral("wayland-3"));
    }

    // The choice reaches Qt through the variable Qt reads; the user's own
    // choice is left as it is.
    void applySetsQtsPlatform_data()
    {
        QTest::addColumn<TOrvPlatform>("choice");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("xcb") << TOrvPlatform::Xcb << QByteArray("xcb");
        QTest::newRow("no X display: Wayland, for the message") << TOrvPlatform::NoXDisplay << QByteArray("wayland");
        QTest::newRow("user's choice") << TOrvPlatform::UserChoice << QByteArray("offscreen");
    }

    void applySetsQtsPlatform()
    {
        QFETCH(TOrvPlatform, choice);
        QFETCH(QByteArray, expected);
        qputenv("QT_QPA_PLATFORM", "offscreen");
        OrvPlatform_Apply(choice);
        QCOMPARE(qgetenv("QT_QPA_PLATFORM"), expected);
    }

    // The message tells what to install.
    void noXDisplayTextNamesThePackage()
    {
        QVERIFY(OrvPlatform_NoXDisplayText().contains(QStringLiteral("xwayland")));
    }
};

QTEST_GUILESS_MAIN(tst_OrvPlatform)
#include "tst_OrvPlatform.moc"
