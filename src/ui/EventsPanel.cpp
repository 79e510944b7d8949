#include "ui/EventsPanel.h"

#include "ui/ChartView.h"
#include "ui/ObsPanelParts.h"
#include "views/EventsView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

EventsPanel::EventsPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PEvents"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

    ChartEvents = newObsChart(this, "ChartEvents", "", views::kChartEventsBottomTitle, true);
    ChartEvents->yAxis->setLabel(shownText(views::kChartEventsLeftTitle));
    ChartEvents->addSeries(QStringLiteral("XA"), seriesColour(0));
    ChartEvents->addSeries(QStringLiteral("XB"), seriesColour(1));

    CBXA = new QCheckBox(QStringLiteral("XA"), this);
    CBXA->setObjectName(QStringLiteral("CBXA"));
    CBXA->setChecked(true);
    CBXB = new QCheckBox(QStringLiteral("XB"), this);
    CBXB->setObjectName(QStringLiteral("CBXB"));
    CBXB->setChecked(false);
    BBTimeV = newCalculatorButton(this, "BBTimeV", "Epoch number  --->  Time");
    BBCloseEE = newButton(this, "BBCloseEE", "Close");

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(CBXA);
    bottom->addWidget(CBXB);
    bottom->addStretch(1);
    bottom->addWidget(BBTimeV);
    bottom->addWidget(BBCloseEE);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ChartEvents, 1);
    layout->addLayout(bottom);

    // CBXAClick, CBXBClick: the chart follows the new choice.
    connect(CBXA, &QCheckBox::clicked, this, [this] { fillChart(); });
    connect(CBXB, &QCheckBox::clicked, this, [this] { fillChart(); });
}

void EventsPanel::open(const std::filesystem::path& extEventsXA,
                       const std::filesystem::path& extEventsXB, const obs::TObsFileO& scan,
                       text::ScanObserver& observer) {
    m_xa = extEventsXA;
    m_xb = extEventsXB;
    m_eventsA = scan.extEventsA;
    m_eventsB = scan.extEventsB;
    m_observer = &observer;
    show();
    raise();
    fillChart();
    if (BBCloseEE->isVisible())
        BBCloseEE->setFocus();
}

void EventsPanel::fillChart() {
    if (!m_observer)
        return;
    ChartEvents->clearData();
    const views::EventsView view = views::computeEventsView(m_xa, m_xb, m_eventsA, m_eventsB,
                                                            CBXA->isChecked(), CBXB->isChecked());
    showSeries(ChartEvents, 0, view.series[0]);
    showSeries(ChartEvents, 1, view.series[1]);
    applyLeftAxis(ChartEvents, view.left);
    ChartEvents->refresh();
    tellAll(*m_observer, view.messages);
}

} // namespace ui
