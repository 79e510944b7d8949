#include "ui/WaitPanel.h"

#include "UiTestMain.h"

#include <QLabel>
#include <QTest>

class WaitPanelTest : public QObject {
    Q_OBJECT

private slots:
    void isHiddenWithItsPictureAndText() {
        QWidget window;
        auto* wait = new ui::WaitPanel(&window);
        QCOMPARE(wait->objectName(), QStringLiteral("PWait"));
        QVERIFY(wait->isHidden());
        QCOMPARE(wait->Caption->text(), QStringLiteral("Conversion of Unix file"));
        QCOMPARE(wait->Picture->pixmap().size(), QSize(32, 16));
    }
};

UI_TEST(WaitPanelTest);
#include "WaitPanelTest.moc"
