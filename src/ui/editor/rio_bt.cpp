// SPDX-License-Identifier: GPL-3.0-or-later
#include "rio_bt.h"
#include "ui_rio_bt.h"

#include "editor/main4000.h"
#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/formutil.h"
#include "session/session.h"

#include <QCheckBox>
#include <QLabel>
#include <QSignalBlocker>

namespace {

const char *const Ordinal[] = {"1st", "2nd", "3rd", "4th", "5th", "6th", "7th"};

QString enableAllCaption(int rack, bool on)
{
    return QStringLiteral("%1 All %2 Rack")
        .arg(on ? QStringLiteral("Clear") : QStringLiteral("Enable"), QLatin1String(Ordinal[rack - 1]));
}

// Where a position's bit lies in the map.
int byteOf(int rack, int group)
{
    return 2 * (rack - 1) + group / 4;
}

quint8 maskOf(int group, int module)
{
    return quint8(1u << (2 * (group % 4) + module));
}

// Each rack is one row: its label, its enable-all box and its 16 boxes under the column labels.
constexpr int RowHeight = 36;
constexpr int FirstBoxLeft = 254;
constexpr int BoxPitch = 25;

} // namespace

rio_bt::rio_bt(AppContext &ctx, QWidget *parent)
    : MainFormDialog(ctx.forms, parent)
    , m_ctx(ctx)
    , m_ui(new Ui::rio_bt)
{
    m_ui->setupUi(this);
    buildRacks();
    for (int n = 1; n <= 7; ++n) {
        m_ranges[n - 1] = findChild<QRadioButton *>(QStringLiteral("optRIO%1").arg(n));
        connect(m_ranges[n - 1], &QRadioButton::toggled, this, [this, n](bool on) {
            if (on)
                rackRangeChosen(n);
        });
    }
    connect(m_ui->cmdAccept, &QPushButton::clicked, this, &rio_bt::accept);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &rio_bt::cmdCancel_Click);
}

rio_bt::~rio_bt()
{
    delete m_ui;
}

