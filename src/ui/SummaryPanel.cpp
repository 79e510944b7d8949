#include "ui/SummaryPanel.h"

#include "ui/HelpWindow.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

namespace {

constexpr int kSummaryTopic = 2;
constexpr int kGroupTopic = 4;

QString shown(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QFont fixedFont() {
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

QGroupBox* newGroup(QWidget* parent, const char* title, const char* name) {
    auto* group = new QGroupBox(QString::fromLatin1(title), parent);
    group->setObjectName(QString::fromLatin1(name));
    setHelpTopic(group, kGroupTopic);
    return group;
}

/// A value label in the fixed-pitch font, so the blanks of "Epochs           12" line up.
QLabel* newValue(QWidget* parent, const char* text, const char* name) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(fixedFont());
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    setHelpTopic(label, kSummaryTopic);
    return label;
}

QLineEdit* newList(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setFont(fixedFont());
    setHelpTopic(edit, kSummaryTopic);
    return edit;
}

QLabel* newCaption(QWidget* parent, const char* text) {
    return new QLabel(QString::fromLatin1(text), parent);
}

/// A label with a coloured background, framed so that silver reads as a lamp that is off.
QLabel* newIndicator(QWidget* parent, const char* text, const char* name) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    setIndicatorColour(label, scan::Colour::Silver);
    setHelpTopic(label, kGroupTopic);
    return label;
}

} // namespace

void setIndicatorColour(QLabel* label, scan::Colour colour) {
    const std::uint32_t value = scan::rgb(colour);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(static_cast<QRgb>(value)));
    // Black text reads on every indicator colour, red included.
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setAutoFillBackground(true);
    label->setPalette(palette);
}

QColor indicatorColourOf(const QLabel* label) {
    return label->palette().color(QPalette::Window);
}

