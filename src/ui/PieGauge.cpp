#include "ui/PieGauge.h"

#include <QPainter>

#include <cmath>

namespace ui {

PieGauge::PieGauge(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

int PieGauge::percentOf(double fraction) noexcept {
    if (!(fraction > 0))
        return 0; // NaN as well
    if (fraction >= 1)
        return 100;
    return static_cast<int>(std::trunc(fraction * 100));
}

void PieGauge::setFraction(double fraction) {
    const int p = percentOf(fraction);
    if (p == m_percent)
        return;
    m_percent = p;
    update();
}

void PieGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width(), height()) - 2;
    const QRect circle((width() - side) / 2, (height() - side) / 2, side, side);
    painter.setPen(QPen(QColor(64, 64, 64), 1));
    painter.setBrush(m_back);
    painter.drawEllipse(circle);
    if (m_percent == 0)
        return;
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_fore);
    // Angles are in 1/16 degree, counter-clockwise from three o'clock.
    const int span = -m_percent * 360 * 16 / 100;
    if (m_percent == 100)
        painter.drawEllipse(circle);
    else
        painter.drawPie(circle, 90 * 16, span);
}

} // namespace ui