void rio_bt::buildRacks()
{
    QWidget *area = m_ui->frmRacks;
    // The column labels, "0/0" to "7/1", over the boxes.
    QLabel *columns[16];
    for (int c = 0; c < 16; ++c) {
        auto *l = new QLabel(QStringLiteral("%1/%2").arg(c / 2).arg(c % 2), area);
        columns[c] = l;
        l->setObjectName(QStringLiteral("lblColumn%1").arg(c));
        // Centred over its box's square.
        l->setGeometry(FirstBoxLeft + c * BoxPitch - 14, 0, BoxPitch, 14);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    for (int r = 1; r <= 7; ++r) {
        auto *frame = new QGroupBox(area);
        frame->setObjectName(QStringLiteral("frmRack%1").arg(r));
        frame->setGeometry(0, 14 + (r - 1) * RowHeight, area->width(), RowHeight - 2);
        m_frames[r - 1] = frame;
        auto *label = new QLabel(QStringLiteral("Rack Addr %1").arg(r, 0, 8), frame);
        label->setObjectName(QStringLiteral("lblRack%1").arg(r));
        label->setGeometry(6, 6, 92, 22);
        auto *all = new QCheckBox(enableAllCaption(r, false), frame);
        all->setObjectName(QStringLiteral("Check%1").arg(r));
        all->setGeometry(100, 6, 144, 22);
        m_enableAll[r - 1] = all;
        connect(all, &QCheckBox::toggled, this, [this, r](bool on) { enableAllToggled(r, on); });
        for (int g = 0; g < 8; ++g) {
            for (int m = 0; m < 2; ++m) {
                auto *box = new QCheckBox(frame);
                box->setObjectName(QStringLiteral("chk%1%2%3").arg(r).arg(g).arg(m));
                box->setToolTip(tr("Rack %1, group %2, module %3").arg(r).arg(g).arg(m));
                // Named by its row's and its column's captions: "Rack Addr 1 3/0".
                box->setAccessibleName(label->text() + QLatin1Char(' ') + columns[2 * g + m]->text());
                box->setGeometry(FirstBoxLeft + (2 * g + m) * BoxPitch - 8, 8, 20, 20);
                m_boxes[r - 1][2 * g + m] = box;
                connect(box, &QCheckBox::toggled, this,
                        [this, r, g, m](bool on) { boxToggled(r, g, m, on); });
            }
        }
    }
}

QCheckBox *rio_bt::box(int rack, int group, int module) const
{
    return m_boxes[rack - 1][2 * group + module];
}

void rio_bt::boxToggled(int rack, int group, int module, bool on)
{
    IntByte &b = m_ctx.session.rec.ProtoParam[byteOf(rack, group)];
    const quint8 mask = maskOf(group, module);
    b = IntByte(on ? SetBit(b, mask) : ClearBit(b, mask));
}

void rio_bt::enableAllToggled(int rack, bool on)
{
    m_enableAll[rack - 1]->setText(enableAllCaption(rack, on));
    // Group 0 module 0 first; each box that changes writes its own bit.
    for (QCheckBox *b : m_boxes[rack - 1])
        b->setChecked(on);
}

void rio_bt::rackRangeChosen(int n)
{
    // The main form's list shows the range, and its handler writes the record and selects
    // this option again (which is already selected and so runs nothing).
    if (auto *main = m_ctx.forms.form<main4000>(QStringLiteral("main4000")))
        main->pickRackRange(n);
    for (int k = n + 1; k <= 7; ++k)
        m_enableAll[k - 1]->setChecked(false);
    for (int k = 1; k <= 7; ++k)
        m_frames[k - 1]->setVisible(k <= n);
}

void rio_bt::fillFromRecord()
{
    ConfigRecord &rec = m_ctx.session.rec;
    // The rack range is the record's high address, which the main form's list shows: the
    // option shows it without running its handler, which would pick the list again.
    const int n = rec.HighAddress;
    if (n >= 1 && n <= 7) {
        const QSignalBlocker quiet(m_ranges[n - 1]);
        m_ranges[n - 1]->setChecked(true);
        for (int k = 1; k <= 7; ++k)
            m_frames[k - 1]->setVisible(k <= n);
    }
    showRackAddresses(rec.StationNumber);
    // Every box shows its bit: one left ticked from before would show a transfer the map
    // does not hold.
    std::array<quint8, 14> saved{};
    for (int i = 0; i < 14; ++i)
        saved[i] = rec.ProtoParam[i];
    for (int rack = 1; rack <= 7; ++rack) {
        for (int g = 0; g < 8; ++g) {
            for (int m = 0; m < 2; ++m)
                box(rack, g, m)->setChecked(saved[byteOf(rack, g)] & maskOf(g, m));
        }
        // "Clear All" only over a full rack: a box left ticked from before would clear, at its
        // next click, bits it never set. Its handler does not run: the boxes are as they are.
        const bool full = saved[byteOf(rack, 0)] == 0xFF && saved[byteOf(rack, 4)] == 0xFF;
        QCheckBox *all = m_enableAll[rack - 1];
        const QSignalBlocker quiet(all);
        all->setChecked(full);
        all->setText(enableAllCaption(rack, full));
    }
    m_saved = saved;
}

void rio_bt::showRackAddresses(int first)
{
    for (int k = 0; k < 7; ++k) {
        findChild<QLabel *>(QStringLiteral("lblRack%1").arg(k + 1))
            ->setText(QStringLiteral("Rack Addr ") + QString::number(first + k, 8));
    }
}

void rio_bt::selectRackRange(int n)
{
    if (n < 1 || n > 7)
        return;
    select(m_ranges[n - 1]);
    for (int k = 1; k <= 7; ++k)
        m_frames[k - 1]->setVisible(k <= n);
}

void rio_bt::cmdCancel_Click()
{
    // Back to the map as it was opened; with none kept, to no transfers at all.
    ConfigRecord &rec = m_ctx.session.rec;
    for (int i = 0; i < 14; ++i)
        rec.ProtoParam[i] = m_saved ? (*m_saved)[i] : IntByte(0);
    m_ctx.forms.unload(QStringLiteral("rio_bt"));
    giveMainFormBack(m_ctx.forms);
}
