#include "ui/QualityPanel.h"

#include "ui/ChartView.h"
#include "ui/ObsPanelParts.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>

namespace ui {

namespace {

// Class colours from good to poor, then grey for points without a value.
const std::array<QColor, 5> kClassColours = {QColor(0, 150, 0), QColor(0, 90, 200),
                                             QColor(220, 140, 0), QColor(200, 0, 0),
                                             QColor(150, 150, 150)};

QGroupBox* radioGroup(QWidget* parent, const char* name, const QString& caption,
                      const std::array<std::string_view, 2>& items, QButtonGroup*& group) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    group = new QButtonGroup(box);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(6, 2, 6, 2);
    for (std::size_t i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(shownText(items[i]), box);
        b->setObjectName(QString::fromLatin1(name) + QString::number(i));
        group->addButton(b, static_cast<int>(i));
        row->addWidget(b);
    }
    group->button(0)->setChecked(true);
    return box;
}

} // namespace

QualityPanel::QualityPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PQuality"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

    STQuality = newLabel(this, "STQuality", QString());
    STQuality->setWordWrap(true);

    ChSky = new ChartView(this);
    ChSky->setObjectName(QStringLiteral("ChSky"));
    ChSky->setTitle(QStringLiteral("Sky plot"));
    ChSky->setLegendShown(true);
    ChSky->fixXRange(-100, 100);
    ChSky->fixYRange(-100, 100);
    ChSky->xAxis->setVisible(false);
    ChSky->yAxis->setVisible(false);
    ChSky->setFixedSize(352, 410); // a round horizon: the plot area about square
    // The legend goes below the circle, in rows of three.
    auto* legendRow = new QCPLayoutGrid;
    ChSky->plotLayout()->addElement(ChSky->plotLayout()->rowCount(), 0, legendRow);
    legendRow->addElement(0, 0, ChSky->legend);
    ChSky->legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    ChSky->legend->setWrap(3);
    ChSky->plotLayout()->setRowStretchFactor(ChSky->plotLayout()->rowCount() - 1, 0.001);

    m_charts = new QStackedWidget(this);
    ChQualityMP = newObsChart(m_charts, "ChQualityMP", "", "", true);
    // Elevations are not epoch numbers.
    ChQualityMP->xAxis->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
    ChQualityIono = newObsChart(m_charts, "ChQualityIono", "", "", true);
    ChQualityIono->setDateTimeAxis(QStringLiteral("hh:mm"));
    m_charts->addWidget(ChQualityMP);
    m_charts->addWidget(ChQualityIono);

    RGSkyColour = radioGroup(this, "RGSkyColour", QStringLiteral("Tracks by"),
                             views::kSkyColourItems, m_skyColour);
    RGQualityChart = radioGroup(this, "RGQualityChart", QStringLiteral("Chart"),
                                views::kQualityChartItems, m_chart);
    connect(m_skyColour, &QButtonGroup::idClicked, this, [this] { fillSky(); });
    connect(m_chart, &QButtonGroup::idClicked, this, [this] { fillChart(); });

    auto* maskLabel = newLabel(this, "STMask", QStringLiteral("Mask"));
    EMask = new QDoubleSpinBox(this);
    EMask->setObjectName(QStringLiteral("EMask"));
    EMask->setRange(-5, 60);
    EMask->setDecimals(1);
    EMask->setValue(views::QualitySettings{}.maskDeg);
    EMask->setSuffix(QStringLiteral(" deg"));
    maskLabel->setBuddy(EMask);
    auto* windowLabel = newLabel(this, "STMPWindow", QStringLiteral("MP window"));
    EMPWindow = new QSpinBox(this);
    EMPWindow->setObjectName(QStringLiteral("EMPWindow"));
    EMPWindow->setRange(0, 100000);
    EMPWindow->setSpecialValueText(QStringLiteral("arc mean"));
    EMPWindow->setSuffix(QStringLiteral(" epochs"));
    EMPWindow->setToolTip(QStringLiteral("0 takes each arc's mean off MP; N a moving average of "
                                         "N epochs"));
    windowLabel->setBuddy(EMPWindow);
    BBQualityApply = newButton(this, "BBQualityApply", "Apply");
    BBCloseQuality = newButton(this, "BBCloseQuality", "Close");
    connect(BBQualityApply, &QPushButton::clicked, this, [this] {
        compute();
        fillGrid();
        fillSky();
        fillChart();
    });

    SGQuality = new QTableWidget(0, static_cast<int>(views::kQualityColumns.size()), this);
    SGQuality->setObjectName(QStringLiteral("SGQuality"));
    QStringList headers;
    for (std::string_view c : views::kQualityColumns)
        headers << shownText(c);
    SGQuality->setHorizontalHeaderLabels(headers);
    SGQuality->verticalHeader()->hide();
    SGQuality->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGQuality->setSelectionBehavior(QAbstractItemView::SelectRows);
    SGQuality->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    SGQuality->verticalHeader()->setDefaultSectionSize(SGQuality->fontMetrics().height() + 6);
    // The grid takes what the charts leave and scrolls; a few rows are always in sight.
    SGQuality->setMinimumHeight(5 * SGQuality->verticalHeader()->defaultSectionSize());

    auto* charts = new QHBoxLayout;
    charts->addWidget(ChSky);
    charts->addWidget(m_charts, 1);
    auto* controls = new QHBoxLayout;
    controls->addWidget(RGSkyColour);
    controls->addWidget(RGQualityChart);
    controls->addWidget(maskLabel);
    controls->addWidget(EMask);
    controls->addWidget(windowLabel);
    controls->addWidget(EMPWindow);
    controls->addWidget(BBQualityApply);
    controls->addStretch(1);
    controls->addWidget(BBCloseQuality);
    auto* page = new QVBoxLayout(this);
    page->addWidget(STQuality);
    page->addLayout(charts);
    page->addWidget(SGQuality, 1);
    page->addLayout(controls);
}

