#include "ui/save/FormSalvaFile.h"

#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "files/LocalFileName.h"
#include "files/ScriviFileMessaggi.h"
#include "ui/save/ReplaceNotice.h"
#include "ui/common/DirectoryList.h"
#include "ui/common/DriveList.h"
#include "ui/common/FileList.h"
#include "ui/common/RejectedCharacter.h"
#include "ui/common/SaveControls.h"
#include "ui/common/WindowStyle.h"

#include <QBoxLayout>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

using WindowStyle::fromTwips;

// The light red of a rejected name, &H00C0C0FF in the BGR notation.
QColor rejectedNameColour() {
    return QColor(0xFF, 0xC0, 0xC0);
}

QColor inactiveFrameColour() {
    return QPalette().color(QPalette::Inactive, QPalette::Button);
}

// The folder as shown to the operator, ending in one separator.
QString withSeparator(const QString& folder) {
    const QString native = LocalFileName::readable(folder);
    return native.endsWith(QDir::separator()) ? native : native + QDir::separator();
}

} // namespace

FormSalvaFile::FormSalvaFile(Variabili& v, QWidget* parent)
    : QWidget(parent, Qt::Window), Drive1(new DriveList(this)), Dir1(new DirectoryList(this)),
      File1(new FileList(this)), Label3(new QLabel(this)), Label2(new QLabel(this)),
      Label1(new QLabel(this)), Text1(new QLineEdit(this)), Label4(new QLabel(this)),
      Text2(new QLineEdit(this)), Command2(new QPushButton(this)), Command1(new QPushButton(this)),
      m_message(new QLabel(this)), m_v(v),
      m_replaceNotice(new ReplaceNotice(*File1, *Text1, this)) {
    build();
    arrange();
    load();
}

void FormSalvaFile::build() {
    setObjectName(QStringLiteral("FormSalvaFile"));
    setWindowTitle(QStringLiteral("FormSalvaFile"));
    setFont(WindowStyle::font());

    Drive1->setObjectName(QStringLiteral("Drive1"));
    Dir1->setObjectName(QStringLiteral("Dir1"));
    File1->setObjectName(QStringLiteral("File1"));
    SaveControls::nameFileLists(Drive1, Dir1, File1);

    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setText(QStringLiteral("Path :"));

    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path must not widen the window; the tooltip shows it whole.
    Label2->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setText(QStringLiteral("Deve avere estensione .tvo"));
    Label1->setFont(WindowStyle::font(9.75, true));
    Label1->setAutoFillBackground(true);
    WindowStyle::setColour(Label1, QPalette::Window, inactiveFrameColour());

    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Nome del file"));
    Text1->setText(QStringLiteral("File name"));

    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setText(QStringLiteral("Puoi aggiungere qui un commento da memorizzare nel file"));

    Text2->setObjectName(QStringLiteral("Text2"));
    SaveControls::setUpCommentBox(Text2);

    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setText(QStringLiteral("Esci senza salvare"));
    Command2->setFont(WindowStyle::font(18, true));
    Command2->setAutoDefault(false);

    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setText(QStringLiteral("Salva"));
    Command1->setFont(WindowStyle::font(18, true));
    Command1->setAutoDefault(false);

    SaveControls::setUpMessageLabel(m_message);

    connect(Drive1, &DriveList::driveChanged, this, &FormSalvaFile::changeDrive);
    connect(Dir1, &DirectoryList::pathChanged, this, &FormSalvaFile::changeFolder);
    connect(Dir1, &DirectoryList::refused, m_message, &QLabel::setText);
    connect(Dir1, &DirectoryList::movedUp, m_message, &QLabel::setText);
    connect(File1, &FileList::fileSelected, Text1, &QLineEdit::setText);
    connect(Command1, &QPushButton::clicked, this, &FormSalvaFile::save);
    connect(Text1, &QLineEdit::returnPressed, this, &FormSalvaFile::save);
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
}

