#include "siemens_param.h"
#include "ui_siemens_param.h"

#include "frame/appcontext.h"
#include "frame/crossform.h"
#include "frame/formutil.h"
#include "frame/wiring.h"
#include "session/session.h"

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
    on(m_ui->optSimple, [this] { protocol(0); });
    on(m_ui->optDUST6B, [this] { protocol(1); });
    on(m_ui->optUSS, [this] { protocol(2); });
    on(m_ui->optYesFunc, [this] { functionBit(1, true); });
    on(m_ui->optNoFunc, [this] { functionBit(1, false); });
    on(m_ui->optOnUss, [this] { functionBit(2, true); });
    on(m_ui->optOffUss, [this] { functionBit(2, false); });
    on(m_ui->optPKW4, [this] { functionBit(4, true); });
    on(m_ui->optPKW3, [this] { functionBit(4, false); });
    on(m_ui->optYesPM, [this] { functionBit(8, true); });
    on(m_ui->optNoPM, [this] { functionBit(8, false); });
    on(m_ui->optNone, [this] { delay(0); });
    on(m_ui->opt14ms, [this] { delay(1); });
    on(m_ui->opt28ms, [this] { delay(2); });
    on(m_ui->opt42ms, [this] { delay(3); });
    on(m_ui->opt56ms, [this] { delay(4); });
    wireSerialConnection(m_ui->opt422, m_ui->pic422, m_ui->opt485, m_ui->pic485,
                         m_ctx.session.rec.LinkOptions, 3960);
    connect(m_ui->cmdAccept, &QPushButton::clicked, this, &siemens_param::accept);

    // A new dialog starts from these, and its handlers write the fields to match.
    selectOptions(m_ui->optSimple, m_ui->opt422);
    // The telegram length too: a reopened dialog that showed 20 would otherwise send the
    // length chosen before its close box.
    selectText(m_ui->cboTelegram, QStringLiteral("20"));
}

void siemens_param::selectOptions(QAbstractButton *protocol, QAbstractButton *wiring)
{
    for (QAbstractButton *o :
         {static_cast<QAbstractButton *>(m_ui->optNoFunc), static_cast<QAbstractButton *>(m_ui->optOffUss),
          static_cast<QAbstractButton *>(m_ui->optPKW3), static_cast<QAbstractButton *>(m_ui->optNoPM),
          protocol, static_cast<QAbstractButton *>(m_ui->optNone), wiring})
        select(o);
}

void siemens_param::selectPresets()
{
    selectOptions(m_ui->optUSS, m_ui->opt485);
    showText(m_ui->cboTelegram, QStringLiteral("20"));
}

siemens_param::~siemens_param()
{
    delete m_ui;
}

void siemens_param::takeShownOptions()
{
    retakeOptions(this);
    m_ctx.session.rec.AuxByte1.set(m_ui->cboTelegram->currentText().toLatin1());
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
