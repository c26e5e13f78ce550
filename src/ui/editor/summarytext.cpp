#include "summarytext.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QWidget>

namespace {

struct Row
{
    const char *caption;
    const char *value; // nullptr: a caption-only row
    const char *unit;
};

const Row rows[] = {
    {"Text5", "txtModel", nullptr},
    {"Text4", "txtComSelect", nullptr},
    {"Text2", "txtProtocola", nullptr},
    {"txtBusProtocol", nullptr, nullptr},
    {"txtNetSpeed1", "txtNetSpeed", "txtKbaud2"},
    {"txtStationNum1", "txtStationNum", "txtOctal1"},
    {"txtHighAddress1", "txtHighAddress", "txtOctal2"},
    {"txtRackNum1", "txtRackNum", "txtRackNumOctal"},
    {"txtRackRange1", "txtRackRange", nullptr},
    {"txtRackSize1", "txtRackSize", nullptr},
    {"txtBusSpeed1", "txtBusSpeed", "txtKbaud"},
    {"txtDeviceType", "txtDeviceType1", nullptr},
    {"txtModeOp", "txtModeOp1", nullptr},
    {"txtSiemensProt", "txtSiemensProt1", nullptr},
    {"txtJMR", "txtJMR1", nullptr},
};

const Row channelRows[] = {
    {"txtAsyncSpeed%1", "txtAsync%1", "txtKbaudChannel%1"},
    {"txtParity%1", "txtParityNoneOdd%1", nullptr},
    {"txtData%1", "txtData1%1", nullptr},
    {"txtStop%1", "txtStop1%1", nullptr},
    {"txtHandShake%1", "txtHandShake1%1", nullptr},
};

QString textOf(QWidget &form, const QString &name, bool *shown)
{
    auto *box = form.findChild<QLineEdit *>(name);
    if (shown)
        *shown = box && box->isVisibleTo(&form);
    return box ? box->text().trimmed() : QString();
}

QString caption(QString text)
{
    text = text.trimmed();
    while (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text.trimmed();
}

// One row: its caption box, its value box (none for a caption-only row) and its unit box.
void addRow(QWidget &form, const QString &prefix, const QString &captionName, const QString &valueName,
            const QString &unitName, QStringList &out)
{
    bool shown = false;
    const QString cap = textOf(form, captionName, &shown);
    if (valueName.isEmpty()) {
        if (shown)
            out << prefix + cap;
        return;
    }
    QString v = textOf(form, valueName, &shown);
    if (!shown)
        return;
    if (!unitName.isEmpty()) {
        bool unitShown = false;
        const QString u = textOf(form, unitName, &unitShown);
        if (unitShown && !u.isEmpty())
            v += QLatin1Char(' ') + u;
    }
    out << QStringLiteral("%1%2: %3").arg(prefix, caption(cap), v);
}

} // namespace

QStringList summaryLines(QWidget &view)
{
    auto name = [](const char *n, QChar channel = QChar()) {
        const QString s = QString::fromLatin1(n ? n : "");
        // Only the channel rows' names carry the channel letter.
        return channel.isNull() || !s.contains(QLatin1String("%1")) ? s : s.arg(channel);
    };
    QStringList out;
    for (const Row &r : rows)
        addRow(view, QString(), name(r.caption), name(r.value), name(r.unit), out);
    for (const QChar channel : {QLatin1Char('B'), QLatin1Char('C')}) {
        auto *frame = view.findChild<QGroupBox *>(QStringLiteral("frmChannel") + channel);
        if (!frame || !frame->isVisibleTo(&view))
            continue;
        const QString prefix = frame->title().trimmed() + QLatin1Char(' ');
        for (const Row &r : channelRows)
            addRow(view, prefix, name(r.caption, channel), name(r.value, channel), name(r.unit, channel),
                   out);
    }
    return out;
}
