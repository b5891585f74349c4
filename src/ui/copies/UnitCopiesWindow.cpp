#include "ui/copies/UnitCopiesWindow.h"

#include "core/Windows1252.h"
#include "files/LocalFileName.h"
#include "files/UnitCopies.h"

#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

namespace {

enum Column { Taken, Identifier, Port, Comment, ColumnCount };

} // namespace

UnitCopiesWindow::UnitCopiesWindow(CopyCommands commands, QWidget* parent)
    : QWidget(parent, Qt::Window), m_commands(std::move(commands)), m_folder(new QLabel(this)),
      m_list(new QTreeWidget(this)),
      m_openInEditor(new QPushButton(QStringLiteral("&Apri nell'editor"), this)),
      m_compare(new QPushButton(QStringLiteral("Con&fronta con il TARVO"), this)),
      m_putBack(new QPushButton(QStringLiteral("&Rimetti nell'unità"), this)) {
    setObjectName(QStringLiteral("CopieDellUnita"));
    setWindowTitle(QStringLiteral("Copie dell'unità"));
    auto* heading = new QLabel(QStringLiteral("C&opie, dalla più recente:"), this);
    heading->setBuddy(m_list);
    m_folder->setObjectName(QStringLiteral("cartella"));
    m_folder->setWordWrap(true);
    m_folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_list->setObjectName(QStringLiteral("copie"));
    m_list->setColumnCount(ColumnCount);
    m_list->setHeaderLabels({QStringLiteral("Data e ora"), QStringLiteral("Identificativo"),
                             QStringLiteral("Porta"), QStringLiteral("Commento")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setAccessibleName(QStringLiteral("Copie dell'unità"));
    connect(m_list, &QTreeWidget::currentItemChanged, this, &UnitCopiesWindow::updateButtons);

    m_openInEditor->setObjectName(QStringLiteral("apriNellEditor"));
    m_compare->setObjectName(QStringLiteral("confronta"));
    m_putBack->setObjectName(QStringLiteral("rimetti"));
    auto* close = new QPushButton(QStringLiteral("&Chiudi"), this);
    close->setObjectName(QStringLiteral("chiudi"));
    const auto run = [this](const std::function<void(const QString&)>& command) {
        return [this, command] {
            const QString path = selectedPath();
            if (m_commandsEnabled && !path.isEmpty())
                command(path);
        };
    };
    connect(m_openInEditor, &QPushButton::clicked, this, run(m_commands.openInEditor));
    connect(m_compare, &QPushButton::clicked, this, run(m_commands.compareWithUnit));
    connect(m_putBack, &QPushButton::clicked, this, run(m_commands.putBack));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {m_openInEditor, m_compare, m_putBack})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_list);
    layout->addWidget(m_folder);
    layout->addLayout(buttons);
    resize(760, 420);
}

void UnitCopiesWindow::present() {
    refresh();
    show();
    raise();
    activateWindow();
}

void UnitCopiesWindow::refresh() {
    const QString kept = selectedPath();
    const QList<UnitCopies::Copy> copies = UnitCopies::list();
    const QString folder = QDir::toNativeSeparators(UnitCopies::folder());
    m_folder->setText(copies.isEmpty() ? QStringLiteral("Nessuna copia in %1").arg(folder)
                                       : QStringLiteral("Nella cartella %1").arg(folder));
    m_list->clear();
    QList<QTreeWidgetItem*> items;
    QTreeWidgetItem* selected = nullptr;
    for (const UnitCopies::Copy& copy : copies) {
        auto* item = new QTreeWidgetItem(
            {copy.taken.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")),
             Windows1252::decode(copy.identifier), Windows1252::decode(copy.port),
             Windows1252::decode(copy.comment)});
        item->setData(Taken, Qt::UserRole, copy.path);
        for (int column = 0; column < ColumnCount; ++column)
            item->setToolTip(column, LocalFileName::readable(copy.path));
        items += item;
        if (copy.path == kept)
            selected = item;
    }
    m_list->addTopLevelItems(items);
    for (int column = 0; column < Comment; ++column)
        m_list->resizeColumnToContents(column);
    if (!items.isEmpty())
        m_list->setCurrentItem(selected ? selected : items.first());
    updateButtons();
}

void UnitCopiesWindow::setCommandsEnabled(bool enabled) {
    if (!enabled && m_commandsEnabled)
        m_focusBeforeRun = focusWidget();
    m_commandsEnabled = enabled;
    updateButtons();
    if (enabled && m_focusBeforeRun) {
        m_focusBeforeRun->setFocus();
        m_focusBeforeRun = nullptr;
    }
}

bool UnitCopiesWindow::confirmAnotherUnit(const QByteArray& copyUnit, const QByteArray& unit) {
    const QString copyOf = Windows1252::decode(copyUnit);
    const QString addressed = Windows1252::decode(unit);
    QMessageBox question(QMessageBox::Warning, QStringLiteral("Rimetti nell'unità"),
                         QStringLiteral("La copia è dell'unità %1, ma l'identificativo è %2.\n"
                                        "Scrivere nell'unità %2 i testi della copia di %1?")
                             .arg(copyOf, addressed),
                         QMessageBox::NoButton, this);
    question.setObjectName(QStringLiteral("altraUnita"));
    // "&&": an identifier's "&" is shown, not taken for a shortcut.
    QPushButton* write = question.addButton(
        QStringLiteral("&Scrivi in %1").arg(QString(addressed).replace(u'&', QStringLiteral("&&"))),
        QMessageBox::AcceptRole);
    QPushButton* cancel = question.addButton(QStringLiteral("&Annulla"), QMessageBox::RejectRole);
    question.setDefaultButton(cancel);
    question.setEscapeButton(cancel);
    question.exec();
    return question.clickedButton() == write;
}

void UnitCopiesWindow::changeEvent(QEvent* event) {
    // Copies taken meanwhile, by the main window or by tarvo-cli, show up
    // when the operator comes back to the window.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_commandsEnabled)
        refresh();
    QWidget::changeEvent(event);
}

QString UnitCopiesWindow::selectedPath() const {
    const QTreeWidgetItem* item = m_list->currentItem();
    return item ? item->data(Taken, Qt::UserRole).toString() : QString();
}

void UnitCopiesWindow::updateButtons() {
    const bool usable = m_commandsEnabled && !selectedPath().isEmpty();
    for (QPushButton* button : {m_openInEditor, m_compare, m_putBack})
        button->setEnabled(usable);
}
