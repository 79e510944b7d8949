#include "ui/QtScanObserver.h"

#include "ui/Notice.h"
#include "ui/PieGauge.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>

#include <chrono>
#include <thread>

namespace ui {

static QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QtScanObserver::QtScanObserver(ScanWindowHooks hooks) : m_hooks(std::move(hooks)) {}

QtScanObserver::~QtScanObserver() {
    if (m_busy)
        QApplication::restoreOverrideCursor();
}

void QtScanObserver::progress(double fraction) {
    if (!m_hooks.gauge)
        return;
    const int before = m_hooks.gauge->percent();
    m_hooks.gauge->setFraction(fraction);
    // The scan does not return to the event loop, so a changed gauge is painted at once.
    if (m_hooks.gauge->percent() != before)
        m_hooks.gauge->repaint();
}

void QtScanObserver::status(std::string_view text) {
    if (!m_hooks.statusBar)
        return;
    if (text.empty())
        m_hooks.statusBar->clearMessage();
    else
        m_hooks.statusBar->showMessage(fromView(text));
    m_hooks.statusBar->repaint();
}

void QtScanObserver::notice(std::string_view text) {
    // The message box wants the arrow, not the hourglass, while it waits for OK.
    if (m_busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    showNotice(m_hooks.window, fromView(text));
    if (m_busy)
        QApplication::restoreOverrideCursor();
}

void QtScanObserver::pollInput() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtScanObserver::busy(bool on) {
    if (on == m_busy)
        return;
    m_busy = on;
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtScanObserver::waitNotice(bool shown) {
    if (!m_hooks.waitPanel)
        return;
    m_hooks.waitPanel->setVisible(shown);
    if (shown) {
        m_hooks.waitPanel->raise();
        m_hooks.waitPanel->repaint();
    }
}

void QtScanObserver::epochShown(std::string_view date, std::string_view time) {
    if (m_hooks.dateLabel)
        m_hooks.dateLabel->setText(fromView(date));
    if (m_hooks.timeLabel)
        m_hooks.timeLabel->setText(fromView(time));
}

void QtScanObserver::repaint() {
    if (m_hooks.window)
        m_hooks.window->repaint();
}

void QtScanObserver::pause(int milliseconds) {
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace ui
