#include "ui/FormSalvaFile.h"

#include "core/EventWait.h"
#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "files/ScriviFileMessaggi.h"
#include "ui/AspettoFinestre.h"
#include "ui/CarattereRifiutato.h"
#include "ui/DirectoryList.h"
#include "ui/DriveList.h"
#include "ui/FileList.h"

#include <QBoxLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

namespace {

using AspettoFinestre::daTwips;

// The light red of a rejected name, &H00C0C0FF in the BGR notation.
QColor coloreNomeRifiutato() {
    return QColor(0xFF, 0xC0, 0xC0);
}

QColor coloreBordoInattivo() {
    return QPalette().color(QPalette::Inactive, QPalette::Button);
}

void coloraSfondo(QWidget* widget, QPalette::ColorRole ruolo, const QColor& colore) {
    QPalette palette = widget->palette();
    palette.setColor(ruolo, colore);
    widget->setPalette(palette);
}

// The folder as shown to the operator, ending in one separator.
QString conSeparatore(const QString& cartella) {
    const QString nativa = QDir::toNativeSeparators(cartella);
    return nativa.endsWith(QDir::separator()) ? nativa : nativa + QDir::separator();
}

} // namespace

FormSalvaFile::FormSalvaFile(Variabili& v, QWidget* parent)
    : QWidget(parent, Qt::Window), Drive1(new DriveList(this)), Dir1(new DirectoryList(this)),
      File1(new FileList(this)), Label3(new QLabel(this)), Label2(new QLabel(this)),
      Label1(new QLabel(this)), Text1(new QLineEdit(this)), Label4(new QLabel(this)),
      Text2(new QLineEdit(this)), Command2(new QPushButton(this)), Command1(new QPushButton(this)),
      Messaggio(new QLabel(this)), v_(v) {
    costruisci();
    disponi();
    carica();
}

void FormSalvaFile::costruisci() {
    setObjectName(QStringLiteral("FormSalvaFile"));
    setWindowTitle(QStringLiteral("FormSalvaFile"));
    setFont(AspettoFinestre::carattere());

    Drive1->setObjectName(QStringLiteral("Drive1"));
    Dir1->setObjectName(QStringLiteral("Dir1"));
    File1->setObjectName(QStringLiteral("File1"));
    Drive1->setAccessibleName(QStringLiteral("Unità"));
    Dir1->setAccessibleName(QStringLiteral("Cartella"));
    Dir1->view()->setAccessibleName(QStringLiteral("Cartella"));
    File1->setAccessibleName(QStringLiteral("File di messaggi"));

    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setText(QStringLiteral("Path :"));

    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path must not widen the window; the tooltip shows it whole.
    Label2->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setText(QStringLiteral("Deve avere estensione .tvo"));
    Label1->setFont(AspettoFinestre::carattere(9.75, true));
    Label1->setAutoFillBackground(true);
    coloraSfondo(Label1, QPalette::Window, coloreBordoInattivo());

    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Nome del file"));
    Text1->setText(QStringLiteral("File name"));

    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setText(QStringLiteral("Puoi aggiungere qui un commento da memorizzare nel file"));

    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setAccessibleName(QStringLiteral("Commento del file"));
    QPalette suggerimento = Text2->palette();
    suggerimento.setColor(QPalette::Base, suggerimento.color(QPalette::ToolTipBase));
    suggerimento.setColor(QPalette::Text, suggerimento.color(QPalette::ToolTipText));
    Text2->setPalette(suggerimento);

    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setText(QStringLiteral("Esci senza salvare"));
    Command2->setFont(AspettoFinestre::carattere(18, true));
    Command2->setAutoDefault(false);

    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setText(QStringLiteral("Salva"));
    Command1->setFont(AspettoFinestre::carattere(18, true));
    Command1->setAutoDefault(false);

    Messaggio->setObjectName(QStringLiteral("Messaggio"));
    Messaggio->setWordWrap(true);
    Messaggio->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Messaggio->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont evidente = AspettoFinestre::carattere();
    evidente.setBold(true);
    Messaggio->setFont(evidente);
    coloraSfondo(Messaggio, QPalette::WindowText, QColor(0xA0, 0, 0));

    connect(Drive1, &DriveList::driveChanged, this, &FormSalvaFile::cambiaDrive);
    connect(Dir1, &DirectoryList::pathChanged, this, &FormSalvaFile::cambiaCartella);
    connect(File1, &FileList::fileSelected, Text1, &QLineEdit::setText);
    connect(Command1, &QPushButton::clicked, this, &FormSalvaFile::salva);
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
}

