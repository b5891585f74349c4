#include "ui/common/DirectoryList.h"

#include "files/FolderAccess.h"
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
    // Every row is as high as any other: the list is laid out without
    // measuring each of a big folder's entries.
    m_view->setUniformItemSizes(true);
    m_label->setTextInteractionFlags(Qt::NoTextInteraction);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_label);
    layout->addWidget(m_view);
    setFocusProxy(m_view);
    setFocusPolicy(Qt::StrongFocus);
    connect(m_view, &QListView::activated, this, &DirectoryList::open);
    connect(m_model, &FolderEntryModel::folderLost, this, &DirectoryList::moveUp);
    connect(&m_parent, &QFileSystemWatcher::directoryChanged, this, &DirectoryList::moveUp);
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
    if (!m_parent.directories().isEmpty())
        m_parent.removePaths(m_parent.directories());
    if (m_path != QDir::rootPath())
        m_parent.addPath(cleanAbsolute(m_path + QStringLiteral("/..")));
    emit pathChanged(m_path);
}

void DirectoryList::enter(const QString& path) {
    const QString clean = cleanAbsolute(path);
    if (const SystemError error = folderEntryError(clean); error.failed()) {
        emit refused(QStringLiteral("La cartella %1 non si può aprire: %2")
                         .arg(LocalFileName::readable(clean), error.reason));
        return;
    }
    setPath(clean);
}

void DirectoryList::open(const QModelIndex& index) {
    if (!index.isValid())
        return;
    enter(QDir(m_path).filePath(index.data(FolderEntryModel::NameRole).toString()));
}

void DirectoryList::moveUp() {
    const QString gone = m_path;
    const SystemError error = folderEntryError(gone);
    if (!error.failed() || gone == QDir::rootPath())
        return;
    QString shown = cleanAbsolute(gone + QStringLiteral("/.."));
    while (shown != QDir::rootPath() && folderEntryError(shown).failed())
        shown = cleanAbsolute(shown + QStringLiteral("/.."));
    setPath(shown);
    const QString why = error.kind == SystemError::Kind::Missing
                            ? QStringLiteral("non esiste più")
                            : QStringLiteral("non si può più aprire (%1)").arg(error.reason);
    emit movedUp(QStringLiteral("La cartella %1 %2: ora è mostrata %3")
                     .arg(LocalFileName::readable(gone), why, LocalFileName::readable(shown)));
}
