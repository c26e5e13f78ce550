#include "loader.h"

#include "apply/applyloaded.h"
#include "config/speedcodes.h"
#include "editor/datatable.h"
#include "editor/df_param.h"
#include "editor/modbus_prot.h"
#include "editor/paramconfigb.h"
#include "editor/rio_bt.h"
#include "editor/toshiba.h"
#include "files/configfile.h"
#include "files/fileomissions.h"
#include "frame/appcontext.h"
#include "frame/crossform.h"
#include "frame/formutil.h"
#include "session/session.h"

#include <QAbstractButton>
#include <QComboBox>

#include <tuple>

namespace {

const QString Main = QStringLiteral("main4000");

class Applier
{
public:
    Applier(AppContext &ctx, const ModelInfo &model, const ConfigRecord &applied)
        : m_ctx(ctx)
        , m_r(ctx.forms)
        , m_t(ctx.session.loaded)
        , m_model(model)
        , m_applied(applied)
    {
    }

    void run();

private:
    const LoadedValue &R(int n) const { return m_t[n - 1]; }
    int X(int k) const { return m_t[slotOfProtoParam(k)].leadingNumber(); }
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
    bool isShown(const char *name, const QString &form = Main)
    {
        QWidget *w = m_r.widget(form, QLatin1String(name));
        return w && w->isVisibleTo(m_ctx.forms.form(form));
    }
    // The list, where the form shows it.
    QComboBox *shownList(const char *name, const QString &form = Main)
    {
        return isShown(name, form) ? m_r.combo(form, QLatin1String(name)) : nullptr;
    }
    // Picks position n of a list the form shows; a position the list does not have shows the
    // fallback item instead (the core's apply step has put the fallback in the record).
    void pick(QComboBox *list, int n, const QString &fallback)
    {
        if (n >= 0 && n < list->count()) {
            selectIndex(list, n);
            return;
        }
        if (!selectText(list, fallback))
            selectIndex(list, list->currentIndex());
    }
    // The same for an item named by its text.
    void pickText(QComboBox *list, const QString &text, const QString &fallback)
    {
        pick(list, text.isEmpty() ? -1 : list->findText(text), fallback);
    }

    void speedRule(QComboBox *list, bool shown);
    void networkOption();
    void networkLists();
    void channelSpeeds();
    void siemensOptions();
    void modbusOptions();
    void modeOption();
    void xajOptions();
    void rackSize();

