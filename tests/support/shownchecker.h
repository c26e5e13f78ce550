// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the forms show, checked against the configuration message they send: every value shown
// on the main form, on the dialogs (opened as a user would) and on the summary, decoded here
// from the message's bytes rather than taken from the code under test.

#include "config/modelcatalog.h"
#include "editor/main4000.h"
#include "frame/formutil.h"
#include "frame/maindialog.h"
#include "message/configmessage.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMap>
#include <QPointer>
#include <QRadioButton>
#include <QRegularExpression>

#include "support/guibench.h"

// The wire's speed codes, restated here rather than taken from the code under test.
inline QString channelSpeedText(int code)
{
    static const QMap<int, QString> texts = {{3, "300"},    {4, "600"},    {5, "1200"},   {6, "2400"},
                                             {7, "4800"},   {8, "9600"},   {9, "19.2"},   {10, "38.4"},
                                             {11, "57.6"},  {12, "115.2"}, {13, "230.4"}, {16, "187.5"},
                                             {17, "125.0"}, {18, "93.75"}};
    return texts.value(code, QStringLiteral("code %1").arg(code));
}

inline QString networkSpeedText(int code)
{
    static const QMap<int, QString> texts = {{8, "57.6"}, {9, "115.2"}, {10, "230.4"}};
    return texts.value(code, QStringLiteral("code %1").arg(code));
}

inline QString octal(int v)
{
    return QString::number(v, 8);
}

// The configuration message, field by field.
struct Sent
{
    explicit Sent(const QByteArray &message) : body(message.mid(7, message.size() - 9)) {}
    int at(int offset) const { return offset < body.size() ? quint8(body.at(offset)) : -1; }
    int product() const { return at(22); }
    int protocolMode() const { return at(23); }
    int station() const { return at(24); }
    int high() const { return at(25); }
    int network() const { return at(26); }
    int chanBSpeed() const { return at(28); }
    int chanBFormat() const { return at(29); }
    int chanCSpeed() const { return at(30); }
    int chanCFormat() const { return at(31); }
    int link() const { return at(35); }
    int bus() const { return at(36); }
    int aux1() const { return at(38); }
    int aux2() const { return at(39); }
    int aux3() const { return at(40); }
    int aux4() const { return at(41); }
    int proto(int k) const { return at(50 + k); }
    int word(int k) const { return proto(k + 1) * 256 + proto(k); }
    // The Toshiba layout's drive settings.
    int ext(int k) const { return at(42 + k); }
    int extWord(int k) const { return ext(k + 1) * 256 + ext(k); }
    int length() const { return int(body.size()); }

    QByteArray body;
};

inline QString units(int speedCode)
{
    return speedCode <= 8 ? QStringLiteral("Baud") : QStringLiteral("Kbaud");
}

inline QString parity(int format)
{
    return !(format & 2)  ? QStringLiteral("NONE")
           : (format & 4) ? QStringLiteral("EVEN")
                          : QStringLiteral("ODD");
}

class Checker
{
public:
    Checker(GuiBench &b, const QString &model) : m_b(b), m_model(model) {}

    QStringList run()
    {
        const ConfigMessage message = BuildConfigMessage(m_b.session.rec);
        if (!message.ok())
            return {QStringLiteral("no message: ") + message.error};
        const Sent sent(message.bytes);
        summary(sent);
        mainForm(sent);
        // A dialog counts where the main form offers the button that opens it.
        // The channel and DF1 dialogs, the map and the data tables show the record afresh each
        // time they open: look at them as the user would find them, or as they are where the
        // user is in them.
        if (const char *opener = reachable({"Command3"}); opener && peek(opener, "paramConfigB"))
            channelDialog(sent.chanBFormat());
        if (const char *opener = reachable({"cmdAsyncC", "cmdChannelC"});
            opener && peek(opener, "paramConfigC"))
            channelDialog(sent.chanCFormat());
        if (const char *opener = reachable({"cmdProtParam"}); opener && peek(opener, "df_Param"))
            df1Dialog(sent);
        if (reachable({"cmdModBus"}) && peek("cmdModBus", "modbus_prot"))
            modbusDialog(sent);
        // A new Siemens dialog starts from its defaults: only one that exists is opened.
        if (reachable({"cmdSiemensParam"}) && loaded(QStringLiteral("siemens_param")) &&
            peek("cmdSiemensParam", "siemens_param"))
            siemensDialog(sent);
        if (reachable({"cmdToshibaParam"}))
            toshibaDialogs(sent);
        if (reachable({"cmdRioBt"}) && peek("cmdRioBt", "rio_bt"))
            rackMap(sent);
        if (reachable({"cmdYZE"}) && peek("cmdYZE", m_b.session.model->dataTableForm))
            dataTable(sent);
        return m_faults;
    }

private:
    void fault(const QString &what, const QString &shown, const QString &sent)
    {
        m_faults << QStringLiteral("%1 shows \"%2\", the message sends %3").arg(what, shown, sent);
    }
    void expectEqual(const QString &what, const QString &shown, const QString &expected)
    {
        if (shown != expected)
            fault(what, shown, QStringLiteral("\"%1\"").arg(expected));
    }

