#include "ui/ErrorsForm.h"

#include "ui/Application.h"
#include "ui/LinesModel.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ui {

namespace {

struct KindNames {
    text::FileKind kind;
    const char* panel;
    const char* headerCaption;
    const char* headerText;
    const char* headerList;
    const char* dataCaption;
    const char* dataText;
    const char* dataList;
    const char* choice;
    const char* choiceText;
};

// In the order of the radio buttons.
constexpr std::array<KindNames, 6> kKindNames = {{
    {text::FileKind::O, "PO", "STHeader", "Header (O-file)", "LBHeader", "STData", "Data (O-file)",
     "LBData", "RBObs", "O (Observation)"},
    {text::FileKind::N, "PN", "STHeaderN", "Header (N-file)", "LBHeaderN", "STDataN",
     "Data (N-file)", "LBDataN", "RBGPS", "N (GPS Nav)"},
    {text::FileKind::G, "PG", "STHeaderG", "Header (G-file)", "LBHeaderG", "STDataG",
     "Data (G-file)", "LBDataG", "RBGLO", "G (GLO Nav)"},
    {text::FileKind::M, "PM", "STHeaderM", "Header (M-file)", "LBHeaderM", "STDataM",
     "Data (M-file)", "LBDataM", "RBMeteo", "M (Meteo)"},
    {text::FileKind::H, "PH", "STHeaderH", "Header (H-file)", "LBHeaderH", "STDataH",
     "Data (H-file)", "LBDataH", "RBGEO", "H (GEO Nav)"},
    {text::FileKind::L, "PL", "STHeaderL", "Header (L-file)", "LBHeaderL", "STDataL",
     "Data (L-file)", "LBDataL", "RBGAL", "L (GAL Nav)"},
}};

QLabel* newCaption(QWidget* parent, const char* name, const char* text) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

TFormErrors::TFormErrors(const text::DiagnosticsLists& lists, QWidget* parent)
    : QDialog(parent), m_lists(lists) {
    setObjectName(QStringLiteral("FormErrors"));
    setWindowTitle(windowCaption(QStringLiteral(" Errors")));
    setModal(true);
    resize(900, 620);

    auto* panels = new QVBoxLayout;
    GBRinexFiles = new QGroupBox(QStringLiteral("Rinex Files"), this);
    GBRinexFiles->setObjectName(QStringLiteral("GBRinexFiles"));
    auto* choices = new QVBoxLayout(GBRinexFiles);
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);

    for (const KindNames& names : kKindNames) {
        auto* panel = new QWidget(this);
        panel->setObjectName(QString::fromLatin1(names.panel));
        auto* column = new QVBoxLayout(panel);
        column->setContentsMargins(0, 0, 0, 0);
        KindWidgets w{};
        w.panel = panel;
        w.headerCaption = newCaption(panel, names.headerCaption, names.headerText);
        w.headerList = newLinesView(panel, QString::fromLatin1(names.headerList));
        w.dataCaption = newCaption(panel, names.dataCaption, names.dataText);
        w.dataList = newLinesView(panel, QString::fromLatin1(names.dataList));
        column->addWidget(w.headerCaption);
        column->addWidget(w.headerList, 2);
        column->addSpacing(6);
        column->addWidget(w.dataCaption);
        column->addWidget(w.dataList, 3);
        panels->addWidget(panel);

        w.choice = new QRadioButton(QString::fromLatin1(names.choiceText), GBRinexFiles);
        w.choice->setObjectName(QString::fromLatin1(names.choice));
        group->addButton(w.choice);
        choices->addWidget(w.choice);
        widgetsOf(names.kind) = w;
    }

