#include "ui/common/FileList.h"

#include <QDir>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QSortFilterProxyModel>

namespace {

// The model keeps listing a folder once it was on the way to an earlier
// root (the folder just left after going up), whatever its filter says:
// folders inside the shown folder are left out here.
class FilesOnly : public QSortFilterProxyModel {
  public:
    FilesOnly(QFileSystemModel* files, QObject* parent)
        : QSortFilterProxyModel(parent), m_files(files) {
        setSourceModel(files);
    }
    void showFolder(const QString& path) {
        m_shown = path;
        invalidateFilter();
    }

  protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        return m_files->filePath(parent) != m_shown ||
               !m_files->isDir(m_files->index(row, 0, parent));
    }

  private:
    QFileSystemModel* m_files;
    QString m_shown;
};

} // namespace

FileList::FileList(QWidget* parent)
    : QListView(parent), m_model(new QFileSystemModel(this)),
      m_files(new FilesOnly(m_model, this)) {
    m_model->setFilter(QDir::Files);
    // The model's patterns match letter case on Linux, so each letter lists both.
    m_model->setNameFilters({QStringLiteral("*.[tT][vV][oO]")});
    m_model->setNameFilterDisables(false);
    m_model->setReadOnly(true);
    setModel(m_files);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
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
    static_cast<FilesOnly*>(m_files)->showFolder(m_path);
    setRootIndex(m_files->mapFromSource(m_model->setRootPath(m_path)));
    m_model->sort(0);
}

QModelIndex FileList::entry(const QString& name) const {
    return m_files->mapFromSource(m_model->index(QDir(m_path).filePath(name)));
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
    emit fileSelected(index.data(QFileSystemModel::FileNameRole).toString());
}
