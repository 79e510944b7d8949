#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace ui {

/// The answer to a Yes/No question.
enum class Answer { Yes, No };

using NoticeFn = std::function<void(QWidget* parent, const QString& text)>;
using QuestionFn = std::function<Answer(QWidget* parent, const QString& text)>;
using FileChooserFn = std::function<QString(QWidget* parent, const QString& caption,
                                            const QString& dir, const QString& filter)>;

/// A modal message box with one OK button. Every message of the program goes through here.
void showNotice(QWidget* parent, const QString& text);
/// A modal confirmation box with Yes and No; No is the default button.
Answer askYesNo(QWidget* parent, const QString& text);
/// The open-file dialog; the filter uses the "Text (*.x)|*.x|All (*.*)|*.*" form, pairs of a
/// shown text and a pattern. Returns the chosen file or an empty text when cancelled.
QString chooseOpenFile(QWidget* parent, const QString& caption, const QString& dir,
                       const QString& filter);
/// The save-file dialog, with the same filter form; the file to write or an empty text.
QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& filter);

/// Replace the message box, the question or the file dialog; an empty function brings the
/// window system's own back.
void setNoticeHandler(NoticeFn handler);
void setQuestionHandler(QuestionFn handler);
void setFileChooser(FileChooserFn chooser);
void setSaveFileChooser(FileChooserFn chooser);

/// "Observation files (*.*O)|*.*O|All files (*.*)|*.*" in the dialog's own filter form.
QString dialogFilter(const QString& pairs);

/// Stands in for the message boxes and the file dialog while it lives: records every notice and
/// question, answers questions with `answer`, and hands out `files` one by one to the open and
/// save dialogs (an empty text, as a cancelled dialog, when none is left).
class NoticeRecorder {
public:
    NoticeRecorder();
    ~NoticeRecorder();
    NoticeRecorder(const NoticeRecorder&) = delete;
    NoticeRecorder& operator=(const NoticeRecorder&) = delete;

    QStringList notices;
    QStringList questions;
    QStringList dialogCaptions;
    QStringList dialogFilters;
    Answer answer = Answer::No;
    QStringList files;
};

} // namespace ui