    const auto& o = widgetsOf(text::FileKind::O);
    const auto& n = widgetsOf(text::FileKind::N);
    const auto& g = widgetsOf(text::FileKind::G);
    const auto& m = widgetsOf(text::FileKind::M);
    const auto& h = widgetsOf(text::FileKind::H);
    const auto& l = widgetsOf(text::FileKind::L);
    PO = o.panel, PN = n.panel, PG = g.panel, PM = m.panel, PH = h.panel, PL = l.panel;
    STHeader = o.headerCaption, STHeaderN = n.headerCaption, STHeaderG = g.headerCaption;
    STHeaderM = m.headerCaption, STHeaderH = h.headerCaption, STHeaderL = l.headerCaption;
    STData = o.dataCaption, STDataN = n.dataCaption, STDataG = g.dataCaption;
    STDataM = m.dataCaption, STDataH = h.dataCaption, STDataL = l.dataCaption;
    LBHeader = o.headerList, LBHeaderN = n.headerList, LBHeaderG = g.headerList;
    LBHeaderM = m.headerList, LBHeaderH = h.headerList, LBHeaderL = l.headerList;
    LBData = o.dataList, LBDataN = n.dataList, LBDataG = g.dataList;
    LBDataM = m.dataList, LBDataH = h.dataList, LBDataL = l.dataList;
    RBObs = o.choice, RBGPS = n.choice, RBGLO = g.choice;
    RBMeteo = m.choice, RBGEO = h.choice, RBGAL = l.choice;
    // toggled, not clicked: checking from the program has the same effect as a click.
    connect(RBObs, &QRadioButton::toggled, this, &TFormErrors::RBObsClick);
    connect(RBGPS, &QRadioButton::toggled, this, &TFormErrors::RBGPSClick);
    connect(RBGLO, &QRadioButton::toggled, this, &TFormErrors::RBGLOClick);
    connect(RBMeteo, &QRadioButton::toggled, this, &TFormErrors::RBMeteoClick);
    connect(RBGEO, &QRadioButton::toggled, this, &TFormErrors::RBGEOClick);
    connect(RBGAL, &QRadioButton::toggled, this, &TFormErrors::RBGALClick);

    BBClose = new QPushButton(QStringLiteral("Close"), this);
    BBClose->setObjectName(QStringLiteral("BBClose"));
    connect(BBClose, &QPushButton::clicked, this, &TFormErrors::BBCloseClick);

    auto* side = new QVBoxLayout;
    side->addWidget(GBRinexFiles);
    side->addStretch(1);
    side->addWidget(BBClose);

    auto* top = new QHBoxLayout(this);
    top->addLayout(panels, 1);
    top->addSpacing(8);
    top->addLayout(side);

    for (text::FileKind kind : text::kFileKinds) {
        auto& w = widgetsOf(kind);
        linesModelOf(w.headerList)->setLines(&m_lists.header(kind).lines());
        linesModelOf(w.dataList)->setLines(&m_lists.data(kind).lines());
        w.panel->setVisible(kind == text::FileKind::O);
    }
    RBObs->setChecked(true);
}

TFormErrors::KindWidgets& TFormErrors::widgetsOf(text::FileKind kind) {
    return m_kinds[static_cast<std::size_t>(kind)];
}

void TFormErrors::refresh() {
    for (text::FileKind kind : text::kFileKinds) {
        auto& w = widgetsOf(kind);
        linesModelOf(w.headerList)->refresh();
        linesModelOf(w.dataList)->refresh();
    }
}

void TFormErrors::setHeaderCaption(text::FileKind kind, const QString& caption) {
    widgetsOf(kind).headerCaption->setText(caption);
}

void TFormErrors::checkChoice(text::FileKind kind) {
    widgetsOf(kind).choice->setChecked(true);
}

void TFormErrors::choiceClicked(text::FileKind kind) {
    if (!widgetsOf(kind).choice->isChecked())
        return;
    m_shown = kind;
    for (text::FileKind other : text::kFileKinds)
        widgetsOf(other).panel->setVisible(other == kind);
}

void TFormErrors::RBObsClick() {
    choiceClicked(text::FileKind::O);
}
void TFormErrors::RBGPSClick() {
    choiceClicked(text::FileKind::N);
}
void TFormErrors::RBGLOClick() {
    choiceClicked(text::FileKind::G);
}
void TFormErrors::RBMeteoClick() {
    choiceClicked(text::FileKind::M);
}
void TFormErrors::RBGEOClick() {
    choiceClicked(text::FileKind::H);
}
void TFormErrors::RBGALClick() {
    choiceClicked(text::FileKind::L);
}

void TFormErrors::BBCloseClick() {
    close();
}

void TFormErrors::showEvent(QShowEvent* event) {
    refresh();
    QDialog::showEvent(event);
}

} // namespace ui
