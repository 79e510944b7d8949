#pragma once

#include "text/ScanObserver.h"
#include "views/QualityScan.h"
#include "views/QualityView.h"

#include <QFrame>

class QButtonGroup;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTableWidget;

namespace ui {

class ChartView;

/// The quality view `PQuality`: the per-satellite grid `SGQuality`, the sky plot `ChSky` with its
/// tracks coloured by SNR or MP1 (`RGSkyColour`), and beside it `ChQualityMP` (MP against
/// elevation) or `ChQualityIono` (the ionosphere against time), as `RGQualityChart` chooses. The
/// elevation mask `EMask` and the moving-average window `EMPWindow` take effect with
/// `BBQualityApply`, which computes again from the record files, as every opening does.
class QualityPanel : public QFrame {
    Q_OBJECT

public:
    explicit QualityPanel(QWidget* parent = nullptr);

    /// Quality1Click: computes the quality of the sources and shows it. Message boxes go to
    /// observer, which must outlive the panel's use.
    void open(const views::QualitySources& sources, const std::string& decSep,
              text::ScanObserver& observer);

    QPushButton* closeButton() const noexcept { return BBCloseQuality; }
    const views::QualityReport& report() const noexcept { return m_report; }

    QLabel* STQuality;
    QTableWidget* SGQuality;
    ChartView* ChSky;
    ChartView* ChQualityMP;
    ChartView* ChQualityIono;
    QGroupBox* RGSkyColour;
    QGroupBox* RGQualityChart;
    QDoubleSpinBox* EMask;
    QSpinBox* EMPWindow;
    QPushButton* BBQualityApply;
    QPushButton* BBCloseQuality;

private:
    void compute();
    void fillGrid();
    void fillSky();
    void fillChart();

    QStackedWidget* m_charts = nullptr;
    QButtonGroup* m_skyColour = nullptr;
    QButtonGroup* m_chart = nullptr;
    views::QualitySources m_sources;
    views::QualityReport m_report;
    std::string m_decSep = ".";
    text::ScanObserver* m_observer = nullptr;
};

} // namespace ui
