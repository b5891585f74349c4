#include "ui/save/ReplaceNotice.h"

#include "files/LocalFileName.h"
#include "ui/common/FileList.h"
#include "ui/common/FolderEntryModel.h"

#include <QDir>
#include <QLineEdit>

ReplaceNotice::ReplaceNotice(FileList& list, QLineEdit& nameBox, QWidget* parent)
    : QLabel(parent), m_list(list), m_nameBox(nameBox) {
    setObjectName(QStringLiteral("replaceNotice"));
    setAccessibleName(QStringLiteral("Avviso di sostituzione"));
    setWordWrap(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    connect(&m_nameBox, &QLineEdit::textChanged, this, &ReplaceNotice::refresh);
    // The list follows the folder shown and the files that change on the disk.
    FolderEntryModel* model = m_list.files();
    connect(model, &QAbstractItemModel::modelReset, this, &ReplaceNotice::refresh);
    connect(model, &QAbstractItemModel::rowsInserted, this, &ReplaceNotice::refresh);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ReplaceNotice::refresh);
    refresh();
}

QString ReplaceNotice::replacedName() const {
    const QString name = m_nameBox.text();
    // Only a plain ".tvo" name is ever written by "Salva".
    if (name.right(4).toLower() != QStringLiteral(".tvo") || name.contains(u'/') ||
        name.contains(u'\\'))
        return {};
    return LocalFileName::status(QDir(m_list.path()).filePath(name)).isFile ? name : QString();
}

void ReplaceNotice::refresh() {
    const QString name = replacedName();
    setText(name.isEmpty()
                ? QString()
                : QStringLiteral("Salva sostituirà %1, che esiste già in questa cartella")
                      .arg(LocalFileName::readable(name)));
    markInList(name);
}

void ReplaceNotice::markInList(const QString& name) {
    const QModelIndex entry = name.isEmpty() ? QModelIndex() : m_list.entry(name);
    QItemSelectionModel* selection = m_list.selectionModel();
    if (!entry.isValid()) {
        if (selection->hasSelection())
            selection->clearSelection();
        return;
    }
    if (!selection->isSelected(entry)) {
        selection->select(entry, QItemSelectionModel::ClearAndSelect);
        m_list.scrollTo(entry);
    }
}
