#include "ui/JpegImage.h"

#include "UiTestMain.h"

#include <QFile>
#include <QTest>

class JpegImageTest : public QObject {
    Q_OBJECT

private slots:
    void decodesTheSeaPhoto() {
        const QImage sea = ui::seaPhoto();
        QCOMPARE(sea.size(), QSize(1024, 768));
        // Turquoise water: green and blue well above red over the whole picture.
        double r = 0, g = 0, b = 0;
        for (int y = 0; y < sea.height(); y += 16) {
            for (int x = 0; x < sea.width(); x += 16) {
                const QColor c = sea.pixelColor(x, y);
                r += c.red();
                g += c.green();
                b += c.blue();
            }
        }
        QVERIFY(g > 1.5 * r);
        QVERIFY(b > 1.5 * r);
    }

    void decodesTheWaitPicture() {
        const QImage wait = ui::waitPicture();
        QCOMPARE(wait.size(), QSize(32, 16));
        // The silver background survives the compression.
        const QColor corner = wait.pixelColor(0, 15);
        QVERIFY(qAbs(corner.red() - 192) < 12 && qAbs(corner.blue() - 192) < 12);
    }

    void badDataGivesANullImage_data() {
        QFile file(QStringLiteral(":/pictures/sea.jpg"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray sea = file.readAll();
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("no bytes") << QByteArray();
        QTest::newRow("not a JPEG") << QByteArray("GIF89a, not a JPEG at all");
        QTest::newRow("start marker only") << sea.left(2);
        QTest::newRow("ends inside the header") << sea.left(200);
        QByteArray wrecked = sea;
        for (qsizetype i = 2; i < 400; ++i)
            wrecked[i] = 0;
        QTest::newRow("header overwritten") << wrecked;
    }
    void badDataGivesANullImage() {
        QFETCH(QByteArray, bytes);
        QVERIFY(ui::decodeJpeg(bytes).isNull());
    }

    // A file cut off inside the picture data still shows what arrived; the rest is grey.
    void truncatedDataKeepsItsSize() {
        QFile file(QStringLiteral(":/pictures/sea.jpg"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QImage part = ui::decodeJpeg(file.readAll().left(20000));
        QCOMPARE(part.size(), QSize(1024, 768));
    }

    void missingFileGivesANullImage() {
        QVERIFY(ui::loadJpeg(QStringLiteral("/nonexistent/sea.jpg")).isNull());
    }
};

UI_TEST(JpegImageTest);
#include "JpegImageTest.moc"
