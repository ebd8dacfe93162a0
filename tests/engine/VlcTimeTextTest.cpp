#include "engine/VlcTimeText.h"

#include <QtTest>

class VlcTimeTextTest : public QObject {
    Q_OBJECT

private slots:
    void msToTimeStr_data();
    void msToTimeStr();
    void twoDigitStr_data();
    void twoDigitStr();
};

void VlcTimeTextTest::msToTimeStr_data()
{
    QTest::addColumn<QString>("fmt");
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("h m s") << "hh:mm:ss" << qint64(3'723'004) << "01:02:03";
    QTest::newRow("with ms") << "hh:mm:ss.ms" << qint64(3'723'004) << "01:02:03.04";
    QTest::newRow("upper case, negative") << "HH:MM:SS" << qint64(-5) << "00:00:00";
    QTest::newRow("days") << "dd hh:mm:ss.ms" << qint64(90'061'001) << "01 01:01:01.01";
    QTest::newRow("day dropped without dd") << "hh:mm" << qint64(90'000'000) << "01:00";
    QTest::newRow("three-digit ms") << "ss.ms" << qint64(59'123) << "59.123";
    QTest::newRow("mixed case") << "Hh:mM:sS" << qint64(45'296'000) << "12:34:56";
    QTest::newRow("no pattern") << "time" << qint64(1'000) << "time";
    QTest::newRow("days beyond 16 bits") << "dd" << qint64(65'537) * 86'400'000 << "01";
}

void VlcTimeTextTest::msToTimeStr()
{
    QFETCH(QString, fmt);
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(MsToTimeStr(fmt, ms), text);
}

void VlcTimeTextTest::twoDigitStr_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "00";
    QTest::newRow("7") << 7 << "07";
    QTest::newRow("10") << 10 << "10";
    QTest::newRow("123") << 123 << "123";
    QTest::newRow("65535") << 65535 << "65535";
}

void VlcTimeTextTest::twoDigitStr()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(TwoDigitStr(quint16(value)), text);
}

QTEST_APPLESS_MAIN(VlcTimeTextTest)
#include "VlcTimeTextTest.moc"
