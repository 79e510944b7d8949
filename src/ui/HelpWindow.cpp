#include "ui/HelpWindow.h"

#include "ui/Application.h"

#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

static void registerHelpPages() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(help);
        return true;
    }();
    (void)registered;
}

namespace ui {

static const char* const kTopicProperty = "helpTopic";

static QString pagePath(int topic) {
    return QStringLiteral(":/help/topic%1.html").arg(topic);
}

QString helpFilePath(const QString& startDir) {
    return startDir + QStringLiteral("Quillon.chm");
}

void setHelpTopic(QWidget* control, int topic) {
    if (control)
        control->setProperty(kTopicProperty, topic);
}

int helpTopicOf(const QWidget* control) {
    for (const QWidget* w = control; w; w = w->parentWidget()) {
        const int topic = w->property(kTopicProperty).toInt();
        if (topic != 0)
            return topic;
        if (w->isWindow())
            break;
    }
    return 0;
}

static HelpFn& helpHandler() {
    static HelpFn handler;
    return handler;
}

static void builtInHelp(QWidget* owner, const QString&, int topic) {
    static QPointer<HelpWindow> window;
    if (!window) {
        // A window of its own, kept with the owner's window so it closes with the program.
        window = new HelpWindow(owner ? owner->window() : nullptr);
        window->setWindowFlag(Qt::Window, true);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    window->showTopic(topic);
    window->show();
    window->raise();
    window->activateWindow();
}

void openHelpTopic(QWidget* owner, const QString& helpFile, int topic) {
    if (helpHandler()) {
        helpHandler()(owner, helpFile, topic);
        return;
    }
    builtInHelp(owner, helpFile, topic);
}

void setHelpHandler(HelpFn handler) {
    helpHandler() = std::move(handler);
}

HelpRecorder::HelpRecorder() {
    setHelpHandler([this](QWidget* owner, const QString& file, int topic) {
        owners << owner;
        files << file;
        topics << topic;
    });
}

HelpRecorder::~HelpRecorder() {
    setHelpHandler({});
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent) {
    registerHelpPages();
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(windowCaption(QStringLiteral("Quillon Help")));
    resize(640, 560);
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setOpenLinks(true);
    Browser->setOpenExternalLinks(false);
    Browser->setSearchPaths({QStringLiteral(":/help")});
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("BBCloseHelp"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Browser, 1);
    layout->addWidget(close, 0, Qt::AlignRight);
}

bool HelpWindow::hasPage(int topic) {
    registerHelpPages();
    return topic > 0 && QFile::exists(pagePath(topic));
}

void HelpWindow::showTopic(int topic) {
    m_topic = hasPage(topic) ? topic : kFirstHelpTopic;
    Browser->setSource(QUrl(QStringLiteral("qrc") + pagePath(m_topic)));
}

} // namespace ui
