// SPDX-License-Identifier: GPL-3.0-or-later
#include "siemens_param.h"
#include "ui_siemens_param.h"

#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/formutil.h"
#include "frame/wiring.h"
#include "session/session.h"

#include <QShowEvent>

siemens_param::siemens_param(AppContext &ctx, QWidget *parent)
    : MainFormDialog(ctx.forms, parent)
    , m_ctx(ctx)
    , m_ui(new Ui::siemens_param)
{
    m_ui->setupUi(this);
    for (int n = 0; n <= 38; ++n)
        m_ui->cboTelegram->addItem(QString::number(n));

    const auto on = [this](QAbstractButton *b, auto handler) {
        connect(b, &QAbstractButton::toggled, this, [handler](bool checked) {
            if (checked)
                handler();
        });
    };
    connect(m_ui->cboTelegram, &QComboBox::activated, this,
            [this] { m_ctx.session.rec.AuxByte1.set(m_ui->cboTelegram->currentText().toLatin1()); });
    const QList<QAbstractButton *> protocols = protocolOptions();
    for (int code = 0; code < int(protocols.size()); ++code)
        on(protocols[code], [this, code] { protocol(code); });
    for (const OptionBit &pair : functionOptions()) {
        on(pair.on, [this, mask = pair.mask] { functionBit(mask, true); });
        on(pair.off, [this, mask = pair.mask] { functionBit(mask, false); });
    }
    const QList<QAbstractButton *> delays = delayOptions();
    for (int code = 0; code < int(delays.size()); ++code)
        on(delays[code], [this, code] { delay(code); });
    wireSerialConnection(m_ui->opt422, m_ui->pic422, m_ui->opt485, m_ui->pic485,
                         m_ctx.session.rec.LinkOptions, 3960);
    // Whatever the user picks is the choice to keep; the handlers above have written it.
    for (QAbstractButton *o : findChildren<QAbstractButton *>())
        connect(o, &QAbstractButton::toggled, this, &siemens_param::remember);
    connect(m_ui->cboTelegram, &QComboBox::activated, this, &siemens_param::remember);
    connect(m_ui->cmdAccept, &QPushButton::clicked, this, &siemens_param::accept);

    // A new dialog starts from these, and its handlers write the fields to match.
    selectOptions(m_ui->optSimple, m_ui->opt422);
    // The telegram length too: a reopened dialog that showed 20 would otherwise send the
    // length chosen before its close box.
    selectText(m_ui->cboTelegram, QStringLiteral("20"));
}

siemens_param::~siemens_param()
{
    delete m_ui;
}

QList<OptionBit> siemens_param::functionOptions() const
{
    return {{m_ui->optYesFunc, m_ui->optNoFunc, SiemensFlag::Supercast},
            {m_ui->optOnUss, m_ui->optOffUss, SiemensFlag::AutoUssParameters},
            {m_ui->optPKW4, m_ui->optPKW3, SiemensFlag::FourPkwWords},
            {m_ui->optYesPM, m_ui->optNoPM, SiemensFlag::PmFunction}};
}

QList<QAbstractButton *> siemens_param::protocolOptions() const
{
    return {m_ui->optSimple, m_ui->optDUST6B, m_ui->optUSS};
}

QList<QAbstractButton *> siemens_param::delayOptions() const
{
    return {m_ui->optNone, m_ui->opt14ms, m_ui->opt28ms, m_ui->opt42ms, m_ui->opt56ms};
}

void siemens_param::selectOptions(QAbstractButton *protocol, QAbstractButton *wiring)
{
    for (const OptionBit &pair : functionOptions())
        select(pair.off);
    select(protocol);
    select(m_ui->optNone);
    select(wiring);
}

void siemens_param::selectPresets()
{
    selectOptions(m_ui->optUSS, m_ui->opt485);
    showText(m_ui->cboTelegram, QStringLiteral("20"));
}

void siemens_param::remember()
{
    m_chosen = m_ctx.session.rec;
}

void siemens_param::restoreChoices()
{
    ConfigRecord &rec = m_ctx.session.rec;
    rec.AuxByte1 = m_chosen.AuxByte1;
    rec.AuxByte2 = m_chosen.AuxByte2;
    rec.AuxByte4 =
        IntByte((rec.AuxByte4 & ~SiemensFlag::DialogBits) | (m_chosen.AuxByte4 & SiemensFlag::DialogBits));
    // A delay, chosen, clears the entry after it.
    rec.ProtoParam[0] = m_chosen.ProtoParam[0];
    rec.ProtoParam[1] = 0;
    rec.LinkOptions =
        IntByte((rec.LinkOptions & ~LinkFlag::MultiDrop) | (m_chosen.LinkOptions & LinkFlag::MultiDrop));
    showRecord();
}

void siemens_param::showRecord()
{
    const ConfigRecord &rec = m_ctx.session.rec;
    showText(m_ui->cboTelegram, QString::fromLatin1(rec.AuxByte1.text()));
    showChoice(protocolOptions(), rec.AuxByte2.isEmpty() ? -1 : rec.AuxByte2.value());
    showOptionBits(functionOptions(), rec.AuxByte4);
    showChoice(delayOptions(), rec.ProtoParam[0]);
    // Its handler writes the bit the record holds, and shows the wiring's picture.
    select(rec.LinkOptions & LinkFlag::MultiDrop ? m_ui->opt485 : m_ui->opt422);
    remember();
}

void siemens_param::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        showRecord();
    MainFormDialog::showEvent(event);
}

void siemens_param::protocol(int code)
{
    m_ctx.session.rec.AuxByte2 = DecimalText::fromNumber(code);
}

void siemens_param::functionBit(int mask, bool on)
{
    IntByte &bits = m_ctx.session.rec.AuxByte4;
    bits = IntByte(on ? SetBit(bits, mask) : ClearBit(bits, mask));
}

void siemens_param::delay(int code)
{
    m_ctx.session.rec.ProtoParam[0] = IntByte(code);
    m_ctx.session.rec.ProtoParam[1] = 0;
}

void siemens_param::closeBox()
{
    // The close box destroys the dialog: its next use starts from the defaults again.
    m_ctx.forms.unload(QStringLiteral("siemens_param"));
    giveMainFormBack(m_ctx.forms);
}
