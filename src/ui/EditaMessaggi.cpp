#include "ui/EditaMessaggi.h"

#include "core/EventWait.h"
#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "files/LeggiFileDaEditare.h"
#include "ui/AspettoFinestre.h"
#include "ui/CarattereRifiutato.h"
#include "ui/EditorChecks.h"
#include "ui/FormSalvaFile.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>

namespace {

using AspettoFinestre::daTwips;

// The text area separates its lines with '\n'; the message text with CR LF.
QString perArea(const QByteArray& testo) {
    return Windows1252::decode(testo).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The area's content with its line ends as '\n'. The raw text is taken rather
// than toPlainText(), which would turn a no-break space (byte 160) into a space.
QString contenutoArea(const QPlainTextEdit& area) {
    QString testo = area.document()->toRawText();
    testo.replace(QChar::ParagraphSeparator, u'\n');
    testo.replace(QChar::LineSeparator, u'\n');
    return testo;
}

QString messaggioRifiuto(const CarattereRifiutato& rifiuto) {
    return QStringLiteral("Il testo contiene alla riga %1 il carattere «%2», che un file .tvo "
                          "non può contenere. Toglilo o cambialo, poi premi di nuovo Salva.")
        .arg(rifiuto.riga)
        .arg(rifiuto.carattere);
}

} // namespace

EditaMessaggi::EditaMessaggi(Variabili& v, QWidget* parent)
    : QWidget(parent, Qt::Window), Label1(new QLabel(this)), Label20(new QLabel(this)),
      Text2(new QLineEdit(this)), Command1(new QPushButton(this)), Command2(new QPushButton(this)),
      Text1(new MessageTextArea(this)), Messaggio(new QLabel(this)), v_(v) {
    costruisci();
    carica();
}

void EditaMessaggi::costruisci() {
    setObjectName(QStringLiteral("EditaMessaggi"));
    setWindowTitle(
        QStringLiteral("Edita Messaggi (max.32 caratteri. Attenzione: lo spazio è un carattere)"));
    setFont(AspettoFinestre::carattere());
    QPalette sfondo = palette();
    sfondo.setColor(QPalette::Window, QApplication::palette("QMenu").color(QPalette::Window));
    setPalette(sfondo);
    setAutoFillBackground(true);

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);

    Label20->setObjectName(QStringLiteral("Label20"));
    Label20->setText(QStringLiteral("Commento memorizzato nel file (lo puoi cambiare dopo)"));

    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setAccessibleName(QStringLiteral("Commento del file"));
    Text2->setText(QStringLiteral("Commento del file"));
    QPalette suggerimento = Text2->palette();
    suggerimento.setColor(QPalette::Base, suggerimento.color(QPalette::ToolTipBase));
    suggerimento.setColor(QPalette::Text, suggerimento.color(QPalette::ToolTipText));
    Text2->setPalette(suggerimento);

    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setText(QStringLiteral("Salva "));
    Command1->setFont(AspettoFinestre::carattere(12, true, true));
    Command1->setAutoDefault(false);

    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setText(QStringLiteral("End"));
    Command2->setFont(AspettoFinestre::carattere(13.5, true, true));
    Command2->setAutoDefault(false);

    Messaggio->setObjectName(QStringLiteral("Messaggio"));
    Messaggio->setWordWrap(true);
    Messaggio->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Messaggio->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont evidente = AspettoFinestre::carattere();
    evidente.setBold(true);
    Messaggio->setFont(evidente);
    QPalette avviso = Messaggio->palette();
    avviso.setColor(QPalette::WindowText, QColor(0xA0, 0, 0));
    Messaggio->setPalette(avviso);

    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Testi dei messaggi"));
    Text1->setFont(AspettoFinestre::carattereFisso(9.75));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Fixed columns must stay aligned, so long lines scroll instead of wrapping.
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Tab moves on to the next control, as in the other boxes; a tab character
    // would break the columns anyway.
    Text1->setTabChangesFocus(true);
    checks_ = new EditorChecks(*Text1);

    auto* sinistra = new QVBoxLayout;
    sinistra->addWidget(Label1);
    sinistra->addWidget(Label20);
    sinistra->addWidget(Text2);
    sinistra->addWidget(Messaggio, 1);

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(Command1);
    pulsanti->addWidget(Command2);

    auto* destra = new QVBoxLayout;
    destra->addLayout(pulsanti);
    destra->addStretch(1);

    auto* sopra = new QHBoxLayout;
    sopra->addLayout(sinistra, 1);
    sopra->addLayout(destra);

    auto* finestra = new QVBoxLayout(this);
    finestra->addLayout(sopra, 1);
    finestra->addWidget(Text1, 3);
    finestra->addWidget(checks_->panel());

    setTabOrder(Command1, Text2);
    setTabOrder(Text2, Command2);
    setTabOrder(Command2, Text1);

    resize(daTwips(9810), daTwips(7515));

    connect(Command1, &QPushButton::clicked, this, &EditaMessaggi::salva);
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
}

void EditaMessaggi::carica() {
    Text1->clear();
    const QString percorso = QFile::decodeName(v_.FileSelezionato);
    Label1->setText(QDir::toNativeSeparators(percorso));
    const TestoDaEditare letto = LeggiFileDaEditare(percorso);
    if (!letto.error.isEmpty()) {
        erroreLettura_ = letto.error;
        Messaggio->setText(erroreLettura_);
        return;
    }
    if (letto.commento)
        Text2->setText(Windows1252::decode(*letto.commento));
    Text1->setPlainText(perArea(letto.testo));
    v_.TestoMessaggi = letto.testo;
}

void EditaMessaggi::salva() {
    if (salvataggioInCorso_)
        return;
    const QString testo = contenutoArea(*Text1);
    if (const auto rifiuto = primoCarattereRifiutato(testo)) {
        Messaggio->setText(messaggioRifiuto(*rifiuto));
        return;
    }
    Messaggio->setText(erroreLettura_);
    v_.TestoMessaggi =
        Windows1252::encode(QString(testo).replace(u'\n', QStringLiteral("\r\n"))).value();
    const QScopedValueRollback inCorso(salvataggioInCorso_, true);
    FormSalvaFile salvataggio(v_, this);
    salvataggio.mostraModale();
}

void EditaMessaggi::mostraModale() {
    if (v_.closeRequested)
        return;
    setWindowModality(Qt::ApplicationModal);
    show();
    EventWait::until([this] { return !isVisible() || v_.closeRequested; });
    if (isVisible())
        close();
}
