#include "ui/HelpWindow.h"

#include "UiTestMain.h"

#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QVBoxLayout>

class HelpWindowTest : public QObject {
    Q_OBJECT

private slots:
    void everyTopicNumberHasAPage_data() {
        QTest::addColumn<int>("topic");
        for (int topic : {1, 2, 3, 4, 5, 9, 10, 13, 14, 16, 30, 31, 35, 49})
            QTest::newRow(qPrintable(QString::number(topic))) << topic;
    }
    void everyTopicNumberHasAPage() {
        QFETCH(int, topic);
        QVERIFY(ui::HelpWindow::hasPage(topic));
        ui::HelpWindow window;
        window.showTopic(topic);
        QCOMPARE(window.topic(), topic);
        QVERIFY(!window.Browser->documentTitle().isEmpty());
        QVERIFY(window.Browser->toPlainText().size() > 100);
    }

    void aNumberWithoutAPageOpensTheFirstTopic_data() {
        QTest::addColumn<int>("topic");
        QTest::newRow("a control without a number") << 0;
        QTest::newRow("no such topic") << 7;
        QTest::newRow("negative") << -3;
    }
    void aNumberWithoutAPageOpensTheFirstTopic() {
        QFETCH(int, topic);
        ui::HelpWindow window;
        window.showTopic(topic);
        QCOMPARE(window.topic(), ui::kFirstHelpTopic);
    }

    void linksBetweenTopicsWork() {
        ui::HelpWindow window;
        window.showTopic(2);
        window.Browser->setSource(QUrl(QStringLiteral("topic16.html")));
        QVERIFY(window.Browser->toPlainText().contains(QStringLiteral("Combinations")));
    }

    // A control without a number takes that of the panel it sits on.
    void aControlTakesItsTopicOrItsPanels() {
        QWidget window;
        auto* panel = new QWidget(&window);
        auto* button = new QPushButton(panel);
        auto* numbered = new QPushButton(panel);
        ui::setHelpTopic(panel, 2);
        ui::setHelpTopic(numbered, 4);
        QCOMPARE(ui::helpTopicOf(button), 2);
        QCOMPARE(ui::helpTopicOf(numbered), 4);
        QCOMPARE(ui::helpTopicOf(&window), 0);
        QCOMPARE(ui::helpTopicOf(nullptr), 0);
    }

    void recorderTakesTheCalls() {
        ui::HelpRecorder recorder;
        QWidget owner;
        const QString file = ui::helpFilePath(QStringLiteral("/home/user/"));
        QCOMPARE(file, QStringLiteral("/home/user/Quillon.chm"));
        ui::openHelpTopic(&owner, file, 3);
        QCOMPARE(recorder.topics, QList<int>{3});
        QCOMPARE(recorder.files, QStringList{file});
        QCOMPARE(recorder.owners, QList<QWidget*>{&owner});
    }

    void builtInHelpOpensAtTheTopic() {
        QWidget owner;
        ui::openHelpTopic(&owner, ui::helpFilePath(QStringLiteral("/nowhere/")), 13);
        auto* window = owner.findChild<ui::HelpWindow*>();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->topic(), 13);
        ui::openHelpTopic(&owner, QString(), 31);
        QCOMPARE(owner.findChildren<ui::HelpWindow*>().size(), 1);
        QCOMPARE(window->topic(), 31);
        window->close();
    }
};

UI_TEST(HelpWindowTest);
#include "HelpWindowTest.moc"
