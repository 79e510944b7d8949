#include "ui/PieGauge.h"

#include "UiTestMain.h"

#include <QImage>
#include <QTest>

#include <limits>

class PieGaugeTest : public QObject {
    Q_OBJECT

private slots:
    void percentOf_data() {
        QTest::addColumn<double>("fraction");
        QTest::addColumn<int>("percent");
        QTest::newRow("start") << 0.0 << 0;
        QTest::newRow("truncated, not rounded") << 0.999 << 99;
        QTest::newRow("just under a step") << 0.4299 << 42;
        QTest::newRow("done") << 1.0 << 100;
        QTest::newRow("above one is held at 100") << 1.7 << 100;
        QTest::newRow("below zero is held at 0") << -0.2 << 0;
        QTest::newRow("NaN shows nothing") << std::numeric_limits<double>::quiet_NaN() << 0;
    }
    void percentOf() {
        QFETCH(double, fraction);
        QFETCH(int, percent);
        ui::PieGauge gauge;
        gauge.setFraction(fraction);
        QCOMPARE(gauge.percent(), percent);
    }

    // A quarter fills the sector from twelve to three o'clock and nothing else.
    void paintsTheSectorClockwiseFromTop() {
        ui::PieGauge gauge;
        gauge.resize(61, 61);
        gauge.setFraction(0.25);
        const QImage image = gauge.grab().toImage();
        const QPoint topRight(45, 15), bottomRight(45, 45), bottomLeft(15, 45), topLeft(15, 15);
        QCOMPARE(image.pixelColor(topRight), gauge.foreColour());
        QCOMPARE(image.pixelColor(bottomRight), gauge.backColour());
        QCOMPARE(image.pixelColor(bottomLeft), gauge.backColour());
        QCOMPARE(image.pixelColor(topLeft), gauge.backColour());

        gauge.setFraction(0.76);
        const QImage later = gauge.grab().toImage();
        QCOMPARE(later.pixelColor(bottomLeft), gauge.foreColour());
        QCOMPARE(later.pixelColor(topLeft), gauge.backColour());
    }
};

UI_TEST(PieGaugeTest);
#include "PieGaugeTest.moc"