void FormSalvaFile::arrange() {
    Dir1->setFixedHeight(fromTwips(2565));
    File1->setFixedHeight(fromTwips(2625));
    // The three lists share the width equally, whatever the length of the
    // names and paths they hold.
    for (QWidget* list :
         {static_cast<QWidget*>(Drive1), static_cast<QWidget*>(Dir1), static_cast<QWidget*>(File1)})
        list->setSizePolicy(QSizePolicy::Ignored, list->sizePolicy().verticalPolicy());

    auto* driveColumn = new QVBoxLayout;
    driveColumn->addWidget(Drive1);
    driveColumn->addStretch(1);

    auto* lists = new QHBoxLayout;
    lists->addLayout(driveColumn, 1);
    lists->addWidget(Dir1, 1, Qt::AlignTop);
    lists->addWidget(File1, 1, Qt::AlignTop);

    auto* path = new QHBoxLayout;
    path->addWidget(Label3);
    path->addWidget(Label2, 1);

    auto* name = new QHBoxLayout;
    name->addWidget(Label1);
    name->addWidget(Text1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command2);
    buttons->addStretch(1);
    buttons->addWidget(Command1);

    auto* window = new QVBoxLayout(this);
    window->addLayout(lists);
    window->addLayout(path);
    window->addLayout(name);
    window->addWidget(Label4);
    window->addWidget(Text2);
    window->addWidget(m_replaceNotice);
    window->addWidget(m_message, 1);
    window->addLayout(buttons);

    setTabOrder(Drive1, File1);
    setTabOrder(File1, Dir1);
    setTabOrder(Dir1, Text1);
    setTabOrder(Text1, Command1);
    setTabOrder(Command1, Text2);
    setTabOrder(Text2, Command2);

    resize(fromTwips(7710), fromTwips(6540));
}

void FormSalvaFile::load() {
    File1->setPath(Dir1->path());
    Text2->setText(Windows1252::decode(m_v.CommentoDaSalvare));
    showFolder();
}

void FormSalvaFile::changeDrive() {
    Dir1->enter(Drive1->currentFolder());
}

void FormSalvaFile::changeFolder(const QString& folder) {
    File1->setPath(folder);
    showFolder();
    m_replaceNotice->refresh();
}

void FormSalvaFile::showFolder() {
    Label2->setText(withSeparator(File1->path()));
    Label2->setToolTip(Label2->text());
}

void FormSalvaFile::save() {
    m_message->clear();
    const QString name = Text1->text();
    if (name.right(4).toLower() != QStringLiteral(".tvo")) {
        WindowStyle::setColour(Label1, QPalette::Window, rejectedNameColour());
        return;
    }
    if (name.contains(u'/') || name.contains(u'\\')) {
        m_message->setText(QStringLiteral("Il nome del file non può contenere «/» o «\\»: scrivi "
                                          "solo il nome e scegli la cartella nell'elenco."));
        return;
    }
    if (const auto rejected = firstRejectedCharacter(Text2->text())) {
        m_message->setText(QStringLiteral("Il commento contiene il carattere «%1», che un file "
                                          ".tvo non può contenere: toglilo o cambialo.")
                               .arg(rejected->character));
        return;
    }
    const QByteArray comment = Windows1252::encode(Text2->text()).value();
    const QString path = QDir(File1->path()).filePath(name);
    const bool existed = LocalFileName::status(path).isFile;
    const WriteOutcome outcome = ScriviFileMessaggi(path, comment, m_v.TestoMessaggi);
    if (!outcome.ok()) {
        m_message->setText(outcome.report(existed));
        return;
    }
    m_v.FileSelezionato = LocalFileName::encode(path);
    close();
}

void FormSalvaFile::showModal() {
    SaveControls::showModal(*this, m_v);
}

SaveWindowOpener saveWindowOpener(Variabili& v) {
    return [&v](QWidget* parent) {
        FormSalvaFile window(v, parent);
        window.showModal();
    };
}
