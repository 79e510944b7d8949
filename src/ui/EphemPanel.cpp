#include "ui/EphemPanel.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <string>

namespace ui {

using views::EphemSystem;

static QString shown(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// The labels of each page control as a record of zeros fills them: their names and pages.
static std::vector<views::EphemLabel> labelsOf(EphemSystem system) {
    switch (system) {
    case EphemSystem::GPS:
        return views::GPSLabels(nav::TEphemGPSRec{}, ".");
    case EphemSystem::GLONASS:
        return views::GLOLabels(nav::TEphemGLORec{}, ".");
    case EphemSystem::GEO:
        return views::GEOLabels(nav::TEphemGEORec{}, header::THeaderDataGEO{}, ".");
    case EphemSystem::Galileo:
        return views::GALLabels(nav::TEphemGALRec{}, ".");
    case EphemSystem::None:
        break;
    }
    return {};
}

EphemPanel::EphemPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PEphemGPS"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

    STEphem = new QLabel(this);
    STEphem->setObjectName(QStringLiteral("STEphem"));
    QFont titleFont = STEphem->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    STEphem->setFont(titleFont);
    STEphem->setAlignment(Qt::AlignCenter);
    STEphem->setMinimumHeight(STEphem->fontMetrics().height() + 6);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(newButtonGroup(EphemSystem::GPS, "GPS", 8));
    buttons->addWidget(newButtonGroup(EphemSystem::GLONASS, "GLO", 8));
    buttons->addWidget(newButtonGroup(EphemSystem::GEO, "GEO", 8));
    buttons->addWidget(newButtonGroup(EphemSystem::Galileo, "GAL", 8));
    buttons->addStretch(1);

    // One page control is shown at a time, in the same place.
    auto* pages = new QVBoxLayout;
    pages->setContentsMargins(0, 0, 0, 0);
    PCEphGPS = newPageControl(EphemSystem::GPS, labelsOf(EphemSystem::GPS));
    PCEphGLO = newPageControl(EphemSystem::GLONASS, labelsOf(EphemSystem::GLONASS));
    PCEphGEO = newPageControl(EphemSystem::GEO, labelsOf(EphemSystem::GEO));
    PCEphGAL = newPageControl(EphemSystem::Galileo, labelsOf(EphemSystem::Galileo));
    for (QTabWidget* control : m_pageControls) {
        pages->addWidget(control, 1);
        control->hide();
    }
    auto* pageArea = new QWidget(this);
    pageArea->setLayout(pages);
    pageArea->setMinimumSize(560, 330);

    BBLess = new QPushButton(QStringLiteral("< Previous"), this);
    BBLess->setObjectName(QStringLiteral("BBLess"));
    BBLess->setToolTip(QStringLiteral("Previous ephemeris"));
    BBMore = new QPushButton(QStringLiteral("Next >"), this);
    BBMore->setObjectName(QStringLiteral("BBMore"));
    BBMore->setToolTip(QStringLiteral("Next ephemeris"));
    BBCloseEph = new QPushButton(QStringLiteral("Close"), this);
    BBCloseEph->setObjectName(QStringLiteral("BBCloseEph"));
    BBLess->setEnabled(false);
    BBMore->setEnabled(false);

    auto* steps = new QHBoxLayout;
    steps->addStretch(1);
    steps->addWidget(BBLess);
    steps->addWidget(BBMore);
    steps->addStretch(1);
    steps->addWidget(BBCloseEph);

    auto* right = new QVBoxLayout;
    right->addWidget(STEphem);
    right->addWidget(pageArea, 1);
    right->addLayout(steps);

    auto* columns = new QHBoxLayout(this);
    columns->addLayout(buttons);
    columns->addLayout(right, 1);

    connect(BBMore, &QPushButton::clicked, this, &EphemPanel::moreClicked);
    connect(BBLess, &QPushButton::clicked, this, &EphemPanel::lessClicked);
}

QGroupBox* EphemPanel::newButtonGroup(EphemSystem system, const char* title, int perRow) {
    auto* box = new QGroupBox(QString::fromLatin1(title), this);
    box->setObjectName(QStringLiteral("GB") + QString::fromLatin1(title));
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    const std::size_t i = views::systemIndex(system);
    auto* group = new QButtonGroup(box);
    group->setExclusive(true);
    m_groups[i] = group;
    const std::int32_t first = views::FirstButton(system);
    for (std::int32_t k = first; k <= views::LastButton(system); ++k) {
        auto* button = new QRadioButton(QString::number(k), box);
        button->setObjectName(shown(views::SatelliteButtonName(system, k)));
        button->setEnabled(false);
        group->addButton(button, k);
        const int at = k - first;
        grid->addWidget(button, at / perRow, at % perRow);
        m_buttons[i].push_back(button);
        // A click on the button already selected changes nothing, as with any radio button.
        connect(button, &QRadioButton::clicked, this,
                [this, system, k] { satelliteClicked(system, k); });
    }
    return box;
}

QTabWidget* EphemPanel::newPageControl(EphemSystem system,
                                       const std::vector<views::EphemLabel>& labels) {
    auto* control = new QTabWidget(this);
    control->setObjectName(shown(views::PageControlName(system)));
    std::vector<QVBoxLayout*> pageLayouts;
    for (const std::string_view caption : views::PageCaptions(system)) {
        auto* page = new QWidget(control);
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(12, 10, 12, 10);
        layout->setSpacing(6);
        pageLayouts.push_back(layout);
        control->addTab(page, shown(caption));
    }
    for (const views::EphemLabel& l : labels) {
        if (l.page < 0 || static_cast<std::size_t>(l.page) >= pageLayouts.size())
            continue;
        QVBoxLayout* layout = pageLayouts[static_cast<std::size_t>(l.page)];
        auto* label = new QLabel(layout->parentWidget());
        label->setObjectName(shown(l.name));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label);
    }
    for (QVBoxLayout* layout : pageLayouts)
        layout->addStretch(1);
    m_pageControls[views::systemIndex(system)] = control;
    return control;
}

