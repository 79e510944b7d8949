#pragma once

#include "obs/ObsFileO.h"

#include <QFrame>

#include <string>
#include <vector>

class QLabel;
class QListView;
class QPushButton;

namespace ui {

class ChartView;

/// The epochs view `PVTime`: the scan's epochs list with its gap markers, the chart of the
/// time differences between consecutive epochs and the labels that name the first and last
/// epochs, the interval and the gaps.
class EpochsPanel : public QFrame {
    Q_OBJECT

public:
    explicit EpochsPanel(QWidget* parent = nullptr);

    /// Fills the list, the chart and the labels from what the observation data scan left.
    void open(const obs::TObsFileO& scan);

    QPushButton* closeButton() const noexcept { return BBVCloseTimes; }

    QLabel* STNEpochs;
    QLabel* STCaption; // the fixed caption above the list
    QListView* LBEpochs;
    ChartView* ChTimes;
    QLabel *STStart, *STFinish, *STInterv, *STGap;
    QPushButton* BBVCloseTimes;

private:
    std::vector<std::string> m_lines; // the list's own copy of the scan's lines
};

} // namespace ui
