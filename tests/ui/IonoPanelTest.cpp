#include "ui/IonoPanel.h"

#include "UiTestMain.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

class IonoPanelTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheEightCoefficients() {
        header::THeaderDataGPS h;
        h.ion = {0.1118E-07f, -0.7451E-08f, -0.5960E-07f, 0.1192E-06f,
                 0.1270E+06f, -0.1966E+06f, 0.6554E+05f,  0.0f};
        ui::IonoPanel panel;
        QCOMPARE(panel.objectName(), QStringLiteral("PIO"));
        QCOMPARE(panel.STTitleIO->text(), QStringLiteral("Ionosphere   parameters"));
        QCOMPARE(panel.closeButton()->objectName(), QStringLiteral("BBCloseIono"));
        panel.open(h, QStringLiteral(","));
        const std::pair<const char*, const char*> rows[] = {
            {"STIOA0", " Alpha0=1,11800000368589E-8"},
            {"STIOA1", " Alpha1=-7,45099981713793E-9"},
            {"STIOB0", " Beta0 =127000"},
            {"STIOB3", " Beta3 =0"},
        };
        for (const auto& [name, text] : rows) {
            UI_TRACE(QString::fromLatin1(name));
            const auto* label = panel.findChild<QLabel*>(QString::fromLatin1(name));
            QVERIFY(label);
            QCOMPARE(label->text(), QString::fromLatin1(text));
        }
        // Each value sits beside its caption.
        const QLabel* caption = nullptr;
        for (const QLabel* l : panel.findChildren<QLabel*>())
            if (l->buddy() == panel.valueLabels()[2])
                caption = l;
        QVERIFY(caption);
        QCOMPARE(caption->text(), QStringLiteral("Alpha(2) [s/semicircles**2]"));

        // A later header shows its own values.
        h.ion.fill(0.0f);
        panel.open(h, QStringLiteral("."));
        QCOMPARE(panel.valueLabels()[0]->text(), QStringLiteral(" Alpha0=0"));
    }
};

UI_TEST(IonoPanelTest);
#include "IonoPanelTest.moc"
