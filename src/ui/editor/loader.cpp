#include "loader.h"

#include "editor/datatable.h"
#include "editor/modbus_prot.h"
#include "editor/paramconfigb.h"
#include "editor/rio_bt.h"
#include "editor/toshiba.h"
#include "files/configfile.h"
#include "frame/appcontext.h"
#include "frame/crossform.h"
#include "frame/formutil.h"
#include "session/session.h"

#include <QAbstractButton>
#include <QComboBox>

namespace {

const QString Main = QStringLiteral("main4000");

// The character code of a text's first character, or the number itself.
int code(const LoadedValue &v)
{
    if (v.isText())
        return v.textValue().isEmpty() ? 0 : quint8(v.textValue().at(0));
    return v.isNumber() ? int(v.numberValue()) : 0;
}

// The value as a number: a number as it is, a text by its leading decimal digits.
int numeric(const LoadedValue &v)
{
    if (v.isNumber())
        return int(v.numberValue());
    int n = 0;
    for (char c : v.textValue()) {
        if (c < '0' || c > '9')
            break;
        n = n * 10 + (c - '0');
        if (n > 100000)
            break;
    }
    return n;
}

quint8 byteOf(int n)
{
    return quint8(qBound(0, n, 255));
}

class Applier
{
public:
    Applier(AppContext &ctx, const ModelInfo &model)
        : m_ctx(ctx)
        , m_r(ctx.forms)
        , m_t(ctx.session.loaded)
        , m_model(model)
    {
    }

    void run();

private:
    const LoadedValue &R(int n) const { return m_t[n - 1]; }
    int X(int k) const { return numeric(m_t[slotOfProtoParam(k)]); }
    void pickPosition(const char *combo, int n, const QString &form = Main)
    {
        if (QComboBox *c = m_r.combo(form, QLatin1String(combo)))
            selectIndex(c, n);
    }
    void select(const char *option, const QString &form = Main) { m_r.select(form, QLatin1String(option)); }
    void reselect(const char *option, const QString &form = Main)
    {
        m_r.deselect(form, QLatin1String(option));
        m_r.select(form, QLatin1String(option));
    }
    void copyParams(int from, int to)
    {
        for (int k = from; k <= to; ++k)
            m_ctx.session.rec.ProtoParam[k] = byteOf(X(k));
    }
    void speedRule();
    void networkSide();
    void siemensOptions();
    void modbusOptions();
    void modeOption();
    void xajOptions();
    void channelBSpeed();

