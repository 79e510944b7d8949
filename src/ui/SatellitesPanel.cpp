#include "ui/SatellitesPanel.h"

#include "ui/ChartView.h"
#include "ui/ObsPanelParts.h"
#include "views/SatellitesView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

SatellitesPanel::SatellitesPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PSats"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

    ChartSat =
        newObsChart(this, "ChartSat", views::kChartSatTitle, views::kChartSatBottomTitle, true);
    for (const char* title : {"ALL", "GPS", "GLO", "GEO", "GAL"})
        ChartSat->addSeries(QString::fromLatin1(title), seriesColour(ChartSat->seriesCount()));

    STIntSat = newLabel(this, "STIntSat", QStringLiteral("  Interval="));
    STSatMax = newLabel(this, "STSatMax", QStringLiteral("  Max="));
    STSatMin = newLabel(this, "STSatMin", QStringLiteral("  Min="));
    BitBtn5 = newCalculatorButton(this, "BitBtn5", "Epoch number  --->  Time");
    BBCloseSat = newButton(this, "BBCloseSat", "Close");

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(STIntSat);
    bottom->addSpacing(16);
    bottom->addWidget(STSatMax);
    bottom->addSpacing(16);
    bottom->addWidget(STSatMin);
    bottom->addStretch(1);
    bottom->addWidget(BitBtn5);
    bottom->addWidget(BBCloseSat);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ChartSat, 1);
    layout->addLayout(bottom);
}

void SatellitesPanel::open(const std::filesystem::path& rinexEpochs, const obs::TObsFileO& scan,
                           text::ScanObserver& observer) {
    ChartSat->clearData();
    show();
    raise();
    const views::SatellitesView view =
        views::computeSatellitesView(rinexEpochs, scan.writtenEpochs, scan.intervalMs,
                                     scan.largestSatCount, scan.smallestSatCount);
    STIntSat->setText(shownText(view.STIntSat));
    for (int i = 0; i < 5; ++i)
        showSeries(ChartSat, i, view.series[static_cast<std::size_t>(i)]);
    ChartSat->refresh();
    tellAll(observer, view.messages);
    if (view.STSatMax)
        STSatMax->setText(shownText(*view.STSatMax));
    if (view.STSatMin)
        STSatMin->setText(shownText(*view.STSatMin));
    if (BBCloseSat->isVisible())
        BBCloseSat->setFocus();
}

} // namespace ui