    AppContext &m_ctx;
    CrossForm m_r;
    const LoadedValues &m_t;
    const ModelInfo &m_model;
    const ConfigRecord &m_applied; // the record the forms are to show
};

void Applier::run()
{
    // The values' steps in the order the forms take them. The handlers write the record as the
    // options and lists are picked; the core's record replaces what they leave.

    // 3. The operating mode, before the network side: a mode layout that runs lays out its
    // own network side, which the file's then overrides.
    if (R(10).code() == 0)
        select("optKF2NGD");
    else
        modeOption();

    // 2. The network option, then the lists the layout now shows take the file's values.
    networkOption();
    networkLists();
    if (m_model.kind == ModelKind::SiemensDrives || m_model.kind == ModelKind::ToshibaDrives)
        rackSize();

    // 7, 8. Serial speeds.
    channelSpeeds();

    // 12. The Siemens drives' dialog. One its close box destroyed comes back first, as it
    // would open.
    if (QAbstractButton *wolta = m_r.button(Main, QStringLiteral("optWOLTA")); wolta && wolta->isChecked()) {
        m_ctx.forms.form(QStringLiteral("siemens_param"));
        siemensOptions();
    }

    // 13. The Modbus dialog of the LBW models.
    if (m_model.kind == ModelKind::Modbus)
        modbusOptions();
}

void Applier::networkOption()
{
    // The network options belong to the layouts that show them (the Brabender and drive
    // models); elsewhere the mode's own layout stands for the network.
    if (!isShown("optSiemensDH"))
        return;
    static const char *const options[] = {"optSiemensDH", "optSiemensRIO", "optSiemensMOD"};
    const int m = R(1).code();
    if (m >= 0 && m <= 2)
        select(options[m]);
    else
        reselect("optSiemensDH");
}

void Applier::speedRule(QComboBox *list, bool shown)
{
    // A QN4000 list has no 230.4: the fastest it has stands in for it.
    const int c = R(4).code();
    if (c == 10 && m_ctx.session.rec.FamilyCode != QLatin1String("6000") &&
        list->findText(speedText(NetworkSpeeds, c)) < 0) {
        selectIndex(list, 1);
    } else if (shown) {
        pickText(list, speedText(NetworkSpeeds, c), QStringLiteral("57.6"));
    } else {
        selectIndex(list, c - 8);
    }
}

void Applier::networkLists()
{
    // Station (2), high address (3) and network speed (4): each is one byte that another list
    // stands for in each layout. The list the layout shows takes the value; a hidden one must
    // not write over it what nothing shows. Where none shows, the lists of the file's network
    // side take it.
    const ConfigRecord &rec = m_applied;
    const int network = R(1).code();

    const int c = R(4).code();
    if (QComboBox *speed = shownList("cboNetworkSpeed"))
        speedRule(speed, true);
    else if (QComboBox *speed2 = shownList("cboNetworkSpeed2"))
        pickText(speed2, speedText(NetworkSpeeds, c), QStringLiteral("57.6"));
    else if (network == 1)
        pickPosition("cboNetworkSpeed2", c - 8);
    else if (QComboBox *hidden = m_r.combo(Main, QStringLiteral("cboNetworkSpeed")))
        speedRule(hidden, false); // sent all the same: the file's, whatever was chosen before

    const int station = R(2).leadingNumber();
    if (QComboBox *list = shownList("cboStationNumber"))
        pick(list, station, QStringLiteral("1"));
    else if (QComboBox *rack = shownList("cboRackNum"))
        pick(rack, station - 1, QStringLiteral("1"));
    else if (QComboBox *modbus = shownList("cboModbusAdd"))
        pick(modbus, station - 1, QStringLiteral("1"));
    else if (network == 1)
        pickPosition("cboRackNum", station - 1);
    else if (network == 2)
        pickPosition("cboModbusAdd", station - 1);

    const int high = R(3).leadingNumber();
    if (QComboBox *range = shownList("cboRackRange")) {
        pick(range, high - 1, QStringLiteral("1"));
    } else if (QComboBox *list = shownList("cboHighAddress")) {
        // The bridging layouts keep the high address one above the station, as the station's
        // pick has just set it; the others start from 0.
        const bool bridging = rec.BusType == CharPair{1, 0} && rec.StationNumber < 63;
        pick(list, high, bridging ? QString::number(rec.StationNumber + 1, 8) : QStringLiteral("0"));
    } else {
        pickPosition("cboHighAddress", high);
    }
}

void Applier::rackSize()
{
    // The drive layouts' list: "FULL", then "1/4" and "1/2" (codes 2, 0, 1).
    static const QStringList sizes = {QStringLiteral("1/4"), QStringLiteral("1/2"), QStringLiteral("FULL")};
    const int c = R(13).code();
    const QString size = sizes.value(c);
    if (QComboBox *list = shownList("cboRackSize"))
        pickText(list, size, QStringLiteral("FULL"));
    else if (QComboBox *hidden = m_r.combo(Main, QStringLiteral("cboRackSize")); hidden && !size.isEmpty())
        selectText(hidden, size);
}

void Applier::channelSpeeds()
{
    // Each list takes the item that stands for the file's code. The file's code where the list
    // has none: a list that shows takes 9600 instead, and the user hears of it.
    const int b = R(5).code();
    if (QComboBox *list = shownList("cboAsyncSpeed"))
        pickText(list, speedText(ChannelSpeeds, b), QStringLiteral("9600"));
    else if (QComboBox *hidden = m_r.combo(Main, QStringLiteral("cboAsyncSpeed")))
        selectText(hidden, speedText(ChannelSpeeds, b));

    // A channel C code of 0 or 255 stands for no speed: both lists stay as they are.
    const int c = R(7).code();
    if (c == 0 || c == 255)
        return;
    for (const auto &[name, label] :
         {std::pair{"cboAsyncSpeedC", "lblAsyncC"}, {"cboChannelCSpeed", "lblChannelCSpeed"}}) {
        if (QComboBox *list = shownList(name))
            pickText(list, speedText(ChannelSpeeds, c), QStringLiteral("9600"));
        else if (QComboBox *hidden = m_r.combo(Main, QLatin1String(name)))
            selectText(hidden, speedText(ChannelSpeeds, c));
    }
}

void Applier::siemensOptions()
{
    const ConfigRecord &rec = m_applied;
    const QString dlg = QStringLiteral("siemens_param");
    // A decimal text as the lists write it: "05" is the item "5".
    const auto decimal = [](const QString &t) {
        bool ok = false;
        const int n = t.toInt(&ok);
        return ok && n >= 0 ? QString::number(n) : t;
    };
    if (QComboBox *telegram = m_r.combo(dlg, QStringLiteral("cboTelegram")))
        pickText(telegram, decimal(R(11).asWritten()), QStringLiteral("20"));
    static const QStringList protocols = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")};
    static const char *const protocolOptions[] = {"optSimple", "optDUST6B", "optUSS"};
    if (const qsizetype p = protocols.indexOf(decimal(R(12).asWritten())); p >= 0)
        select(protocolOptions[p], dlg);
    else
        reselect("optSimple", dlg);
    const int f = rec.AuxByte4;
    select(f & 1 ? "optYesFunc" : "optNoFunc", dlg);
    select(f & 2 ? "optOnUss" : "optOffUss", dlg);
    select(f & 4 ? "optPKW4" : "optPKW3", dlg);
    select(f & 8 ? "optYesPM" : "optNoPM", dlg);
    static const char *const delays[] = {"optNone", "opt14ms", "opt28ms", "opt42ms", "opt56ms"};
    if (rec.ProtoParam[0] <= 4)
        select(delays[rec.ProtoParam[0]], dlg);
    else
        reselect("optNone", dlg);
    select(rec.LinkOptions & LinkFlag::MultiDrop ? "opt485" : "opt422", dlg);
}

void Applier::modbusOptions()
{
    const QString dlg = QStringLiteral("modbus_prot");
    const int bits = X(1);
    const bool master = bits & 2;
    select(bits & 1 ? "optAscii" : "optRtu", dlg);
    select(master ? "optMaster" : "optSlave", dlg);
    select(bits & 4 ? "optYesBroadcast" : "optNoBroadcast", dlg);
    select(bits & 8 ? "optYesHalf" : "optNoHalf", dlg);
    // The broadcast stations, once the layout shows them or not: the stored number's decimal
    // digits read as octal give the list position, "17" stored as 17 is position 15, the item
    // "17".
    for (const auto &[list, k, field] : {std::tuple{"cboStartAddress", 2, "BROADCAST ADDRESSES START"},
                                         {"cboEndAddress", 3, "BROADCAST ADDRESSES END"}}) {
        bool ok = false;
        const int position = QString::number(X(k)).toInt(&ok, 8);
        if (QComboBox *shown = shownList(list, dlg))
            pick(shown, ok ? position : -1, QStringLiteral("00"));
        else if (ok && position < 64)
            pickPosition(list, position, dlg);
    }
    static const char *const plcTypes[] = {"optPLC5", "Option2", "Option3"};
    const int type = X(4);
    if (type >= 0 && type <= 2)
        select(plcTypes[type], dlg);
    else if (isShown("frmABtype", dlg))
        reselect("optPLC5", dlg);
    // The register range (a slave's) or the address decode (a master's) share entry 5.
    const int range = X(5);
    // Each writes the entry even where it was selected already: the entry may hold what the
    // other frame's option wrote.
    if (range == 0)
        reselect("Option15", dlg);
    else if (range == 1)
        reselect("Option14", dlg);
    else if (master)
        reselect("Option15", dlg);
    auto *modbus = m_ctx.forms.form<modbus_prot>(dlg);
    if (modbus && !master) {
        if (range >= 0 && range <= 9) {
            modbus->selectRegisterRange(range);
        } else {
            modbus->selectRegisterRange(0);
        }
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
        break;
    case ModelKind::Zumbach:
        select("optTBQ");
        if (X(0) == 0)
            select("optQOF_Terminal");
        else if (X(0) == 1)
            select("optQOF_Host");
        else
            reselect("optQOF_Terminal");
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
        else
            reselect("optSType");
        break;
    }
    case ModelKind::SiemensDrives:
        select("optWOLTA"); // its rack size once the network side shows it or not
        break;
    case ModelKind::RioToModbus:
        select("optUCT");
        xajOptions();
        break;
    case ModelKind::ToshibaDrives:
        select("optEPV4");
        break;
    }
}