    AppContext &m_ctx;
    CrossForm m_r;
    const LoadedValues &m_t;
    const ModelInfo &m_model;
};

void Applier::speedRule()
{
    const int c = code(R(4));
    if (c == 10 && m_ctx.session.rec.FamilyCode != QLatin1String("6000"))
        pickPosition("cboNetworkSpeed", 1);
    else
        pickPosition("cboNetworkSpeed", c - 8);
}

void Applier::run()
{
    ConfigRecord &rec = m_ctx.session.rec;

    // 1. The type word, where the model's file carries it. A file without extra values
    // leaves the entries as they are rather than taking what an earlier file left behind.
    if (modelParamValueCount(m_model) >= 2)
        copyParams(0, 1);

    // 3. The operating mode, before the network side: a mode layout that runs lays out its
    // own network side, which the file's then overrides.
    if (code(R(10)) == 0) {
        select("optKF2NGD");
        speedRule();
    } else {
        modeOption();
    }

    // 2. The network side.
    networkSide();

    // 5. A RIO adapter on RIO: its rack map, once the rack range and number are the file's.
    if (m_model.kind == ModelKind::RioAdapter && code(R(1)) == 1) {
        if (auto *map = m_ctx.forms.form<rio_bt>(QStringLiteral("rio_bt")))
            map->fillFromRecord();
    }

    // 6. Station and high address. Where the station list does not show, another list
    // stands for the same byte (the rack or the Modbus address, step 2) and has taken it;
    // the hidden list would only write its octal text over the summary's address.
    QComboBox *station = m_r.combo(Main, QStringLiteral("cboStationNumber"));
    if (numeric(R(2)) < 64 && station && station->isVisibleTo(m_ctx.forms.form(Main)))
        pickPosition("cboStationNumber", numeric(R(2)));
    pickPosition("cboHighAddress", numeric(R(3)));

    // 7, 8. Serial speeds.
    channelBSpeed();
    const int c = code(R(7));
    if (c != 0 && c != 255) {
        pickPosition("cboAsyncSpeedC", c - 3);
        pickPosition("cboChannelCSpeed", c - 3);
    }

    // 9. Formats and link options, then the dialogs' options that stand for them.
    rec.ChanBFormat = byteOf(numeric(R(6)));
    LoadChannelOptions(m_ctx, true, rec.ChanBFormat);
    rec.ChanCFormat = byteOf(numeric(R(8)));
    LoadChannelOptions(m_ctx, false, rec.ChanCFormat);
    rec.LinkOptions = byteOf(numeric(R(9)));
    const int link = rec.LinkOptions;
    const QString df1 = QStringLiteral("df_Param");
    select(link & 1 ? "optCRC" : "optBCC", df1);
    select(link & 2 ? "optAccept" : "optIgnore", df1);
    select(link & 4 ? "optExecEmbed" : "optNoneEmbed", df1);
    select(link & 8 ? "optPass" : "optExecDiag", df1);
    select(link & 16 ? "optMultiDrop" : "optPoint", df1);
    select(link & 32 ? "optSRC" : "optDST", df1);
    select(link & 32 ? "optRTS" : "optNoneLoop", df1);
    // The Toshiba drives' wiring shares bit 16; their dialog shows the file's.
    if (m_model.kind == ModelKind::ToshibaDrives) {
        if (auto *vfd = qobject_cast<toshiba_VFD *>(m_ctx.forms.existing(QStringLiteral("toshiba_VFD"))))
            vfd->showWiring();
    }
    // The options only follow the file's bits; the file's value stands as it was read.
    rec.LinkOptions = byteOf(link);

    // 10. The bus personality.
    rec.BusType = {byteOf(code(R(10))), 0};

    // 11. The data-table words, into the boxes of the model's dialog, whose change rule
    // stores them again (the QN4000-YZE too: a dialog that showed other words than the record
    // holds would send what it does not show).
    if (m_model.dataTableForm && m_model.fileParams == FileParams::DataTable) {
        if (auto *table = m_ctx.forms.form<DataTableDialog>(QLatin1String(m_model.dataTableForm)))
            table->showRecordWords();
    }

    // 12. Siemens drives keep their settings in the model-specific bytes.
    if (QAbstractButton *wolta = m_r.button(Main, QStringLiteral("optWOLTA")); wolta && wolta->isChecked()) {
        // A dialog its close box destroyed comes back first: its defaults write the very
        // fields the file's values then take.
        m_ctx.forms.form(QStringLiteral("siemens_param"));
        rec.LinkOptions = byteOf(numeric(R(9)));
        rec.AuxByte2 = DecimalText::fromNumber(byteOf(numeric(R(12))));
        rec.AuxByte1 = DecimalText::fromNumber(byteOf(numeric(R(11))));
        rec.AuxByte4 = byteOf(numeric(R(14)));
        // The delay is the file's: the mode layout of step 3 had the dialog write its own.
        copyParams(0, 1);
        siemensOptions();
    }

    // 13. The Modbus dialog of the LBW models.
    if (m_model.kind == ModelKind::Modbus)
        modbusOptions();
}

void Applier::siemensOptions()
{
    const ConfigRecord &rec = m_ctx.session.rec;
    const QString dlg = QStringLiteral("siemens_param");
    m_r.showText(dlg, QStringLiteral("cboTelegram"), QString::fromLatin1(rec.AuxByte1.text()));
    static const char *const protocols[] = {"optSimple", "optDUST6B", "optUSS"};
    const QByteArray protocol = rec.AuxByte2.text();
    if (protocol == "0" || protocol == "1" || protocol == "2")
        select(protocols[protocol.toInt()], dlg);
    const int f = rec.AuxByte4;
    select(f & 1 ? "optYesFunc" : "optNoFunc", dlg);
    select(f & 2 ? "optOnUss" : "optOffUss", dlg);
    select(f & 4 ? "optPKW4" : "optPKW3", dlg);
    select(f & 8 ? "optYesPM" : "optNoPM", dlg);
    static const char *const delays[] = {"optNone", "opt14ms", "opt28ms", "opt42ms", "opt56ms"};
    if (rec.ProtoParam[0] <= 4)
        select(delays[rec.ProtoParam[0]], dlg);
    select(rec.LinkOptions & LinkFlag::MultiDrop ? "opt485" : "opt422", dlg);
}

void Applier::modbusOptions()
{
    const QString dlg = QStringLiteral("modbus_prot");
    // The broadcast stations: the stored number's decimal digits read as octal give the
    // list position, "17" stored as 17 is position 15, the item "17".
    for (const auto &[list, k] : {std::pair{"cboStartAddress", 2}, {"cboEndAddress", 3}}) {
        bool ok = false;
        const int position = QString::number(X(k)).toInt(&ok, 8);
        if (ok && position < 64)
            pickPosition(list, position, dlg);
    }
    const int bits = X(1);
    select(bits & 1 ? "optAscii" : "optRtu", dlg);
    select(bits & 2 ? "optMaster" : "optSlave", dlg);
    select(bits & 4 ? "optYesBroadcast" : "optNoBroadcast", dlg);
    select(bits & 8 ? "optYesHalf" : "optNoHalf", dlg);
    static const char *const plcTypes[] = {"optPLC5", "Option2", "Option3"};
    if (X(4) <= 2)
        select(plcTypes[X(4)], dlg);
    // The register range (a slave's) or the address decode (a master's) share entry 5.
    const int range = X(5);
    // Each writes the entry even where it was selected already: the entry may hold what the
    // other frame's option wrote.
    if (range == 0)
        reselect("Option15", dlg);
    else if (range == 1)
        reselect("Option14", dlg);
    auto *modbus = m_ctx.forms.form<modbus_prot>(dlg);
    if (modbus && !(bits & 2) && range <= 9)
        modbus->selectRegisterRange(range);
    // The translation table: the entries, then every box shows its word.
    for (int n = 1; n <= 8; ++n)
        copyParams(10 * n - 2, 10 * n + 5);
    if (modbus)
        modbus->showRecordTable();
}

void Applier::networkSide()
{
    // The network options belong to the layouts that show them (the Brabender and drive
    // models); elsewhere the mode's own layout stands for the network, and only its lists
    // take the file's values.
    QAbstractButton *dh = m_r.button(Main, QStringLiteral("optSiemensDH"));
    const bool offered = dh && dh->isVisibleTo(m_ctx.forms.form(Main));
    switch (code(R(1))) {
    case 0:
        if (offered)
            select("optSiemensDH");
        speedRule();
        break;
    case 1:
        if (offered)
            select("optSiemensRIO");
        pickPosition("cboNetworkSpeed2", code(R(4)) - 8);
        pickPosition("cboRackNum", numeric(R(2)) - 1);
        pickPosition("cboRackRange", numeric(R(3)) - 1);
        break;
    case 2:
        if (offered)
            select("optSiemensMOD");
        pickPosition("cboModbusAdd", numeric(R(2)) - 1);
        break;
    default:
        break;
    }
}

void Applier::modeOption()
{
    switch (m_model.kind) {
    case ModelKind::Bridge:
        select("optNGD");
        break;
    case ModelKind::RioAdapter:
        select("optUCT");
        // 5. The rack map's bits.
        copyParams(2, 13);
        break;
    case ModelKind::Modbus:
        select("optLBW"); // its dialog is restored at step 13
        break;
    case ModelKind::DualDf1:
        select("optF7H");
        break;
    case ModelKind::AsciiDisplays:
    case ModelKind::Centerscan:
    case ModelKind::EatonDrives:
        select("optTBQ");
        break;
    case ModelKind::Scanners:
        select("optTBQ");
        copyParams(2, 5);
        break;
    case ModelKind::Zumbach:
        select("optTBQ");
        if (X(0) == 0)
            select("optQOF_Terminal");
        else if (X(0) == 1)
            select("optQOF_Host");
        copyParams(2, 5);
        break;
    case ModelKind::MultidropMaster:
        select("optPXA");
        break;
    case ModelKind::Brabender: {
        select("optJMR");
        static const char *const types[] = {"optSType",    "optMType", "optLMType",
                                            "optPT03Type", "optLType", "optSAType"};
        const int x = X(0);
        if (x >= 0 && x <= 5)
            select(types[x]);
        break;
    }
    case ModelKind::SiemensDrives:
        select("optWOLTA");
        switch (code(R(13))) {
        case 0:
            pickPosition("cboRackSize", 1);
            break;
        case 1:
            pickPosition("cboRackSize", 2);
            break;
        case 2:
            pickPosition("cboRackSize", 0);
            break;
        default:
            break;
        }
        break;
    case ModelKind::RioToModbus:
        select("optUCT");
        xajOptions();
        break;
    case ModelKind::ToshibaDrives:
        break;
    }
}

void Applier::xajOptions()
{
    const int slaves = numeric(R(11));
    if (slaves == 1)
        reselect("opt1Slave");
    else if (slaves == 2)
        select("opt2Slave");
    static const char *const groups[] = {"optSG0", "optSG2", "optSG4", "optSG6"};
    const int g = numeric(R(12));
    if (g >= 0 && g <= 3) {
        select("optQuarter");
        select(groups[g]);
    } else if (g == 4 || g == 5) {
        select("optHalf");
        select(groups[g - 4]);
    }
    pickPosition("cboSLAVE1", code(R(13)) - 1);
    pickPosition("cboSlave2", numeric(R(14)) - 1);
}

void Applier::channelBSpeed()
{
    QComboBox *list = m_r.combo(Main, QStringLiteral("cboAsyncSpeed"));
    if (!list)
        return;
    const int c = code(R(5));
    int position = c - 3;
    if (list->count() == 8) {
        if (c == 11)
            position = 7;
    } else if (list->count() == 13) {
        // The Siemens list: 19.2, 38.4, 93.75, 115.2, 125.0, 187.5, 230.4 after 9600.
        switch (c) {
        case 12: // 115.2
            position = 9;
            break;
        case 17: // 125.0
            position = 10;
            break;
        case 13:
            position = 12;
            break;
        case 16:
            position = 11;
            break;
        case 18:
            position = 8;
            break;
        case 11:
        case 14:
        case 15:
            return;
        default:
            if (c > 10)
                return;
            break;
        }
    }
    selectIndex(list, position);
}

} // namespace

