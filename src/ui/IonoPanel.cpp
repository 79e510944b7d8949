#include "ui/IonoPanel.h"

#include "views/IonoView.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

static QString shown(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

IonoPanel::IonoPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PIO"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

    STTitleIO = new QLabel(shown(views::kIonoTitle), this);
    STTitleIO->setObjectName(QStringLiteral("STTitleIO"));
    QFont titleFont = STTitleIO->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    STTitleIO->setFont(titleFont);
    STTitleIO->setAlignment(Qt::AlignCenter);

    // The captions and names come with the labels; a zero header gives them.
    const std::array<views::IonoLabel, 8> labels = views::IonoLabels(header::THeaderDataGPS{}, ".");
    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("GBIono"));
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(8);
    grid->setContentsMargins(16, 12, 16, 12);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const int row = static_cast<int>(i) + (i >= 4 ? 1 : 0); // a gap between alpha and beta
        auto* caption = new QLabel(shown(labels[i].caption), box);
        auto* value = new QLabel(box);
        value->setObjectName(shown(labels[i].name));
        value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        value->setAutoFillBackground(true);
        value->setBackgroundRole(QPalette::Base);
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance(
                                   QStringLiteral(" Alpha0=-1.23456789012345E-10")) +
                               12);
        value->setMargin(4);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        caption->setBuddy(value);
        grid->addWidget(caption, row, 0);
        grid->addWidget(value, row, 1);
        m_values[i] = value;
    }
    grid->setRowMinimumHeight(4, 8);

    BBCloseIono = new QPushButton(QStringLiteral("Close"), this);
    BBCloseIono->setObjectName(QStringLiteral("BBCloseIono"));

    auto* centre = new QHBoxLayout;
    centre->addStretch(1);
    centre->addWidget(box);
    centre->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(BBCloseIono);

    auto* page = new QVBoxLayout(this);
    page->addWidget(STTitleIO);
    page->addSpacing(12);
    page->addLayout(centre);
    page->addStretch(1);
    page->addLayout(bottom);
}

void IonoPanel::open(const header::THeaderDataGPS& h, const QString& decSep) {
    const std::array<views::IonoLabel, 8> labels = views::IonoLabels(h, decSep.toStdString());
    for (std::size_t i = 0; i < labels.size(); ++i)
        m_values[i]->setText(shown(labels[i].text));
    if (BBCloseIono->isEnabled())
        BBCloseIono->setFocus();
}

} // namespace ui
