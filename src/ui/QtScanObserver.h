#pragma once

#include "text/ScanObserver.h"

#include <QPointer>

class QLabel;
class QStatusBar;
class QWidget;

namespace ui {

class PieGauge;

/// The parts of the main window that a running scan shows itself in. Any of them may be left
/// empty; a hook whose widget is gone is skipped.
struct ScanWindowHooks {
    QPointer<QWidget> window;       // redrawn on repaint; owner of the message boxes
    QPointer<PieGauge> gauge;       // GScan
    QPointer<QStatusBar> statusBar; // StatusBar1
    QPointer<QWidget> waitPanel;    // PWait
    QPointer<QLabel> dateLabel;     // STDateis
    QPointer<QLabel> timeLabel;     // STTimeis
};

/// Shows a running scan in the window: gauge, status bar, message boxes, hourglass cursor, the
/// wait notice and the epoch labels. The Stop button calls requestStop.
class QtScanObserver final : public text::ScanObserver {
public:
    explicit QtScanObserver(ScanWindowHooks hooks);
    ~QtScanObserver() override;
    QtScanObserver(const QtScanObserver&) = delete;
    QtScanObserver& operator=(const QtScanObserver&) = delete;

    /// The Stop button's click: the scan sees it at its next poll.
    void requestStop() noexcept { m_stop = true; }

    void progress(double fraction) override;
    void status(std::string_view text) override;
    void notice(std::string_view text) override;
    void pollInput() override;
    bool stopRequested() const override { return m_stop; }
    void clearStop() override { m_stop = false; }
    void busy(bool on) override;
    void waitNotice(bool shown) override;
    void epochShown(std::string_view date, std::string_view time) override;
    void repaint() override;
    /// Blocks for the given time without handling input, so no other handler runs meanwhile.
    void pause(int milliseconds) override;

private:
    ScanWindowHooks m_hooks;
    bool m_stop = false;
    bool m_busy = false;
};

} // namespace ui
