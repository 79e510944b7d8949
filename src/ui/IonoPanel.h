#pragma once

#include "header/HeaderData.h"

#include <QFrame>

#include <array>

class QLabel;
class QPushButton;

namespace ui {

/// The ionosphere parameters view `PIO`: the eight coefficients of the GPS navigation header,
/// each value label beside its caption.
class IonoPanel : public QFrame {
    Q_OBJECT

public:
    explicit IonoPanel(QWidget* parent = nullptr);

    /// Ionoparameters1Click: fills the eight labels from the GPS header record as it is now.
    void open(const header::THeaderDataGPS& h, const QString& decSep);

    /// BBCloseIono; the main window connects it (hide PIO, show PView).
    QPushButton* closeButton() const noexcept { return BBCloseIono; }
    /// STIOA0 ... STIOA3, STIOB0 ... STIOB3.
    const std::array<QLabel*, 8>& valueLabels() const noexcept { return m_values; }

    QLabel* STTitleIO;
    QPushButton* BBCloseIono;

private:
    std::array<QLabel*, 8> m_values{};
};

} // namespace ui
