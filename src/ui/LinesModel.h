#pragma once

#include <QAbstractListModel>
#include <QStyledItemDelegate>

#include <string>
#include <vector>

class QListView;
class QWidget;

namespace ui {

/// A read-only list model over lines that the core keeps (a diagnostics list, the epochs
/// list). The model shows the vector, it does not copy it: the vector must outlive the model
/// or be replaced by setLines, and after the vector changed the model needs refresh().
class LinesModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit LinesModel(QObject* parent = nullptr);

    /// Shows these lines; nullptr shows none.
    void setLines(const std::vector<std::string>* lines);
    /// Takes the vector's present length and content.
    void refresh();

    /// The row of the longest line (by characters), 0 when empty.
    int longestRow() const noexcept { return m_longest; }
    QString lineAt(int row) const;
    /// The lines shown (none before setLines).
    const std::vector<std::string>* lines() const noexcept { return m_lines; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const std::vector<std::string>* m_lines = nullptr;
    int m_count = 0;
    int m_longest = 0;
};

/// Gives every row the size of the model's longest line, so a list view with uniform item
/// sizes scrolls sideways over its widest line, and at least minWidth pixels.
class LinesDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit LinesDelegate(int minWidth, QObject* parent = nullptr);
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int m_minWidth;
};

/// A list view for many lines: uniform item sizes, a fixed-pitch font, no editing, with its
/// own LinesModel; objectName is the list's given name. The user selects any lines; Ctrl+C
/// and the context menu's "Copy" copy them, "Save list..." writes the whole list to a file.
QListView* newLinesView(QWidget* parent, const QString& objectName, int minContentWidth = 0);

/// The selected lines of a view made by newLinesView, in list order, each with a line feed.
QString selectedLinesText(const QListView* view);
/// Writes every line of the view's list, each with a line feed, byte for byte as the program
/// keeps it; false when the file cannot be written.
bool writeLines(const QListView* view, const QString& path);
/// "Save list...": asks for a file and writes the list there.
void saveList(QListView* view);

/// The LinesModel of a view made by newLinesView.
LinesModel* linesModelOf(const QListView* view);

} // namespace ui
