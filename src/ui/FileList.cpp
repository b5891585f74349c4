#include "ui/FileList.h"

#include <QDir>
#include <QFileSystemModel>
#include <QItemSelection>

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
    clearSelection();
    setRootIndex(m_model->setRootPath(m_path));
    m_model->sort(0);
}

void FileList::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    QListView::selectionChanged(selected, deselected);
    const QModelIndexList indexes = selected.indexes();
    if (!indexes.isEmpty())
        emit fileSelected(indexes.first().data(QFileSystemModel::FileNameRole).toString());
}
