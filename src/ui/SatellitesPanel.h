#pragma once

#include "obs/ObsFileO.h"
#include "text/ScanObserver.h"

#include <QFrame>

#include <filesystem>

class QLabel;
class QPushButton;

namespace ui {

class ChartView;

/// The satellites view `PSats`: the number of satellites per epoch, in all and per system,
/// with the interval and the largest and smallest count of the scan.
class SatellitesPanel : public QFrame {
    Q_OBJECT

public:
    explicit SatellitesPanel(QWidget* parent = nullptr);

    /// Re-reads RinexEpochs.dat and charts it; messages go to the observer.
    void open(const std::filesystem::path& rinexEpochs, const obs::TObsFileO& scan,
              text::ScanObserver& observer);

    QPushButton* closeButton() const noexcept { return BBCloseSat; }
    /// "Epoch number  --->  Time": the main window connects it to the calculator.
    QPushButton* calculatorButton() const noexcept { return BitBtn5; }

    ChartView* ChartSat;
    QLabel *STIntSat, *STSatMax, *STSatMin;
    QPushButton* BitBtn5;
    QPushButton* BBCloseSat;
};

} // namespace ui
