// ui_obs_snapshots <observation file> <folder>: copies the observation file and its companions
// (same name, another last letter) into a scratch folder under /tmp, scans them there with the
// scan driver, opens each observation panel and the calculator on the record files and saves
// them as PNG files in <folder>, for looking at them (run under xvfb-run).

#include "scan/RunSetup.h"
#include "scan/ScanDriver.h"
#include "text/ScanObserver.h"
#include "ui/EpochsPanel.h"
#include "ui/EventsPanel.h"
#include "ui/MeasurementsPanel.h"
#include "ui/OccupationsPanel.h"
#include "ui/SatellitesPanel.h"
#include "ui/TimeV.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

static bool save(QWidget& w, const QString& folder, const char* name) {
    w.show();
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(QString::fromLatin1(name));
    const bool ok = w.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: ui_obs_snapshots <observation file> <folder>\n");
        return 2;
    }
    const fs::path source = argv[1];
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);

    QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/quillon-snapshots-XXXXXX"));
    const fs::path dir = scratch.path().toStdString();
    std::error_code ec;
    const std::string stem = source.filename().string();
    for (const fs::directory_entry& e : fs::directory_iterator(source.parent_path(), ec)) {
        const std::string name = e.path().filename().string();
        if (name.size() == stem.size() &&
            name.compare(0, stem.size() - 1, stem, 0, stem.size() - 1) == 0)
            fs::copy_file(e.path(), dir / name, ec);
    }

    text::NullScanObserver observer;
    scan::TScanDriver driver(observer);
    scan::SetUpRun(driver.run(), ".", dir);
    const std::string file = (dir / stem).string();
    if (!driver.BBInputClick([file] { return std::optional<std::string>(file); }) ||
        !driver.BBScanClick() || !driver.obsFile()) {
        std::fprintf(stderr, "the scan of %s failed\n", file.c_str());
        return 1;
    }
    const obs::TObsFileO& scanned = *driver.obsFile();
    const auto rec = [&driver](scan::TempFile f) { return driver.run().recordFileName(f); };
    const QSize size(1016, 640);
    bool ok = true;

    ui::EpochsPanel epochs;
    epochs.resize(size);
    epochs.open(scanned);
    ok &= save(epochs, out, "epochs.png");

    ui::SatellitesPanel sats;
    sats.resize(size);
    sats.open(rec(scan::TempFile::RinexEpochs), scanned, observer);
    ok &= save(sats, out, "satellites.png");

    ui::MeasurementsPanel meas;
    meas.resize(size);
    meas.open(rec(scan::TempFile::RinexEpochs), rec(scan::TempFile::ObsRecs), driver.headerO,
              scanned, observer);
    ok &= save(meas, out, "measurements.png");
    meas.RGMeasurs->item(5)->click(); // L1
    ok &= save(meas, out, "measurements-L1.png");
    // The first Galileo satellite seen, with C7 (E5b) when the file lists it.
    for (int i = 0; i < meas.RGMGAL->count(); ++i) {
        if (meas.RGMGAL->itemText(i) == QStringLiteral("N"))
            continue;
        meas.RGMGAL->item(i)->click();
        meas.RGMeasurs->item(15)->click(); // C7
        ok &= save(meas, out, "measurements-GAL-C7.png");
        break;
    }
    meas.BBComObs->click();
    meas.RGComObs->item(2)->click();
    ok &= save(meas, out, "combinations-panel.png");
    meas.BBOkComObs->click();
    ok &= save(meas, out, "combinations-MP1.png");

    ui::EventsPanel events;
    events.resize(size);
    events.open(rec(scan::TempFile::ExtEventRecsXA), rec(scan::TempFile::ExtEventRecsXB), scanned,
                observer);
    ok &= save(events, out, "events.png");
    events.CBXB->click();
    ok &= save(events, out, "events-XA-XB.png");

    ui::OccupationsPanel occ;
    occ.resize(size);
    occ.open(rec(scan::TempFile::RinexEpochs), driver.headerO, scanned, driver.run().DecSep,
             observer);
    ok &= save(occ, out, "occupations.png");

    ui::TFormTime calc;
    calc.open(rec(scan::TempFile::RinexEpochs), scanned.writtenEpochs, observer);
    calc.TBTime->setValue(1234);
    ok &= save(calc, out, "calculator.png");

    driver.FormClose();
    return ok ? 0 : 1;
}
