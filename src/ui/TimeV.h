#pragma once

#include "text/ScanObserver.h"
#include "views/EpochCalculator.h"

#include <QWidget>

#include <cstdint>
#include <filesystem>

class QFrame;
class QLineEdit;
class QPushButton;
class QSlider;
class QToolButton;

namespace ui {

/// The epoch-to-time calculator `TFormTime`: a small window that stays on top of the main
/// window without blocking it. The track bar and the arrows choose an epoch number; the window
/// shows that epoch's date and time from RinexEpochs.dat.
class TFormTime : public QWidget {
    Q_OBJECT

public:
    explicit TFormTime(QWidget* parent = nullptr);

    /// BBTimeVClick: shows the window and reloads the epoch times; countedEpochs is what the
    /// observation scan counted. Messages go to the observer.
    void BBTimeVClick(const std::filesystem::path& rinexEpochs, std::int32_t countedEpochs,
                      text::ScanObserver& observer);
    void open(const std::filesystem::path& rinexEpochs, std::int32_t countedEpochs,
              text::ScanObserver& observer) {
        BBTimeVClick(rinexEpochs, countedEpochs, observer);
    }

    QPushButton* closeButton() const noexcept { return BitBtn28; }
    const views::EpochCalculator& calculator() const noexcept { return m_calc; }

    QFrame* PTime;
    QLineEdit* ENumEp;
    QSlider* TBTime;
    QWidget* UDTime; // the pair of arrows
    QToolButton *UDTimeLeft, *UDTimeRight;
    QLineEdit* EDateTime;
    QPushButton* BitBtn28;

private:
    void TBTimeChange(int position);
    void UDTimeClick(bool right);
    void BitBtn28Click();
    void ShowEpochTime();

    views::EpochCalculator m_calc;
};

} // namespace ui
