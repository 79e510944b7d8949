#pragma once

#include <string_view>

namespace text {

/// What a running scan shows the user while it works. The window layer implements it; tests
/// use NullScanObserver or a recording fake. Results (diagnostics, list lines, counts) are
/// data that the window reads when a step returns.
class ScanObserver {
public:
    virtual ~ScanObserver() = default;
    virtual void progress(double fraction) = 0;     // 0..1 of the current step (gauge GScan)
    virtual void status(std::string_view text) = 0; // "" clears the status bar
    virtual void notice(std::string_view text) = 0; // modal, one OK button
    virtual void pollInput() = 0;                   // let pending clicks (Stop) run
    virtual bool stopRequested() const = 0;
    virtual void clearStop() = 0;            // the data scan clears the request it honoured
    virtual void busy(bool on) = 0;          // hourglass cursor on or off
    virtual void waitNotice(bool shown) = 0; // the "Conversion of Unix file" panel
    virtual void epochShown(std::string_view date, std::string_view time) = 0; // STDateis, STTimeis
    virtual void repaint() = 0; // redraw the main window now
    virtual void pause(int milliseconds) = 0;
};

/// Shows nothing and never asks to stop.
class NullScanObserver final : public ScanObserver {
public:
    void progress(double) override {}
    void status(std::string_view) override {}
    void notice(std::string_view) override {}
    void pollInput() override {}
    bool stopRequested() const override { return false; }
    void clearStop() override {}
    void busy(bool) override {}
    void waitNotice(bool) override {}
    void epochShown(std::string_view, std::string_view) override {}
    void repaint() override {}
    void pause(int) override {}
};

} // namespace text
