#include "UiTestMain.h"

#include <QFile>
#include <QMimeDatabase>
#include <QTest>

// The desktop entry and the file types that the package installs: a file manager finds
// Quillon for observation files by these.
class DesktopFilesTest : public QObject {
    Q_OBJECT

private slots:
    void rinexNamesHaveTheirTypes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        const QString obs = QStringLiteral("text/x-rinex-observation");
        const QString nav = QStringLiteral("text/x-rinex-navigation");
        const QString met = QStringLiteral("text/x-rinex-meteo");
        const QString obsZ = QStringLiteral("application/x-rinex-observation-compressed");
        QTest::newRow("a daily observation file") << "site0010.09o" << obs;
        QTest::newRow("upper case") << "SITE0010.09O" << obs;
        QTest::newRow("compact RINEX") << "site0010.09d" << obs;
        QTest::newRow("compressed .Z") << "site0010.09o.Z" << obsZ;
        QTest::newRow("compressed .gz") << "SITE0010.09D.gz" << obsZ;
        for (const char* letter : {"n", "G", "h", "L"})
            QTest::newRow(letter) << QStringLiteral("site0010.09%1").arg(letter) << nav;
        QTest::newRow("meteo") << "site0010.09m" << met;
        QTest::newRow("compressed meteo")
            << "site0010.09M.gz" << QStringLiteral("application/x-rinex-meteo-compressed");
        QTest::newRow("a compressed navigation file")
            << "site0010.09n.Z" << QStringLiteral("application/x-rinex-navigation-compressed");
    }
    void rinexNamesHaveTheirTypes() {
        QFETCH(QString, name);
        QFETCH(QString, type);
        const QMimeType found =
            QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension);
        QCOMPARE(found.name(), type);
    }

    void otherNamesAreNotRinex_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("no year") << "site0010.o";
        QTest::newRow("another letter") << "site0010.09x";
        QTest::newRow("three digits") << "site0010.009o";
    }
    void otherNamesAreNotRinex() {
        QFETCH(QString, name);
        const QMimeType found =
            QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension);
        QVERIFY2(!found.name().contains(QStringLiteral("rinex")), qPrintable(found.name()));
    }

    void theObservationTypesAreTextWithAComment() {
        const QMimeType obs = QMimeDatabase().mimeTypeForName("text/x-rinex-observation");
        QVERIFY(obs.isValid());
        QVERIFY(obs.inherits(QStringLiteral("text/plain")));
        QCOMPARE(obs.comment(), QStringLiteral("RINEX observation file"));
    }

    // The desktop entry hands the file to the program and names the types it opens.
    void theDesktopEntryPassesTheFileAndListsItsTypes() {
        QFile file(QStringLiteral(QUILLON_SOURCE_DIR "/src/app/quillon.desktop"));
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        QStringList entry;
        while (!file.atEnd())
            entry << QString::fromUtf8(file.readLine()).trimmed();
        QVERIFY(entry.contains(QStringLiteral("Exec=quillon %f")));
        QVERIFY(entry.contains(QStringLiteral("MimeType=text/x-rinex-observation;"
                                              "application/x-rinex-observation-compressed;")));
        for (const char* type :
             {"text/x-rinex-observation", "application/x-rinex-observation-compressed"}) {
            UI_TRACE(type);
            QVERIFY(QMimeDatabase().mimeTypeForName(QString::fromLatin1(type)).isValid());
        }
    }
};

UI_TEST(DesktopFilesTest);
#include "DesktopFilesTest.moc"
