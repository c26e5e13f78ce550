// SPDX-License-Identifier: GPL-3.0-or-later
#include "modbus_prot.h"
#include "ui_modbus_prot.h"

#include "frame/appcontext.h"
#include "frame/formutil.h"
#include "session/session.h"

#include <QShowEvent>

#include <algorithm>

using namespace ModbusFlag;

modbus_prot::modbus_prot(AppContext &ctx, QWidget *parent)
    : MainFormDialog(ctx.forms, parent)
    , m_ctx(ctx)
    , m_ui(new Ui::modbus_prot)
{
    m_ui->setupUi(this);
    // The 64 DH+ stations, in octal.
    for (int p = 0; p < 64; ++p) {
        const QString station = QStringLiteral("%1").arg(p, 2, 8, QLatin1Char('0'));
        m_ui->cboStartAddress->addItem(station);
        m_ui->cboEndAddress->addItem(station);
    }

    const auto on = [this](QAbstractButton *b, auto handler) {
        connect(b, &QAbstractButton::toggled, this, [handler](bool checked) {
            if (checked)
                handler();
        });
    };
    for (const OptionBit &pair : optionBits()) {
        if (pair.mask == Master)
            continue;
        on(pair.on, [this, mask = pair.mask] {
            setBits(mask);
            showLayout();
        });
        on(pair.off, [this, mask = pair.mask] {
            clearBits(mask);
            showLayout();
        });
    }
    // Each side takes the entry it shares with the other as last chosen for it.
    on(m_ui->optMaster, [this] {
        setBits(Master);
        masterDecode(m_masterDecode);
        showLayout();
    });
    on(m_ui->optSlave, [this] {
        clearBits(Master);
        registerRange(m_slaveRange >= 0 ? m_slaveRange : m_ctx.session.rec.ProtoParam[5]);
        showLayout();
    });
    // The station text is stored as its decimal reading: "17" is 17.
    connect(m_ui->cboStartAddress, &QComboBox::activated, this, [this] {
        m_ctx.session.rec.ProtoParam[2] = IntByte(m_ui->cboStartAddress->currentText().toInt());
    });
    connect(m_ui->cboEndAddress, &QComboBox::activated, this, [this] {
        m_ctx.session.rec.ProtoParam[3] = IntByte(m_ui->cboEndAddress->currentText().toInt());
    });
    const QList<QAbstractButton *> plcTypes{m_ui->optPLC5, m_ui->Option2, m_ui->Option3};
    for (int type = 0; type < int(plcTypes.size()); ++type)
        on(plcTypes[type], [this, type] { m_ctx.session.rec.ProtoParam[4] = IntByte(type); });
    // The range is the caption's leading digit.
    m_ranges = m_ui->frmModRegister->findChildren<QAbstractButton *>();
    std::sort(m_ranges.begin(), m_ranges.end(), [](QAbstractButton *a, QAbstractButton *b) {
        return a->text().at(0).digitValue() < b->text().at(0).digitValue();
    });
    for (int digit = 0; digit < int(m_ranges.size()); ++digit)
        on(m_ranges[digit], [this, digit] { registerRange(digit); });
    m_decodes = {m_ui->Option15, m_ui->Option14};
    for (int code = 0; code < int(m_decodes.size()); ++code)
        on(m_decodes[code], [this, code] { masterDecode(code); });

    // A box of the table is named by its column's caption and its row's number.
    const QString abStart = m_ui->Label11->text() + QLatin1Char(' ');
    const std::pair<const char *, QString> columns[] = {{"txtStart", m_ui->Label9->text()},
                                                        {"txtEnd", m_ui->Label10->text()},
                                                        {"txtFile", abStart + m_ui->Label12->text()},
                                                        {"txtWord", abStart + m_ui->Label13->text()}};
    for (int row = 1; row <= 8; ++row) {
        const QString number = findChild<QLabel *>(QStringLiteral("lblRow%1").arg(row))->text();
        for (const auto &[column, caption] : columns) {
            auto *box = findChild<QLineEdit *>(QStringLiteral("%1%2").arg(QLatin1String(column)).arg(row));
            box->setAccessibleName(caption + QLatin1Char(' ') + number);
            m_boxes << box;
        }
    }
    for (int i = 0; i < int(m_boxes.size()); ++i) {
        describeRange(m_boxes[i], WordRange);
        connect(m_boxes[i], &QLineEdit::textChanged, this, [this, i] { tableBoxChanged(i); });
        showStoredWhenDone(m_boxes[i], [this, i] { return storedText(i); });
    }
    // A new dialog shows the words the record holds, which are sent whether or not it opens.
    showStoredTable();
    connect(m_ui->Command2, &QPushButton::clicked, this, &modbus_prot::accept);
    connect(m_ui->Command3, &QPushButton::clicked, this, &modbus_prot::Command3_Click);
}

modbus_prot::~modbus_prot()
{
    delete m_ui;
}

void modbus_prot::setBits(int mask)
{
    IntByte &options = m_ctx.session.rec.ProtoParam[1];
    options = IntByte(SetBit(options, mask));
}

void modbus_prot::clearBits(int mask)
{
    IntByte &options = m_ctx.session.rec.ProtoParam[1];
    options = IntByte(ClearBit(options, mask));
}

int modbus_prot::entryOf(int boxIndex)
{
    const int row = boxIndex / 4;    // 0..7
    const int column = boxIndex % 4; // start, end, file, word
    return 8 + 10 * row + 2 * column;
}

