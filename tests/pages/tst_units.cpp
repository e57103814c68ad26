#include "pages/GmTypes.h"
#include "pages/GmValue.h"
#include "pages/GmValueRect.h"
#include "tests/support/TestMain.h"

class tst_Units : public QObject
{
    Q_OBJECT

private slots:
    void oneInchInEveryUnit_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<double>("expected");
        QTest::newRow("units") << int(gmUnits) << 2540.0;
        QTest::newRow("pixels") << int(gmPixels) << 96.0;
        QTest::newRow("millimeters") << int(gmMillimeters) << 25.4;
        QTest::newRow("centimeters") << int(gmCentimeters) << 2.54;
        QTest::newRow("inches") << int(gmInches) << 1.0;
        QTest::newRow("twips") << int(gmTwips) << 1440.0;
    }
    void oneInchInEveryUnit()
    {
        QFETCH(int, unit);
        QFETCH(double, expected);
        const double converted = ConvertUnits(gmInches, TGmMeasurement(unit), 1.0);
        QVERIFY2(qAbs(converted - expected) < 1e-9, qPrintable(QString::number(converted, 'g', 17)));
        // and back again
        QVERIFY(qAbs(ConvertUnits(TGmMeasurement(unit), gmInches, converted) - 1.0) < 1e-12);
    }

    void equalUnitsReturnTheNumberUntouched()
    {
        for (int u = gmUnits; u <= gmTwips; ++u)
            QCOMPARE(ConvertUnits(TGmMeasurement(u), TGmMeasurement(u), 0.1), 0.1);
        // a unit the table does not know counts as inches
        QCOMPARE(ConvertUnits(TGmMeasurement(42), gmTwips, 2.0), 2880.0);
    }

    void crossUnitConversions()
    {
        QVERIFY(qAbs(ConvertUnits(gmMillimeters, gmTwips, 25.4) - 1440) < 1e-9);
        QVERIFY(qAbs(ConvertUnits(gmCentimeters, gmUnits, 1) - 1000) < 1e-9);
        QVERIFY(qAbs(ConvertUnits(gmPixels, gmMillimeters, 96) - 25.4) < 1e-9);
    }

    void roundingHalvesToEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("0.5") << 0.5 << 0;
        QTest::newRow("1.5") << 1.5 << 2;
        QTest::newRow("2.5") << 2.5 << 2;
        QTest::newRow("-2.5") << -2.5 << -2;
        QTest::newRow("2.51") << 2.51 << 3;
        QTest::newRow("2.49") << 2.49 << 2;
    }
    void roundingHalvesToEven()
    {
        QFETCH(double, value);
        QFETCH(int, expected);
        QCOMPARE(GmRound(value), expected);
    }

    void valueNotifiesOnlyOnRealChange()
    {
        int calls = 0;
        TGmValue value([&calls] { ++calls; });
        value.SetAsInches(0.5);
        QCOMPARE(calls, 1);
        value.SetAsInches(0.5);
        value.SetAsTwips(720);
        value.SetAsMillimeters(12.7);
        QCOMPARE(calls, 1);
        value.SetAsUnit(gmPixels, 96);
        QCOMPARE(calls, 2);
        TGmValue other;
        other.SetAsInches(1.0);
        value.Assign(other); // same number, still a notification
        QCOMPARE(calls, 3);
    }

    void valueReadsInWholeUnits()
    {
        TGmValue value;
        value.SetAsMillimeters(12.7);
        QCOMPARE(value.AsTwips(), 720);
        QCOMPARE(value.AsPixels(600), 300);
        value.SetAsInches(1.0 / 1440 * 2.5); // 2.5 twips rounds to 2
        QCOMPARE(value.AsTwips(), 2);
        value.SetAsInches(0.0125); // 0.0125 x 600 = 7.5 -> 8
        QCOMPARE(value.AsPixels(600), 8);
    }

    void rectangleMembersByIndexAndPairNotifications()
    {
        int calls = 0;
        TGmValueRect rect([&calls] { ++calls; });
        rect.SetInches(1, 2, 3, 4);
        QCOMPARE(calls, 4);
        for (int i = 1; i <= 4; ++i)
            QCOMPARE(rect.Value(i).AsInches(), double(i));
        const std::array<double, 4> values = rect.AsInchArray();
        QCOMPARE(values[0], 1.0);
        QCOMPARE(values[3], 4.0);
        rect.SetInches(1, 2, 3, 4);
        QCOMPARE(calls, 4);
        QCOMPARE(rect.Width(gmTwips), 2880.0);
        QCOMPARE(rect.Height(), 2.0);

        int sizeCalls = 0;
        TGmValueSize size([&sizeCalls] { ++sizeCalls; });
        size.Width().SetAsInches(2);
        size.Height().SetAsInches(2);
        size.Height().SetAsInches(2);
        QCOMPARE(sizeCalls, 2);
    }
};

LUMARO_TEST_CLASS(tst_Units)
#include "tst_units.moc"
