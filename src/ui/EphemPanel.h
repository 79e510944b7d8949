#pragma once

#include "text/ScanObserver.h"
#include "views/EphemView.h"

#include <QFrame>

#include <array>
#include <cstdint>
#include <vector>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace ui {

/// The ephemerides view `PEphemGPS`: four groups of satellite buttons, one page control per
/// system with the labelled values of one ephemeris record, and the buttons that step through
/// the records of the selected satellite. What it shows comes from views::EphemView; every
/// selection and step reads the record file again.
class EphemPanel : public QFrame {
    Q_OBJECT

public:
    explicit EphemPanel(QWidget* parent = nullptr);

    /// Ephemerides1Click: takes the files and counts of the last scan, enables the buttons of
    /// the satellites with records and selects the first GPS (else GLONASS) one. Message boxes
    /// go to observer, which must outlive the panel's use (the main window's observer).
    void open(const views::EphemSources& sources, text::ScanObserver& observer);

    /// BBCloseEph; the main window connects it (hide PEphemGPS, show PView).
    QPushButton* closeButton() const noexcept { return BBCloseEph; }
    /// Satellite button `number` of a system (RBG1 ... RBE32); nullptr outside its range.
    QRadioButton* satelliteButton(views::EphemSystem system, std::int32_t number) const;
    /// PCEphGPS, PCEphGLO, PCEphGEO or PCEphGAL.
    QTabWidget* pageControl(views::EphemSystem system) const;
    const views::EphemView& view() const noexcept { return m_view; }

    QLabel* STEphem;
    QPushButton* BBLess;
    QPushButton* BBMore;
    QPushButton* BBCloseEph;
    QTabWidget* PCEphGPS;
    QTabWidget* PCEphGLO;
    QTabWidget* PCEphGEO;
    QTabWidget* PCEphGAL;

private:
    QGroupBox* newButtonGroup(views::EphemSystem system, const char* title, int perRow);
    QTabWidget* newPageControl(views::EphemSystem system,
                               const std::vector<views::EphemLabel>& labels);
    void satelliteClicked(views::EphemSystem system, std::int32_t number);
    void moreClicked();
    void lessClicked();
    /// Brings every widget in line with the view's state.
    void showState();

    views::EphemView m_view;
    views::EphemSources m_sources;
    text::ScanObserver* m_observer = nullptr;
    std::array<std::vector<QRadioButton*>, 4> m_buttons;
    std::array<QButtonGroup*, 4> m_groups{};
    std::array<QTabWidget*, 4> m_pageControls{};
};

} // namespace ui