    void summary(const Sent &s)
    {
        const QStringList lines = summaryPage(m_b.forms, m_b.session);
        for (const QString &line : lines) {
            const qsizetype colon = line.indexOf(QLatin1String(": "));
            if (colon < 0)
                continue; // a caption-only row
            const QString caption = line.left(colon);
            const QString value = line.mid(colon + 2);
            const QString what = QStringLiteral("summary ") + caption;
            if (caption == QLatin1String("COMMUNICATION PORT"))
                continue; // the main menu writes it; no part of the configuration
            if (value.trimmed().isEmpty()) {
                fault(what, value, QStringLiteral("a value"));
                continue;
            }
            const QString channel = caption.startsWith(QLatin1String("CHANNEL B"))   ? QStringLiteral("B")
                                    : caption.startsWith(QLatin1String("CHANNEL C")) ? QStringLiteral("C")
                                                                                     : QString();
            if (!channel.isEmpty()) {
                const int speed = channel == QLatin1String("B") ? s.chanBSpeed() : s.chanCSpeed();
                const int format = channel == QLatin1String("B") ? s.chanBFormat() : s.chanCFormat();
                channelRow(what, caption.section(QLatin1String("PROTOCOL "), 1), value, speed, format);
                continue;
            }
            if (caption == QLatin1String("MODEL")) {
                expectEqual(what, value, m_model);
                if (s.product() != findModel(m_model)->productCode)
                    fault(what, value, QStringLiteral("product code %1").arg(s.product()));
            } else if (caption == QLatin1String("NETWORK PROTOCOL")) {
                static const QMap<QString, int> modes = {
                    {"DH+", 0}, {"AB - DH+", 0}, {"RIO", 1}, {"AB - RIO", 1}, {"MODBUS RTU", 2}};
                if (modes.value(value, -1) != s.protocolMode())
                    fault(what, value, QStringLiteral("protocol mode %1").arg(s.protocolMode()));
            } else if (caption == QLatin1String("NETWORK SPEED")) {
                expectEqual(what, value, networkSpeedText(s.network()));
            } else if (caption == QLatin1String("STATION NUMBER")) {
                expectEqual(what, value,
                            value.endsWith(QLatin1String(" Decimal"))
                                ? QString::number(s.station()) + " Decimal"
                                : octal(s.station()) + " Octal");
            } else if (caption == QLatin1String("HIGH ADDRESS") || caption == QLatin1String("PLC ADDRESS")) {
                expectEqual(what, value, octal(s.high()) + " Octal");
            } else if (caption == QLatin1String("RACK NUMBER")) {
                expectEqual(what, value, octal(s.station()) + " Octal");
            } else if (caption == QLatin1String("RACK RANGE")) {
                expectEqual(what, value, QString::number(s.high()));
            } else if (caption == QLatin1String("RACK SIZE")) {
                expectEqual(what, value, rackSize(s));
            } else if (caption == QLatin1String("MODE OF OPERATION") ||
                       caption == QLatin1String("DEVICE TYPE")) {
                const bool framing = caption == QLatin1String("MODE OF OPERATION");
                if (s.length() != 136)
                    fault(what, value, QStringLiteral("no Modbus parameters"));
                else if (framing)
                    expectEqual(what, value,
                                s.proto(1) & 1 ? QStringLiteral("ASCII") : QStringLiteral("RTU"));
                else
                    expectEqual(what, value,
                                s.proto(1) & 2 ? QStringLiteral("MASTER") : QStringLiteral("SLAVE"));
            } else if (caption == QLatin1String("SIEMENS PROTOCOL")) {
                static const QStringList protocols = {"SIMPLE", "DUST6B", "USS"};
                expectEqual(what, value,
                            protocols.value(s.aux2(), QStringLiteral("protocol %1").arg(s.aux2())));
            } else if (caption == QLatin1String("TOSHIBA PROTOCOL")) {
                static const QStringList drives = {"G2", "G3", "SUPER2E"};
                if (s.length() != 130)
                    fault(what, value, QStringLiteral("no drive settings"));
                else
                    expectEqual(what, value,
                                drives.value(s.ext(3), QStringLiteral("drive %1").arg(s.ext(3))));
            } else if (caption == QLatin1String("BRABENDER EQUIPMENT SELECTED")) {
                static const QStringList types = {"S", "M", "L/M2", "PT03", "L/M3", "S(A)"};
                expectEqual(what, value, types.value(s.proto(0), QStringLiteral("type %1").arg(s.proto(0))));
            }
        }
    }

