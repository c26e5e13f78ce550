// SPDX-License-Identifier: GPL-3.0-or-later
#include "toshiba.h"
#include "ui_toshiba_super2e.h"
#include "ui_toshiba_vfd.h"

#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/formutil.h"
#include "frame/wiring.h"
#include "session/session.h"

#include <QLabel>
#include <QShowEvent>

#include <iterator>

namespace {

} // namespace

toshiba_VFD::toshiba_VFD(AppContext &ctx, QWidget *parent)
    : MainFormDialog(ctx.forms, parent)
    , m_ctx(ctx)
    , m_ui(new Ui::toshiba_VFD)
{
    m_ui->setupUi(this);
    const auto on = [this](QAbstractButton *b, auto handler) {
        connect(b, &QAbstractButton::toggled, this, [handler](bool checked) {
            if (checked)
                handler();
        });
    };
    on(m_ui->optG2, [this] { driveType(0, false); });
    on(m_ui->optG3, [this] { driveType(1, false); });
    on(m_ui->optSuper2E, [this] { driveType(2, true); });
    wireSerialConnection(m_ui->opt422, m_ui->pic422, m_ui->opt485, m_ui->pic485,
                         m_ctx.session.rec.LinkOptions, 3840);
    const QList<QAbstractButton *> actions{m_ui->optNoNet, m_ui->optEStop, m_ui->optStopDecel,
                                           m_ui->optStopCoast};
    for (int a = 0; a < int(actions.size()); ++a)
        on(actions[a], [this, a] { m_ctx.session.rec.ExtParam[2] = IntByte(a); });

    numberBox(
        m_ui->txtIntRetries, RetryRange, [](const ConfigRecord &r) { return int(r.ExtParam[0]); },
        [](ConfigRecord &r, qint32 v) { r.ExtParam[0] = IntByte(v); });
    numberBox(
        m_ui->txtPollingRetries, RetryRange, [](const ConfigRecord &r) { return int(r.ExtParam[1]); },
        [](ConfigRecord &r, qint32 v) { r.ExtParam[1] = IntByte(v); });
    numberBox(
        m_ui->txtDelay, DelayRange, [](const ConfigRecord &r) { return r.ExtParam[5] * 256 + r.ExtParam[4]; },
        [](ConfigRecord &r, qint32 v) {
            r.splitWord(v);
            r.ExtParam[4] = IntByte(r.WordLow);
            r.ExtParam[5] = IntByte(r.WordHigh);
        });
    // Whatever the user picks or types is the choice to keep; the handlers above have written it.
    for (QAbstractButton *o : findChildren<QAbstractButton *>())
        connect(o, &QAbstractButton::toggled, this, &toshiba_VFD::remember);
    for (QLineEdit *box : {m_ui->txtIntRetries, m_ui->txtPollingRetries, m_ui->txtDelay})
        connect(box, &QLineEdit::textChanged, this, &toshiba_VFD::remember);
    connect(m_ui->Command1, &QPushButton::clicked, this, &toshiba_VFD::Command1_Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &toshiba_VFD::Command2_Click);
    showRecord();
}

void toshiba_VFD::selectPresets()
{
    m_ui->txtIntRetries->setText(QStringLiteral("1"));
    m_ui->txtPollingRetries->setText(QStringLiteral("1"));
    m_ui->txtDelay->setText(QStringLiteral("0"));
    for (QAbstractButton *o :
         {static_cast<QAbstractButton *>(m_ui->optG2), static_cast<QAbstractButton *>(m_ui->optNoNet),
          static_cast<QAbstractButton *>(m_ui->opt485)})
        select(o);
}

toshiba_VFD::~toshiba_VFD()
{
    delete m_ui;
}

void toshiba_VFD::driveType(int code, bool super2E)
{
    m_super2EChosen = super2E;
    m_ctx.session.rec.ExtParam[3] = IntByte(code);
}

