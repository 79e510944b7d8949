#include "ui/TimeV.h"

#include "ObsFixture.h"
#include "UiTestMain.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>

class TimeVTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheEpochOfTheNumberAndStopsAtBothEnds() {
        uitest::ScannedObsFile f;
        QVERIFY(f.scanned);
        uitest::RecordingObserver observer;
        ui::TFormTime form;
        QCOMPARE(form.windowTitle(), QStringLiteral("   Epoch number  --->  Time — Quillon"));
        QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(form.windowModality(), Qt::NonModal);
        form.BBTimeVClick(f.path(scan::TempFile::RinexEpochs), f.obs().writtenEpochs, observer);

        QVERIFY(form.isVisible());
        QCOMPARE(observer.notices, std::vector<std::string>{});
        QCOMPARE(form.TBTime->minimum(), 1);
        QCOMPARE(form.TBTime->maximum(), 5);
        QCOMPARE(form.TBTime->tickInterval(), 100);
        QCOMPARE(form.UDTime->toolTip(), QStringLiteral("Fine tuning"));
        QCOMPARE(form.ENumEp->text(), QStringLiteral("1"));
        QCOMPARE(form.EDateTime->text(), QStringLiteral("05/01/2009  00:00:00.000"));

        // The left arrow at the first epoch changes nothing; the right one steps.
        form.UDTimeLeft->click();
        QCOMPARE(form.ENumEp->text(), QStringLiteral("1"));
        form.UDTimeRight->click();
        QCOMPARE(form.ENumEp->text(), QStringLiteral("2"));
        QCOMPARE(form.TBTime->value(), 2);
        QCOMPARE(form.EDateTime->text(), QStringLiteral("05/01/2009  00:00:30.000"));

        // The track bar to the last epoch; the right arrow there changes nothing.
        form.TBTime->setValue(5);
        QCOMPARE(form.ENumEp->text(), QStringLiteral("5"));
        QCOMPARE(form.EDateTime->text(), QStringLiteral("05/01/2009  00:02:30.000"));
        form.UDTimeRight->click();
        QCOMPARE(form.ENumEp->text(), QStringLiteral("5"));
        QCOMPARE(form.EDateTime->text(), QStringLiteral("05/01/2009  00:02:30.000"));
        form.UDTimeLeft->click();
        QCOMPARE(form.EDateTime->text(), QStringLiteral("05/01/2009  00:02:00.000"));

        // Opening again starts at epoch 1; Close empties the table and hides the window.
        form.BBTimeVClick(f.path(scan::TempFile::RinexEpochs), f.obs().writtenEpochs, observer);
        QCOMPARE(form.ENumEp->text(), QStringLiteral("1"));
        QCOMPARE(form.TBTime->value(), 1);
        QCOMPARE(form.closeButton()->text(), QStringLiteral("Close"));
        form.closeButton()->click();
        QVERIFY(!form.isVisible());
        QCOMPARE(form.calculator().count(), 0);
    }

    void tellsACountThatDiffers() {
        uitest::ScannedObsFile f;
        QVERIFY(f.scanned);
        uitest::RecordingObserver observer;
        ui::TFormTime form;
        form.BBTimeVClick(f.path(scan::TempFile::RinexEpochs) + ".gone", 5, observer);
        const std::vector<std::string> told = {
            "Error Opening File RinexEpochs.dat ! ", "There is no Epochs",
            "Number of epochs in Temp file differs from true one"};
        QCOMPARE(observer.notices, told);
        QCOMPARE(form.EDateTime->text(), QString());
    }
};

UI_TEST(TimeVTest);

#include "TimeVTest.moc"
