#include "ui/common/DirectoryList.h"

#include "files/LocalFileName.h"
#include "ui/common/FolderEntryModel.h"

#include <QDir>
#include <QLabel>
#include <QListView>
#include <QVBoxLayout>

DirectoryList::DirectoryList(QWidget* parent)
    : QWidget(parent), m_label(new QLabel(this)), m_view(new QListView(this)),
      m_model(new FolderEntryModel(FolderEntryModel::Shows::Folders, this)) {
    m_view->setModel(m_model);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_label->setTextInteractionFlags(Qt::NoTextInteraction);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_label);
    layout->addWidget(m_view);
    setFocusProxy(m_view);
    setFocusPolicy(Qt::StrongFocus);
    connect(m_view, &QListView::activated, this, &DirectoryList::open);
    setPath(QDir::currentPath());
}

namespace {

// The absolute form of a path, without "." and ".."; ".." of the root is the root.
QString cleanAbsolute(const QString& path) {
    QString clean = QDir::cleanPath(QDir(path).absolutePath());
    const QString up = QDir::rootPath() + QStringLiteral("..");
    while (clean == up || clean.startsWith(up + QLatin1Char('/')))
        clean = QDir::cleanPath(QDir::rootPath() + clean.mid(up.size()));
    return clean;
}

} // namespace

void DirectoryList::setPath(const QString& path) {
    const QString clean = cleanAbsolute(path);
    if (clean == m_path)
        return;
    m_path = clean;
    m_label->setText(LocalFileName::readable(m_path));
    m_label->setToolTip(m_label->text());
    m_model->setFolder(m_path);
    emit pathChanged(m_path);
}

void DirectoryList::open(const QModelIndex& index) {
    if (!index.isValid())
        return;
    // ".." of the root is the root itself: setPath() ignores it.
    setPath(QDir(m_path).filePath(index.data(FolderEntryModel::NameRole).toString()));
}
