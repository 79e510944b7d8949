#include "ui/ErrorsForm.h"

#include "UiTestMain.h"

#include "ui/LinesModel.h"

#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

namespace {

struct Names {
    text::FileKind kind;
    QString panel, headerCaption, headerText, headerList, dataCaption, dataText, dataList, choice,
        choiceText;
};

const std::vector<Names>& kindNames() {
    static const std::vector<Names> names = {
        {text::FileKind::O, "PO", "STHeader", "Header (O-file)", "LBHeader", "STData",
         "Data (O-file)", "LBData", "RBObs", "O (Observation)"},
        {text::FileKind::N, "PN", "STHeaderN", "Header (N-file)", "LBHeaderN", "STDataN",
         "Data (N-file)", "LBDataN", "RBGPS", "N (GPS Nav)"},
        {text::FileKind::G, "PG", "STHeaderG", "Header (G-file)", "LBHeaderG", "STDataG",
         "Data (G-file)", "LBDataG", "RBGLO", "G (GLO Nav)"},
        {text::FileKind::M, "PM", "STHeaderM", "Header (M-file)", "LBHeaderM", "STDataM",
         "Data (M-file)", "LBDataM", "RBMeteo", "M (Meteo)"},
        {text::FileKind::H, "PH", "STHeaderH", "Header (H-file)", "LBHeaderH", "STDataH",
         "Data (H-file)", "LBDataH", "RBGEO", "H (GEO Nav)"},
        {text::FileKind::L, "PL", "STHeaderL", "Header (L-file)", "LBHeaderL", "STDataL",
         "Data (L-file)", "LBDataL", "RBGAL", "L (GAL Nav)"},
    };
    return names;
}

QStringList shownLines(const QListView* view) {
    QStringList lines;
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(); ++row)
        lines << model->data(model->index(row, 0)).toString();
    return lines;
}

QString visiblePanel(const ui::TFormErrors& form) {
    QString shown;
    for (const Names& n : kindNames()) {
        auto* panel = form.findChild<QWidget*>(n.panel);
        if (panel && !panel->isHidden())
            shown += n.panel;
    }
    return shown;
}

} // namespace

class ErrorsFormTest : public QObject {
    Q_OBJECT

private slots:
    void carriesTheGivenNamesAndCaptions() {
        text::DiagnosticsLists lists;
        ui::TFormErrors form(lists);
        QCOMPARE(form.windowTitle(), QStringLiteral(" Errors — Quillon"));
        QVERIFY(form.isModal());
        QCOMPARE(form.findChild<QGroupBox*>("GBRinexFiles")->title(),
                 QStringLiteral("Rinex Files"));
        QCOMPARE(form.findChild<QPushButton*>("BBClose")->text(), QStringLiteral("Close"));
        for (const Names& n : kindNames()) {
            UI_TRACE(n.panel);
            QVERIFY(form.findChild<QWidget*>(n.panel));
            QCOMPARE(form.findChild<QLabel*>(n.headerCaption)->text(), n.headerText);
            QCOMPARE(form.findChild<QLabel*>(n.dataCaption)->text(), n.dataText);
            QVERIFY(form.findChild<QListView*>(n.headerList));
            QVERIFY(form.findChild<QListView*>(n.dataList)->uniformItemSizes());
            QCOMPARE(form.findChild<QRadioButton*>(n.choice)->text(), n.choiceText);
        }
        QVERIFY(form.findChild<QRadioButton*>("RBObs")->isChecked());
        QCOMPARE(visiblePanel(form), QStringLiteral("PO"));
    }

    void opensOnTheLastKindWithDiagnostics() {
        text::DiagnosticsLists lists;
        lists.data(text::FileKind::G).add(12, "Not valid data for Epoch", " 1 09  5 25");
        ui::TFormErrors form(lists);
        form.setHeaderCaption(text::FileKind::G, QStringLiteral("Header of file site0010.09G"));
        form.checkChoice(text::FileKind::G);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(visiblePanel(form), QStringLiteral("PG"));
        QCOMPARE(form.shownKind(), text::FileKind::G);
        QCOMPARE(form.findChild<QLabel*>("STHeaderG")->text(),
                 QStringLiteral("Header of file site0010.09G"));
        QCOMPARE(shownLines(form.findChild<QListView*>("LBDataG")),
                 (QStringList{QStringLiteral("string 12 : Not valid data for Epoch"),
                              QStringLiteral(" 1 09  5 25")}));
        QVERIFY(shownLines(form.findChild<QListView*>("LBHeaderG")).isEmpty());
    }

    void clickingAChoiceShowsItsPanelOnly() {
        text::DiagnosticsLists lists;
        ui::TFormErrors form(lists);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        for (const Names& n : kindNames()) {
            UI_TRACE(n.choice);
            QTest::mouseClick(form.findChild<QRadioButton*>(n.choice), Qt::LeftButton);
            QCOMPARE(visiblePanel(form), n.panel);
        }
        // An already checked choice changes nothing.
        auto* gal = form.findChild<QRadioButton*>("RBGAL");
        QTest::mouseClick(gal, Qt::LeftButton);
        QVERIFY(gal->isChecked());
        QCOMPARE(visiblePanel(form), QStringLiteral("PL"));
    }

    // The core fills the lists while the window is closed; opening it shows what is there now.
    void openingShowsTheListsAsTheyAreNow() {
        text::DiagnosticsLists lists;
        ui::TFormErrors form(lists);
        lists.header(text::FileKind::O).add(3, "Not valid data for Interval", "   30.0000");
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(shownLines(form.findChild<QListView*>("LBHeader")).size(), 2);
        form.close();
        lists.clearAll();
        form.show();
        QVERIFY(shownLines(form.findChild<QListView*>("LBHeader")).isEmpty());
    }

    void closeButtonClosesTheWindow() {
        text::DiagnosticsLists lists;
        ui::TFormErrors form(lists);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QSignalSpy finished(&form, &QDialog::finished);
        QTest::mouseClick(form.findChild<QPushButton*>("BBClose"), Qt::LeftButton);
        QCOMPARE(finished.count(), 1);
        QVERIFY(!form.isVisible());
    }
};

UI_TEST(ErrorsFormTest);
#include "ErrorsFormTest.moc"
