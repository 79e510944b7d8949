#include "ui/Adv.h"

#include "UiTestMain.h"

#include "ui/HelpWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class AdvTest : public QObject {
    Q_OBJECT

private slots:
    void carriesTheGivenTexts() {
        ui::TFormAdv box;
        QCOMPARE(box.windowTitle(), QStringLiteral("About Quillon — Quillon"));
        QVERIFY(box.isModal());
        QVERIFY(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(box.findChild<QLabel*>("STTitle")->text(), QStringLiteral("Quillon"));
        QCOMPARE(box.findChild<QLabel*>("StaticText2")->text(), QStringLiteral("Build"));
        QCOMPARE(box.findChild<QPushButton*>("BB")->text(), QStringLiteral("OK"));
        QCOMPARE(ui::helpTopicOf(box.findChild<QPushButton*>("BB")), 1);
        QVERIFY(box.findChild<QLabel*>("StaticText1"));
        QVERIFY(box.findChild<QLabel*>("StaticText3"));
        QCOMPARE(QString::fromLatin1(ui::kVersionText), QStringLiteral("Version 1.0.6"));
        QCOMPARE(QString::fromLatin1(ui::kBuildDate), QStringLiteral("25 May 2009"));
    }

    void okClosesTheBox() {
        ui::TFormAdv box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QSignalSpy finished(&box, &QDialog::finished);
        QTest::mouseClick(box.findChild<QPushButton*>("BB"), Qt::LeftButton);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(box.result(), int(QDialog::Accepted));
    }

    // The box does not choose the topic: the main window's focused control does.
    void f1AsksForHelpWithTheOkButtonAsOwner() {
        ui::TFormAdv box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QSignalSpy asked(&box, &ui::TFormAdv::helpRequested);
        QTest::keyRelease(&box, Qt::Key_F1);
        QCOMPARE(asked.count(), 1);
        QCOMPARE(asked.front().front().value<QWidget*>(), box.findChild<QPushButton*>("BB"));
    }
};

UI_TEST(AdvTest);
#include "AdvTest.moc"
