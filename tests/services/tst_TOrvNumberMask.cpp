#include "services/TOrvMaskError.h"
#include "services/TOrvNumberMask.h"

#include <QtTest>

// The numbered-file mask formatter: what it writes, the bound each placeholder
// sets, the names it reads back, and the masks it refuses.
class tst_TOrvNumberMask : public QObject
{
    Q_OBJECT

private slots:
    void format_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("expected");

        QTest::newRow("padded") << "trip_%.4d.png" << 7 << "trip_0007.png";
        QTest::newRow("padding is a minimum") << "x%.1d" << 12 << "x12";
        QTest::newRow("unpadded") << "shot_%d.png" << 123 << "shot_123.png";
        QTest::newRow("percent signs") << "50%%_%.3d%%" << 5 << "50%_005%";
        QTest::newRow("escaped placeholder stays text") << "%%d_%%.4d_%d" << 3 << "%d_%.4d_3";
        QTest::newRow("no placeholder") << "fixed.png" << 9 << "fixed.png";
        QTest::newRow("placeholder only") << "%.9d" << 42 << "000000042";
        QTest::newRow("non-ASCII text") << "Straße_%.2d" << 4 << "Straße_04";
    }

    void format()
    {
        QFETCH(QString, mask);
        QFETCH(int, number);
        QFETCH(QString, expected);
        QCOMPARE(TOrvNumberMask(mask).Format(number), expected);
    }

    void bound_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<int>("bound");

        QTest::newRow("%.1d") << "a_%.1d" << 10;
        QTest::newRow("%.2d") << "a_%.2d" << 100;
        QTest::newRow("%.3d") << "a_%.3d" << 1000;
        QTest::newRow("%.4d") << "a_%.4d" << 10000;
        QTest::newRow("%.5d") << "a_%.5d" << 100000;
        QTest::newRow("%.6d") << "a_%.6d" << 10000;
        QTest::newRow("%.0d") << "a_%.0d" << 10000;
        QTest::newRow("%d") << "a_%d" << 10000;
        QTest::newRow("no placeholder") << "a" << 10000;
        // A literal "%.1d" written as "%%.1d" is text, not the placeholder.
        QTest::newRow("escaped text before the placeholder") << "a%%.1d_%.3d" << 1000;
    }

    void bound()
    {
        QFETCH(QString, mask);
        QFETCH(int, bound);
        QCOMPARE(TOrvNumberMask(mask).Bound(), bound);
    }

    void numberOf_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        // The number when the text around it may differ in case.
        QTest::addColumn<int>("caseless");

        QTest::newRow("padded") << "trip_%.4d.png" << "trip_0042.png" << 42 << 42;
        QTest::newRow("wider than the padding") << "trip_%.4d.png" << "trip_10000.png" << 10000 << 10000;
        QTest::newRow("extra leading zero") << "trip_%.4d.png" << "trip_00042.png" << -1 << -1;
        QTest::newRow("too few digits") << "trip_%.4d.png" << "trip_042.png" << -1 << -1;
        QTest::newRow("no digits") << "trip_%.4d.png" << "trip_.png" << -1 << -1;
        QTest::newRow("not a digit") << "trip_%.4d.png" << "trip_00a2.png" << -1 << -1;
        QTest::newRow("non-ASCII digit") << "trip_%.1d.png" << QString("trip_\u0663.png") << -1 << -1;
        QTest::newRow("sign") << "trip_%d.png" << "trip_-1.png" << -1 << -1;
        QTest::newRow("other suffix") << "trip_%.4d.png" << "trip_0042.png.bak" << -1 << -1;
        QTest::newRow("other prefix") << "trip_%.4d.png" << "Trip_0042.png" << -1 << 42;
        QTest::newRow("other case") << "Shot_%.2d.PNG" << "shot_07.png" << -1 << 7;
        QTest::newRow("other case, too few digits") << "Shot_%.2d.PNG" << "shot_7.png" << -1 << -1;
        QTest::newRow("unpadded") << "s_%d" << "s_907" << 907 << 907;
        QTest::newRow("unpadded leading zero") << "s_%d" << "s_07" << -1 << -1;
        QTest::newRow("too long for any bound") << "s_%d" << "s_12345678901" << -1 << -1;
        QTest::newRow("no placeholder") << "fixed" << "fixed" << -1 << -1;
    }

    void numberOf()
    {
        QFETCH(QString, mask);
        QFETCH(QString, text);
        QFETCH(int, number);
        QFETCH(int, caseless);
        const TOrvNumberMask parsed(mask);
        QCOMPARE(parsed.NumberOf(text), number);
        QCOMPARE(parsed.NumberOf(text, Qt::CaseInsensitive), caseless);
        if (number >= 0)
            QCOMPARE(parsed.Format(number), text);
    }

    void literalTakesTextAsItIs()
    {
        const TOrvNumberMask mask = TOrvNumberMask::Literal(QStringLiteral("50% off %s mmdd_"), 4, QStringLiteral("%d.png"));
        QCOMPARE(mask.Format(12), QStringLiteral("50% off %s mmdd_0012%d.png"));
        QCOMPARE(mask.Bound(), 10000);
        QCOMPARE(mask.NumberOf(u"50% off %s mmdd_0012%d.png"), 12);
    }

    void rejectedMasks_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("reason");

        QTest::newRow("string and count conversions") << "%s%s%n" << "position 1";
        QTest::newRow("stray percent sign") << "50% off_%.4d.png" << "position 3";
        QTest::newRow("percent sign at the end") << "a_%d%" << "at the end";
        QTest::newRow("lone percent sign") << "%" << "at the end";
        QTest::newRow("second placeholder") << "a_%d_%d" << "second number placeholder at position 6";
        QTest::newRow("second padded placeholder") << "%.4d%.2d" << "second number placeholder at position 5";
        QTest::newRow("float") << "a_%f" << "position 3";
        QTest::newRow("padded float") << "a_%.4f" << "position 3";
        QTest::newRow("width instead of precision") << "a_%4d" << "position 3";
        QTest::newRow("two-digit precision") << "a_%.10d" << "position 3";
        QTest::newRow("precision without digit") << "a_%.d" << "position 3";
        QTest::newRow("hexadecimal") << "a_%x" << "position 3";
        QTest::newRow("pointer") << "%p" << "position 1";
        QTest::newRow("argument index") << "%1$d" << "position 1";
    }

    void rejectedMasks()
    {
        QFETCH(QString, mask);
        QFETCH(QString, reason);
        try {
            TOrvNumberMask parsed(mask);
            QFAIL(qPrintable("accepted: " + parsed.Format(1)));
        } catch (const TOrvMaskError& error) {
            QCOMPARE(error.Mask(), mask);
            QVERIFY2(error.Reason().contains(reason), qPrintable(error.Reason()));
            QVERIFY2(QString::fromUtf8(error.what()).contains(mask), error.what());
        }
    }
};

QTEST_GUILESS_MAIN(tst_TOrvNumberMask)
#include "tst_TOrvNumberMask.moc"
