#include "ui/FileList.h"

#include <QDir>
#include <QFileSystemModel>

FileList::FileList(QWidget* parent) : QListView(parent), m_model(new QFileSystemModel(this)) {
    m_model->setFilter(QDir::Files);
    // The model's patterns match letter case on Linux, so each letter lists both.
    m_model->setNameFilters({QStringLiteral("*.[tT][vV][oO]")});
    m_model->setNameFilterDisables(false);
    m_model->setReadOnly(true);
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setPath(QDir::currentPath());
}

void FileList::setPath(const QString& path) {
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    if (clean == m_path)
        return;
    m_path = clean;
    selectionModel()->clearCurrentIndex();
    clearSelection();
    setRootIndex(m_model->setRootPath(m_path));
    m_model->sort(0);
}

void FileList::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QListView::currentChanged(current, previous);
    if (!current.isValid())
        return;
    // The keyboard can move the current entry without selecting it (focus
    // coming in by Tab): the entry in use is always the one shown selected.
    if (!selectionModel()->isSelected(current))
        selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
    emit fileSelected(current.data(QFileSystemModel::FileNameRole).toString());
}
