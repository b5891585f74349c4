#include "serial/FormSeriale.h"

#include "core/EventWait.h"
#include "core/Pausa.h"
#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "serial/PortCatalog.h"
#include "serial/PortName.h"
#include "serial/SerialControl.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int replyTimeoutMs = 800;
constexpr int pauseAfterReplyMs = 10;

} // namespace

const QByteArray FormSeriale::TestoTimeout = QByteArrayLiteral("1234567errore seriale ");

FormSeriale::FormSeriale(Variabili& variabili, QWidget* parent)
    : QWidget(parent), m_v(variabili), MSComm1(new SerialControl(this)),
      Label1(new QLabel(QStringLiteral("Seriale Selezionata: Com"), this)),
      Label2(new QLabel(QStringLiteral("Programmazione \"TARVO\""), this)),
      Label3(new QLabel(QStringLiteral("Sel"), this)) {
    setObjectName(QStringLiteral("FormSeriale"));
    setWindowTitle(QStringLiteral("Form2"));
    MSComm1->setObjectName(QStringLiteral("MSComm1"));
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
    connect(MSComm1, &SerialControl::OnComm, this, &FormSeriale::MSComm1_OnComm);
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

bool FormSeriale::ApriSeriale() {
    m_openFailure.clear();
    m_trace.startOperation();
    m_v.SerialeOccupata = false;
    const PortName name = PortName::fromText(m_v.PortaCom);
    if (name.device.isEmpty()) {
        m_openFailure = name.problem + QStringLiteral(". ") + PortCatalog::summary();
        return traceOpenFailure();
    }
    MSComm1->setCommPort(name.device);
    MSComm1->setSettings(QStringLiteral("9600,N,8,1"));
    if (!MSComm1->setPortOpen(true)) {
        m_openFailure = MSComm1->failure();
        return traceOpenFailure();
    }
    return true;
}

bool FormSeriale::traceOpenFailure() {
    m_trace.record(
        {m_trace.sinceStartNs(), 0, {}, {}, LineTrace::Mark::PortFailure, m_openFailure});
    return false;
}

void FormSeriale::ChiudiSeriale() {
    if (MSComm1->PortOpen())
        MSComm1->setPortOpen(false);
}

QString FormSeriale::lastFailure() const {
    return m_openFailure.isEmpty() ? MSComm1->failure() : m_openFailure;
}

void FormSeriale::InviaAllaSeriale() {
    m_sent = m_v.Comando;
    m_sentAtNs = m_trace.sinceStartNs();
    if (!AspettaSerialeLibera()) {
        m_v.Risposta = TestoTimeout;
        traceExchange({}, LineTrace::Mark::NotSent);
        return;
    }
    m_sentAtNs = m_trace.sinceStartNs();
    MSComm1->Output(m_v.Comando);
    MSComm1->setRThreshold(m_v.LunghezzaRisposta);
    AspettaRisposta();
}

bool FormSeriale::AspettaSerialeLibera() {
    EventWait::pumpOnce();
    // Only an exchange started from inside another one's wait finds the line
    // taken; it is refused, since waiting would steal the outer reply or hang.
    // Nothing more is sent once the program is closing or asked to stop.
    if (m_v.SerialeOccupata || !MSComm1->PortOpen() || m_v.closeRequested || m_v.stopRequested)
        return false;
    m_v.SerialeOccupata = true;
    // Stale input (a late reply of a timed-out exchange, noise) never reaches
    // the reply of this frame.
    MSComm1->discardInput();
    return true;
}

void FormSeriale::AspettaRisposta() {
    m_v.ScadenzaRisposta = QDeadlineTimer(replyTimeoutMs, Qt::PreciseTimer);
    EventWait::until(
        [this] { return !m_v.SerialeOccupata || m_v.closeRequested || !MSComm1->PortOpen(); },
        m_v.ScadenzaRisposta);
    if (m_v.SerialeOccupata) {
        // What came short of the threshold stays waiting; the trace shows it.
        MSComm1->setRThreshold(0);
        traceExchange(MSComm1->waitingInput(), LineTrace::Mark::Timeout);
        m_v.SerialeOccupata = false;
        m_v.Risposta = TestoTimeout;
        return;
    }
    traceExchange(m_v.Risposta, LineTrace::Mark::None);
    if (m_v.Risposta.size() > 3)
        m_v.Risposta.chop(1);
    if (m_v.Risposta.startsWith('\r'))
        m_v.Risposta.remove(0, 1);
    emit pauseBegins();
    Pausa(m_v, pauseAfterReplyMs);
}

void FormSeriale::traceExchange(QByteArray received, LineTrace::Mark mark) {
    const QString failure = lastFailure();
    if (!failure.isEmpty())
        mark = LineTrace::Mark::PortFailure;
    m_trace.record({m_sentAtNs, m_trace.sinceStartNs() - m_sentAtNs, m_sent, std::move(received),
                    mark, failure});
}

void FormSeriale::MSComm1_OnComm() {
    if (MSComm1->CommEvent() != SerialControl::comEvReceive)
        return;
    m_v.Risposta = MSComm1->Input();
    m_v.SerialeOccupata = false;
}