void LoadChannelOptions(AppContext &ctx, bool channelB, int f)
{
    CrossForm r(ctx.forms);
    const QString form = channelB ? QStringLiteral("paramConfigB") : QStringLiteral("paramConfigC");
    auto sel = [&](const char *o) { r.select(form, QLatin1String(o)); };
    if (f & 2) {
        sel("optYes");
        sel(f & 4 ? "optEven" : "optOdd");
    } else {
        sel("optNone");
    }
    sel(f & 16 ? "opt7" : "opt8");
    sel(f & 8 ? "opt2" : "opt1");
    sel(f & 1 ? "optActive" : "optIgnore");
    if (!channelB)
        return;
    // The interface is the file's wherever the dialog offers it (the QN6000 units with a
    // serial connection frame); elsewhere channel B is RS-232C.
    QWidget *dialog = ctx.forms.form(form);
    QWidget *frame = r.widget(form, QStringLiteral("frmQN6000"));
    const bool offered = dialog && frame && frame->isVisibleTo(dialog);
    if (!(f & 32)) {
        sel("opt232");
    } else if (!offered) {
        r.deselect(form, QStringLiteral("opt232"));
        sel("opt232");
    } else if (ctx.session.model && ctx.session.model->kind == ModelKind::RioToModbus) {
        sel("opt422");
        if (auto *b = ctx.forms.form<paramConfigB>(form)) {
            if (f & 64)
                b->RS485ON();
            else
                b->RS422ON();
        }
    } else {
        sel("opt422");
    }
}

void ApplyLoadedConfiguration(AppContext &ctx)
{
    // The loaded values mean something only under the model they were read for.
    if (ctx.session.model)
        Applier(ctx, *ctx.session.model).run();
}
