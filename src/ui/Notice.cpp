#include "ui/Notice.h"

#include "ui/Application.h"

#include <QFileDialog>
#include <QMessageBox>

namespace ui {

namespace {

// A message box is titled with the program's name alone.
QString boxTitle() {
    return QString::fromLatin1(kProgramName);
}

void systemNotice(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, boxTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

Answer systemQuestion(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, boxTitle(), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

QString systemFileChooser(QWidget* parent, const QString& caption, const QString& dir,
                          const QString& filter) {
    return QFileDialog::getOpenFileName(parent, windowCaption(caption), dir, dialogFilter(filter));
}

QString systemSaveFileChooser(QWidget* parent, const QString& caption, const QString&,
                              const QString& filter) {
    return QFileDialog::getSaveFileName(parent, windowCaption(caption), QString(),
                                        dialogFilter(filter));
}

FileChooserFn& saveFileChooser() {
    static FileChooserFn chooser;
    return chooser;
}

NoticeFn& noticeHandler() {
    static NoticeFn handler;
    return handler;
}

QuestionFn& questionHandler() {
    static QuestionFn handler;
    return handler;
}

FileChooserFn& fileChooser() {
    static FileChooserFn chooser;
    return chooser;
}

} // namespace

void showNotice(QWidget* parent, const QString& text) {
    if (noticeHandler()) {
        noticeHandler()(parent, text);
        return;
    }
    systemNotice(parent, text);
}

Answer askYesNo(QWidget* parent, const QString& text) {
    if (questionHandler())
        return questionHandler()(parent, text);
    return systemQuestion(parent, text);
}

QString chooseOpenFile(QWidget* parent, const QString& caption, const QString& dir,
                       const QString& filter) {
    if (fileChooser())
        return fileChooser()(parent, caption, dir, filter);
    return systemFileChooser(parent, caption, dir, filter);
}

QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& filter) {
    if (saveFileChooser())
        return saveFileChooser()(parent, caption, QString(), filter);
    return systemSaveFileChooser(parent, caption, QString(), filter);
}

void setNoticeHandler(NoticeFn handler) {
    noticeHandler() = std::move(handler);
}
void setQuestionHandler(QuestionFn handler) {
    questionHandler() = std::move(handler);
}
void setFileChooser(FileChooserFn chooser) {
    fileChooser() = std::move(chooser);
}
void setSaveFileChooser(FileChooserFn chooser) {
    saveFileChooser() = std::move(chooser);
}

QString dialogFilter(const QString& pairs) {
    // "Text|pattern|Text|pattern" becomes one "Text (patterns)" per choice. File names on this
    // system are case sensitive, so a pattern with letters also offers its lower-case form: a
    // daily file site0010.09o is an observation file like SITE0010.09O.
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList lines;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString shown = parts[i];
        const QString& pattern = parts[i + 1];
        shown.remove(QStringLiteral(" (") + pattern + QStringLiteral(")"));
        QString patterns = pattern;
        if (pattern.toLower() != pattern)
            patterns += QLatin1Char(' ') + pattern.toLower();
        lines << shown + QStringLiteral(" (") + patterns + QStringLiteral(")");
    }
    return lines.join(QStringLiteral(";;"));
}

NoticeRecorder::NoticeRecorder() {
    setNoticeHandler([this](QWidget*, const QString& text) { notices << text; });
    setQuestionHandler([this](QWidget*, const QString& text) {
        questions << text;
        return answer;
    });
    const FileChooserFn chooser = [this](QWidget*, const QString& caption, const QString&,
                                         const QString& filter) {
        dialogCaptions << caption;
        dialogFilters << filter;
        return files.isEmpty() ? QString() : files.takeFirst();
    };
    setFileChooser(chooser);
    setSaveFileChooser(chooser);
}

NoticeRecorder::~NoticeRecorder() {
    setNoticeHandler({});
    setQuestionHandler({});
    setFileChooser({});
    setSaveFileChooser({});
}

} // namespace ui
