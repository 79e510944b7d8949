// ui_snapshots <folder>: renders the window program's pieces filled with small fixtures to PNG
// files, for looking at them (run under xvfb-run or the offscreen platform).

#include "ui/Adv.h"
#include "ui/ErrorsForm.h"
#include "ui/HeaderPanel.h"
#include "ui/HelpWindow.h"
#include "ui/JpegImage.h"
#include "ui/WaitPanel.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QWidget>

#include <cstdio>

static header::THeaderData fixtureHeader() {
    header::THeaderData h;
    h.satelliteSystem = 2;
    h.markerName = "WTZR";
    h.markerNumber = "14201M010";
    h.observer = "AUTOMATIC";
    h.agency = "BKG";
    h.receiverNumber = "454190";
    h.receiverType = "LEICA GRX1200GGPRO";
    h.receiverVersion = "7.50/3.019";
    h.antennaNumber = "200";
    h.antennaType = "LEIAT504GG      LEIS";
    h.approxX = 4075580.385L;
    h.approxY = 931853.813L;
    h.approxZ = 4801568.224L;
    h.antennaH = 0.071L;
    h.wavelengthL1 = 1;
    h.wavelengthL2 = 1;
    h.wavelengthSatCount = 2;
    h.wavelengthSats[0] = {'G', 5};
    h.wavelengthSats[1] = {'G', 14};
    h.typeCount = 9;
    const std::uint8_t types[] = {0, 3, 4, 5, 6, 9, 8, 11, 12};
    for (std::size_t j = 0; j < 9; ++j)
        h.types[j] = types[j];
    h.firstObsPresent = true;
    h.firstObs = {2009, 5, 25, 0, 0, 0.0L};
    h.lastObsPresent = true;
    h.lastObs = {2009, 5, 25, 23, 59, 30.0L};
    h.timeSystem = "GPS";
    h.leapSeconds = 15;
    h.satelliteCount = 12;
    for (std::size_t i = 0; i < 12; ++i) {
        h.satellites[i] = {i < 8 ? 'G' : 'R', static_cast<std::int32_t>(i * 3 + 1)};
        for (std::size_t j = 0; j < 9; ++j)
            h.obsCounts[i][j] = static_cast<std::int32_t>(2880 - i * 37 - j * 3);
    }
    return h;
}

static bool save(const QImage& image, const QString& folder, const char* name) {
    const QString path = QDir(folder).filePath(QString::fromLatin1(name));
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: ui_snapshots <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    bool ok = save(ui::seaPhoto(), folder, "sea.png");
    ok = save(ui::waitPicture().scaled(128, 64), folder, "wait.png") && ok;

    text::DiagnosticsLists lists;
    auto& header = lists.header(text::FileKind::O);
    header.add(9, "Not valid data for Interval",
               "     3O.000                                                 INTERVAL");
    header.add(14, "Not valid Antenna Delta",
               "        0.0710        0.0000        0.000x                  ANTENNA: DELTA H/E/N");
    auto& data = lists.data(text::FileKind::O);
    for (int i = 0; i < 400; ++i)
        data.add(30 + i * 13, "Not valid data for Observation",
                 "  22354567.123 7  22354569.8764  117472544.61507  91536918.09846");
    ui::TFormErrors errors(lists);
    errors.setHeaderCaption(text::FileKind::O, QStringLiteral("Header of file wtzr1450.09o"));
    errors.show();
    QApplication::processEvents();
    ok = save(errors.grab().toImage(), folder, "errors.png") && ok;

    ui::HeaderPanel panel;
    panel.resize(1000, 640);
    panel.FillHeaderView(fixtureHeader(), 30000, QStringLiteral("."));
    panel.show();
    QApplication::processEvents();
    ok = save(panel.grab().toImage(), folder, "header.png") && ok;

    ui::TFormAdv about;
    about.StaticText1->setText(QString::fromLatin1(ui::kVersionText));
    about.StaticText3->setText(QString::fromLatin1(ui::kBuildDate));
    about.show();
    QApplication::processEvents();
    ok = save(about.grab().toImage(), folder, "about.png") && ok;

    ui::HelpWindow help;
    help.showTopic(2);
    help.show();
    QApplication::processEvents();
    ok = save(help.grab().toImage(), folder, "help.png") && ok;

    ui::WaitPanel wait;
    wait.show();
    QApplication::processEvents();
    ok = save(wait.grab().toImage(), folder, "pwait.png") && ok;
    return ok ? 0 : 1;
}