QRadioButton* EphemPanel::satelliteButton(EphemSystem system, std::int32_t number) const {
    if (system == EphemSystem::None || number < views::FirstButton(system) ||
        number > views::LastButton(system))
        return nullptr;
    return m_buttons[views::systemIndex(system)]
                    [static_cast<std::size_t>(number - views::FirstButton(system))];
}

QTabWidget* EphemPanel::pageControl(EphemSystem system) const {
    return system == EphemSystem::None ? nullptr : m_pageControls[views::systemIndex(system)];
}

void EphemPanel::open(const views::EphemSources& sources, text::ScanObserver& observer) {
    m_sources = sources;
    m_observer = &observer;
    m_view.open(m_sources, observer);
    showState();
    if (BBCloseEph->isEnabled())
        BBCloseEph->setFocus();
}

void EphemPanel::satelliteClicked(EphemSystem system, std::int32_t number) {
    if (!m_observer || m_view.selectedButton(system) == number)
        return;
    m_view.select(system, number, m_sources, *m_observer);
    showState();
}

void EphemPanel::moreClicked() {
    if (!m_observer)
        return;
    m_view.more(m_sources, *m_observer);
    showState();
}

void EphemPanel::lessClicked() {
    if (!m_observer)
        return;
    m_view.less(m_sources, *m_observer);
    showState();
}

void EphemPanel::showState() {
    for (const EphemSystem system : views::kEphemSystems) {
        const std::size_t i = views::systemIndex(system);
        const std::int32_t selected = m_view.selectedButton(system);
        // An exclusive group cannot lose its checked button; let go for the moment.
        m_groups[i]->setExclusive(false);
        for (std::int32_t k = views::FirstButton(system); k <= views::LastButton(system); ++k) {
            QRadioButton* button = satelliteButton(system, k);
            button->setEnabled(m_view.buttonEnabled(system, k));
            button->setChecked(k == selected);
        }
        m_groups[i]->setExclusive(true);

        QTabWidget* control = m_pageControls[i];
        for (const views::EphemLabel& l : m_view.labels(system))
            if (auto* label = control->findChild<QLabel*>(shown(l.name)))
                label->setText(shown(l.text));
        control->setVisible(m_view.pageShown() == system);
    }
    STEphem->setText(shown(m_view.title()));
    BBLess->setEnabled(m_view.lessEnabled());
    BBMore->setEnabled(m_view.moreEnabled());
}

} // namespace ui
