#pragma once

#include "scan/WindowState.h"

#include <QFrame>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {

/// Gives a label the background colour of an indicator (0xRRGGBB).
void setIndicatorColour(QLabel* label, scan::Colour colour);
/// The background colour a label shows.
QColor indicatorColourOf(const QLabel* label);

/// The summary panel `PSumm`: what the last scan found, by group. It only shows the window
/// state; the main window connects its two buttons.
class SummaryPanel : public QFrame {
    Q_OBJECT

public:
    explicit SummaryPanel(QWidget* parent = nullptr);

    /// Shows the summary texts and colours of the window state.
    void render(const scan::WindowState& w);

    QLabel* STTitle;
    QLineEdit* ESumFile;
    QGroupBox *GBEpochs, *GBSatellites, *GBEphemeris, *GBEvents, *GBMeasurements, *GBErrors,
        *GBFiles;
    QLabel *STSumStartEp, *STSumFinish, *STSumNumEp, *STSumInterval, *STSumGap;
    QLabel *STSumMaxSat, *STSumMinSat;
    QLineEdit *ESumGPS, *ESumGLO, *ESumGEO, *ESumGAL;
    QLineEdit *EGPSEph, *EGLOEph, *EGEOEph, *EGALEph;
    QLabel *STSumXA, *STSumXB;
    /// STC1 ... STS5 in observation type order.
    std::array<QLabel*, header::kMaxTypes> codeCounts{};
    QLabel* STSumErr;
    /// STFileO, STFileN ... and STFileOH, STFileNH ... in text::FileKind order.
    std::array<QLabel*, 6> fileData{};
    std::array<QLabel*, 6> fileHeader{};
    QLabel *ST_NFileStr, *ST_NHeaderStr, *ST_NDataStr;
    QPushButton* BBShowErr;
    QPushButton* BBCloseSum;
};

} // namespace ui
