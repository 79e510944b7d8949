#include "ui/MeteoPanel.h"

#include "ui/ChartView.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace ui {

static QString shown(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// One colour per series.
static const std::array<QColor, views::kMeteoSeriesCount> kSeriesColours = {
    QColor(0, 0, 200),   // PR
    QColor(200, 0, 0),   // TD
    QColor(0, 140, 0),   // HR
    QColor(200, 120, 0), // ZW
    QColor(140, 0, 160), // ZD
    QColor(0, 140, 160), // ZT
    QColor(120, 120, 0), // WS
    QColor(90, 90, 90),  // WD
    QColor(0, 90, 200),  // RI
    QColor(200, 0, 120), // HI
};

MeteoPanel::MeteoPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PMeteo"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

    ChMeteo = new ChartView(this);
    ChMeteo->setObjectName(QStringLiteral("ChMeteo"));
    ChMeteo->setLegendShown(true);
    ChMeteo->setDateTimeAxis(shown(views::kMeteoAxisFormat));
    // The date-times are long: fewer ticks keep their labels apart.
    ChMeteo->xAxis->ticker()->setTickCount(4);
    ChMeteo->setMinimumSize(560, 300);
    for (std::size_t i = 0; i < views::kMeteoSeriesCount; ++i)
        ChMeteo->addSeries(shown(views::kMeteoSeriesTitles[i]), kSeriesColours[i]);
    // Pressure (about 1000 mbar) on an axis of its own, so that its scale does not flatten
    // temperature and humidity to a line.
    ChMeteo->setSeriesOnRightAxis(0, QStringLiteral("PR [mbar]"));
    // The legend stands beside the plot, at its top, so that it hides no points.
    auto* legendColumn = new QCPLayoutGrid;
    ChMeteo->plotLayout()->addElement(0, 1, legendColumn);
    legendColumn->addElement(0, 0, ChMeteo->legend);
    legendColumn->addElement(1, 0, new QCPLayoutElement(ChMeteo));
    legendColumn->setRowStretchFactor(0, 0.001);
    legendColumn->setMargins(QMargins(0, 10, 10, 0));
    ChMeteo->plotLayout()->setColumnStretchFactor(1, 0.001);

    auto* boxes = new QGroupBox(QStringLiteral("Meteo types"), this);
    boxes->setObjectName(QStringLiteral("GBMeteoTypes"));
    auto* boxRow = new QHBoxLayout(boxes);
    for (std::size_t i = 0; i < views::kMeteoSeriesCount; ++i) {
        auto* box = new QCheckBox(shown(views::kMeteoSeriesTitles[i]), boxes);
        box->setObjectName(shown(views::kMeteoCheckBoxes[i]));
        box->setChecked(views::kMeteoCheckedAtStart[i]);
        box->setEnabled(false);
        boxRow->addWidget(box);
        m_boxes[i] = box;
        connect(box, &QCheckBox::clicked, this, &MeteoPanel::fillChart);
    }
    boxRow->addStretch(1);
    // A context-menu request on the ZT box draws the chart again as well.
    m_boxes[5]->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_boxes[5], &QCheckBox::customContextMenuRequested, this, &MeteoPanel::fillChart);

    SGMeteoSens = new QTableWidget(0, 4, this);
    SGMeteoSens->setObjectName(QStringLiteral("SGMeteoSens"));
    SGMeteoSens->verticalHeader()->hide();
    SGMeteoSens->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGMeteoSens->setSelectionMode(QAbstractItemView::NoSelection);
    SGMeteoSens->setFocusPolicy(Qt::NoFocus);
    SGMeteoSens->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    SGMeteoSens->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SGMeteoSens->verticalHeader()->setDefaultSectionSize(SGMeteoSens->fontMetrics().height() + 8);

    BBCloseMeteo = new QPushButton(QStringLiteral("Close"), this);
    BBCloseMeteo->setObjectName(QStringLiteral("BBCloseMeteo"));

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(BBCloseMeteo);

    auto* page = new QVBoxLayout(this);
    page->addWidget(ChMeteo, 1);
    page->addWidget(boxes);
    page->addWidget(SGMeteoSens);
    page->addLayout(bottom);
    fitGridHeight();
}

void MeteoPanel::open(const views::MeteoSources& sources, const header::THeaderDataMeteo& header,
                      text::ScanObserver& observer) {
    m_sources = sources;
    m_observer = &observer;
    fillChart();
    const std::array<bool, views::kMeteoSeriesCount> enabled =
        views::MeteoBoxesEnabled(sources.types);
    for (std::size_t i = 0; i < views::kMeteoSeriesCount; ++i)
        m_boxes[i]->setEnabled(enabled[i]);

    const std::vector<std::array<std::string, 4>> rows = views::MeteoSensorRows(header);
    SGMeteoSens->clearContents();
    SGMeteoSens->setRowCount(rows.empty() ? 0 : static_cast<int>(rows.size()) - 1);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < 4; ++c) {
            const QString text = shown(rows[r][static_cast<std::size_t>(c)]);
            if (r == 0) {
                SGMeteoSens->setHorizontalHeaderItem(c, new QTableWidgetItem(text));
                continue;
            }
            auto* item = new QTableWidgetItem(text);
            // The accuracy is written right-aligned in seven characters: keep it right.
            item->setTextAlignment(c == 2 ? Qt::AlignRight | Qt::AlignVCenter
                                          : Qt::AlignLeft | Qt::AlignVCenter);
            SGMeteoSens->setItem(static_cast<int>(r) - 1, c, item);
        }
    }
    fitGridHeight();
    if (BBCloseMeteo->isEnabled())
        BBCloseMeteo->setFocus();
}

// The grid is as high as its rows, up to five of them; more scroll.
void MeteoPanel::fitGridHeight() {
    const int rowHeight = SGMeteoSens->verticalHeader()->defaultSectionSize();
    const int rows = std::clamp(SGMeteoSens->rowCount(), 1, 5);
    SGMeteoSens->setFixedHeight(SGMeteoSens->horizontalHeader()->sizeHint().height() +
                                rows * rowHeight + 2 * SGMeteoSens->frameWidth());
}

void MeteoPanel::fillChart() {
    ChMeteo->clearData();
    if (!m_observer) {
        ChMeteo->refresh();
        return;
    }
    std::array<bool, views::kMeteoSeriesCount> checked{};
    for (std::size_t i = 0; i < views::kMeteoSeriesCount; ++i)
        checked[i] = m_boxes[i]->isChecked();
    const std::array<views::MeteoSeries, views::kMeteoSeriesCount> series =
        views::MeteoChartSeries(m_sources, checked, *m_observer);
    for (std::size_t i = 0; i < views::kMeteoSeriesCount; ++i)
        ChMeteo->setSeriesData(static_cast<int>(i), series[i].x, series[i].y);
    ChMeteo->refresh();
}

} // namespace ui