void QualityPanel::open(const views::QualitySources& sources, const std::string& decSep,
                        text::ScanObserver& observer) {
    m_sources = sources;
    m_decSep = decSep;
    m_observer = &observer;
    compute();
    fillGrid();
    fillSky();
    fillChart();
    if (BBCloseQuality->isVisible())
        BBCloseQuality->setFocus();
}

void QualityPanel::compute() {
    if (!m_observer)
        return;
    views::QualitySettings settings;
    settings.maskDeg = EMask->value();
    settings.mpWindow = EMPWindow->value();
    views::QualityOptions options;
    options.keepTracks = true;
    m_observer->busy(true);
    m_report = views::computeQuality(m_sources, settings, options);
    m_observer->busy(false);
    STQuality->setText(shownText(views::qualitySummaryLine(m_report, m_decSep)));
}

void QualityPanel::fillGrid() {
    const auto rows = views::qualityRows(m_report, m_decSep);
    SGQuality->clearContents();
    SGQuality->setRowCount(static_cast<int>(rows.size()));
    const int satellites = static_cast<int>(m_report.satellites.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(shownText(rows[r][c]));
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                          : Qt::AlignRight | Qt::AlignVCenter);
            if (static_cast<int>(r) >= satellites) {
                QFont bold = item->font();
                bold.setBold(true); // the systems and the file
                item->setFont(bold);
            }
            SGQuality->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
}

void QualityPanel::fillSky() {
    const auto colour = static_cast<views::SkyColour>(std::max(0, m_skyColour->checkedId()));
    const views::SkyPlot plot = views::skyPlot(m_report, colour);
    ChSky->clearItems();
    ChSky->removeSeries();
    const int grid = ChSky->addSeries(QString(), QColor(200, 200, 200));
    showSeries(ChSky, grid, plot.grid);
    ChSky->legend->removeItem(ChSky->legend->itemCount() - 1);
    for (std::size_t k = 0; k < plot.classes.size(); ++k) {
        const int s = ChSky->addSeries(shownText(plot.classes[k].title), kClassColours[k]);
        showSeries(ChSky, s, plot.classes[k]);
    }
    for (const views::PointSeries& label : plot.labels) {
        auto* text = new QCPItemText(ChSky);
        text->position->setCoords(label.x.front(), label.y.front());
        text->setText(shownText(label.title));
        text->setFont(QFont(font().family(), label.title.size() == 1 ? 10 : 7));
        text->setColor(label.title.size() == 1 ? Qt::black : QColor(60, 60, 60));
    }
    ChSky->refresh();
}

void QualityPanel::fillChart() {
    const auto which = static_cast<views::QualityChart>(std::max(0, m_chart->checkedId()));
    ChartView* chart = which == views::QualityChart::Ionosphere ? ChQualityIono : ChQualityMP;
    m_charts->setCurrentWidget(chart);
    const views::QualityChartSeries c = views::qualityChart(m_report, which);
    chart->removeSeries();
    chart->setTitle(shownText(c.title));
    chart->setAxisTitles(shownText(c.xTitle), shownText(c.yTitle));
    for (std::size_t k = 0; k < c.series.size(); ++k) {
        const int s =
            chart->addSeries(shownText(c.series[k].title), seriesColour(static_cast<int>(k)));
        showSeries(chart, s, c.series[k]);
    }
    chart->refresh();
}

} // namespace ui
