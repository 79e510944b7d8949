#include "ui/EpochsPanel.h"

#include "ui/ChartView.h"
#include "ui/LinesModel.h"
#include "ui/ObsPanelParts.h"
#include "views/EpochsView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace ui {

EpochsPanel::EpochsPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PVTime"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

    STNEpochs = newLabel(this, "STNEpochs", QStringLiteral("Epochs"));
    STNEpochs->setAlignment(Qt::AlignCenter);
    STNEpochs->setAutoFillBackground(true);
    QFont bold = STNEpochs->font();
    bold.setBold(true);
    STNEpochs->setFont(bold);

    STCaption = newLabel(this, "STEpochsCaption", shownText(views::kEpochsCaption), true);
    LBEpochs = newLinesView(this, QStringLiteral("LBEpochs"));
    LBEpochs->setFont(STCaption->font());
    // The caption's columns stand over the list's: indent it by the list's frame and the
    // item's text margin.
    const int textMargin = LBEpochs->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1;
    STCaption->setContentsMargins(LBEpochs->frameWidth() + textMargin, 0, 0, 0);
    LBEpochs->setMinimumWidth(QFontMetrics(STCaption->font()).horizontalAdvance(QString(60, 'X')));

    ChTimes = newObsChart(this, "ChTimes", views::kChTimesTitle, views::kChTimesBottomTitle, false);
    ChTimes->addSeries(QString(), seriesColour(0));

    STStart = newLabel(this, "STStart", QStringLiteral("Start Epoch"), true);
    STFinish = newLabel(this, "STFinish", QStringLiteral("Finish Epoch"), true);
    STInterv = newLabel(this, "STInterv", QStringLiteral("Interval"), true);
    STGap = newLabel(this, "STGap", QStringLiteral("Gaps"), true);
    BBVCloseTimes = newButton(this, "BBVCloseTimes", "Close Epochs window");

    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(STCaption);
    listColumn->addWidget(LBEpochs, 1);

    auto* chartColumn = new QVBoxLayout;
    chartColumn->addWidget(ChTimes, 1);
    auto* labels = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(STStart);
    left->addWidget(STFinish);
    auto* right = new QVBoxLayout;
    right->addWidget(STInterv);
    right->addWidget(STGap);
    labels->addLayout(left);
    labels->addSpacing(20);
    labels->addLayout(right);
    labels->addStretch(1);
    chartColumn->addLayout(labels);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BBVCloseTimes);
    chartColumn->addLayout(buttons);

    auto* body = new QHBoxLayout;
    body->addLayout(listColumn);
    body->addLayout(chartColumn, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(STNEpochs);
    layout->addLayout(body, 1);
}

void EpochsPanel::open(const obs::TObsFileO& scan) {
    m_lines = scan.LBEpochs;
    LinesModel* model = linesModelOf(LBEpochs);
    model->setLines(&m_lines);
    model->refresh();

    const views::EpochsViewTexts texts = views::computeEpochsView(
        m_lines, scan.intervalMs, scan.gapCount, scan.missingEpochs, scan.writtenEpochs);
    STNEpochs->setText(shownText(texts.STNEpochs));
    STStart->setText(shownText(texts.STStart));
    STFinish->setText(shownText(texts.STFinish));
    STInterv->setText(shownText(texts.STInterv));
    STGap->setText(shownText(texts.STGap));

    const views::EpochsChart chart = views::epochsChart(scan.ChTimes, scan.timesAxis);
    showSeries(ChTimes, 0, chart.ChTimes);
    applyLeftAxis(ChTimes, chart.left);
    ChTimes->refresh();

    show();
    raise();
    if (BBVCloseTimes->isVisible())
        BBVCloseTimes->setFocus();
}

} // namespace ui
