#pragma once

#include "header/HeaderData.h"
#include "obs/ObsFileO.h"
#include "text/ScanObserver.h"
#include "views/MeasurementsView.h"

#include <QFrame>
#include <QGroupBox>

#include <filesystem>
#include <utility>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace ui {

class ChartView;
class PieGauge;

/// A radio group: a titled box of radio items in columns, of which at most one is selected.
class MeasursRadioGroup : public QGroupBox {
    Q_OBJECT

public:
    MeasursRadioGroup(QWidget* parent, const char* name, const QString& caption, int itemCount,
                      int columns);

    int count() const { return static_cast<int>(m_items.size()); }
    QString itemText(int item) const;
    void setItemText(int item, const QString& text);
    /// The selected item, -1 when none.
    int itemIndex() const;
    /// Selects an item; -1 clears the selection. Sends no itemClicked.
    void setItemIndex(int item);
    /// Lays the items out again: item i in row cells[i].first, column cells[i].second.
    void setItemCells(const std::vector<std::pair<int, int>>& cells);
    QRadioButton* item(int index) const { return m_items[static_cast<std::size_t>(index)]; }

signals:
    /// The user chose an item.
    void itemClicked(int item);

private:
    QButtonGroup* m_group;
    std::vector<QRadioButton*> m_items;
};

/// The measurements view `PMeasurs`: one observation type of one satellite over all epochs,
/// with its signal strength, and the four combinations of observables on the panel
/// `PCombObs`. Every selection re-reads RinexEpochs.dat and ObsRecs.dat.
class MeasurementsPanel : public QFrame {
    Q_OBJECT

public:
    explicit MeasurementsPanel(QWidget* parent = nullptr);

    /// Measurements1Click: rewrites the satellite groups, selects C1 and the first present
    /// GPS (else GLONASS) satellite and charts it. The record files, the header, the scanner
    /// and the observer must stay until the next open.
    void open(const std::filesystem::path& rinexEpochs, const std::filesystem::path& obsRecs,
              const header::THeaderData& header, const obs::TObsFileO& scan,
              text::ScanObserver& observer);

    QPushButton* closeButton() const noexcept { return BBCloseMeas; }
    QPushButton* calculatorButton() const noexcept { return BitBtn9; }
    const views::MeasurementsSelection& selection() const noexcept { return m_selection; }
    MeasursRadioGroup* satelliteGroup(views::SatSystem system) const;

    // The handlers, also for tests.
    void RGMeasursClick(int item);
    void satelliteClick(views::SatSystem system, int item);
    void BBComObsClick();
    void BBOkComObsClick();
    void BBCloseComObsClick();

    MeasursRadioGroup* RGMeasurs;
    MeasursRadioGroup *RGMGPS, *RGMGLO, *RGMGEO, *RGMGAL;
    ChartView* ChMeasurs;
    ChartView* ChMeasursSN;
    PieGauge* GMeas;
    QPushButton* BBComObs;
    QPushButton* BitBtn9;
    QPushButton* BBCloseMeas;
    QFrame* PCombObs;
    MeasursRadioGroup* RGComObs;
    QPushButton *BBOkComObs, *BBCloseComObs;
    /// Off at start: the combinations are drawn as computed. On: each arc's mean is taken
    /// off and the slips are marked on ChMeasurs' second series.
    QCheckBox* CBArcMeans;

private:
    void run(const views::ChartRequest& request);
    void showSelection();
    void clearCharts();
    void setGauge(int percent);

    views::MeasurementsSelection m_selection;
    std::filesystem::path m_epochs, m_obsRecs;
    views::ObsTypeLayout m_layout;
    std::int32_t m_writtenEpochs = 0;
    double m_intervalS = 0;
    text::ScanObserver* m_observer = nullptr;
};

} // namespace ui
