#include "ui/HeaderPanel.h"

#include "ui/LinesModel.h"
#include "views/HeaderView.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

static QString shown(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

static QGroupBox* newGroup(QWidget* parent, const char* title, const char* name) {
    auto* group = new QGroupBox(QString::fromLatin1(title), parent);
    group->setObjectName(QString::fromLatin1(name));
    return group;
}

static QGridLayout* newGrid(QWidget* owner) {
    auto* grid = new QGridLayout(owner);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    return grid;
}

HeaderPanel::HeaderPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PHeader"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

    STTitle = new QLabel(QStringLiteral("Header   Information"), this);
    STTitle->setObjectName(QStringLiteral("STTitle"));
    QFont titleFont = STTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    STTitle->setFont(titleFont);
    STTitle->setAlignment(Qt::AlignCenter);

    // The fields without a group.
    auto* general = new QWidget(this);
    auto* generalGrid = newGrid(general);
    generalGrid->setContentsMargins(0, 0, 0, 0);
    ST_SatSys = addField(generalGrid, 0, " Satellite System", "ST_SatSys");
    ST_Observer = addField(generalGrid, 1, " Observer", "ST_Observer");
    ST_Agency = addField(generalGrid, 2, "Agency", "ST_Agency");
    ST_LeapSec = addField(generalGrid, 3, " Leap Seconds", "ST_LeapSec");

    GBReceiver = newGroup(this, " Receiver ", "GBReceiver");
    auto* receiverGrid = newGrid(GBReceiver);
    ST_RecNum = addField(receiverGrid, 0, " Number", "ST_RecNum");
    ST_RecTyp = addField(receiverGrid, 1, " Type", "ST_RecTyp");
    ST_RecVer = addField(receiverGrid, 2, " Version", "ST_RecVer");
    GBPosition = newGroup(GBReceiver, "Position", "GBPosition");
    auto* positionGrid = newGrid(GBPosition);
    ST_ApprX = addField(positionGrid, 0, "  X [m]", "ST_ApprX");
    ST_ApprY = addField(positionGrid, 1, "  Y [m]", "ST_ApprY");
    ST_ApprZ = addField(positionGrid, 2, "  Z [m]", "ST_ApprZ");
    receiverGrid->addWidget(GBPosition, 3, 0, 1, 2);

    GBMarker = newGroup(this, " Marker ", "GBMarker");
    auto* markerGrid = newGrid(GBMarker);
    ST_MarName = addField(markerGrid, 0, " Name", "ST_MarName");
    ST_MarNumb = addField(markerGrid, 1, "Number", "ST_MarNumb");

    GBAntenna = newGroup(this, " Antenna ", "GBAntenna");
    auto* antennaGrid = newGrid(GBAntenna);
    ST_AntNum = addField(antennaGrid, 0, " Number", "ST_AntNum");
    ST_AntTyp = addField(antennaGrid, 1, " Type", "ST_AntTyp");
    ST_AntH = addField(antennaGrid, 2, " Height", "ST_AntH");
    GBEccentricities = newGroup(GBAntenna, " Eccentricities ", "GBEccentricities");
    auto* eccentricityGrid = newGrid(GBEccentricities);
    ST_AntEe = addField(eccentricityGrid, 0, " East", "ST_AntEe");
    ST_AntEn = addField(eccentricityGrid, 1, " North", "ST_AntEn");
    antennaGrid->addWidget(GBEccentricities, 3, 0, 1, 2);

    GBWavelength = newGroup(this, " Wavelength Factors ", "GBWavelength");
    auto* wavelengthGrid = newGrid(GBWavelength);
    ST_WLF_L1 = addField(wavelengthGrid, 0, "L1", "ST_WLF_L1");
    ST_WLF_L2 = addField(wavelengthGrid, 1, "L2", "ST_WLF_L2");
    ST_WLF_NS = addField(wavelengthGrid, 2, " Number of SVs", "ST_WLF_NS");
    LB_WFPRN = newLinesView(GBWavelength, QStringLiteral("LB_WFPRN"));
    LB_WFPRN->setMinimumHeight(60);
    wavelengthGrid->addWidget(LB_WFPRN, 3, 0, 1, 2);
    wavelengthGrid->setRowStretch(3, 1);

    GBObservations = newGroup(this, "Observations", "GBObservations");
    auto* observationsGrid = newGrid(GBObservations);
    ST_Interval = addField(observationsGrid, 0, " Interval [ms]", "ST_Interval");
    ST_FirstObs = addField(observationsGrid, 1, " Time of first", "ST_FirstObs");
    ST_LastObs = addField(observationsGrid, 2, " Time of last", "ST_LastObs");
    ST_TimeSys = addField(observationsGrid, 3, " Time system", "ST_TimeSys");

    GBObsTypes = newGroup(this, " Observation Types ", "GBObsTypes");
    auto* typesGrid = newGrid(GBObsTypes);
    ST_NObsTyp = addField(typesGrid, 0, " Number", "ST_NObsTyp");
    ST_ObsTyp = addField(typesGrid, 0, " Types", "ST_ObsTyp", 1);
    typesGrid->setColumnStretch(1, 0);
    typesGrid->setColumnStretch(3, 1);
    ST_ObsTyp->setFont(LB_WFPRN->font());

    GBSatellites = newGroup(this, " Satellites ", "GBSatellites");
    auto* satellitesGrid = newGrid(GBSatellites);
    ST_NumSat = addField(satellitesGrid, 0, " Number of  SVs", "ST_NumSat");
    satellitesGrid->setColumnStretch(1, 0);
    satellitesGrid->setColumnStretch(2, 1);
    // Lines of 14 count columns are wide: the list scrolls sideways over 800 pixels.
    LB_PRNObs = newLinesView(GBSatellites, QStringLiteral("LB_PRNObs"), 800);
    LB_PRNObs->setMinimumHeight(120);
    satellitesGrid->addWidget(LB_PRNObs, 1, 0, 1, 3);
    satellitesGrid->setRowStretch(1, 1);

    BBCloseHead = new QPushButton(QStringLiteral("Close Header Information"), this);
    BBCloseHead->setObjectName(QStringLiteral("BBCloseHead"));

    auto* left = new QVBoxLayout;
    left->addWidget(general);
    left->addWidget(GBReceiver);
    left->addWidget(GBMarker);
    left->addStretch(1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(GBAntenna);
    middle->addWidget(GBWavelength, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(GBObservations);
    right->addStretch(1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(middle, 1);
    columns->addLayout(right, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(BBCloseHead);

    auto* page = new QVBoxLayout(this);
    page->addWidget(STTitle);
    page->addLayout(columns);
    // The type codes and the count table are wide: they take the whole width.
    page->addWidget(GBObsTypes);
    page->addWidget(GBSatellites, 1);
    page->addLayout(bottom);

    linesModelOf(LB_WFPRN)->setLines(&m_wfPrn);
    linesModelOf(LB_PRNObs)->setLines(&m_prnObs);
}

QLabel* HeaderPanel::addField(QGridLayout* grid, int row, const char* caption, const char* name,
                              int pair) {
    auto* label = new QLabel(QString::fromLatin1(caption), grid->parentWidget());
    auto* value = new QLabel(grid->parentWidget());
    value->setObjectName(QString::fromLatin1(name));
    value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    value->setMinimumWidth(90);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setAutoFillBackground(true);
    value->setBackgroundRole(QPalette::Base);
    label->setBuddy(value);
    grid->addWidget(label, row, 2 * pair);
    grid->addWidget(value, row, 2 * pair + 1);
    return value;
}

void HeaderPanel::ClearHeaderLists() {
    m_wfPrn.assign(1, std::string(views::kWfPrnHeading));
    m_prnObs.assign(1, std::string(views::kPrnObsHeading));
    linesModelOf(LB_WFPRN)->refresh();
    linesModelOf(LB_PRNObs)->refresh();
}

void HeaderPanel::FillHeaderView(const header::THeaderData& h, std::int32_t intervalMs,
                                 const QString& decSep) {
    ClearHeaderLists();
    const views::HeaderViewTexts v = views::computeHeaderView(h, intervalMs, decSep.toStdString());
    ST_SatSys->setText(shown(v.satSys));
    ST_MarName->setText(shown(v.marName));
    ST_MarNumb->setText(shown(v.marNumb));
    ST_Observer->setText(shown(v.observer));
    ST_Agency->setText(shown(v.agency));
    ST_RecNum->setText(shown(v.recNum));
    ST_RecTyp->setText(shown(v.recTyp));
    ST_RecVer->setText(shown(v.recVer));
    ST_AntNum->setText(shown(v.antNum));
    ST_AntTyp->setText(shown(v.antTyp));
    ST_ApprX->setText(shown(v.apprX));
    ST_ApprY->setText(shown(v.apprY));
    ST_ApprZ->setText(shown(v.apprZ));
    ST_AntH->setText(shown(v.antH));
    ST_AntEe->setText(shown(v.antEe));
    ST_AntEn->setText(shown(v.antEn));
    ST_WLF_L1->setText(shown(v.wlfL1));
    ST_WLF_L2->setText(shown(v.wlfL2));
    ST_WLF_NS->setText(shown(v.wlfNS));
    ST_Interval->setText(shown(v.interval));
    if (v.firstObs)
        ST_FirstObs->setText(shown(*v.firstObs));
    if (v.lastObs)
        ST_LastObs->setText(shown(*v.lastObs));
    ST_TimeSys->setText(shown(v.timeSys));
    ST_LeapSec->setText(shown(v.leapSec));
    ST_NumSat->setText(shown(v.numSat));
    if (v.nObsTyp)
        ST_NObsTyp->setText(shown(*v.nObsTyp));
    if (v.obsTyp)
        ST_ObsTyp->setText(shown(*v.obsTyp));
    m_wfPrn = v.wfPrn;
    m_prnObs = v.prnObs;
    linesModelOf(LB_WFPRN)->refresh();
    linesModelOf(LB_PRNObs)->refresh();
}

} // namespace ui
