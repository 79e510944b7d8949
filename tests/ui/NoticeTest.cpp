#include "ui/Notice.h"

#include "UiTestMain.h"

#include <QTest>

class NoticeTest : public QObject {
    Q_OBJECT

private slots:
    void recorderTakesNoticesAndQuestions() {
        ui::NoticeRecorder recorder;
        recorder.answer = ui::Answer::Yes;
        ui::showNotice(nullptr, QStringLiteral("File a.09o is empty ! "));
        QCOMPARE(ui::askYesNo(nullptr, QStringLiteral("Do you really want to exit Quillon?")),
                 ui::Answer::Yes);
        QCOMPARE(recorder.notices, QStringList{QStringLiteral("File a.09o is empty ! ")});
        QCOMPARE(recorder.questions,
                 QStringList{QStringLiteral("Do you really want to exit Quillon?")});
    }

    void recorderHandsOutFilesThenCancels() {
        ui::NoticeRecorder recorder;
        recorder.files = {QStringLiteral("/data/site0010.09o")};
        const QString filter = QStringLiteral("Observation files (*.*O)|*.*O|All files (*.*)|*.*");
        QCOMPARE(ui::chooseOpenFile(nullptr, QStringLiteral("Select Rinex Observation File"), {},
                                    filter),
                 QStringLiteral("/data/site0010.09o"));
        QCOMPARE(ui::chooseOpenFile(nullptr, QStringLiteral("again"), {}, filter), QString());
        QCOMPARE(recorder.dialogCaptions,
                 (QStringList{QStringLiteral("Select Rinex Observation File"),
                              QStringLiteral("again")}));
        QCOMPARE(recorder.dialogFilters.front(), filter);
    }

    void dialogFilter_data() {
        QTest::addColumn<QString>("pairs");
        QTest::addColumn<QString>("filter");
        QTest::newRow("upper-case pattern also offers lower case")
            << "Observation files (*.*O)|*.*O|All files (*.*)|*.*"
            << "Observation files (*.*O *.*o);;All files (*.*)";
        QTest::newRow("a text without its pattern gets it") << "Text|*.txt"
                                                            << "Text (*.txt)";
        QTest::newRow("an unpaired tail is dropped") << "Text|*.txt|Rest"
                                                     << "Text (*.txt)";
    }
    void dialogFilter() {
        QFETCH(QString, pairs);
        QFETCH(QString, filter);
        QCOMPARE(ui::dialogFilter(pairs), filter);
    }
};

UI_TEST(NoticeTest);
#include "NoticeTest.moc"
