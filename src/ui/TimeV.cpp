#include "ui/TimeV.h"

#include "ui/Application.h"
#include "ui/ObsPanelParts.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace ui {

static QLineEdit* newReadOnlyBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    return box;
}

static QToolButton* newArrow(QWidget* parent, const char* name, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setToolTip(QStringLiteral("Fine tuning"));
    return button;
}

TFormTime::TFormTime(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TFormTime"));
    setWindowTitle(windowCaption(shownText(views::kTFormTimeCaption)));
    setWindowModality(Qt::NonModal);

    PTime = new QFrame(this);
    PTime->setObjectName(QStringLiteral("PTime"));
    PTime->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto* caption = new QLabel(QStringLiteral("Epoch number"), PTime);
    ENumEp = newReadOnlyBox(PTime, "ENumEp");
    ENumEp->setMaximumWidth(90);
    TBTime = new QSlider(Qt::Horizontal, PTime);
    TBTime->setObjectName(QStringLiteral("TBTime"));
    TBTime->setRange(1, 1);
    TBTime->setTickPosition(QSlider::TicksBelow);
    TBTime->setTickInterval(views::kTBTimeTickEvery);
    TBTime->setMinimumWidth(260);
    UDTime = new QWidget(PTime);
    UDTime->setObjectName(QStringLiteral("UDTime"));
    UDTime->setToolTip(QStringLiteral("Fine tuning"));
    UDTimeLeft = newArrow(UDTime, "UDTimeLeft", Qt::LeftArrow);
    UDTimeRight = newArrow(UDTime, "UDTimeRight", Qt::RightArrow);
    auto* arrows = new QHBoxLayout(UDTime);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(UDTimeLeft);
    arrows->addWidget(UDTimeRight);
    EDateTime = newReadOnlyBox(PTime, "EDateTime");
    EDateTime->setMinimumWidth(
        EDateTime->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000  00:00:00.000")) +
        24);

    auto* grid = new QGridLayout(PTime);
    grid->addWidget(caption, 0, 0);
    grid->addWidget(ENumEp, 0, 1);
    grid->addWidget(TBTime, 1, 0, 1, 2);
    grid->addWidget(UDTime, 1, 2);
    grid->addWidget(EDateTime, 2, 0, 1, 3);

    BitBtn28 = newButton(this, "BitBtn28", "Close");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn28);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PTime);
    layout->addLayout(buttons);

    connect(TBTime, &QSlider::valueChanged, this, [this](int v) { TBTimeChange(v); });
    connect(UDTimeLeft, &QToolButton::clicked, this, [this] { UDTimeClick(false); });
    connect(UDTimeRight, &QToolButton::clicked, this, [this] { UDTimeClick(true); });
    connect(BitBtn28, &QPushButton::clicked, this, [this] { BitBtn28Click(); });
}

void TFormTime::BBTimeVClick(const std::filesystem::path& rinexEpochs, std::int32_t countedEpochs,
                             text::ScanObserver& observer) {
    show();
    raise();
    const std::vector<std::string> messages = m_calc.load(rinexEpochs, countedEpochs);
    tellAll(observer, messages);
    if (m_calc.count() == 0)
        return;
    {
        const QSignalBlocker quiet(TBTime);
        TBTime->setRange(1, m_calc.count());
        TBTime->setValue(1);
    }
    ENumEp->setText(shownText(m_calc.ENumEp()));
    ShowEpochTime();
}

void TFormTime::ShowEpochTime() {
    EDateTime->setText(shownText(m_calc.EDateTime()));
}

void TFormTime::TBTimeChange(int position) {
    if (m_calc.count() == 0)
        return;
    m_calc.TBTimeChange(position);
    ENumEp->setText(QString::number(TBTime->value()));
    ShowEpochTime();
}

void TFormTime::UDTimeClick(bool right) {
    const bool changed = right ? m_calc.stepRight() : m_calc.stepLeft();
    if (!changed)
        return;
    const QSignalBlocker quiet(TBTime);
    TBTime->setValue(m_calc.current());
    ENumEp->setText(QString::number(TBTime->value()));
    ShowEpochTime();
}

void TFormTime::BitBtn28Click() {
    m_calc.close();
    hide();
}

} // namespace ui
