#pragma once

#include "header/HeaderData.h"

#include <QFrame>

#include <cstdint>
#include <string>
#include <vector>

class QGridLayout;
class QGroupBox;
class QLabel;
class QListView;
class QPushButton;

namespace ui {

/// The header view `PHeader`: what the observation file's header says, field by field. It is
/// filled after each successful header scan and keeps its texts until the next one.
class HeaderPanel : public QFrame {
    Q_OBJECT

public:
    explicit HeaderPanel(QWidget* parent = nullptr);

    /// Fills the labels and lists from the observation header record; intervalMs is the
    /// observation scanner's interval. Labels whose value the header lacks keep their text.
    void FillHeaderView(const header::THeaderData& h, std::int32_t intervalMs,
                        const QString& decSep);
    /// Empties both lists down to their heading lines.
    void ClearHeaderLists();

    QLabel* STTitle;
    QLabel *ST_SatSys, *ST_Observer, *ST_Agency;
    QLabel *ST_RecNum, *ST_RecTyp, *ST_RecVer, *ST_ApprX, *ST_ApprY, *ST_ApprZ;
    QLabel *ST_MarName, *ST_MarNumb;
    QLabel *ST_AntNum, *ST_AntTyp, *ST_AntH, *ST_AntEe, *ST_AntEn;
    QLabel *ST_WLF_L1, *ST_WLF_L2, *ST_WLF_NS;
    QListView* LB_WFPRN;
    QLabel *ST_Interval, *ST_FirstObs, *ST_LastObs, *ST_TimeSys, *ST_LeapSec;
    QLabel *ST_NObsTyp, *ST_ObsTyp, *ST_NumSat;
    QListView* LB_PRNObs;
    QGroupBox *GBReceiver, *GBPosition, *GBMarker, *GBAntenna, *GBEccentricities;
    QGroupBox *GBWavelength, *GBObservations, *GBObsTypes, *GBSatellites;
    QPushButton* BBCloseHead; // the main window connects it: hide PHeader, show PView

private:
    /// A caption and its value label in the grid's pair of columns `pair` (0 is the first).
    QLabel* addField(QGridLayout* grid, int row, const char* caption, const char* name,
                     int pair = 0);
    std::vector<std::string> m_wfPrn;
    std::vector<std::string> m_prnObs;
};

} // namespace ui
