#pragma once

#include "scan/WindowState.h"

#include <QPixmap>
#include <QWidget>

#include <array>

class QGroupBox;
class QLabel;
class QPushButton;

namespace ui {

class PieGauge;

/// The input panel `PView`: the sea photograph stretched over the whole panel, and on it the
/// box `PInput` with the buttons that choose and scan a file, the gauge, the file size, the
/// indicators and the epoch being scanned. The main window connects the buttons.
class InputPanel : public QWidget {
    Q_OBJECT

public:
    explicit InputPanel(QWidget* parent = nullptr);

    /// Shows the input panel's part of the window state.
    void render(const scan::WindowState& w);

    QGroupBox* PInput;
    QPushButton *BBInput, *BBScan, *BBStop;
    PieGauge* GScan;
    QLabel* STEnd;
    /// STC1is ... STS5is in observation type order.
    std::array<QLabel*, header::kMaxTypes> codeIndicators{};
    QLabel *STgpsis, *STglois, *STgeois, *STgalis;
    QLabel *STEphgpsis, *STEphglois, *STEphgeois, *STEphgalis;
    QLabel* STEEis;
    QLabel *STDateis, *STTimeis;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage m_photo;
    QPixmap m_scaled;
};

} // namespace ui
