#include "ui/serial/FormSeriale.h"

#include "core/Variabili.h"
#include "core/Windows1252.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

FormSeriale::FormSeriale(Variabili& v, QWidget* parent)
    : QWidget(parent), m_v(v), m_exchange(new SerialExchange(v, this)),
      Label1(new QLabel(QStringLiteral("Seriale Selezionata: Com"), this)),
      Label2(new QLabel(QStringLiteral("Programmazione \"TARVO\""), this)),
      Label3(new QLabel(QStringLiteral("Sel"), this)) {
    setObjectName(QStringLiteral("FormSeriale"));
    setWindowTitle(QStringLiteral("Form2"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3->setObjectName(QStringLiteral("Label3"));
    QFont title = Label2->font();
    title.setPointSizeF(18);
    title.setBold(true);
    Label2->setFont(title);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label2);
    layout->addWidget(Label1);
    layout->addWidget(Label3);
    Form_Load();
}

void FormSeriale::Form_Load() {
    Label3->setText(Windows1252::decode(m_v.PortaCom));
}

void FormSeriale::Form_QueryUnload() {
    m_v.Stato = "Fine";
}

void FormSeriale::closeEvent(QCloseEvent* event) {
    Form_QueryUnload();
    event->accept();
}