    void channelRow(const QString &what, const QString &row, const QString &value, int speed, int format)
    {
        if (row == QLatin1String("ASYNC SPEED"))
            expectEqual(what, value, channelSpeedText(speed) + QLatin1Char(' ') + units(speed));
        else if (row == QLatin1String("PARITY"))
            expectEqual(what, value, parity(format));
        else if (row == QLatin1String("DATA BITS"))
            expectEqual(what, value, format & 16 ? QStringLiteral("7") : QStringLiteral("8"));
        else if (row == QLatin1String("STOP BITS"))
            expectEqual(what, value, format & 8 ? QStringLiteral("2") : QStringLiteral("1"));
        else if (row == QLatin1String("HANDSHAKING"))
            expectEqual(what, value, format & 1 ? QStringLiteral("ACTIVE") : QStringLiteral("IGNORE"));
    }

    QString rackSize(const Sent &s) const
    {
        // The RIO-to-Modbus model keeps its rack size in the starting-group byte.
        if (m_model == QLatin1String("QN6000-XAJ"))
            return s.aux2() <= 3 ? QStringLiteral("1/4") : QStringLiteral("1/2");
        static const QStringList sizes = {"1/4", "1/2", "FULL"};
        return sizes.value(s.aux3(), QStringLiteral("size %1").arg(s.aux3()));
    }

    bool shown(QWidget *w, QWidget *form) const { return w && w->isVisibleTo(form); }

    // The first of the openers the main form shows, or nullptr.
    const char *reachable(std::initializer_list<const char *> openers)
    {
        QWidget *form = m_b.forms.form(QStringLiteral("main4000"));
        for (const char *name : openers) {
            if (shown(form->findChild<QWidget *>(QLatin1String(name)), form))
                return name;
        }
        return nullptr;
    }