void toshiba_VFD::numberBox(QLineEdit *box, const NumberRange &range, int (*held)(const ConfigRecord &),
                            void (*store)(ConfigRecord &, qint32))
{
    describeRange(box, range);
    showStoredWhenDone(box, [this, held] { return QString::number(held(m_ctx.session.rec)); });
    connect(box, &QLineEdit::textChanged, this, [this, box, range, held, store] {
        const std::optional<qint32> v = ordinaryNumber(box->text());
        if (!v) {
            box->setText(QStringLiteral("0")); // runs this again, and stores 0
            return;
        }
        if (!range.contains(*v)) {
            showInBox(box, QString::number(held(m_ctx.session.rec)));
            return;
        }
        store(m_ctx.session.rec, *v);
    });
}

void toshiba_VFD::remember()
{
    m_chosen = m_ctx.session.rec;
}

void toshiba_VFD::restoreChoices()
{
    ConfigRecord &rec = m_ctx.session.rec;
    rec.ExtParam = m_chosen.ExtParam;
    rec.LinkOptions =
        IntByte((rec.LinkOptions & ~LinkFlag::MultiDrop) | (m_chosen.LinkOptions & LinkFlag::MultiDrop));
    showRecord();
}

void toshiba_VFD::showRecord()
{
    const ConfigRecord &rec = m_ctx.session.rec;
    const QList<QAbstractButton *> types{m_ui->optG2, m_ui->optG3, m_ui->optSuper2E};
    const QList<QAbstractButton *> actions{m_ui->optNoNet, m_ui->optEStop, m_ui->optStopDecel,
                                           m_ui->optStopCoast};
    showChoice(types, rec.ExtParam[3]);
    m_super2EChosen = rec.ExtParam[3] == 2;
    showChoice(actions, rec.ExtParam[2]);
    select(rec.LinkOptions & LinkFlag::MultiDrop ? m_ui->opt485 : m_ui->opt422);
    m_ui->txtIntRetries->setText(QString::number(rec.ExtParam[0]));
    m_ui->txtPollingRetries->setText(QString::number(rec.ExtParam[1]));
    m_ui->txtDelay->setText(QString::number(rec.ExtParam[5] * 256 + rec.ExtParam[4]));
    remember();
}

void toshiba_VFD::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        showRecord();
        const ConfigRecord &rec = m_ctx.session.rec;
        m_savedExt = rec.ExtParam;
        m_savedLinkOptions = rec.LinkOptions;
    }
    MainFormDialog::showEvent(event);
}

void toshiba_VFD::Command1_Click()
{
    hide();
    if (!m_super2EChosen) {
        giveMainFormBack(m_ctx.forms);
        return;
    }
    // main4000 stays inert until the table's accept.
    m_ctx.forms.show(QStringLiteral("toshiba_Super2E"));
}

void toshiba_VFD::Command2_Click()
{
    // "Cancel Changes" undoes them: the fields are as they were when the dialog was opened,
    // and the next opening shows them.
    ConfigRecord &rec = m_ctx.session.rec;
    rec.ExtParam = m_savedExt;
    rec.LinkOptions =
        IntByte((rec.LinkOptions & ~LinkFlag::MultiDrop) | (m_savedLinkOptions & LinkFlag::MultiDrop));
    m_ctx.forms.unload(QStringLiteral("toshiba_VFD"));
    giveMainFormBack(m_ctx.forms);
}

void toshiba_VFD::closeBox()
{
    // The close box keeps what was chosen, as the accept does, without going on to the table.
    accept();
}

