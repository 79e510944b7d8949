// ui_view_snapshots <sample folder> <base name> <output folder>: scans the navigation and meteo
// companions <base name>.??n/g/h/l/m of a sample set (copied into a temporary folder first) and
// renders the ephemerides, meteo and ionosphere panels filled from them to PNG files (run under
// xvfb-run or the offscreen platform).

#include "meteo/MeteoFileM.h"
#include "nav/GALNavFile.h"
#include "nav/GEONavFile.h"
#include "nav/GLONavFile.h"
#include "nav/GPSNavFile.h"
#include "text/Diagnostics.h"
#include "text/LineReader.h"
#include "text/RecordFile.h"
#include "text/ScanObserver.h"
#include "ui/EphemPanel.h"
#include "ui/IonoPanel.h"
#include "ui/MeteoPanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The companion of the given letter (either case), copied into the work folder; empty when
// the sample set has none.
fs::path companion(const fs::path& samples, const std::string& base, char letter,
                   const fs::path& work) {
    for (const auto& entry : fs::directory_iterator(samples)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != base.size() + 4 || name.compare(0, base.size(), base) != 0)
            continue;
        const char last = name.back();
        if (last == letter || last == static_cast<char>(letter - 'a' + 'A')) {
            const fs::path copy = work / name;
            fs::copy_file(entry.path(), copy, fs::copy_options::overwrite_existing);
            return copy;
        }
    }
    return {};
}

template <class Scanner, class Header>
bool scanNav(const fs::path& file, const fs::path& records, std::size_t recordSize, Header& header,
             nav::EphemCountTable& counts, text::DiagnosticsLists& lists) {
    text::LineReader reader;
    text::RecordFile out;
    text::NullScanObserver quiet;
    if (file.empty() || !reader.open(file) || !out.create(records, recordSize))
        return false;
    Scanner scanner(reader, header, lists, out, quiet);
    const bool ok = scanner.ScanHeader() && scanner.ScanData();
    out.flush();
    counts = scanner.EphemCount();
    std::printf("%s: %d records\n", file.filename().string().c_str(), scanner.RecordsWritten());
    return ok;
}

bool save(QWidget& widget, const QString& folder, const char* name) {
    const QString path = QDir(folder).filePath(QString::fromLatin1(name));
    QApplication::processEvents(); // let the layouts follow what was shown or hidden
    if (!widget.grab().toImage().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: ui_view_snapshots <sample folder> <base name> <folder>\n");
        return 2;
    }
    const fs::path samples = argv[1];
    const std::string base = argv[2];
    const QString folder = QString::fromLocal8Bit(argv[3]);
    QTemporaryDir tmp;
    const fs::path work = tmp.path().toStdString();

    text::DiagnosticsLists lists;
    views::EphemSources eph;
    eph.gpsFile = work / nav::kEphemGPSFile;
    eph.gloFile = work / nav::kEphemGLOFile;
    eph.geoFile = work / nav::kEphemGEOFile;
    eph.galFile = work / nav::kEphemGALFile;
    header::THeaderDataGPS gps;
    header::THeaderDataGLO glo;
    header::THeaderDataGAL gal;
    scanNav<nav::TNavFileN>(companion(samples, base, 'n', work), eph.gpsFile, nav::kEphemGPSSize,
                            gps, eph.counts.gps, lists);
    scanNav<nav::TGLOFileG>(companion(samples, base, 'g', work), eph.gloFile, nav::kEphemGLOSize,
                            glo, eph.counts.glo, lists);
    scanNav<nav::TGEOFileH>(companion(samples, base, 'h', work), eph.geoFile, nav::kEphemGEOSize,
                            eph.geoHeader, eph.counts.geo, lists);
    scanNav<nav::TGALFileL>(companion(samples, base, 'l', work), eph.galFile, nav::kEphemGALSize,
                            gal, eph.counts.gal, lists);

    views::MeteoSources met;
    header::THeaderDataMeteo meteoHeader;
    met.meteoFile = work / meteo::kMeteoFile;
    {
        text::LineReader reader;
        text::RecordFile out;
        text::NullScanObserver quiet;
        const fs::path m = companion(samples, base, 'm', work);
        if (!m.empty() && reader.open(m) && out.create(met.meteoFile, meteo::kMeteoRecordSize)) {
            meteo::TMeteoFileM scanner(reader, meteoHeader, lists, out, quiet);
            if (scanner.ScanHeader())
                scanner.ScanData();
            out.flush();
            met.recordsWritten = scanner.MeteoRecordsWritten();
            met.types = scanner.Types();
            std::printf("%s: %d records\n", m.filename().string().c_str(), met.recordsWritten);
        }
    }

    text::NullScanObserver observer;
    bool ok = true;
    const QSize size(1000, 640); // about the viewer area of the main window

    ui::EphemPanel ephem;
    ephem.resize(size);
    ephem.show();
    ephem.open(eph, observer);
    ok = save(ephem, folder, "ephem-gps.png") && ok;
    ephem.pageControl(views::EphemSystem::GPS)->setCurrentIndex(2);
    ok = save(ephem, folder, "ephem-gps-keplerian.png") && ok;
    const std::pair<views::EphemSystem, const char*> others[] = {
        {views::EphemSystem::GLONASS, "ephem-glo.png"},
        {views::EphemSystem::GEO, "ephem-geo.png"},
        {views::EphemSystem::Galileo, "ephem-gal.png"}};
    for (const auto& [system, name] : others) {
        for (std::int32_t k = views::FirstButton(system); k <= views::LastButton(system); ++k) {
            QRadioButton* button = ephem.satelliteButton(system, k);
            if (button->isEnabled()) {
                button->click();
                break;
            }
        }
        ok = save(ephem, folder, name) && ok;
    }
    ephem.pageControl(views::EphemSystem::GLONASS)->setCurrentIndex(1);
    for (std::int32_t k = 1; k <= 24; ++k)
        if (ephem.satelliteButton(views::EphemSystem::GLONASS, k)->isEnabled()) {
            ephem.satelliteButton(views::EphemSystem::GLONASS, k)->click();
            break;
        }
    ephem.BBMore->click();
    ok = save(ephem, folder, "ephem-glo-step.png") && ok;

    ui::MeteoPanel meteoPanel;
    meteoPanel.resize(size);
    meteoPanel.show();
    meteoPanel.open(met, meteoHeader, observer);
    ok = save(meteoPanel, folder, "meteo.png") && ok;
    meteoPanel.checkBoxes()[1]->click();
    meteoPanel.checkBoxes()[2]->click();
    ok = save(meteoPanel, folder, "meteo-three.png") && ok;

    ui::IonoPanel iono;
    iono.resize(size);
    iono.show();
    iono.open(gps, QStringLiteral("."));
    ok = save(iono, folder, "iono.png") && ok;
    return ok ? 0 : 1;
}