    void mainForm(const Sent &s)
    {
        QWidget *form = m_b.forms.form(QStringLiteral("main4000"));
        auto combo = [&](const char *name) -> QComboBox * {
            auto *c = form->findChild<QComboBox *>(QLatin1String(name));
            return shown(c, form) ? c : nullptr;
        };
        auto check = [&](const char *name, const QString &expected) {
            if (QComboBox *c = combo(name))
                expectEqual(QStringLiteral("main4000 ") + QLatin1String(name), c->currentText(), expected);
        };
        check("cboStationNumber", octal(s.station()));
        check("cboModbusAdd", QString::number(s.station()));
        check("cboRackNum", octal(s.station()));
        check("cboHighAddress", octal(s.high()));
        check("cboRackRange", QString::number(s.high()));
        if (m_model != QLatin1String("QN6000-XAJ"))
            check("cboRackSize", rackSize(s));
        check("cboNetworkSpeed", networkSpeedText(s.network()));
        check("cboNetworkSpeed2", networkSpeedText(s.network()));
        if (shown(form->findChild<QWidget *>(QStringLiteral("frmBusProt")), form))
            check("cboAsyncSpeed", channelSpeedText(s.chanBSpeed()));
        check("cboAsyncSpeedC", channelSpeedText(s.chanCSpeed()));
        check("cboChannelCSpeed", channelSpeedText(s.chanCSpeed()));
        check("cboSLAVE1", QString::number(s.aux3()));
        check("cboSlave2", QString::number(s.aux4()));
        auto *f7h = form->findChild<QLineEdit *>(QStringLiteral("txtF7H"));
        if (shown(f7h, form))
            expectEqual(QStringLiteral("main4000 txtF7H"), f7h->text(), octal(s.station() + 1));

        // The options that stand for a value, where they show.
        const auto checkedOf = [&](QStringList names) -> QString {
            QString found;
            for (const QString &n : names) {
                auto *o = form->findChild<QAbstractButton *>(n);
                if (shown(o, form) && o->isChecked())
                    found = n;
            }
            return found;
        };
        const QStringList modes = {"optKF2NGD", "optNGD", "optPXA", "optF7H",  "optUCT",
                                   "optTBQ",    "optJMR", "optLBW", "optEPV4", "optWOLTA"};
        const QString mode = checkedOf(modes);
        if (mode.isEmpty()) {
            fault(QStringLiteral("main4000 mode row"), QStringLiteral("no mode selected"),
                  QStringLiteral("a mode"));
        } else {
            const int bus = mode == QLatin1String("optKF2NGD")                                          ? 0
                            : mode == QLatin1String("optF7H")                                           ? 2
                            : mode == QLatin1String("optUCT") && m_model != QLatin1String("QN6000-XAJ") ? 4
                                                                                                        : 1;
            if (s.bus() != bus)
                fault(QStringLiteral("main4000 mode"), mode, QStringLiteral("bus type %1").arg(s.bus()));
        }
        const QString network = checkedOf({"optSiemensDH", "optSiemensRIO", "optSiemensMOD"});
        if (!network.isEmpty()) {
            const int pm = network == QLatin1String("optSiemensDH")    ? 0
                           : network == QLatin1String("optSiemensRIO") ? 1
                                                                       : 2;
            if (s.protocolMode() != pm)
                fault(QStringLiteral("main4000 network"), network,
                      QStringLiteral("protocol mode %1").arg(s.protocolMode()));
        }
        const QStringList types = {"optSType",    "optMType", "optLMType",
                                   "optPT03Type", "optLType", "optSAType"};
        if (const QString t = checkedOf(types); !t.isEmpty() && types.indexOf(t) != s.proto(0))
            fault(QStringLiteral("main4000 device type"), t, QStringLiteral("type %1").arg(s.proto(0)));
        if (const QString z = checkedOf({"optQOF_Terminal", "optQOF_Host"}); !z.isEmpty()) {
            if ((z == QLatin1String("optQOF_Host")) != (s.proto(0) == 1))
                fault(QStringLiteral("main4000 Zumbach mode"), z, QStringLiteral("entry %1").arg(s.proto(0)));
        }
        if (const QString r = checkedOf({"optQuarter", "optHalf"}); !r.isEmpty()) {
            const bool half = r == QLatin1String("optHalf");
            if (half != (s.aux2() >= 4))
                fault(QStringLiteral("main4000 rack size"), r,
                      QStringLiteral("starting group code %1").arg(s.aux2()));
            const QString g = checkedOf({"optSG0", "optSG2", "optSG4", "optSG6"});
            const int offset = QStringList{"optSG0", "optSG2", "optSG4", "optSG6"}.indexOf(g);
            if (g.isEmpty() || s.aux2() != (half ? 4 : 0) + offset)
                fault(QStringLiteral("main4000 starting group"), g, QStringLiteral("code %1").arg(s.aux2()));
        }
        if (const QString n = checkedOf({"opt1Slave", "opt2Slave"}); !n.isEmpty()) {
            if (s.aux1() != (n == QLatin1String("opt1Slave") ? 1 : 2))
                fault(QStringLiteral("main4000 slaves"), n, QStringLiteral("%1 slaves").arg(s.aux1()));
        }
    }