void Applier::xajOptions()
{
    // The rack size first: a half rack selects two slaves, which a file of one slave on a
    // half rack then takes back; a quarter rack has room for one.
    static const char *const groups[] = {"optSG0", "optSG2", "optSG4", "optSG6"};
    const int g = R(12).leadingNumber();
    if (g >= 0 && g <= 3) {
        select("optQuarter");
        select(groups[g]);
    } else if (g == 4 || g == 5) {
        select("optHalf");
        select(groups[g - 4]);
    } else {
        reselect("optQuarter");
    }
    const int slaves = R(11).leadingNumber();
    if (slaves == 1)
        reselect("opt1Slave");
    else if (slaves == 2 && isShown("opt2Slave"))
        select("opt2Slave");
    else {
        // As many as the rack size offers, whatever was chosen before.
        const char *fallback = isShown("opt2Slave") ? "opt2Slave" : "opt1Slave";
        reselect(fallback);
    }

    const int first = R(13).code();
    if (QComboBox *list = shownList("cboSLAVE1"))
        pick(list, first - 1, QStringLiteral("1"));
    else
        pickPosition("cboSLAVE1", first - 1);
    const int second = R(14).leadingNumber();
    if (QComboBox *list = shownList("cboSlave2"))
        pick(list, second - 1, QStringLiteral("2"));
    else
        pickPosition("cboSlave2", second - 1);
}

