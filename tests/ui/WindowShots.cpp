// ui_window_shots <folder> <observation file>: starts the main window on the real platform
// (run under xvfb-run), chooses and scans the file through its buttons, and saves screenshots
// of the whole screen: the input panel, the summary, the header, measurements and meteo views,
// the errors window and the quality view (by SNR with MP against elevation, then by MP with
// the ionosphere).

#include "ui/Application.h"
#include "ui/ErrorsForm.h"
#include "ui/InputPanel.h"
#include "ui/Notice.h"
#include "ui/QualityPanel.h"
#include "ui/SummaryPanel.h"
#include "ui/Unit1.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <filesystem>

static void shoot(const QString& folder, const char* name) {
    QTest::qWait(300);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    const QString path = QDir(folder).filePath(QString::fromLatin1(name));
    std::printf("%s %s\n", qPrintable(path), shot.save(path) ? "written" : "NOT written");
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::prepareApplication();
    if (argc < 3) {
        std::fprintf(stderr, "usage: ui_window_shots <folder> <observation file>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    ui::programIcon().pixmap(64, 64).save(QDir(folder).filePath(QStringLiteral("icon.png")));
    QTemporaryDir work;
    ui::NoticeRecorder recorder;
    recorder.files << QString::fromLocal8Bit(argv[2]);

    ui::TForm1 form(std::filesystem::path(work.path().toStdString()));
    form.CreateSecondaryWindows();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    shoot(folder, "1-input.png");
    QTest::mouseClick(form.PView->BBInput, Qt::LeftButton);
    QTest::mouseClick(form.PView->BBScan, Qt::LeftButton);
    shoot(folder, "2-summary.png");
    form.Header1->trigger();
    shoot(folder, "3-header.png");
    form.Measurements1->trigger();
    shoot(folder, "3-measurements.png");
    if (form.Meteo1->isEnabled()) {
        form.Meteo1->trigger();
        shoot(folder, "3-meteo.png");
    }
    form.ViewSummury1->trigger();
    QTimer::singleShot(400, &form, [&] {
        shoot(folder, "4-errors.png");
        form.FormErrors->accept();
    });
    form.ViewErrors1Click();
    form.PSumm->BBCloseSum->click();
    shoot(folder, "5-input-after.png");
    form.Quality1->trigger();
    shoot(folder, "6-quality.png");
    form.PQuality->findChild<QRadioButton*>(QStringLiteral("RGSkyColour1"))->click();
    form.PQuality->findChild<QRadioButton*>(QStringLiteral("RGQualityChart1"))->click();
    shoot(folder, "7-quality-mp-iono.png");
    form.PQuality->closeButton()->click();
    for (const QString& n : recorder.notices)
        std::printf("notice: %s\n", qPrintable(n));
    recorder.answer = ui::Answer::Yes;
    form.close();
    return 0;
}