    // Each frame that shows has one option selected, the one the record's bit stands for.
    void frame(QWidget *form, const char *frameName, const char *setOption, const char *clearOption, bool bit)
    {
        auto *f = form->findChild<QWidget *>(QLatin1String(frameName));
        if (!shown(f, form))
            return;
        auto *set = form->findChild<QAbstractButton *>(QLatin1String(setOption));
        auto *clear = form->findChild<QAbstractButton *>(QLatin1String(clearOption));
        const QString what = form->objectName() + QLatin1Char(' ') + QLatin1String(frameName);
        const QString selected = set->isChecked()     ? QLatin1String(setOption)
                                 : clear->isChecked() ? QLatin1String(clearOption)
                                                      : QStringLiteral("nothing");
        expectEqual(what, selected, QLatin1String(bit ? setOption : clearOption));
    }

    void channelDialog(int format)
    {
        QWidget *form = m_peeked;
        const QString name = form->objectName();
        frame(form, "Frame7", "optYes", "optNone", format & 2);
        frame(form, "frmParity", "optEven", "optOdd", format & 4);
        frame(form, "Frame4", "opt7", "opt8", format & 16);
        frame(form, "Frame5", "opt2", "opt1", format & 8);
        frame(form, "Frame2", "optActive", "optIgnore", format & 1);
        frame(form, "frmQN6000", "opt422", "opt232", format & 32);
        if ((format & 2) != 0 && !shown(form->findChild<QWidget *>(QStringLiteral("frmParity")), form))
            fault(name + QStringLiteral(" frmParity"), QStringLiteral("hidden"), QStringLiteral("parity on"));
        unpeek();
    }

    void df1Dialog(const Sent &s)
    {
        QWidget *form = m_peeked;
        const int l = s.link();
        frame(form, "Frame7", "optCRC", "optBCC", l & 1);
        frame(form, "Frame4", "optAccept", "optIgnore", l & 2);
        frame(form, "Frame5", "optExecEmbed", "optNoneEmbed", l & 4);
        frame(form, "Frame2", "optPass", "optExecDiag", l & 8);
        frame(form, "frmConfig", "optMultiDrop", "optPoint", l & 16);
        frame(form, "frmPXA", "opt485", "opt422", l & 16);
        frame(form, "frmRTS", "optRTS", "optNoneLoop", l & 32);
        frame(form, "frmSTN", "optSRC", "optDST", l & 32);
        unpeek();
    }

    // The one option of a frame that is selected, or "nothing".
    QString selectedIn(QWidget *form, const QStringList &options) const
    {
        QString found = QStringLiteral("nothing");
        for (const QString &o : options) {
            if (form->findChild<QAbstractButton *>(o)->isChecked())
                found = o;
        }
        return found;
    }
    // A frame of several options, each standing for a value.
    void choice(QWidget *form, const char *frameName, const QStringList &options, int value)
    {
        if (!shown(form->findChild<QWidget *>(QLatin1String(frameName)), form))
            return;
        expectEqual(form->objectName() + QLatin1Char(' ') + QLatin1String(frameName),
                    selectedIn(form, options),
                    options.value(value, QStringLiteral("no option for %1").arg(value)));
    }
    // A number box shows the value sent as a plain number of its base ("0012", not "12G4";
    // "2", not "2.5"); an empty box hides the word that is still sent.
    void numberBox(QWidget *form, const QString &name, int sent, int base = 10)
    {
        auto *box = form->findChild<QLineEdit *>(name);
        if (!shown(box, form))
            return;
        static const QRegularExpression decimal(QStringLiteral("^-?[0-9]+$"));
        static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{1,4}$"));
        bool ok = (base == 16 ? hex : decimal).match(box->text()).hasMatch();
        if (ok)
            ok = box->text().toInt(nullptr, base) == sent;
        if (!ok)
            fault(form->objectName() + QLatin1Char(' ') + name, box->text(), QString::number(sent, base));
    }

    QWidget *loaded(const QString &name) const { return m_b.forms.existing(name); }

