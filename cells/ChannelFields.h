#pragma once
#include <cstdint>
#include <span>

struct datTone;

// The decoded fields of a channel row that the channel columns edit, named
// apart from the record that keeps them: each program's row record holds
// them in its own places and answers for those it has.
enum class ChField : uint8_t {
    RxInhibit,
    TxInhibit,
    Narrow,
    Compander,
    PowerSave,
    Tot,
    RfPower,
    Lockout,
    ScanMember,
    AutoChScan,
    AutoReset,
    TwoTone,
    Log,
    ScanInc,
    ScanList,
    ScanListSel,
    ScrambleMode,
    SqlTight,
    RxCode,
    Monitor,
    Select,
    Call,
    Ptt,
    ChMute,
    Form,
    RptCode,
    RptLong,
    StnCode,
    StnLong,
    IdCode,
    IdLong,
    Position,
    RxCodeDtmf,
    DtmfDecode,
    MskSignal,
    SendStatus,
    NoRepeater,
    DigitalMode,
    UnitId,
    TgList,
    FastMute,
    SqlType,
    Count
};

// A channel row as its columns see it. Get and Set act on the field as the
// record decoded it; a field the record has no place for reads 0 and takes
// nothing.
class ChannelRowFields {
public:
    virtual ~ChannelRowFields() = default;
    virtual bool Has(ChField field) const = 0;
    virtual int32_t Get(ChField field) const = 0;
    virtual void Set(ChField field, int32_t value) = 0;
    // The row's receive and transmit tones and its 12-character name.
    virtual datTone& RxTone() = 0;
    virtual datTone& TxTone() = 0;
    virtual std::span<uint8_t> Name() = 0;
};