SummaryPanel::SummaryPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PSumm"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    setAutoFillBackground(true);
    setHelpTopic(this, kSummaryTopic);

    STTitle = new QLabel(QStringLiteral("Summary"), this);
    STTitle->setObjectName(QStringLiteral("STSummTitle"));
    QFont titleFont = STTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    STTitle->setFont(titleFont);
    STTitle->setAlignment(Qt::AlignCenter);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(newCaption(this, "Observation file"));
    ESumFile = newList(this, "ESumFile");
    fileRow->addWidget(ESumFile, 1);

    // Epochs.
    GBEpochs = newGroup(this, " Epochs ", "GBEpochs");
    auto* epochs = new QVBoxLayout(GBEpochs);
    STSumStartEp = newValue(GBEpochs, " Start Epoch", "STSumStartEp");
    STSumFinish = newValue(GBEpochs, " Finish Epoch", "STSumFinish");
    STSumNumEp = newValue(GBEpochs, " Number of Epochs", "STSumNumEp");
    STSumInterval = newValue(GBEpochs, " Interval", "STSumInterval");
    STSumGap = newValue(GBEpochs, " Gaps", "STSumGap");
    for (QLabel* l : {STSumStartEp, STSumFinish, STSumNumEp, STSumInterval, STSumGap})
        epochs->addWidget(l);
    epochs->addStretch(1);

    // Satellites observed.
    GBSatellites = newGroup(this, " Satellites ", "GBSatellites");
    auto* sats = new QGridLayout(GBSatellites);
    sats->setColumnStretch(1, 1);
    sats->setColumnStretch(3, 1);
    STSumMaxSat = newValue(GBSatellites, " Maximum", "STSumMaxSat");
    STSumMinSat = newValue(GBSatellites, " Minimum", "STSumMinSat");
    auto* extremes = new QHBoxLayout;
    extremes->addWidget(STSumMaxSat);
    extremes->addSpacing(40);
    extremes->addWidget(STSumMinSat);
    extremes->addStretch(1);
    sats->addLayout(extremes, 0, 0, 1, 4);
    ESumGPS = newList(GBSatellites, "ESumGPS");
    ESumGLO = newList(GBSatellites, "ESumGLO");
    ESumGEO = newList(GBSatellites, "ESumGEO");
    ESumGAL = newList(GBSatellites, "ESumGAL");
    sats->addWidget(newCaption(GBSatellites, " GPS "), 1, 0);
    sats->addWidget(ESumGPS, 1, 1, 1, 3);
    sats->addWidget(newCaption(GBSatellites, " GLO"), 2, 0);
    sats->addWidget(ESumGLO, 2, 1, 1, 3);
    sats->addWidget(newCaption(GBSatellites, " GEO"), 3, 0);
    sats->addWidget(ESumGEO, 3, 1, 1, 3);
    sats->addWidget(newCaption(GBSatellites, " GAL"), 4, 0);
    sats->addWidget(ESumGAL, 4, 1, 1, 3);

    // Satellites with ephemerides.
    GBEphemeris = newGroup(this, " Ephemeris ", "GBEphemeris");
    auto* eph = new QGridLayout(GBEphemeris);
    eph->setColumnStretch(1, 1);
    EGPSEph = newList(GBEphemeris, "EGPSEph");
    EGLOEph = newList(GBEphemeris, "EGLOEph");
    EGEOEph = newList(GBEphemeris, "EGEOEph");
    EGALEph = newList(GBEphemeris, "EGALEph");
    const std::array<std::pair<const char*, QLineEdit*>, 4> ephRows = {
        {{" GPS", EGPSEph}, {"GLO", EGLOEph}, {" GEO", EGEOEph}, {" GAL", EGALEph}}};
    for (int row = 0; row < 4; ++row) {
        const auto& [caption, edit] = ephRows[static_cast<std::size_t>(row)];
        eph->addWidget(newCaption(GBEphemeris, caption), row, 0);
        eph->addWidget(edit, row, 1);
    }
    eph->setRowStretch(4, 1);

    // External events.
    GBEvents = newGroup(this, " Events ", "GBEvents");
    auto* events = new QVBoxLayout(GBEvents);
    STSumXA = newValue(GBEvents, " XA", "STSumXA");
    STSumXB = newValue(GBEvents, " XB", "STSumXB");
    events->addWidget(STSumXA);
    events->addWidget(STSumXB);

    // Values per observation code: one row per kind of measurement (C, P, L, D, S), one
    // column per band (1, 2, 5, then 6, 7, 8 of RINEX 2.11); P has bands 1 and 2 only.
    GBMeasurements = newGroup(this, " Measurements", "GBMeasurements");
    auto* meas = new QGridLayout(GBMeasurements);
    meas->setHorizontalSpacing(6);
    for (std::size_t band = 0; band < header::kObsBands.size(); ++band)
        meas->setColumnStretch(2 * static_cast<int>(band) + 1, 1);
    for (std::size_t i = 0; i < header::kMaxTypes; ++i) {
        const std::string code(header::kObsTypeNames[i]);
        const int row = static_cast<int>(header::kindRow(i));
        const int col = 2 * static_cast<int>(header::bandColumn(i));
        auto* caption = newCaption(GBMeasurements, code.c_str());
        caption->setObjectName(QStringLiteral("LB") + QString::fromStdString(code) +
                               QStringLiteral("Code"));
        const std::string name = "ST" + code;
        QLabel* count = newValue(GBMeasurements, "0", name.c_str());
        count->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        count->setMinimumWidth(count->fontMetrics().horizontalAdvance(QStringLiteral("9999999")));
        count->setText(QString());
        codeCounts[i] = count;
        meas->addWidget(caption, row, col);
        meas->addWidget(count, row, col + 1);
    }

    // Errors found at all.
    GBErrors = newGroup(this, " Errors ", "GBErrors");
    auto* errors = new QHBoxLayout(GBErrors);
    STSumErr = newIndicator(GBErrors, "No", "STSumErr");
    setIndicatorColour(STSumErr, scan::Colour::Yellow);
    STSumErr->setMinimumSize(80, 22);
    errors->addWidget(STSumErr);
    errors->addStretch(1);

    // Per file kind: the data result (captioned) and the header result (small lamp).
    GBFiles = newGroup(this, " Files ", "GBFiles");
    auto* files = new QGridLayout(GBFiles);
    files->setColumnStretch(1, 1);
    struct FileRow {
        text::FileKind kind;
        const char *caption, *data, *header;
    };
    const std::array<FileRow, 6> fileRows = {{
        {text::FileKind::O, "Observation File", "STFileO", "STFileOH"},
        {text::FileKind::N, "Navigation File GPS", "STFileN", "STFileNH"},
        {text::FileKind::G, "Navigation File GLO", "STFileG", "STFileGH"},
        {text::FileKind::H, "Navigation File GEO", "STFileH", "STFileHH"},
        {text::FileKind::L, "Navigation File GAL", "STFileL", "STFileLH"},
        {text::FileKind::M, "Meteo File", "STFileM", "STFileMH"},
    }};
    for (int r = 0; r < 6; ++r) {
        const FileRow& f = fileRows[static_cast<std::size_t>(r)];
        const auto k = static_cast<std::size_t>(f.kind);
        fileHeader[k] = newIndicator(GBFiles, "", f.header);
        fileHeader[k]->setFixedSize(18, 18);
        fileHeader[k]->setToolTip(QStringLiteral("Header"));
        fileData[k] = newIndicator(GBFiles, f.caption, f.data);
        fileData[k]->setToolTip(QStringLiteral("Data"));
        fileData[k]->setMinimumHeight(20);
        files->addWidget(fileHeader[k], r, 0);
        files->addWidget(fileData[k], r, 1);
    }

    // Line counts.
    auto* counts = newGroup(this, " Lines ", "GBLines");
    auto* countGrid = new QGridLayout(counts);
    countGrid->setColumnStretch(0, 1);
    ST_NFileStr = newValue(counts, "Strings in File", "ST_NFileStr");
    ST_NHeaderStr = newValue(counts, "Strings in Header", "ST_NHeaderStr");
    ST_NDataStr = newValue(counts, "Strings in Data", "ST_NDataStr");
    const std::array<std::pair<const char*, QLabel*>, 3> countRows = {
        {{"Lines in file", ST_NFileStr},
         {"Lines in header", ST_NHeaderStr},
         {"Lines in data", ST_NDataStr}}};
    for (int r = 0; r < 3; ++r) {
        const auto& [caption, value] = countRows[static_cast<std::size_t>(r)];
        countGrid->addWidget(newCaption(counts, caption), r, 0);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        countGrid->addWidget(value, r, 1);
    }

    BBShowErr = new QPushButton(QStringLiteral("View Errors"), this);
    BBShowErr->setObjectName(QStringLiteral("BBShowErr"));
    BBShowErr->setEnabled(false);
    setHelpTopic(BBShowErr, kSummaryTopic);
    BBCloseSum = new QPushButton(QStringLiteral("Close"), this);
    BBCloseSum->setObjectName(QStringLiteral("BBCloseSum"));
    setHelpTopic(BBCloseSum, kSummaryTopic);
    for (QPushButton* b : {BBShowErr, BBCloseSum})
        b->setMinimumWidth(110);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    auto* left = new QVBoxLayout;
    left->addWidget(GBEpochs, 1);
    left->addWidget(GBEvents);
    grid->addLayout(left, 0, 0);
    // The six band columns of the counts take the width of the two right-hand columns.
    grid->addWidget(GBMeasurements, 0, 1, 1, 2);
    grid->addWidget(GBFiles, 1, 2);
    grid->addWidget(GBSatellites, 1, 0, 1, 2);
    grid->addWidget(GBEphemeris, 2, 0, 1, 2);
    auto* side = new QVBoxLayout;
    side->addWidget(GBErrors);
    side->addWidget(counts);
    side->addStretch(1);
    grid->addLayout(side, 2, 2);
    grid->setRowStretch(3, 1); // spare height goes below the groups, not into them
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BBShowErr);
    buttons->addWidget(BBCloseSum);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 10);
    layout->addWidget(STTitle);
    layout->addLayout(fileRow);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
}

