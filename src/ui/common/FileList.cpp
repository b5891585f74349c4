#include "ui/common/FileList.h"

#include "ui/common/FolderEntryModel.h"

#include <QDir>
#include <QKeyEvent>

FileList::FileList(QWidget* parent)
    : QListView(parent),
      m_model(new FolderEntryModel(FolderEntryModel::Shows::MessageFiles, this)) {
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Every row is as high as any other: the list is laid out without
    // measuring each of a big folder's entries.
    setUniformItemSizes(true);
    connect(this, &QAbstractItemView::clicked, this, &FileList::pick);
    setPath(QDir::currentPath());
}

void FileList::setPath(const QString& path) {
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    if (clean == m_path)
        return;
    m_path = clean;
    selectionModel()->clearCurrentIndex();
    clearSelection();
    m_model->setFolder(m_path);
}

QModelIndex FileList::entry(const QString& name) const {
    return m_model->index(m_model->row(name));
}

namespace {

// Keys with which the operator moves through the list or marks its entry.
bool isMoveKey(int key) {
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Space:
    case Qt::Key_Select:
        return true;
    default:
        return false;
    }
}

} // namespace

void FileList::keyPressEvent(QKeyEvent* event) {
    const QModelIndex before = currentIndex();
    QListView::keyPressEvent(event);
    // A move key picks the entry it leaves the focus mark on, also when the mark
    // stays put (Home on the first entry); typing picks the entry whose name it
    // found. Other keys (Tab, Escape, shortcuts) pick nothing.
    if (isMoveKey(event->key()) || currentIndex() != before)
        pick(currentIndex());
}

QItemSelectionModel::SelectionFlags FileList::selectionCommand(const QModelIndex& index,
                                                               const QEvent* event) const {
    // The selection shows the picked entry only: a mouse press, a drag or a
    // current entry moved by the program selects nothing by itself. A click
    // selects through pick().
    if (event && event->type() == QEvent::KeyPress)
        return QListView::selectionCommand(index, event);
    return QItemSelectionModel::NoUpdate;
}

void FileList::pick(const QModelIndex& index) {
    if (!index.isValid())
        return;
    selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
    emit fileSelected(index.data(FolderEntryModel::NameRole).toString());
}