    void modbusDialog(const Sent &s)
    {
        QWidget *form = m_peeked;
        const int bits = s.proto(1);
        frame(form, "Frame7", "optAscii", "optRtu", bits & 1);
        frame(form, "Frame6", "optMaster", "optSlave", bits & 2);
        frame(form, "frmBroadcast", "optYesBroadcast", "optNoBroadcast", bits & 4);
        frame(form, "frmHalDuplex", "optYesHalf", "optNoHalf", bits & 8);
        choice(form, "frmABtype", {"optPLC5", "Option2", "Option3"}, s.proto(4));
        choice(form, "frmModRegister",
               {"Option6", "Option5", "Option4", "Option7", "Option8", "Option9", "Option10", "Option11",
                "Option12", "Option13"},
               s.proto(5));
        choice(form, "frmMasterMode", {"Option15", "Option14"}, s.proto(5));
        const bool broadcastRange =
            shown(form->findChild<QWidget *>(QStringLiteral("frmBroadcastAddress")), form);
        if (broadcastRange && (bits & 2))
            fault(QStringLiteral("modbus_prot frmBroadcastAddress"), QStringLiteral("shown"),
                  QStringLiteral("a master"));
        if (broadcastRange) {
            for (const auto &[list, k] : {std::pair{"cboStartAddress", 2}, {"cboEndAddress", 3}}) {
                auto *c = form->findChild<QComboBox *>(QLatin1String(list));
                if (c->currentText().toInt() != s.proto(k))
                    fault(QStringLiteral("modbus_prot ") + QLatin1String(list), c->currentText(),
                          QString::number(s.proto(k)));
            }
        }
        for (int row = 1; row <= 8; ++row) {
            int column = 0;
            for (const char *name : {"txtStart", "txtEnd", "txtFile", "txtWord"})
                numberBox(form, QLatin1String(name) + QString::number(row),
                          s.word(8 + 10 * (row - 1) + 2 * column++));
        }
        unpeek();
    }

    void siemensDialog(const Sent &s)
    {
        QWidget *form = m_peeked;
        choice(form, "Frame6", {"optSimple", "optDUST6B", "optUSS"}, s.aux2());
        frame(form, "Frame2", "optYesFunc", "optNoFunc", s.aux4() & 1);
        frame(form, "Frame3", "optOnUss", "optOffUss", s.aux4() & 2);
        frame(form, "Frame4", "optPKW4", "optPKW3", s.aux4() & 4);
        frame(form, "Frame5", "optYesPM", "optNoPM", s.aux4() & 8);
        choice(form, "Frame7", {"optNone", "opt14ms", "opt28ms", "opt42ms", "opt56ms"}, s.proto(0));
        frame(form, "frmPXA", "opt485", "opt422", s.link() & 16);
        auto *telegram = form->findChild<QComboBox *>(QStringLiteral("cboTelegram"));
        expectEqual(QStringLiteral("siemens_param cboTelegram"), telegram->currentText(),
                    QString::number(s.aux1()));
        wiring(form, s.link() & 16);
        unpeek();
    }

    // The one wiring picture that shows is the connection's.
    void wiring(QWidget *form, bool twoWire)
    {
        const bool four = form->findChild<QWidget *>(QStringLiteral("pic422"))->isVisibleTo(form);
        const bool two = form->findChild<QWidget *>(QStringLiteral("pic485"))->isVisibleTo(form);
        if (four == two || two != twoWire)
            fault(form->objectName() + QStringLiteral(" wiring"),
                  two ? QStringLiteral("two-wire") : QStringLiteral("four-wire"),
                  twoWire ? QStringLiteral("RS-485") : QStringLiteral("RS-422"));
    }

    void toshibaDialogs(const Sent &s)
    {
        if (s.length() != 130) {
            fault(QStringLiteral("main4000 cmdToshibaParam"), QStringLiteral("shown"),
                  QStringLiteral("no drive settings"));
            return;
        }
        if (QWidget *vfd = loaded(QStringLiteral("toshiba_VFD"))) {
            choice(vfd, "Frame1", {"optG2", "optG3", "optSuper2E"}, s.ext(3));
            choice(vfd, "Frame2", {"optNoNet", "optEStop", "optStopDecel", "optStopCoast"}, s.ext(2));
            frame(vfd, "frmPXA", "opt485", "opt422", s.link() & 16);
            numberBox(vfd, QStringLiteral("txtIntRetries"), s.ext(0));
            numberBox(vfd, QStringLiteral("txtPollingRetries"), s.ext(1));
            numberBox(vfd, QStringLiteral("txtDelay"), s.extWord(4));
            wiring(vfd, s.link() & 16);
        }
        if (QWidget *table = loaded(QStringLiteral("toshiba_Super2E"))) {
            for (int k = 0; k < 40; ++k)
                numberBox(table, QStringLiteral("txtWD%1").arg(20 + k), s.word(2 * k), k < 10 ? 10 : 16);
        }
    }