toshiba_Super2E::toshiba_Super2E(AppContext &ctx, QWidget *parent)
    : MainFormDialog(ctx.forms, parent)
    , m_ctx(ctx)
    , m_ui(new Ui::toshiba_Super2E)
{
    m_ui->setupUi(this);
    // Ten relay addresses in one row, thirty registers in three columns.
    for (int k = 0; k < 40; ++k) {
        QWidget *frame = k < 10 ? m_ui->frmRelays : m_ui->frmRegisters;
        auto *box = new QLineEdit(frame);
        box->setObjectName(QStringLiteral("txtWD%1").arg(20 + k));
        if (k < 10) {
            box->setGeometry(10 + k * 61, 36, 54, 24);
            box->setAccessibleName(QStringLiteral("SUPER2E RELAY %1 ADDRESS").arg(k + 1));
            describeRange(box, AddressRange);
        } else {
            const int reg = k - 10; // 0..29
            const int column = reg / 10, row = reg % 10;
            auto *label = new QLabel(QStringLiteral("REG %1:").arg(reg + 1), frame);
            label->setObjectName(QStringLiteral("lblReg%1").arg(reg + 1));
            label->setGeometry(10 + column * 206, 12 + row * 22, 60, 20);
            box->setGeometry(72 + column * 206, 12 + row * 22, 80, 20);
            label->setBuddy(box);
            box->setToolTip(tr("A hexadecimal word, 0000 to FFFF"));
        }
        m_words << box;
        connect(box, &QLineEdit::textChanged, this, [this, k] { wordChanged(k); });
        showStoredWhenDone(box, [this, k] { return storedText(k); });
        // A new table shows the words the record holds, never a blank box.
        showInBox(box, storedText(k));
    }
    connect(m_ui->Command1, &QPushButton::clicked, this, &toshiba_Super2E::accept);
}

void toshiba_Super2E::showPresetWords()
{
    static const char *const words[] = {"1",    "2",    "3",    "0",    "0",    "0",    "0",    "0",
                                        "0",    "0",    "4007", "4008", "4009", "400B", "400C", "400D",
                                        "400E", "4004", "4005", "4026", "4027", "4028", "4029", "402A",
                                        "402B", "402C", "402D", "4023", "4024"};
    const int n = int(std::size(words));
    for (int k = 0; k < int(m_words.size()); ++k)
        m_words[k]->setText(k < n ? QLatin1String(words[k]) : QStringLiteral("FFFF"));
}

toshiba_Super2E::~toshiba_Super2E()
{
    delete m_ui;
}

QString toshiba_Super2E::storedText(int k) const
{
    const ConfigRecord &rec = m_ctx.session.rec;
    const int held = rec.ProtoParam[2 * k + 1] * 256 + rec.ProtoParam[2 * k];
    return k < 10 ? QString::number(held) : registerText(held);
}

QString toshiba_Super2E::registerText(int word)
{
    return QString::number(word, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

std::optional<quint16> toshiba_Super2E::registerWord(const QString &text)
{
    quint32 value = 0;
    int digits = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n'))
            continue;
        const int d = c.isDigit() ? c.digitValue()
                      : (c.toUpper() >= QLatin1Char('A') && c.toUpper() <= QLatin1Char('F'))
                          ? c.toUpper().unicode() - 'A' + 10
                          : -1;
        if (d < 0)
            break;
        if (++digits > 4)
            return std::nullopt;
        value = value * 16 + quint32(d);
    }
    return quint16(value);
}

void toshiba_Super2E::wordChanged(int k)
{
    QLineEdit *box = m_words[k];
    if (box->text().isEmpty()) {
        box->setText(QStringLiteral("0")); // runs this again
        return;
    }
    ConfigRecord &rec = m_ctx.session.rec;
    const int held = rec.ProtoParam[2 * k + 1] * 256 + rec.ProtoParam[2 * k];
    std::optional<qint32> value;
    if (k < 10) {
        const std::optional<qint32> v = ordinaryNumber(box->text());
        if (!v) {
            box->setText(QStringLiteral("0")); // text that is no address reads as 0
            return;
        }
        if (AddressRange.contains(*v))
            value = v;
        else
            showInBox(box, QString::number(held));
    } else if (const std::optional<quint16> w = registerWord(box->text())) {
        value = *w;
    } else {
        showInBox(box, registerText(held));
    }
    if (!value)
        return;
    rec.ProtoParam[2 * k] = IntByte(*value & 0xFF);
    rec.ProtoParam[2 * k + 1] = IntByte(*value >> 8);
}
