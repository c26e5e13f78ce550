// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>

// The one configuration of a converter, as the editor, the file and the message see it.
//
// Every field is one of four kinds, and the kind decides how it is written to a .QNC file
// and how it goes into the configuration message:
//   C  one byte, written as a quoted one-character text, sent as is;
//   P  two bytes, written as a quoted two-character text, sent as is;
//   N  an integer 0..255, written as a decimal number, sent as that byte;
//   T  a decimal text "0".."255" (or empty, which counts as 0), written quoted, sent as its value.
// C, P and N are stored as bytes, so they cannot hold anything outside 0..255. A T field only
// accepts a valid decimal text; anything else is refused where it enters.

using CharByte = quint8;                // kind C
using CharPair = std::array<quint8, 2>; // kind P
using IntByte = quint8;                 // kind N

// Kind T: the text is kept as it was entered (so a file reads back byte for byte),
// but only a decimal number 0..255, or the empty text of a fresh record, gets in.
class DecimalText
{
public:
    DecimalText() = default;

    static bool isValid(QByteArrayView text);
    static DecimalText fromNumber(int value); // value must be 0..255

    // Refuses (returns false, keeps the old text) anything but a decimal number 0..255.
    bool set(QByteArrayView text);

    const QByteArray &text() const { return m_text; }
    bool isEmpty() const { return m_text.isEmpty(); }
    quint8 value() const; // the empty text counts as 0

    friend bool operator==(const DecimalText &, const DecimalText &) = default;

private:
    QByteArray m_text;
};

// True when value fits a byte field; callers that take a number from outside check with it
// before they assign, so an out-of-range value is refused rather than cut down.
constexpr bool fitsByte(long long value)
{
    return value >= 0 && value <= 255;
}

// A number held to 0..255, as a list of byte values shows the nearest.
constexpr quint8 clampedByte(int n)
{
    return quint8(n < 0 ? 0 : n > 255 ? 255 : n);
}

qint32 SetBit(qint32 value, qint32 mask);
qint32 ClearBit(qint32 value, qint32 mask);

// Flag bits of ChanBFormat and ChanCFormat.
namespace ChanFlag {
constexpr int Handshake = 1;
constexpr int Parity = 2;
constexpr int EvenParity = 4;
constexpr int TwoStopBits = 8;
constexpr int SevenDataBits = 16;
constexpr int RS422 = 32;    // channel B only
constexpr int RS485Two = 64; // channel B only
// What a channel's defaults clear (no parity, 8 data bits, 1 stop bit, handshaking ignored);
// the even/odd choice stays for when parity comes back.
constexpr int Defaulted = Parity | TwoStopBits | SevenDataBits | Handshake;
constexpr int Interface = RS422 | RS485Two; // RS-232C where clear
} // namespace ChanFlag

// Flag bits of LinkOptions.
namespace LinkFlag {
constexpr int CRC = 1;
constexpr int AcceptDuplicates = 2;
constexpr int ExecEmbedded = 4;
constexpr int PassDiagnostics = 8;
constexpr int MultiDrop = 16;     // or RS-485, depending on the model
constexpr int SourceAddress = 32; // or RTS-to-CTS loopback, depending on the model
// Every bit the DF1 dialog has an option for; its defaults clear them all.
constexpr int DialogBits =
    CRC | AcceptDuplicates | ExecEmbedded | PassDiagnostics | MultiDrop | SourceAddress;
} // namespace LinkFlag

// Flag bits of AuxByte4 on the Siemens drive model: its dialog's yes/no choices.
namespace SiemensFlag {
constexpr int Supercast = 1;
constexpr int AutoUssParameters = 2;
constexpr int FourPkwWords = 4; // three where clear
constexpr int PmFunction = 8;
constexpr int DialogBits = Supercast | AutoUssParameters | FourPkwWords | PmFunction;
} // namespace SiemensFlag

// Flag bits of ProtoParam[1] on the Modbus models.
namespace ModbusFlag {
constexpr int AsciiFraming = 1; // RTU where clear
constexpr int Master = 2;       // slave where clear
constexpr int PassBroadcast = 4;
constexpr int Rs485TwoWire = 8;
} // namespace ModbusFlag

constexpr int ExtParamCount = 6;
constexpr int ProtoParamCount = 86;

struct ConfigRecord
{
    // Model identity, written by the model set-up.
    int ConfigLength = 0; // message body length: 42, 58, 64, 130 or 136
    CharByte ProductCode = 0;
    QString FamilyCode = QStringLiteral("4000");
    int UploadReplyLength = 0; // 54 or 66 for a QN4000-NGD; 0 until asked

    // Network side.
    CharByte ProtocolMode = 0;
    CharByte StationNumber = 0;
    CharByte HighAddress = 0;
    CharPair NetworkSpeed{0, 0};
    CharPair BusType{0, 0};

    // Serial channels.
    DecimalText ChanBSpeedSel;
    CharByte ChanBSpeed = 0;
    IntByte ChanBFormat = 0;
    DecimalText ChanCSpeedSelA;
    DecimalText ChanCSpeedSelB;
    CharByte ChanCSpeed = 0;
    IntByte ChanCFormat = 0;
    IntByte LinkOptions = 0;

    // Model-specific settings.
    DecimalText AuxByte1;
    DecimalText AuxByte2;
    CharByte AuxByte3 = 0;
    IntByte AuxByte4 = 0;

    std::array<IntByte, ExtParamCount> ExtParam{};
    std::array<IntByte, ProtoParamCount> ProtoParam{};

    // Outputs of the word split.
    qint32 WordHigh = 0;
    qint32 WordLow = 0;

    // Splits value into WordHigh (value / 256) and WordLow (value & 255).
    void splitWord(qint32 value);

    // The values a fresh configuration starts from: 57.6 kbaud network (code 8, 0),
    // 9600 baud channel B (code 8), station 1, channel C speed 0 and format 0.
    void applyFreshConfiguration();

    friend bool operator==(const ConfigRecord &, const ConfigRecord &) = default;
};
