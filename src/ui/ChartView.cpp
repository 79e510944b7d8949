#include "ui/ChartView.h"

#include <QLocale>

#include <algorithm>

namespace ui {

// 1970-01-01 in days since 1899-12-30.
constexpr double kUnixDay = 25569.0;
constexpr double kSecondsPerDay = 86400.0;

ChartView::ChartView(QWidget* parent) : QCustomPlot(parent) {
    setBackground(Qt::white);
    axisRect()->setBackground(Qt::white);
    legend->setVisible(false);
    legend->setBrush(Qt::white);
    setNoAntialiasingOnDrag(true);
    setDecimalSeparator(QStringLiteral("."));
}

void ChartView::setDecimalSeparator(const QString& separator) {
    // Tick labels take their decimal point from the plot's locale.
    QLocale numbers = separator == QStringLiteral(",") ? QLocale(QLocale::German, QLocale::Germany)
                                                       : QLocale::c();
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    setLocale(numbers);
}

double ChartView::axisSeconds(double dayCount) noexcept {
    return (dayCount - kUnixDay) * kSecondsPerDay;
}

int ChartView::addSeries(const QString& title, const QColor& colour, Marker marker) {
    QCPGraph* graph = addGraph();
    graph->setName(title);
    graph->setLineStyle(QCPGraph::lsNone);
    const QCPScatterStyle::ScatterShape shape =
        marker == Marker::Square ? QCPScatterStyle::ssSquare : QCPScatterStyle::ssDisc;
    graph->setScatterStyle(QCPScatterStyle(shape, colour, colour, 3));
    graph->setPen(QPen(colour));
    graph->setAdaptiveSampling(true);
    graph->setAntialiasedScatters(false);
    return graphCount() - 1;
}

void ChartView::setSeriesData(int series, const std::vector<double>& x,
                              const std::vector<double>& y) {
    QCPGraph* g = graph(series);
    if (!g)
        return;
    const std::size_t n = std::min(x.size(), y.size());
    QVector<QCPGraphData> points;
    points.reserve(static_cast<qsizetype>(n));
    for (std::size_t i = 0; i < n; ++i)
        points.append(QCPGraphData(m_dateTime ? axisSeconds(x[i]) : x[i], y[i]));
    const bool sorted = std::is_sorted(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(n));
    g->data()->set(points, sorted);
}

void ChartView::clearData() {
    for (int i = 0; i < graphCount(); ++i)
        graph(i)->data()->clear();
}

void ChartView::removeSeries() {
    clearGraphs();
}

int ChartView::pointCount(int series) const {
    const QCPGraph* g = graph(series);
    return g ? g->dataCount() : 0;
}

void ChartView::setTitle(const QString& title) {
    if (title.isEmpty()) {
        if (m_title) {
            plotLayout()->remove(m_title);
            plotLayout()->simplify();
            m_title = nullptr;
        }
        return;
    }
    if (!m_title) {
        plotLayout()->insertRow(0);
        m_title = new QCPTextElement(this, title, QFont(font().family(), 10, QFont::Bold));
        plotLayout()->addElement(0, 0, m_title);
        return;
    }
    m_title->setText(title);
}

QString ChartView::title() const {
    return m_title ? m_title->text() : QString();
}

void ChartView::setAxisTitles(const QString& x, const QString& y) {
    xAxis->setLabel(x);
    yAxis->setLabel(y);
}

void ChartView::setLegendShown(bool shown) {
    legend->setVisible(shown);
}

void ChartView::fixXRange(double min, double max) {
    m_fixedX = m_dateTime ? QCPRange(axisSeconds(min), axisSeconds(max)) : QCPRange(min, max);
}

void ChartView::fixYRange(double min, double max) {
    m_fixedY = QCPRange(min, max);
}

void ChartView::setDateTimeAxis(const QString& format) {
    QSharedPointer<QCPAxisTickerDateTime> ticker(new QCPAxisTickerDateTime);
    ticker->setDateTimeFormat(format);
    ticker->setDateTimeSpec(Qt::UTC);
    xAxis->setTicker(ticker);
    m_dateTime = true;
}

// A free axis spans the data with a little room, so that the outermost markers show whole.
static void fitToData(QCPAxis* axis) {
    axis->rescale(true);
    const QCPRange r = axis->range();
    const double room = r.size() > 0 ? r.size() * 0.02 : 1.0;
    axis->setRange(r.lower - room, r.upper + room);
}

void ChartView::refresh() {
    bool anyPoints = false;
    for (int i = 0; i < graphCount() && !anyPoints; ++i)
        anyPoints = graph(i)->dataCount() > 0;
    if (m_fixedX)
        xAxis->setRange(*m_fixedX);
    else if (anyPoints)
        fitToData(xAxis);
    if (m_fixedY)
        yAxis->setRange(*m_fixedY);
    else if (anyPoints)
        fitToData(yAxis);
    replot();
}

} // namespace ui
