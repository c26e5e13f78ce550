#include "modbus_prot.h"
#include "ui_modbus_prot.h"

#include "frame/appcontext.h"
#include "frame/crossform.h"
#include "frame/formutil.h"
#include "session/session.h"

namespace {

// Bits of ProtoParam[1].
constexpr int AsciiFraming = 1;
constexpr int Master = 2;
constexpr int PassBroadcast = 4;
constexpr int Rs485TwoWire = 8;

} // namespace

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
    on(m_ui->optRtu, [this] { clearBits(AsciiFraming); });
    on(m_ui->optAscii, [this] { setBits(AsciiFraming); });
    on(m_ui->optMaster, [this] {
        setBits(Master);
        layoutMaster();
    });
    on(m_ui->optSlave, [this] {
        clearBits(Master);
        layoutSlave();
    });
    on(m_ui->optYesHalf, [this] { setBits(Rs485TwoWire); });
    on(m_ui->optNoHalf, [this] { clearBits(Rs485TwoWire); });
    on(m_ui->optYesBroadcast, [this] {
        setBits(PassBroadcast);
        // The broadcast range is a slave's: the master's shorter window has no room for it.
        m_ui->frmBroadcastAddress->setVisible(!m_ui->optMaster->isChecked());
    });
    on(m_ui->optNoBroadcast, [this] {
        clearBits(PassBroadcast);
        m_ui->frmBroadcastAddress->hide();
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
    const QList<QAbstractButton *> ranges{m_ui->Option6,  m_ui->Option5, m_ui->Option4,  m_ui->Option7,
                                          m_ui->Option8,  m_ui->Option9, m_ui->Option10, m_ui->Option11,
                                          m_ui->Option12, m_ui->Option13};
    for (QAbstractButton *r : ranges) {
        // The range is the caption's leading digit.
        const int digit = r->text().at(0).digitValue();
        on(r, [this, digit] { m_ctx.session.rec.ProtoParam[5] = IntByte(digit); });
    }
    on(m_ui->Option14, [this] { m_ctx.session.rec.ProtoParam[5] = 1; });
    on(m_ui->Option15, [this] { m_ctx.session.rec.ProtoParam[5] = 0; });

    for (int row = 1; row <= 8; ++row) {
        for (const char *column : {"txtStart", "txtEnd", "txtFile", "txtWord"})
            m_boxes << findChild<QLineEdit *>(QStringLiteral("%1%2").arg(QLatin1String(column)).arg(row));
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

void modbus_prot::showRecordTable()
{
    for (int i = 0; i < int(m_boxes.size()); ++i)
        m_boxes[i]->setText(storedText(i));
}

void modbus_prot::showStoredTable()
{
    for (int i = 0; i < int(m_boxes.size()); ++i)
        showInBox(m_boxes[i], storedText(i));
}

void modbus_prot::selectRegisterRange(int digit)
{
    for (QAbstractButton *r : m_ui->frmModRegister->findChildren<QAbstractButton *>()) {
        if (r->text().at(0).digitValue() == digit)
            reselect(r);
    }
}

void modbus_prot::takeShownOptions()
{
    for (QWidget *frame :
         {static_cast<QWidget *>(m_ui->frmModRegister), static_cast<QWidget *>(m_ui->frmMasterMode)}) {
        if (frame->isVisibleTo(this))
            retakeOptions(frame);
    }
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

void modbus_prot::relayout(int heightTwips, int buttonsTopTwips)
{
    setFixedHeight(twips(heightTwips));
    moveTopTwips(m_ui->Command2, buttonsTopTwips);
    moveTopTwips(m_ui->Command3, buttonsTopTwips);
    // A window shown keeps its old size until it is shown again.
    if (isVisible()) {
        hide();
        show();
    }
}

void modbus_prot::layoutMaster()
{
    m_ui->frmModbusTable->hide();
    m_ui->frmBroadcast->hide();
    m_ui->frmABtype->hide();
    // The register range is a slave's; the master's decode takes its entry, and the frame
    // would lie out of the shorter window, where the keyboard could still reach it.
    m_ui->frmModRegister->hide();
    m_ui->frmBroadcastAddress->hide();
    m_ui->frmMasterMode->show();
    // The decode shown is the one the record holds for the master.
    reselect(m_ui->Option14->isChecked() ? m_ui->Option14 : m_ui->Option15);
    relayout(3000, 2160);
}

void modbus_prot::layoutSlave()
{
    m_ui->frmABtype->show();
    m_ui->frmModbusTable->show();
    m_ui->frmBroadcast->show();
    m_ui->frmModRegister->show();
    m_ui->frmBroadcastAddress->setVisible(m_ui->optYesBroadcast->isChecked());
    m_ui->frmMasterMode->hide();
    // The register range shown is the one the record holds for the slave.
    bool shown = false;
    for (QAbstractButton *r : m_ui->frmModRegister->findChildren<QAbstractButton *>()) {
        if (r->isChecked()) {
            reselect(r);
            shown = true;
        }
    }
    if (!shown)
        selectRegisterRange(m_ctx.session.rec.ProtoParam[5] <= 9 ? m_ctx.session.rec.ProtoParam[5] : 0);
    relayout(8130, 7320);
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
    select(m_ui->Option15);
    // The entry Option15 writes is the slave's register range too: the range shown follows.
    selectRegisterRange(0);
    // The reset leaves the table's words as they are (a stored configuration may rely on
    // that): the boxes show those words, which are still sent, rather than nothing.
    showStoredTable();
}