// The dialogs that exist show the record as it now stands (the others show it when opened).
void showRecordInDialogs(AppContext &ctx)
{
    FormRegistry &forms = ctx.forms;
    for (const char *name : {"paramConfigB", "paramConfigC"}) {
        if (auto *d = qobject_cast<ChannelParams *>(forms.existing(QLatin1String(name))))
            d->showRecord();
    }
    if (auto *d = qobject_cast<df_Param *>(forms.existing(QStringLiteral("df_Param"))))
        d->showRecord();
    if (auto *d = qobject_cast<rio_bt *>(forms.existing(QStringLiteral("rio_bt"))))
        d->fillFromRecord();
    if (auto *d = qobject_cast<modbus_prot *>(forms.existing(QStringLiteral("modbus_prot"))))
        d->showRecordTable();
    if (auto *d = qobject_cast<toshiba_VFD *>(forms.existing(QStringLiteral("toshiba_VFD"))))
        d->showWiring();
    if (const char *table = ctx.session.model->dataTableForm) {
        if (auto *d = qobject_cast<DataTableDialog *>(forms.existing(QLatin1String(table))))
            d->showRecordWords();
    }
}

} // namespace

QList<RefusedValue> ApplyLoadedConfiguration(AppContext &ctx)
{
    // The loaded values mean something only under the model they were read for.
    if (!ctx.session.model)
        return {};
    const ModelInfo &model = *ctx.session.model;
    // The record is the core's: the file applied to the model's fresh configuration, so the
    // same file gives the same bytes whatever was configured before.
    // What the file has no place for stays as the program holds it.
    const bool oldNgd = model.asksFlashQuestion() && ctx.session.rec.UploadReplyLength == 54;
    ConfigRecord base = freshConfiguration(model, oldNgd);
    keepWhatTheFileOmits(model, ctx.session.rec, base);
    const AppliedConfiguration applied = applyLoadedValues(ctx.session.loaded, model, base);
    // The forms are laid out for it and show it. Their handlers write the record as the
    // options and lists are picked; the core's record then stands.
    Applier applier(ctx, model, applied.record);
    applier.run();
    ctx.session.rec = applied.record;
    showRecordInDialogs(ctx);
    return applied.refused;
}
