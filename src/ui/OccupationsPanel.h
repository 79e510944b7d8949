#pragma once

#include "header/HeaderData.h"
#include "obs/ObsFileO.h"
#include "text/ScanObserver.h"

#include <QFrame>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class QLabel;
class QListView;
class QPushButton;

namespace ui {

class ChartView;

/// The occupations view `POccup`: a line per change of occupation and a chart that marks each
/// epoch static or kinematic.
class OccupationsPanel : public QFrame {
    Q_OBJECT

public:
    explicit OccupationsPanel(QWidget* parent = nullptr);

    /// Re-reads RinexEpochs.dat; the receiver number of the header titles the chart's left
    /// axis; antenna heights use decSep. Messages go to the observer. False, with the panel
    /// left hidden, when RinexEpochs.dat cannot be opened.
    bool open(const std::filesystem::path& rinexEpochs, const header::THeaderData& header,
              const obs::TObsFileO& scan, std::string_view decSep, text::ScanObserver& observer);

    QPushButton* closeButton() const noexcept { return BBCloseOcc; }
    QPushButton* calculatorButton() const noexcept { return BitBtn3; }
    /// The left axis' title, written horizontally beside the axis.
    QString leftTitle() const;

    QListView* LBOccup;
    ChartView* ChOccup;
    QPushButton* BitBtn3;
    QPushButton* BBCloseOcc;

private:
    std::vector<std::string> m_lines;
    QLabel* m_leftTitle = nullptr;
};

} // namespace ui
