#include "ui/ChartView.h"

#include "ui/Notice.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMenu>

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// Epoch and event numbers are whole: the bottom axis never ticks between two of them. With
// labels, the tick at number n shows the n-th label instead of the number.
class WholeNumberTicker : public QCPAxisTicker {
public:
    std::shared_ptr<const std::vector<std::string>> labels;

protected:
    double getTickStep(const QCPRange& range) override {
        return std::max(1.0, QCPAxisTicker::getTickStep(range));
    }
    int getSubTickCount(double tickStep) override {
        return tickStep <= 1.0 ? 0 : QCPAxisTicker::getSubTickCount(tickStep);
    }
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                         int precision) override {
        if (!labels)
            return QCPAxisTicker::getTickLabel(tick, locale, formatChar, precision);
        const double n = std::round(tick);
        if (std::fabs(tick - n) > 1e-6 || n < 1 || n > static_cast<double>(labels->size()))
            return QString();
        const std::string& label = (*labels)[static_cast<std::size_t>(n) - 1];
        return QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size()));
    }
};

} // namespace

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

    // The wheel zooms and a left-button drag pans, both axes at once.
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    axisRect()->setRangeDrag(Qt::Horizontal | Qt::Vertical);
    axisRect()->setRangeZoom(Qt::Horizontal | Qt::Vertical);
    connect(this, &QCustomPlot::mouseDoubleClick, this, [this](QMouseEvent*) { showFullView(); });
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = newContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(mapToGlobal(at));
    });
}

QString ChartView::timeOfDayTitle() {
    return QStringLiteral("Time of day");
}

void ChartView::setWholeNumberXAxis() {
    m_wholeTicker = QSharedPointer<QCPAxisTicker>(new WholeNumberTicker);
    xAxis->setTicker(m_wholeTicker);
}

void ChartView::setEpochTimes(EpochTimes times) {
    if (!m_wholeTicker)
        setWholeNumberXAxis();
    m_epochTimes = std::move(times);
}

void ChartView::setTimeOfDay(bool shown) {
    m_timeOfDay = shown && m_epochTimes;
    xAxis->setLabel(m_timeOfDay ? timeOfDayTitle() : m_xTitle);
    takeEpochTimes();
    replot();
}

void ChartView::takeEpochTimes() {
    auto* ticker = dynamic_cast<WholeNumberTicker*>(m_wholeTicker.data());
    if (!ticker)
        return;
    ticker->labels = m_timeOfDay ? m_epochTimes() : nullptr;
    // Times are wider than numbers: fewer ticks keep them apart.
    ticker->setTickCount(m_timeOfDay ? 4 : 5);
}

void ChartView::setSeriesOnRightAxis(int series, const QString& axisTitle) {
    QCPGraph* g = graph(series);
    if (!g)
        return;
    g->setValueAxis(yAxis2);
    yAxis2->setVisible(true);
    yAxis2->setTickLabels(true);
    yAxis2->setLabel(axisTitle);
    axisRect()->setRangeDragAxes({xAxis}, {yAxis, yAxis2});
    axisRect()->setRangeZoomAxes({xAxis}, {yAxis, yAxis2});
}

QMenu* ChartView::newContextMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("ChartMenu"));
    QAction* save = menu->addAction(QStringLiteral("Save image..."), this, &ChartView::saveImage);
    save->setObjectName(QStringLiteral("SaveImage1"));
    QAction* copy = menu->addAction(QStringLiteral("Copy"), this, &ChartView::copyImage);
    copy->setObjectName(QStringLiteral("Copy1"));
    QAction* full = menu->addAction(QStringLiteral("Full view"), this, &ChartView::showFullView);
    full->setObjectName(QStringLiteral("FullView1"));
    if (m_epochTimes) {
        menu->addSeparator();
        QAction* times = menu->addAction(timeOfDayTitle());
        times->setObjectName(QStringLiteral("TimeOfDay1"));
        times->setCheckable(true);
        times->setChecked(m_timeOfDay);
        connect(times, &QAction::toggled, this, &ChartView::setTimeOfDay);
    }
    return menu;
}

void ChartView::saveImage() {
    QString path = chooseSaveFile(this, QStringLiteral("Save image"),
                                  QStringLiteral("PNG image (*.png)|*.png|PDF document "
                                                 "(*.pdf)|*.pdf"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");
    if (!writeImage(path))
        showNotice(this, QStringLiteral("The image could not be written to ") + path);
}

bool ChartView::writeImage(const QString& path) {
    if (QFileInfo(path).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) == 0)
        return savePdf(path);
    return savePng(path);
}

void ChartView::copyImage() {
    QGuiApplication::clipboard()->setPixmap(toPixmap());
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
    m_xTitle = x;
    xAxis->setLabel(m_timeOfDay ? timeOfDayTitle() : x);
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

static bool anyPointsOn(const QCustomPlot& plot, const QCPAxis* valueAxis) {
    for (int i = 0; i < plot.graphCount(); ++i) {
        const QCPGraph* g = plot.graph(i);
        if (g->dataCount() > 0 && (!valueAxis || g->valueAxis() == valueAxis))
            return true;
    }
    return false;
}

void ChartView::fitRanges() {
    if (m_fixedX)
        xAxis->setRange(*m_fixedX);
    else if (anyPointsOn(*this, nullptr))
        fitToData(xAxis);
    if (m_fixedY)
        yAxis->setRange(*m_fixedY);
    else if (anyPointsOn(*this, yAxis))
        fitToData(yAxis);
    if (yAxis2->visible() && anyPointsOn(*this, yAxis2))
        fitToData(yAxis2);
}

void ChartView::refresh() {
    takeEpochTimes();
    fitRanges();
    replot();
}

void ChartView::showFullView() {
    fitRanges();
    replot();
}

} // namespace ui