void SummaryPanel::render(const scan::WindowState& w) {
    ESumFile->setText(QString::fromStdString(w.ESumFile));
    STSumStartEp->setText(shown(w.STSumStartEp));
    STSumFinish->setText(shown(w.STSumFinish));
    STSumNumEp->setText(shown(w.STSumNumEp));
    STSumInterval->setText(shown(w.STSumInterval));
    STSumGap->setText(shown(w.STSumGap));
    STSumMaxSat->setText(shown(w.STSumMaxSat));
    STSumMinSat->setText(shown(w.STSumMinSat));
    ESumGPS->setText(shown(w.ESumGPS));
    ESumGLO->setText(shown(w.ESumGLO));
    ESumGEO->setText(shown(w.ESumGEO));
    ESumGAL->setText(shown(w.ESumGAL));
    EGPSEph->setText(shown(w.EGPSEph));
    EGLOEph->setText(shown(w.EGLOEph));
    EGEOEph->setText(shown(w.EGEOEph));
    EGALEph->setText(shown(w.EGALEph));
    for (QLineEdit* e :
         {ESumFile, ESumGPS, ESumGLO, ESumGEO, ESumGAL, EGPSEph, EGLOEph, EGEOEph, EGALEph})
        e->setCursorPosition(0);
    STSumXA->setText(shown(w.STSumXA));
    STSumXB->setText(shown(w.STSumXB));
    for (std::size_t i = 0; i < header::kMaxTypes; ++i)
        codeCounts[i]->setText(shown(w.codeCounts[i]));
    STSumErr->setText(shown(w.STSumErr.text));
    setIndicatorColour(STSumErr, w.STSumErr.colour);
    for (text::FileKind kind : text::kFileKinds) {
        const scan::FileIndicators& f = w.file(kind);
        const auto k = static_cast<std::size_t>(kind);
        setIndicatorColour(fileHeader[k], f.header);
        setIndicatorColour(fileData[k], f.data);
    }
    ST_NFileStr->setText(shown(w.ST_NFileStr));
    ST_NHeaderStr->setText(shown(w.ST_NHeaderStr));
    ST_NDataStr->setText(shown(w.ST_NDataStr));
    BBShowErr->setEnabled(w.BBShowErrEnabled);
}

} // namespace ui
