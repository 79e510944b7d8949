#include "ui/OccupationsPanel.h"

#include "ui/ChartView.h"
#include "ui/LinesModel.h"
#include "ui/ObsPanelParts.h"
#include "views/OccupationsView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

OccupationsPanel::OccupationsPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("POccup"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

    LBOccup = newLinesView(this, QStringLiteral("LBOccup"));
    LBOccup->setMinimumHeight(120);

    ChOccup = newObsChart(this, "ChOccup", views::kChOccupTitle, views::kChOccupBottomTitle, true);
    ChOccup->addSeries(QStringLiteral("Static"), seriesColour(2), ChartView::Marker::Square);
    ChOccup->addSeries(QStringLiteral("Kinematic"), seriesColour(0), ChartView::Marker::Square);
    // The left axis carries no numbers; the receiver number stands beside it, horizontally.
    ChOccup->yAxis->setTickLabels(false);
    ChOccup->yAxis->setTicks(false);
    ChOccup->fixYRange(-1, 1);
    m_leftTitle = newLabel(this, "STOccupReceiver", QString());
    m_leftTitle->setAlignment(Qt::AlignCenter);
    m_leftTitle->setAutoFillBackground(true);
    QPalette white = m_leftTitle->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_leftTitle->setPalette(white);

    BitBtn3 = newCalculatorButton(this, "BitBtn3", "");
    BBCloseOcc = newButton(this, "BBCloseOcc", "Close");

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(BitBtn3);
    bottom->addWidget(BBCloseOcc);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LBOccup, 1);
    auto* chartRow = new QHBoxLayout;
    chartRow->setSpacing(0);
    chartRow->addWidget(m_leftTitle);
    chartRow->addWidget(ChOccup, 1);
    layout->addLayout(chartRow, 2);
    layout->addLayout(bottom);
}

QString OccupationsPanel::leftTitle() const {
    return m_leftTitle->text();
}

bool OccupationsPanel::open(const std::filesystem::path& rinexEpochs,
                            const header::THeaderData& header, const obs::TObsFileO& scan,
                            std::string_view decSep, text::ScanObserver& observer) {
    const views::OccupationsView view = views::computeOccupationsView(
        rinexEpochs, scan.writtenEpochs, header.receiverNumber, decSep);
    if (!view.opened) {
        tellAll(observer, view.messages);
        return false;
    }
    m_lines = view.LBOccup;
    LinesModel* model = linesModelOf(LBOccup);
    model->setLines(&m_lines);
    model->refresh();

    show();
    raise();
    ChOccup->clearData();
    applyLeftAxis(ChOccup, view.left);
    m_leftTitle->setText(shownText(view.leftTitle));
    showSeries(ChOccup, 0, view.staticSeries);
    showSeries(ChOccup, 1, view.kinematicSeries);
    ChOccup->refresh();
    tellAll(observer, view.messages);
    if (BBCloseOcc->isVisible())
        BBCloseOcc->setFocus();
    return true;
}

} // namespace ui