    // Opens a dialog from its button, as the user does; the check then closes it again. A
    // dialog the user is in is looked at as it is, and stays open.
    bool peek(const char *opener, const char *dialog)
    {
        m_peeked = m_b.forms.existing(QLatin1String(dialog));
        m_inDialog = m_peeked && m_peeked->isVisible();
        if (m_inDialog)
            return true;
        // In another dialog: this one cannot be opened now, and shows the record when it is.
        QWidget *main = m_b.forms.form(QStringLiteral("main4000"));
        if (!main->isVisible() || !main->isEnabled())
            return false;
        m_b.button("main4000", opener)->click();
        m_peeked = m_b.forms.existing(QLatin1String(dialog));
        if (!m_peeked || !m_peeked->isVisible()) {
            fault(QStringLiteral("main4000 ") + QLatin1String(opener), QStringLiteral("opens nothing"),
                  QLatin1String(dialog));
            return false;
        }
        return true;
    }
    void unpeek()
    {
        if (!m_inDialog)
            static_cast<MainFormDialog *>(m_peeked.data())->accept();
    }

    void rackMap(const Sent &s)
    {
        QWidget *form = m_peeked;
        const int range = s.high();
        choice(form, "frmRackRange",
               {"optRIO1", "optRIO2", "optRIO3", "optRIO4", "optRIO5", "optRIO6", "optRIO7"}, range - 1);
        for (int r = 1; r <= 7; ++r) {
            const QString rack = QStringLiteral("frmRack%1").arg(r);
            if (shown(form->findChild<QWidget *>(rack), form) != (r <= range))
                fault(QStringLiteral("rio_bt ") + rack,
                      r <= range ? QStringLiteral("hidden") : QStringLiteral("shown"),
                      QStringLiteral("rack range %1").arg(range));
            expectEqual(QStringLiteral("rio_bt lblRack%1").arg(r),
                        form->findChild<QLabel *>(QStringLiteral("lblRack%1").arg(r))->text(),
                        QStringLiteral("Rack Addr ") + octal(s.station() + r - 1));
            // A rack outside the range shows nothing; its bits are sent and the unit skips them.
            if (r > range)
                continue;
            // "Clear All" stands over a full rack only.
            const bool full = s.proto(2 * r - 2) == 0xFF && s.proto(2 * r - 1) == 0xFF;
            auto *all = form->findChild<QAbstractButton *>(QStringLiteral("Check%1").arg(r));
            static const char *const ordinals[] = {"1st", "2nd", "3rd", "4th", "5th", "6th", "7th"};
            expectEqual(QStringLiteral("rio_bt Check%1").arg(r),
                        all->text() + (all->isChecked() ? QStringLiteral(", ticked") : QString()),
                        QStringLiteral("%1 All %2 Rack%3")
                            .arg(full ? QStringLiteral("Clear") : QStringLiteral("Enable"),
                                 QLatin1String(ordinals[r - 1]),
                                 full ? QStringLiteral(", ticked") : QString()));
            for (int g = 0; g < 8; ++g) {
                for (int m = 0; m < 2; ++m) {
                    const bool bit = s.proto(2 * (r - 1) + g / 4) & (1 << (2 * (g % 4) + m));
                    auto *box =
                        form->findChild<QAbstractButton *>(QStringLiteral("chk%1%2%3").arg(r).arg(g).arg(m));
                    if (box->isChecked() != bit)
                        fault(QStringLiteral("rio_bt ") + box->objectName(),
                              box->isChecked() ? QStringLiteral("ticked") : QStringLiteral("clear"),
                              bit ? QStringLiteral("the bit set") : QStringLiteral("the bit clear"));
                }
            }
        }
        unpeek();
    }

    void dataTable(const Sent &s)
    {
        QWidget *form = m_peeked;
        numberBox(form, QStringLiteral("txtXXX"), s.word(2));
        numberBox(form, QStringLiteral("txtYYY"), s.word(4));
        unpeek();
    }

    GuiBench &m_b;
    QString m_model;
    QStringList m_faults;
    QPointer<QWidget> m_peeked;
    bool m_inDialog = false;
};
