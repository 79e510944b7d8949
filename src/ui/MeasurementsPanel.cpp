#include "ui/MeasurementsPanel.h"

#include "ui/ChartView.h"
#include "ui/ObsPanelParts.h"
#include "ui/PieGauge.h"
#include "views/CombinationArcs.h"
#include "views/CombinationsView.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>
#include <utility>

namespace ui {

using views::SatSystem;

MeasursRadioGroup::MeasursRadioGroup(QWidget* parent, const char* name, const QString& caption,
                                     int itemCount, int columns)
    : QGroupBox(caption, parent), m_group(new QButtonGroup(this)) {
    setObjectName(QString::fromLatin1(name));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(0);
    for (int i = 0; i < itemCount; ++i) {
        auto* button = new QRadioButton(this);
        m_group->addButton(button, i);
        m_items.push_back(button);
        grid->addWidget(button, i / columns, i % columns);
    }
    connect(m_group, &QButtonGroup::idClicked, this, &MeasursRadioGroup::itemClicked);
}

QString MeasursRadioGroup::itemText(int item) const {
    return m_items.at(static_cast<std::size_t>(item))->text();
}

void MeasursRadioGroup::setItemText(int item, const QString& text) {
    m_items.at(static_cast<std::size_t>(item))->setText(text);
}

int MeasursRadioGroup::itemIndex() const {
    return m_group->checkedId();
}

void MeasursRadioGroup::setItemIndex(int item) {
    if (item >= 0 && item < count()) {
        m_items[static_cast<std::size_t>(item)]->setChecked(true);
        return;
    }
    // An exclusive group keeps one button checked; let go of it for a moment.
    m_group->setExclusive(false);
    for (QRadioButton* b : m_items)
        b->setChecked(false);
    m_group->setExclusive(true);
}

void MeasursRadioGroup::setItemCells(const std::vector<std::pair<int, int>>& cells) {
    auto* grid = static_cast<QGridLayout*>(layout());
    for (std::size_t i = 0; i < m_items.size() && i < cells.size(); ++i) {
        grid->removeWidget(m_items[i]);
        grid->addWidget(m_items[i], cells[i].first, cells[i].second);
    }
}

static QString listText(std::string_view s) {
    return shownText(s);
}

MeasurementsPanel::MeasurementsPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PMeasurs"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

    RGMeasurs = new MeasursRadioGroup(this, "RGMeasurs", QString(),
                                      static_cast<int>(views::kMeasursItems.size()), 1);
    // The types stand in a row per kind (C, P, L, D, S) and a column per band, as the
    // summary counts them.
    std::vector<std::pair<int, int>> typeCells;
    for (std::size_t i = 0; i < views::kMeasursItems.size(); ++i) {
        RGMeasurs->setItemText(static_cast<int>(i), listText(views::kMeasursItems[i]));
        typeCells.emplace_back(static_cast<int>(header::kindRow(i)),
                               static_cast<int>(header::bandColumn(i)));
    }
    RGMeasurs->setItemCells(typeCells);
    RGMeasurs->setItemIndex(0);

    const auto satelliteGroupOf = [this](SatSystem system, const char* name) {
        return new MeasursRadioGroup(
            this, name, shownText(views::kGroupCaptions[static_cast<std::size_t>(system)]),
            header::itemCount(system), 8);
    };
    RGMGPS = satelliteGroupOf(SatSystem::GPS, "RGMGPS");
    RGMGLO = satelliteGroupOf(SatSystem::GLONASS, "RGMGLO");
    RGMGEO = satelliteGroupOf(SatSystem::GEO, "RGMGEO");
    RGMGAL = satelliteGroupOf(SatSystem::Galileo, "RGMGAL");
    const std::array<MeasursRadioGroup*, 4> groups = {RGMGPS, RGMGLO, RGMGEO, RGMGAL};
    for (std::size_t g = 0; g < groups.size(); ++g) {
        for (int i = 0; i < groups[g]->count(); ++i)
            groups[g]->setItemText(i, QStringLiteral("N"));
        const auto system = static_cast<SatSystem>(g);
        connect(groups[g], &MeasursRadioGroup::itemClicked, this,
                [this, system](int item) { satelliteClick(system, item); });
    }
    connect(RGMeasurs, &MeasursRadioGroup::itemClicked, this,
            [this](int item) { RGMeasursClick(item); });

