#include "ui/LinesModel.h"

#include "ui/Notice.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QListView>
#include <QMenu>
#include <QStringDecoder>

#include <algorithm>

namespace ui {

static QString lineText(const std::string& line) {
    // Files are ASCII; other bytes are shown as UTF-8 when they are valid UTF-8, else one
    // character per byte, so that every byte of a line stays visible.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(line.data(), static_cast<qsizetype>(line.size())));
    if (utf8.hasError())
        return QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
    return text;
}

LinesModel::LinesModel(QObject* parent) : QAbstractListModel(parent) {}

void LinesModel::setLines(const std::vector<std::string>* lines) {
    m_lines = lines;
    refresh();
}

void LinesModel::refresh() {
    beginResetModel();
    m_count = m_lines ? static_cast<int>(std::min<std::size_t>(m_lines->size(), INT32_MAX)) : 0;
    m_longest = 0;
    std::size_t longest = 0;
    for (int row = 0; row < m_count; ++row) {
        const std::size_t n = (*m_lines)[static_cast<std::size_t>(row)].size();
        if (n > longest) {
            longest = n;
            m_longest = row;
        }
    }
    endResetModel();
}

QString LinesModel::lineAt(int row) const {
    // A vector that shrank since the last refresh shows empty rows, never reads past its end.
    if (!m_lines || row < 0 || static_cast<std::size_t>(row) >= m_lines->size())
        return {};
    return lineText((*m_lines)[static_cast<std::size_t>(row)]);
}

int LinesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_count;
}

QVariant LinesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_count)
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return lineAt(index.row());
    return {};
}

LinesDelegate::LinesDelegate(int minWidth, QObject* parent)
    : QStyledItemDelegate(parent), m_minWidth(minWidth) {}

QSize LinesDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const auto* model = qobject_cast<const LinesModel*>(index.model());
    if (!model || model->rowCount() == 0)
        return QStyledItemDelegate::sizeHint(option, index);
    QSize size = QStyledItemDelegate::sizeHint(option, model->index(model->longestRow()));
    size.setWidth(std::max(size.width(), m_minWidth));
    return size;
}

QListView* newLinesView(QWidget* parent, const QString& objectName, int minContentWidth) {
    auto* view = new QListView(parent);
    view->setObjectName(objectName);
    view->setUniformItemSizes(true);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    view->setItemDelegate(new LinesDelegate(minContentWidth, view));
    view->setModel(new LinesModel(view));

    auto* copy = new QAction(QStringLiteral("Copy"), view);
    copy->setObjectName(QStringLiteral("CopyLines1"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(copy, &QAction::triggered, view,
                     [view] { QGuiApplication::clipboard()->setText(selectedLinesText(view)); });
    view->addAction(copy);
    auto* save = new QAction(QStringLiteral("Save list..."), view);
    save->setObjectName(QStringLiteral("SaveList1"));
    QObject::connect(save, &QAction::triggered, view, [view] { saveList(view); });
    view->addAction(save);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(view, &QWidget::customContextMenuRequested, view,
                     [view, copy, save](const QPoint& at) {
                         copy->setEnabled(view->selectionModel()->hasSelection());
                         auto* menu = new QMenu(view);
                         menu->setAttribute(Qt::WA_DeleteOnClose);
                         menu->addAction(copy);
                         menu->addAction(save);
                         menu->popup(view->viewport()->mapToGlobal(at));
                     });
    return view;
}

QString selectedLinesText(const QListView* view) {
    const LinesModel* model = linesModelOf(view);
    if (!model || !view->selectionModel())
        return {};
    QList<int> rows;
    for (const QModelIndex& index : view->selectionModel()->selectedIndexes())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    QString text;
    for (int row : rows)
        text += model->lineAt(row) + QLatin1Char('\n');
    return text;
}

bool writeLines(const QListView* view, const QString& path) {
    const LinesModel* model = linesModelOf(view);
    QFile file(path);
    if (!model || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    if (const std::vector<std::string>* lines = model->lines()) {
        for (const std::string& line : *lines) {
            if (file.write(line.data(), static_cast<qint64>(line.size())) < 0 ||
                !file.putChar('\n'))
                return false;
        }
    }
    return file.flush();
}

void saveList(QListView* view) {
    const QString path = chooseSaveFile(view, QStringLiteral("Save list"),
                                        QStringLiteral("Text files (*.txt)|*.txt|All files "
                                                       "(*.*)|*"));
    if (path.isEmpty())
        return;
    if (!writeLines(view, path))
        showNotice(view, QStringLiteral("The list could not be written to ") + path);
}

LinesModel* linesModelOf(const QListView* view) {
    return view ? qobject_cast<LinesModel*>(view->model()) : nullptr;
}

} // namespace ui
