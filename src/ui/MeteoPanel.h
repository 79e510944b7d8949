#pragma once

#include "header/HeaderData.h"
#include "text/ScanObserver.h"
#include "views/MeteoView.h"

#include <QFrame>

#include <array>

class QCheckBox;
class QPushButton;
class QTableWidget;

namespace ui {

class ChartView;

/// The meteo view `PMeteo`: the values of Meteo.dat against time in `ChMeteo`, one series per
/// meteo type with its check box, and the sensors of the meteo header in `SGMeteoSens`. The
/// chart is drawn again from Meteo.dat at every opening and every change of a check box.
class MeteoPanel : public QFrame {
    Q_OBJECT

public:
    explicit MeteoPanel(QWidget* parent = nullptr);

    /// Meteo1Click: fills the chart from Meteo.dat, enables the boxes of the types the header
    /// listed and fills the sensors grid. Message boxes go to observer, which must outlive the
    /// panel's use (the main window's observer). The boxes keep their checked state.
    void open(const views::MeteoSources& sources, const header::THeaderDataMeteo& header,
              text::ScanObserver& observer);

    /// BBCloseMeteo; the main window connects it (hide PMeteo, show PView).
    QPushButton* closeButton() const noexcept { return BBCloseMeteo; }
    /// CBPR, CBTD, CBHR, CBZW, CBZD, CBZT in the order of the type codes.
    const std::array<QCheckBox*, views::kMeteoSeriesCount>& checkBoxes() const noexcept {
        return m_boxes;
    }

    ChartView* ChMeteo;
    QTableWidget* SGMeteoSens;
    QPushButton* BBCloseMeteo;

private:
    /// Empties the six series and reads them again with the boxes as they are.
    void fillChart();
    void fitGridHeight();

    std::array<QCheckBox*, views::kMeteoSeriesCount> m_boxes{};
    views::MeteoSources m_sources;
    text::ScanObserver* m_observer = nullptr;
};

} // namespace ui
