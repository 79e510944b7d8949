#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class QTextBrowser;

namespace ui {

/// The topic shown when nothing more specific applies: choosing and scanning a file.
inline constexpr int kFirstHelpTopic = 1;

/// The help file's name, looked for in the start directory (which ends with a separator).
QString helpFilePath(const QString& startDir);

/// Gives a control its help topic number.
void setHelpTopic(QWidget* control, int topic);
/// The control's help topic, or that of the nearest enclosing widget that has one; 0 when none
/// has (and for no control).
int helpTopicOf(const QWidget* control);

using HelpFn = std::function<void(QWidget* owner, const QString& helpFile, int topic)>;

/// Opens help at a topic. The built-in help pages are what opens; helpFile names the help file
/// that the program looks for. A topic without a page opens topic 1.
void openHelpTopic(QWidget* owner, const QString& helpFile, int topic);
/// Replaces the help viewer; an empty function brings the built-in one back.
void setHelpHandler(HelpFn handler);

/// Stands in for the help viewer while it lives and records every call.
class HelpRecorder {
public:
    HelpRecorder();
    ~HelpRecorder();
    HelpRecorder(const HelpRecorder&) = delete;
    HelpRecorder& operator=(const HelpRecorder&) = delete;

    QList<int> topics;
    QStringList files;
    QList<QWidget*> owners;
};

/// The built-in help: one HTML page per topic, with links between them.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    /// Shows the topic's page, topic 1 for a number without one.
    void showTopic(int topic);
    int topic() const noexcept { return m_topic; }
    static bool hasPage(int topic);

    QTextBrowser* Browser;

private:
    int m_topic = 0;
};

} // namespace ui
