#include "ui/InputPanel.h"

#include "ui/HelpWindow.h"
#include "ui/JpegImage.h"
#include "ui/PieGauge.h"
#include "ui/SummaryPanel.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

namespace {

constexpr int kInputTopic = 1;
constexpr int kPanelTopic = 2;

QLabel* newLamp(QWidget* parent, const QString& text, const QString& name, int minWidth = 34) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(minWidth);
    label->setMinimumHeight(20);
    setIndicatorColour(label, scan::Colour::Silver);
    setHelpTopic(label, kInputTopic);
    return label;
}

QPushButton* newButton(QWidget* parent, const char* text, const char* name, const char* hint) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromLatin1(hint));
    button->setMinimumWidth(100);
    setHelpTopic(button, kInputTopic);
    return button;
}

QString shown(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

InputPanel::InputPanel(QWidget* parent) : QWidget(parent), m_photo(seaPhoto()) {
    setObjectName(QStringLiteral("PView"));
    setHelpTopic(this, kPanelTopic);

    // The box lies on a plain card, so that its title does not sit on the card's edge.
    auto* card = new QFrame(this);
    card->setObjectName(QStringLiteral("PInputCard"));
    card->setFrameStyle(QFrame::Panel | QFrame::Raised);
    card->setAutoFillBackground(true);
    PInput = new QGroupBox(QStringLiteral("Input and Scan RINEX file"), card);
    PInput->setObjectName(QStringLiteral("PInput"));
    auto* cardLayout = new QVBoxLayout(card);
    cardLayout->setContentsMargins(10, 8, 10, 10);
    cardLayout->addWidget(PInput);
    setHelpTopic(PInput, kInputTopic);

    BBInput = newButton(PInput, "Input  File", "BBInput", "Open file(s) *.*O");
    BBScan = newButton(PInput, "Scan", "BBScan", "Scan the selected file");
    BBScan->setEnabled(false);
    BBStop = newButton(PInput, "Stop", "BBStop", "Stop the process of scanning");
    BBStop->setEnabled(false);

    GScan = new PieGauge(PInput);
    GScan->setObjectName(QStringLiteral("GScan"));
    GScan->setFixedSize(64, 64);
    setHelpTopic(GScan, kInputTopic);

    STEnd = new QLabel(QStringLiteral("Filesize"), PInput);
    STEnd->setObjectName(QStringLiteral("STEnd"));
    STEnd->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    STEnd->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    STEnd->setAlignment(Qt::AlignCenter);
    STEnd->setMinimumWidth(110);
    setHelpTopic(STEnd, kInputTopic);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(BBInput);
    buttons->addWidget(BBScan);
    buttons->addWidget(BBStop);
    auto* gauge = new QVBoxLayout;
    gauge->addWidget(GScan, 0, Qt::AlignHCenter);
    gauge->addWidget(STEnd);
    auto* top = new QHBoxLayout;
    top->addLayout(buttons);
    top->addStretch(1);
    top->addLayout(gauge);

    // Observation codes the header lists: a column per kind (C, P, L, D, S), a row per band.
    auto* codesBox = new QGroupBox(QStringLiteral("Observation codes"), PInput);
    codesBox->setObjectName(QStringLiteral("GBCodesis"));
    auto* codes = new QGridLayout(codesBox);
    codes->setSpacing(4);
    for (std::size_t i = 0; i < header::kMaxTypes; ++i) {
        const QString code = QString::fromLatin1(header::kObsTypeNames[i].data(), 2);
        codeIndicators[i] =
            newLamp(codesBox, code, QStringLiteral("ST") + code + QStringLiteral("is"));
        codes->addWidget(codeIndicators[i], static_cast<int>(header::bandColumn(i)),
                         static_cast<int>(header::kindRow(i)));
    }

    auto* systemsBox = new QGroupBox(QStringLiteral("Systems"), PInput);
    systemsBox->setObjectName(QStringLiteral("GBSystemsis"));
    auto* systems = new QVBoxLayout(systemsBox);
    systems->setSpacing(4);
    STgpsis = newLamp(systemsBox, QStringLiteral("GPS"), QStringLiteral("STgpsis"), 48);
    STglois = newLamp(systemsBox, QStringLiteral("GLO"), QStringLiteral("STglois"), 48);
    STgeois = newLamp(systemsBox, QStringLiteral("SBAS"), QStringLiteral("STgeois"), 48);
    STgalis = newLamp(systemsBox, QStringLiteral("GAL"), QStringLiteral("STgalis"), 48);
    for (QLabel* l : {STgpsis, STglois, STgeois, STgalis})
        systems->addWidget(l);

    auto* ephemBox = new QGroupBox(QStringLiteral("Ephemeris"), PInput);
    ephemBox->setObjectName(QStringLiteral("GBEphemis"));
    auto* ephem = new QVBoxLayout(ephemBox);
    ephem->setSpacing(4);
    STEphgpsis = newLamp(ephemBox, QStringLiteral("GPS"), QStringLiteral("STEphgpsis"), 48);
    STEphglois = newLamp(ephemBox, QStringLiteral("GLO"), QStringLiteral("STEphglois"), 48);
    STEphgeois = newLamp(ephemBox, QStringLiteral("GEO"), QStringLiteral("STEphgeois"), 48);
    STEphgalis = newLamp(ephemBox, QStringLiteral("GAL"), QStringLiteral("STEphgalis"), 48);
    for (QLabel* l : {STEphgpsis, STEphglois, STEphgeois, STEphgalis})
        ephem->addWidget(l);

    auto* lamps = new QHBoxLayout;
    lamps->addWidget(codesBox);
    lamps->addWidget(systemsBox);
    lamps->addWidget(ephemBox);

    STEEis = newLamp(PInput, QStringLiteral("External Events"), QStringLiteral("STEEis"), 130);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    STDateis = new QLabel(QStringLiteral("00/00/0000"), PInput);
    STDateis->setObjectName(QStringLiteral("STDateis"));
    STTimeis = new QLabel(QStringLiteral("00:00:00.000"), PInput);
    STTimeis->setObjectName(QStringLiteral("STTimeis"));
    for (QLabel* l : {STDateis, STTimeis}) {
        l->setFont(fixed);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setAlignment(Qt::AlignCenter);
        l->setMinimumWidth(110);
        setHelpTopic(l, kInputTopic);
    }
    auto* epoch = new QHBoxLayout;
    epoch->addWidget(STEEis);
    epoch->addStretch(1);
    epoch->addWidget(new QLabel(QStringLiteral("Date"), PInput));
    epoch->addWidget(STDateis);
    epoch->addSpacing(8);
    epoch->addWidget(new QLabel(QStringLiteral("Time"), PInput));
    epoch->addWidget(STTimeis);

    auto* box = new QVBoxLayout(PInput);
    box->setContentsMargins(14, 12, 14, 12);
    box->setSpacing(10);
    box->addLayout(top);
    box->addLayout(lamps);
    box->addLayout(epoch);

    // The box floats in the middle of the photograph.
    auto* outer = new QGridLayout(this);
    outer->addWidget(card, 1, 1);
    outer->setRowStretch(0, 1);
    outer->setRowStretch(2, 1);
    outer->setColumnStretch(0, 1);
    outer->setColumnStretch(2, 1);
    card->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void InputPanel::render(const scan::WindowState& w) {
    BBInput->setEnabled(w.BBInputEnabled);
    BBScan->setEnabled(w.BBScanEnabled);
    BBStop->setEnabled(w.BBStopEnabled);
    GScan->setFraction(w.gauge);
    STEnd->setText(shown(w.STEnd));
    STDateis->setText(shown(w.STDateis));
    STTimeis->setText(shown(w.STTimeis));
    for (std::size_t i = 0; i < header::kMaxTypes; ++i)
        setIndicatorColour(codeIndicators[i], w.codeIndicators[i]);
    const std::array<QLabel*, 4> systems = {STgpsis, STglois, STgeois, STgalis};
    const std::array<QLabel*, 4> ephems = {STEphgpsis, STEphglois, STEphgeois, STEphgalis};
    for (std::size_t i = 0; i < 4; ++i) {
        setIndicatorColour(systems[i], w.systemIndicators[i]);
        setIndicatorColour(ephems[i], w.ephemIndicators[i]);
    }
    setIndicatorColour(STEEis, w.STEEis);
}

void InputPanel::resizeEvent(QResizeEvent* event) {
    m_scaled = QPixmap();
    QWidget::resizeEvent(event);
}

void InputPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_photo.isNull()) {
        painter.fillRect(rect(), QColor(64, 200, 200));
        return;
    }
    // The photograph is stretched over the whole panel, as it is, without keeping its shape.
    if (m_scaled.size() != size())
        m_scaled = QPixmap::fromImage(
            m_photo.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    painter.drawPixmap(0, 0, m_scaled);
}

} // namespace ui