void FormSalvaFile::disponi() {
    Dir1->setFixedHeight(daTwips(2565));
    File1->setFixedHeight(daTwips(2625));
    // The three lists share the width equally, whatever the length of the
    // names and paths they hold.
    for (QWidget* elenco :
         {static_cast<QWidget*>(Drive1), static_cast<QWidget*>(Dir1), static_cast<QWidget*>(File1)})
        elenco->setSizePolicy(QSizePolicy::Ignored, elenco->sizePolicy().verticalPolicy());

    auto* colonnaDrive = new QVBoxLayout;
    colonnaDrive->addWidget(Drive1);
    colonnaDrive->addStretch(1);

    auto* elenchi = new QHBoxLayout;
    elenchi->addLayout(colonnaDrive, 1);
    elenchi->addWidget(Dir1, 1, Qt::AlignTop);
    elenchi->addWidget(File1, 1, Qt::AlignTop);

    auto* percorso = new QHBoxLayout;
    percorso->addWidget(Label3);
    percorso->addWidget(Label2, 1);

    auto* nome = new QHBoxLayout;
    nome->addWidget(Label1);
    nome->addWidget(Text1, 1);

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(Command2);
    pulsanti->addStretch(1);
    pulsanti->addWidget(Command1);

    auto* finestra = new QVBoxLayout(this);
    finestra->addLayout(elenchi);
    finestra->addLayout(percorso);
    finestra->addLayout(nome);
    finestra->addWidget(Label4);
    finestra->addWidget(Text2);
    finestra->addWidget(Messaggio, 1);
    finestra->addLayout(pulsanti);

    setTabOrder(Drive1, File1);
    setTabOrder(File1, Dir1);
    setTabOrder(Dir1, Text1);
    setTabOrder(Text1, Command1);
    setTabOrder(Command1, Text2);
    setTabOrder(Text2, Command2);

    resize(daTwips(7710), daTwips(6540));
}

void FormSalvaFile::carica() {
    File1->setPath(Dir1->path());
    Text2->setText(Windows1252::decode(v_.CommentoDaSalvare));
    Label2->setText(conSeparatore(File1->path()));
    Label2->setToolTip(Label2->text());
}

void FormSalvaFile::cambiaDrive() {
    Dir1->setPath(Drive1->currentFolder());
}

void FormSalvaFile::cambiaCartella(const QString& cartella) {
    File1->setPath(cartella);
    Label2->setText(conSeparatore(File1->path()));
    Label2->setToolTip(Label2->text());
}

void FormSalvaFile::salva() {
    Messaggio->clear();
    const QString nome = Text1->text();
    if (nome.right(4).toLower() != QStringLiteral(".tvo")) {
        coloraSfondo(Label1, QPalette::Window, coloreNomeRifiutato());
        return;
    }
    if (nome.contains(u'/') || nome.contains(u'\\')) {
        Messaggio->setText(QStringLiteral("Il nome del file non può contenere «/» o «\\»: scrivi "
                                          "solo il nome e scegli la cartella nell'elenco."));
        return;
    }
    if (const auto rifiuto = primoCarattereRifiutato(Text2->text())) {
        Messaggio->setText(QStringLiteral("Il commento contiene il carattere «%1», che un file "
                                          ".tvo non può contenere: toglilo o cambialo.")
                               .arg(rifiuto->carattere));
        return;
    }
    const QByteArray commento = Windows1252::encode(Text2->text()).value();
    const QString percorso = QDir(File1->path()).filePath(nome);
    const bool esisteva = QFileInfo(percorso).isFile();
    const WriteOutcome esito = ScriviFileMessaggi(percorso, commento, v_.TestoMessaggi);
    if (!esito.ok()) {
        Messaggio->setText(esito.report(esisteva));
        return;
    }
    v_.FileSelezionato = QFile::encodeName(percorso);
    close();
}

void FormSalvaFile::mostraModale() {
    if (v_.closeRequested)
        return;
    setWindowModality(Qt::ApplicationModal);
    show();
    EventWait::until([this] { return !isVisible() || v_.closeRequested; });
    if (isVisible())
        close();
}