    ChMeasurs =
        newObsChart(this, "ChMeasurs", views::unitLabel(0), views::kMeasursBottomTitle, false);
    ChMeasurs->addSeries(QString(), seriesColour(1));
    // The slips of a combination whose arc means are taken off.
    ChMeasurs->addSeries(shownText(views::kSlipsSeriesTitle), QColor(220, 0, 0),
                         ChartView::Marker::Square);
    ChMeasurs->graph(1)->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssSquare, QColor(220, 0, 0), QColor(220, 0, 0), 7));
    // Pseudoranges and phases read better as whole numbers than as powers of ten.
    ChMeasurs->yAxis->setNumberFormat(QStringLiteral("g"));
    ChMeasurs->yAxis->setNumberPrecision(12);
    ChMeasursSN = newObsChart(this, "ChMeasursSN", views::kChMeasursSNTitle,
                              views::kMeasursBottomTitle, false);
    ChMeasursSN->addSeries(QString(), seriesColour(2));
    ChMeasursSN->fixYRange(-0.5, 15.5);
    ChMeasursSN->setMinimumHeight(140);

    GMeas = new PieGauge(this);
    GMeas->setObjectName(QStringLiteral("GMeas"));
    GMeas->setFixedSize(48, 48);
    BBComObs = newButton(this, "BBComObs", "Combinations");
    BitBtn9 = newCalculatorButton(this, "BitBtn9", "");
    BBCloseMeas = newButton(this, "BBCloseMeas", "Close");

    // The combinations panel lies over the charts while it is asked for.
    PCombObs = new QFrame(this);
    PCombObs->setObjectName(QStringLiteral("PCombObs"));
    PCombObs->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PCombObs->setLineWidth(2);
    PCombObs->setAutoFillBackground(true);
    auto* combTitle = newLabel(PCombObs, "STCombObs", shownText(views::kPCombObsTitle));
    QFont bold = combTitle->font();
    bold.setBold(true);
    combTitle->setFont(bold);
    combTitle->setAlignment(Qt::AlignCenter);
    RGComObs = new MeasursRadioGroup(PCombObs, "RGComObs", QString(),
                                     static_cast<int>(views::kComObsItems.size()), 1);
    for (int i = 0; i < RGComObs->count(); ++i)
        RGComObs->setItemText(i, shownText(views::kComObsItems[static_cast<std::size_t>(i)]));
    RGComObs->setItemIndex(0);
    CBArcMeans = new QCheckBox(shownText(views::kArcMeansCaption), PCombObs);
    CBArcMeans->setObjectName(QStringLiteral("CBArcMeans"));
    BBOkComObs = newButton(PCombObs, "BBOkComObs", "Ok");
    BBCloseComObs = newButton(PCombObs, "BBCloseComObs", "Cancel");
    auto* combButtons = new QHBoxLayout;
    combButtons->addStretch(1);
    combButtons->addWidget(BBOkComObs);
    combButtons->addWidget(BBCloseComObs);
    auto* combLayout = new QVBoxLayout(PCombObs);
    combLayout->addWidget(combTitle);
    combLayout->addWidget(RGComObs);
    combLayout->addWidget(CBArcMeans);
    combLayout->addLayout(combButtons);
    PCombObs->hide();
    connect(BBComObs, &QPushButton::clicked, this, [this] { BBComObsClick(); });
    connect(BBOkComObs, &QPushButton::clicked, this, [this] { BBOkComObsClick(); });
    connect(BBCloseComObs, &QPushButton::clicked, this, [this] { BBCloseComObsClick(); });

    auto* satellites = new QVBoxLayout;
    satellites->addWidget(RGMGPS);
    satellites->addWidget(RGMGLO);
    satellites->addWidget(RGMGEO);
    satellites->addWidget(RGMGAL);
    satellites->addStretch(1);

    // The type choices stand above the charts, the gauge right beside them: on a small screen
    // the window shows the left part of its content.
    auto* typesRow = new QHBoxLayout;
    typesRow->addWidget(RGMeasurs);
    typesRow->addWidget(GMeas, 0, Qt::AlignVCenter);
    typesRow->addStretch(1);

    auto* charts = new QVBoxLayout;
    charts->addLayout(typesRow);
    charts->addWidget(ChMeasurs, 3);
    charts->addWidget(ChMeasursSN, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BBComObs);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn9);
    buttons->addWidget(BBCloseMeas);
    charts->addLayout(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(satellites);
    layout->addLayout(charts, 1);
}

MeasursRadioGroup* MeasurementsPanel::satelliteGroup(SatSystem system) const {
    switch (system) {
    case SatSystem::GPS:
        return RGMGPS;
    case SatSystem::GLONASS:
        return RGMGLO;
    case SatSystem::GEO:
        return RGMGEO;
    case SatSystem::Galileo:
        return RGMGAL;
    }
    return RGMGPS;
}

