#include "ui/main/PortChooser.h"

#include "serial/PortCatalog.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

namespace {

QString hint() {
    return QStringLiteral("Alt+Giù o F4, oppure clic destro: porte presenti; per un server "
                          "seriale in rete scrivi tcp://indirizzo:porta");
}

// A line through the network is typed, never listed: the list says how.
QString networkLineHelp() {
    return QStringLiteral("Server seriale in rete: scrivi tcp://indirizzo:porta");
}

QString escapedForMenu(QString text) {
    return text.replace('&', QStringLiteral("&&"));
}

} // namespace

PortChooser::PortChooser(QLineEdit* box) : QObject(box), m_box(box) {
    setObjectName(QStringLiteral("PortChooser"));
    box->installEventFilter(this);
    box->setAccessibleDescription(hint());
    connect(box, &QLineEdit::textChanged, this, &PortChooser::updateToolTip);
    updateToolTip();
}

void PortChooser::showList() {
    auto* menu = new QMenu(m_box);
    menu->setObjectName(QStringLiteral("PortList"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSection(QStringLiteral("Porte presenti"));
    menu->addActions(portActions(menu));
    menu->popup(m_box->mapToGlobal(QPoint(0, m_box->height())));
}

QList<QAction*> PortChooser::portActions(QObject* owner) {
    QList<QAction*> actions;
    const QList<PortEntry> ports = PortCatalog::present();
    if (ports.isEmpty()) {
        actions += new QAction(QStringLiteral("Nessuna porta seriale trovata"), owner);
        actions.last()->setEnabled(false);
    }
    // A read-only box (a run is using the port) is shown the ports but takes
    // none of them.
    for (const PortEntry& port : ports) {
        auto* action = new QAction(escapedForMenu(port.label()), owner);
        action->setEnabled(!m_box->isReadOnly());
        const QString path = port.path;
        connect(action, &QAction::triggered, m_box, [box = m_box, path] {
            if (!box->isReadOnly())
                box->setText(path);
        });
        actions += action;
    }
    actions += new QAction(networkLineHelp(), owner);
    actions.last()->setEnabled(false);
    return actions;
}

void PortChooser::showContextMenu(const QPoint& globalPos) {
    QMenu* menu = m_box->createStandardContextMenu();
    menu->setObjectName(QStringLiteral("PortContextMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* first = menu->actions().value(0);
    menu->insertSection(first, QStringLiteral("Porte presenti"));
    menu->insertActions(first, portActions(menu));
    menu->insertSeparator(first);
    menu->popup(globalPos);
}

bool PortChooser::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_box)
        return false;
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool altDown =
            key->key() == Qt::Key_Down && key->modifiers().testFlag(Qt::AltModifier);
        if (altDown || (key->key() == Qt::Key_F4 && key->modifiers() == Qt::NoModifier)) {
            showList();
            return true;
        }
    } else if (event->type() == QEvent::ContextMenu) {
        showContextMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return false;
}

void PortChooser::updateToolTip() {
    const QString text = m_box->text();
    m_box->setToolTip(text.isEmpty() ? hint() : text + '\n' + hint());
}
