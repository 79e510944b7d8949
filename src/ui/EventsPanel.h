#pragma once

#include "obs/ObsFileO.h"
#include "text/ScanObserver.h"

#include <QFrame>

#include <cstdint>
#include <filesystem>

class QCheckBox;
class QPushButton;

namespace ui {

class ChartView;

/// The external events view `PEvents`: per event input (XA, XB) the time since the previous
/// event of the same input. The check boxes choose the inputs and keep their state between
/// openings.
class EventsPanel : public QFrame {
    Q_OBJECT

public:
    explicit EventsPanel(QWidget* parent = nullptr);

    /// Charts the two event files of the scan; messages go to the observer.
    void open(const std::filesystem::path& extEventsXA, const std::filesystem::path& extEventsXB,
              const obs::TObsFileO& scan, text::ScanObserver& observer);

    QPushButton* closeButton() const noexcept { return BBCloseEE; }
    QPushButton* calculatorButton() const noexcept { return BBTimeV; }

    ChartView* ChartEvents;
    QCheckBox *CBXA, *CBXB;
    QPushButton* BBTimeV;
    QPushButton* BBCloseEE;

private:
    void fillChart();

    std::filesystem::path m_xa, m_xb;
    std::int32_t m_eventsA = 0, m_eventsB = 0;
    text::ScanObserver* m_observer = nullptr;
};

} // namespace ui