void MeasurementsPanel::open(const std::filesystem::path& rinexEpochs,
                             const std::filesystem::path& obsRecs,
                             const header::THeaderData& header, const obs::TObsFileO& scan,
                             text::ScanObserver& observer) {
    m_epochs = rinexEpochs;
    m_obsRecs = obsRecs;
    m_layout = views::layoutOf(header, scan);
    m_writtenEpochs = scan.writtenEpochs;
    m_intervalS = scan.intervalMs / 1000.0;
    m_observer = &observer;
    PCombObs->hide();

    const views::ChartRequest request = m_selection.open(scan.seen);
    const views::SatelliteGroups& items = m_selection.groups();
    const std::array<const std::vector<std::string>*, 4> texts = {&items.RGMGPS, &items.RGMGLO,
                                                                  &items.RGMGEO, &items.RGMGAL};
    for (std::size_t g = 0; g < texts.size(); ++g) {
        MeasursRadioGroup* group = satelliteGroup(static_cast<SatSystem>(g));
        for (int i = 0; i < group->count() && static_cast<std::size_t>(i) < texts[g]->size(); ++i)
            group->setItemText(i, shownText((*texts[g])[static_cast<std::size_t>(i)]));
    }
    showSelection();
    clearCharts();
    show();
    raise();
    run(request);
    if (BBCloseMeas->isVisible())
        BBCloseMeas->setFocus();
}

void MeasurementsPanel::showSelection() {
    RGMeasurs->setItemIndex(m_selection.selectedType());
    for (std::size_t g = 0; g < 4; ++g) {
        const auto system = static_cast<SatSystem>(g);
        satelliteGroup(system)->setItemIndex(m_selection.selectedItem(system));
    }
}

void MeasurementsPanel::clearCharts() {
    ChMeasurs->clearData();
    ChMeasursSN->clearData();
    ChMeasurs->refresh();
    ChMeasursSN->refresh();
}

void MeasurementsPanel::setGauge(int percent) {
    GMeas->setFraction(percent / 100.0);
    GMeas->repaint();
}

void MeasurementsPanel::RGMeasursClick(int item) {
    if (!m_observer || item < 0)
        return;
    const views::ChartRequest request = m_selection.typeChosen(static_cast<std::size_t>(item));
    showSelection();
    clearCharts();
    run(request);
}

void MeasurementsPanel::satelliteClick(SatSystem system, int item) {
    if (!m_observer || item < 0)
        return;
    const auto comObs = static_cast<std::size_t>(std::max(0, RGComObs->itemIndex()));
    const views::ChartRequest request =
        m_selection.satelliteChosen(system, static_cast<std::size_t>(item), comObs);
    showSelection();
    clearCharts();
    run(request);
}

void MeasurementsPanel::BBComObsClick() {
    PCombObs->adjustSize();
    PCombObs->move(std::max(0, (width() - PCombObs->width()) / 2),
                   std::max(0, (height() - PCombObs->height()) / 3));
    PCombObs->show();
    PCombObs->raise();
}

void MeasurementsPanel::BBCloseComObsClick() {
    PCombObs->hide();
}

void MeasurementsPanel::BBOkComObsClick() {
    if (!m_observer)
        return;
    const auto comObs = static_cast<std::size_t>(std::max(0, RGComObs->itemIndex()));
    const views::ChartRequest request = m_selection.combinationOk(comObs);
    PCombObs->hide();
    showSelection();
    clearCharts();
    run(request);
}

void MeasurementsPanel::run(const views::ChartRequest& request) {
    if (request.kind == views::ChartRequest::Kind::Clear)
        return;
    const views::GaugeProgress progress = [this](int percent) {
        setGauge(percent);
        m_observer->repaint();
    };
    views::MeasurementsChart chart;
    views::PointSeries slips;
    if (request.kind == views::ChartRequest::Kind::Measurement) {
        chart = views::chartMeasurement(m_epochs, m_obsRecs, m_writtenEpochs, m_layout,
                                        request.code, request.index, progress);
    } else if (!CBArcMeans->isChecked()) {
        chart = views::chartCombination(m_epochs, m_obsRecs, m_writtenEpochs, m_layout,
                                        request.code, request.index, progress);
    } else {
        views::QualitySources sources;
        sources.rinexEpochs = m_epochs;
        sources.obsRecs = m_obsRecs;
        sources.writtenEpochs = m_writtenEpochs;
        sources.layout = m_layout;
        sources.intervalS = m_intervalS;
        views::CombinationArcsChart byArcs =
            views::chartCombinationByArcs(sources, request.code, request.index, {}, progress);
        chart = std::move(byArcs.chart);
        slips = std::move(byArcs.slips);
    }
    if (chart.title)
        ChMeasurs->setTitle(shownText(*chart.title));
    showSeries(ChMeasurs, 0, chart.values);
    showSeries(ChMeasurs, 1, slips);
    showSeries(ChMeasursSN, 0, chart.strength);
    applyLeftAxis(ChMeasursSN, chart.strengthAxis);
    ChMeasurs->refresh();
    ChMeasursSN->refresh();

    const auto gaugeSequence = [this] {
        setGauge(100);
        m_observer->repaint();
        m_observer->pause(300);
        setGauge(0);
        m_observer->repaint();
    };
    if (chart.gauge == views::GaugeSequence::BeforeMessages)
        gaugeSequence();
    tellAll(*m_observer, chart.messages);
    if (chart.gauge == views::GaugeSequence::AfterMessages)
        gaugeSequence();
}

} // namespace ui
