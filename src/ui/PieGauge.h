#pragma once

#include <QColor>
#include <QWidget>

namespace ui {

/// The pie-shaped progress gauge `GScan`: a filled sector of Trunc(fraction x 100) percent,
/// clockwise from twelve o'clock, without text.
class PieGauge : public QWidget {
    Q_OBJECT

public:
    explicit PieGauge(QWidget* parent = nullptr);

    /// Takes a fraction 0..1; values outside (and NaN) are held to the nearest end.
    void setFraction(double fraction);
    /// 0..100, the percentage painted.
    int percent() const noexcept { return m_percent; }

    static int percentOf(double fraction) noexcept;

    QColor foreColour() const { return m_fore; }
    QColor backColour() const { return m_back; }

    QSize sizeHint() const override { return {60, 60}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_percent = 0;
    QColor m_fore{0, 84, 128};
    QColor m_back{Qt::white};
};

} // namespace ui
