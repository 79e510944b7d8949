#include "ui/LinesModel.h"

#include "UiTestMain.h"

#include "ui/Notice.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QListView>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

class LinesModelTest : public QObject {
    Q_OBJECT

private slots:
    // Any lines can be selected and copied; "Save list..." writes the whole list byte for byte.
    void copiesTheSelectedLinesAndSavesTheList() {
        std::vector<std::string> lines = {"string 6 : Not valid Leap Seconds", "    1X",
                                          "string 9 : Bad \xb5 byte", "end"};
        QListView* view = ui::newLinesView(nullptr, QStringLiteral("LBHeader"));
        const std::unique_ptr<QListView> owner(view);
        ui::linesModelOf(view)->setLines(&lines);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        QCOMPARE(view->selectionMode(), QAbstractItemView::ExtendedSelection);
        const QAbstractItemModel* model = view->model();
        view->selectionModel()->select(model->index(2, 0), QItemSelectionModel::Select);
        view->selectionModel()->select(model->index(0, 0), QItemSelectionModel::Select);

        QApplication::clipboard()->clear();
        QTest::keySequence(view, QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("string 6 : Not valid Leap Seconds\nstring 9 : Bad \u00b5 byte\n"));

        QTemporaryDir dir;
        ui::NoticeRecorder recorder;
        recorder.files << dir.filePath("errors.txt");
        view->findChild<QAction*>(QStringLiteral("SaveList1"))->trigger();
        QCOMPARE(recorder.dialogCaptions, QStringList{"Save list"});
        QFile f(dir.filePath("errors.txt"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("string 6 : Not valid Leap Seconds\n    1X\nstring 9 : "
                                         "Bad \xb5 byte\nend\n"));
        QVERIFY(recorder.notices.isEmpty());
    }

    // A 1 Hz daily file gives 86400 epoch lines plus gap lines; the model shows them without
    // copying, and the view asks only for what it draws.
    void showsHundredsOfThousandsOfLines() {
        std::vector<std::string> lines;
        for (int i = 0; i < 300000; ++i)
            lines.push_back("string " + std::to_string(i + 1) + " : Not valid Epoch");
        ui::LinesModel model;
        QAbstractItemModelTester tester(&model);
        model.setLines(&lines);
        QCOMPARE(model.rowCount(), 300000);
        QCOMPARE(model.data(model.index(299999), Qt::DisplayRole).toString(),
                 QStringLiteral("string 300000 : Not valid Epoch"));
    }

    void refreshTakesGrowthAndClearing() {
        std::vector<std::string> lines{"a"};
        ui::LinesModel model;
        model.setLines(&lines);
        lines.push_back("b");
        QCOMPARE(model.rowCount(), 1);
        model.refresh();
        QCOMPARE(model.rowCount(), 2);
        lines.clear();
        // Not refreshed yet: the stale row reads as empty, never past the vector's end.
        QCOMPARE(model.data(model.index(1), Qt::DisplayRole).toString(), QString());
        model.refresh();
        QCOMPARE(model.rowCount(), 0);
    }

    void everyByteStaysVisible_data() {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ASCII as it is") << QByteArray("G 1 ok") << QStringLiteral("G 1 ok");
        QTest::newRow("valid UTF-8 as text")
            << QByteArray("M\xc3\xbcller") << QStringLiteral("M\u00fcller");
        QTest::newRow("other bytes one by one")
            << QByteArray("a\xfc\x01z") << QStringLiteral("a\u00fc\u0001z");
    }
    void everyByteStaysVisible() {
        QFETCH(QByteArray, raw);
        QFETCH(QString, shown);
        std::vector<std::string> lines{raw.toStdString()};
        ui::LinesModel model;
        model.setLines(&lines);
        QCOMPARE(model.data(model.index(0), Qt::DisplayRole).toString(), shown);
    }

    // With uniform item sizes the view measures one row; a long line far down must still be
    // reachable by scrolling sideways.
    void viewScrollsOverTheLongestLine() {
        std::vector<std::string> lines(1000, "short");
        lines[700] = std::string(200, 'x');
        QListView* view = ui::newLinesView(nullptr, QStringLiteral("LBData"));
        std::unique_ptr<QListView> owner(view);
        QVERIFY(view->uniformItemSizes());
        QCOMPARE(view->objectName(), QStringLiteral("LBData"));
        ui::linesModelOf(view)->setLines(&lines);
        QCOMPARE(ui::linesModelOf(view)->longestRow(), 700);
        view->resize(300, 200);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        const int charWidth = view->fontMetrics().horizontalAdvance(QLatin1Char('x'));
        QTRY_VERIFY(view->horizontalScrollBar()->maximum() + view->viewport()->width() >=
                    200 * charWidth);
    }

    void viewHoldsAMinimumContentWidth() {
        std::vector<std::string> lines{"G 1   2880"};
        std::unique_ptr<QListView> view(
            ui::newLinesView(nullptr, QStringLiteral("LB_PRNObs"), 800));
        ui::linesModelOf(view.get())->setLines(&lines);
        view->resize(300, 200);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        QTRY_VERIFY(view->horizontalScrollBar()->maximum() + view->viewport()->width() >= 800);
    }
};

UI_TEST(LinesModelTest);
#include "LinesModelTest.moc"