void modbus_prot::tableBoxChanged(int boxIndex)
{
    QLineEdit *box = m_boxes[boxIndex];
    const int first = entryOf(boxIndex);
    ConfigRecord &rec = m_ctx.session.rec;
    const std::optional<qint32> v = ordinaryNumber(box->text());
    if (!v) {
        box->setText(QString()); // no number: the box empties, the word stays
        return;
    }
    if (!WordRange.contains(*v)) {
        // Too big for its word: refused, and the box shows the word the record holds.
        showInBox(box, storedText(boxIndex));
        return;
    }
    rec.splitWord(*v);
    rec.ProtoParam[first] = IntByte(rec.WordLow);
    rec.ProtoParam[first + 1] = IntByte(rec.WordHigh);
}

QString modbus_prot::storedText(int boxIndex) const
{
    const ConfigRecord &rec = m_ctx.session.rec;
    const int first = entryOf(boxIndex);
    return QString::number(rec.ProtoParam[first + 1] * 256 + rec.ProtoParam[first]);
}

void modbus_prot::showStoredTable()
{
    for (int i = 0; i < int(m_boxes.size()); ++i)
        showInBox(m_boxes[i], storedText(i));
}

QList<OptionBit> modbus_prot::optionBits() const
{
    return {{m_ui->optAscii, m_ui->optRtu, AsciiFraming},
            {m_ui->optMaster, m_ui->optSlave, Master},
            {m_ui->optYesBroadcast, m_ui->optNoBroadcast, PassBroadcast},
            {m_ui->optYesHalf, m_ui->optNoHalf, Rs485TwoWire}};
}

void modbus_prot::registerRange(int digit)
{
    if (digit < 0 || digit > 9)
        digit = 0;
    m_slaveRange = digit;
    m_ctx.session.rec.ProtoParam[5] = IntByte(digit);
    showChoice(m_ranges, digit);
}

void modbus_prot::masterDecode(int code)
{
    m_masterDecode = code;
    m_ctx.session.rec.ProtoParam[5] = IntByte(code);
    showChoice(m_decodes, code);
}

void modbus_prot::restoreChoices()
{
    if (m_ctx.session.rec.ProtoParam[1] & Master)
        masterDecode(m_masterDecode);
    else if (m_slaveRange >= 0)
        registerRange(m_slaveRange);
}

void modbus_prot::showRecord()
{
    const ConfigRecord &rec = m_ctx.session.rec;
    const int bits = rec.ProtoParam[1];
    const int entry = rec.ProtoParam[5];
    if (bits & Master) {
        if (entry <= 1)
            m_masterDecode = entry;
    } else if (entry <= 9) {
        m_slaveRange = entry;
    }
    showOptionBits(optionBits(), bits);
    showLayout();
    // The station stored as 17 is the item "17".
    for (const auto &[list, k] : {std::pair{m_ui->cboStartAddress, 2}, {m_ui->cboEndAddress, 3}})
        showText(list, QStringLiteral("%1").arg(int(rec.ProtoParam[k]), 2, 10, QLatin1Char('0')));
    showChoice({m_ui->optPLC5, m_ui->Option2, m_ui->Option3}, rec.ProtoParam[4]);
    showChoice(m_ranges, m_slaveRange);
    showChoice(m_decodes, m_masterDecode);
    showStoredTable();
}

void modbus_prot::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        m_showing = true;
        showRecord();
        m_showing = false;
    }
    MainFormDialog::showEvent(event);
}

void modbus_prot::selectSlaveDefaults()
{
    for (QAbstractButton *o :
         {static_cast<QAbstractButton *>(m_ui->optRtu), static_cast<QAbstractButton *>(m_ui->optSlave),
          static_cast<QAbstractButton *>(m_ui->optNoHalf),
          static_cast<QAbstractButton *>(m_ui->optNoBroadcast), static_cast<QAbstractButton *>(m_ui->optPLC5),
          static_cast<QAbstractButton *>(m_ui->Option15)})
        select(o);
}

void modbus_prot::showLayout()
{
    const bool master = m_ctx.session.rec.ProtoParam[1] & Master;
    // The register range is a slave's; the master's decode takes its entry, and the frame
    // would lie out of the shorter window, where the keyboard could still reach it. The
    // broadcast range is a slave's too: the master's window has no room for it.
    for (QWidget *w :
         {static_cast<QWidget *>(m_ui->frmModbusTable), static_cast<QWidget *>(m_ui->frmBroadcast),
          static_cast<QWidget *>(m_ui->frmABtype), static_cast<QWidget *>(m_ui->frmModRegister)})
        w->setVisible(!master);
    m_ui->frmMasterMode->setVisible(master);
    m_ui->frmBroadcastAddress->setVisible(!master && (m_ctx.session.rec.ProtoParam[1] & PassBroadcast));
    const int height = twips(master ? 3000 : 8130);
    const bool resized = height != this->height();
    setFixedHeight(height);
    moveTopTwips(m_ui->Command2, master ? 2160 : 7320);
    moveTopTwips(m_ui->Command3, master ? 2160 : 7320);
    // A window shown keeps its old size until it is shown again (one being shown takes it).
    if (resized && isVisible() && !m_showing) {
        hide();
        show();
    }
}

void modbus_prot::Command3_Click()
{
    for (QAbstractButton *o :
         {static_cast<QAbstractButton *>(m_ui->optSlave), static_cast<QAbstractButton *>(m_ui->optRtu),
          static_cast<QAbstractButton *>(m_ui->optNoHalf), static_cast<QAbstractButton *>(m_ui->optPLC5),
          static_cast<QAbstractButton *>(m_ui->optNoBroadcast)})
        select(o);
    selectIndex(m_ui->cboStartAddress, 0);
    selectIndex(m_ui->cboEndAddress, 0);
    // The master's decode and the slave's range share their entry: both start again.
    masterDecode(0);
    registerRange(0);
    // The reset leaves the table's words as they are (a stored configuration may rely on
    // that): the boxes show those words, which are still sent, rather than nothing.
    showStoredTable();
}
