// SPDX-License-Identifier: GPL-3.0-or-later
#include "datatable.h"
#include "ui_vr58_datatable.h"
#include "ui_yze_datatable.h"

#include "frame/appcontext.h"
#include "session/session.h"

#include <QShowEvent>

DataTableDialog::DataTableDialog(AppContext &ctx, QWidget *parent, QString fallbackX, QString fallbackY)
    : MainFormDialog(ctx.forms, parent)
    , m_ctx(ctx)
    , m_fallbackX(std::move(fallbackX))
    , m_fallbackY(std::move(fallbackY))
{
}

void DataTableDialog::connectControls(QLineEdit *xxx, QLineEdit *yyy, QPushButton *accept)
{
    m_xxx = xxx;
    m_yyy = yyy;
    for (QLineEdit *box : {xxx, yyy})
        describeRange(box, WordRange);
    connect(xxx, &QLineEdit::textChanged, this, [this] { boxChanged(m_xxx, 2, m_fallbackX); });
    connect(yyy, &QLineEdit::textChanged, this, [this] { boxChanged(m_yyy, 4, m_fallbackY); });
    for (const auto &[box, first] : {std::pair{xxx, 2}, std::pair{yyy, 4}}) {
        showStoredWhenDone(box, [this, first] {
            const ConfigRecord &rec = m_ctx.session.rec;
            return QString::number(rec.ProtoParam[first + 1] * 256 + rec.ProtoParam[first]);
        });
    }
    connect(accept, &QPushButton::clicked, this, &DataTableDialog::accept);
    showRecordWords();
}

void DataTableDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        showRecordWords();
    MainFormDialog::showEvent(event);
}

bool DataTableDialog::storeWord(QLineEdit *box, int first)
{
    const std::optional<qint32> v = ordinaryNumber(box->text());
    if (!v || !WordRange.contains(*v))
        return false;
    ConfigRecord &rec = m_ctx.session.rec;
    rec.splitWord(*v);
    rec.ProtoParam[first] = IntByte(rec.WordLow);
    rec.ProtoParam[first + 1] = IntByte(rec.WordHigh);
    return true;
}

bool DataTableDialog::SetXXX()
{
    return storeWord(m_xxx, 2);
}

void DataTableDialog::boxChanged(QLineEdit *box, int first, const QString &fallback)
{
    if (storeWord(box, first))
        return;
    const std::optional<qint32> v = ordinaryNumber(box->text());
    if (!v) {
        box->setText(fallback); // the change rule runs again for the fallback
        return;
    }
    // A number, but no word: the record keeps its word, and the box shows it.
    const ConfigRecord &rec = m_ctx.session.rec;
    showInBox(box, QString::number(rec.ProtoParam[first + 1] * 256 + rec.ProtoParam[first]));
}

void DataTableDialog::showRecordWords()
{
    const ConfigRecord &rec = m_ctx.session.rec;
    m_xxx->setText(QString::number(rec.ProtoParam[3] * 256 + rec.ProtoParam[2]));
    m_yyy->setText(QString::number(rec.ProtoParam[5] * 256 + rec.ProtoParam[4]));
}

YZE_DataTable::YZE_DataTable(AppContext &ctx, QWidget *parent)
    : DataTableDialog(ctx, parent, QString(), QString())
    , m_ui(new Ui::YZE_DataTable)
{
    m_ui->setupUi(this);
    connectControls(m_ui->txtXXX, m_ui->txtYYY, m_ui->cmdAccept);
}

void YZE_DataTable::askFileNumberOnly(const QString &title)
{
    setWindowTitle(title);
    m_ui->Label13->hide();
    m_ui->txtYYY->hide();
}

YZE_DataTable::~YZE_DataTable()
{
    delete m_ui;
}

VR58_DataTable::VR58_DataTable(AppContext &ctx, QWidget *parent)
    : DataTableDialog(ctx, parent, QStringLiteral("180"), QStringLiteral("181"))
    , m_ui(new Ui::VR58_DataTable)
{
    m_ui->setupUi(this);
    connectControls(m_ui->txtXXX, m_ui->txtYYY, m_ui->cmdAccept);
}

VR58_DataTable::~VR58_DataTable()
{
    delete m_ui;
}
