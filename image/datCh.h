#pragma once
#include "image/RecordCodec.h"
#include "image/RowRecord.h"

#include <array>
#include <cstdint>

class cmcEeprom;

// The row tables datCh decodes, by the kind a cell category names. A
// channel's kind is its model class; the two-tone transmit settings are a
// kind without rows.
enum datChKind : int32_t {
    kindChannelLmr = 1,
    kindChannelLtr = 2,
    kindChannelP25 = 3,
    kindChannelPmr = 4,
    kindChannelPmrZ = 5,
    kindText = 6,
    kindDigitMemory = 7,
    kindScanList = 8,
    kindTonePair = 9,
    kindFiveToneRx = 10,
    kindFiveToneTx = 11,
    kindUserTone = 12,
    kindTwoTone = 13,
    kindTwoToneCommon = 14,
    kindBank = 15,
    kindMskIdGroup = 16,
    kindMskCallList = 17,
    kindMskStatus = 18,
    kindMskShortText = 19,
    kindDigitalIndividual = 20,
    kindDigitalGroup = 21,
    kindNac = 22,
    kindDigitalStatus = 23,
    kindRepeaterPool = 24,
    kindDtmfRx = 25,
    kindMdcAlias = 26,
};

inline constexpr bool IsChannelKind(int32_t kind) {
    return kind >= kindChannelLmr && kind <= kindChannelPmrZ;
}

// One row of one of the image's row tables, decoded into plain fields: a
// channel (kinds 1..5, one per model class), a repeater-pool entry (24), a
// bank (15), a scan list (8), a signalling list entry and so on. Load decodes
// row n of a kind; the cells, the row edits and the clipboard change the
// fields; Store encodes them back into exactly the bits Load takes them from
// and keeps every other bit, with these side effects:
//  - frequencies are clamped to 0..kMaxFreq, in the record too; a channel's
//    top bits go back as bit 31;
//  - a CTCSS tone clears the tone's DTCS-only bits (bits 0 and 5 of its first byte);
//  - the text presence bits follow the texts (any byte but a blank);
//  - a channel writes its row number as reference channel A, B or C when the
//    flag is set (a clear flag leaves the number alone), the switch of C, and
//    its bank's SmarTrunk and LTR bits; PMR-Z channels write 0 as MDC system,
//    only they write chX3b1..chX3b3; classes 1..3 write the PMR fields as they
//    stand (0 after a Load), clear bit 7 of X[8] under twoTone and the low six
//    bits of X[11] under rxCNo; classes 4 and 5 write 0 into X[11];
//  - a two-tone code writes its answer flag as 0 or 255, and for rows above 0
//    takes its name from the first 12 bytes of text24 and writes its code byte;
//  - a call list writes 255 into bytes 2..3 of its address record;
//  - a pool entry moves or clears its site's mark (siteMark, siteMarkClear).
//
// A row beyond its kind's table, a kind without rows, an unbound record or an
// image too small to hold the tables decodes nothing and is not written.
class datCh : public RowRecord<datCh> {
public:
    using Text12 = std::array<uint8_t, 12>;
    using Text24 = std::array<uint8_t, 24>;

    static constexpr int32_t kKinds = 27;
    static constexpr int32_t kMaxFreq = 799999950;

    datCh() = default;
    explicit datCh(cmcEeprom* image) : image(image) {}

    // Clear() zeroes every field but the image, then marks the record programmed.
    void SetImage(cmcEeprom* newImage) { image = newImage; }

    datCh& Load(int32_t kind, int32_t n);
    datCh& Reload() { return Load(kind, index); }
    // Kind 0 means the record's own kind. The record takes n as its index.
    void Store(int32_t kind, int32_t n);
    void StoreSelf() { Store(kind, index); }
    // Afterwards the fields show exactly what the image holds.
    void StoreAndReload();

    // The bank 0..127 whose rows hold the 0-based channel row n, in the
    // record's image (the current image when the record has none); 128 when none.
    int32_t BankOfChannel(int32_t n) const;

    bool operator==(const datCh&) const = default;

    // The limit table (RowRecord's FieldMin, FieldMax, FieldFlag, GetMin and
    // GetMax answer from it); every kind of it is bounded.
    static std::span<const RowLimit> Limits();
    static bool Bounded(int32_t kind) { return InTable(kind); }
    // The highest row the kind's tables hold: FieldMax, except for the MSK
    // status messages, whose tables hold a 24th row (23) that the row
    // commands never reach. Load and Store work on every row the tables hold.
    static int32_t TableMax(int32_t kind);

    int32_t kind = 0;
    int32_t index = 0;
    cmcEeprom* image = nullptr;

    bool programmed = true;
    bool inUseForBank = false;
    bool isRefA = false;
    bool isRefB = false;
    bool isRefC = false;
    bool refCOff = false;
    bool smarTrunkBank = false;
    bool ltrBank = false;
    bool siteMark = false;
    bool siteMarkClear = false;

    bool rxFreqTopBit = false;
    bool txFreqTopBit = false;
    int32_t rxFreq = 0; // hertz
    int32_t txFreq = 0;
    datTone rxTone;
    datTone txTone;
    uint8_t grpRxId = 0;
    uint8_t grpTxId = 0;
    uint8_t grpByte2 = 0;
    uint8_t grpByte4 = 0;
    uint8_t grpByte5 = 0;
    bool grpFlagA = false;
    bool grpFlagB = false;
    bool grpFlagC = false;
    // Texts are blank-padded to their width, without a terminator.
    Text24 text24{};
    Text12 name{};
    Text12 name2{};

    // Channels (kinds 1..5). Bit fields hold only their width on Store.
    bool chBitS12b6 = false;
    bool chBitX3b4 = false;
    bool chBitX3b0 = false;
    bool chBitX0b7 = false;
    bool chBitX0b4 = false;
    uint8_t chX0Low2 = 0;    // 2 bits
    uint8_t chCombo5 = 0;    // 5 bits
    uint32_t scanMember = 0; // 17 bits: bit 16-k for scan list k
    uint8_t chX1b1 = 0;      // 0/1
    int32_t scanList = 0;
    bool chX0b5 = false;
    uint8_t chX2Low = 0;  // 2 bits (1 for kinds 1..3)
    uint8_t chX1High = 0; // 4 bits
    uint8_t chCombo4 = 0; // 4 bits
    uint8_t chX2Top2 = 0; // 2 bits
    bool chX2b3 = false;
    bool chX2b2 = false;
    bool chX1b0 = false;
    uint8_t scrambleMode = 0; // 2 bits
    uint8_t chX18Top2 = 0;    // 2 bits
    int32_t scrambleCode = 0;
    uint8_t formZuro = 0; // 4 bits
    int32_t rptC = 0;     // 7 bits in the image
    int32_t idC = 0;      // 7 bits
    int32_t stnC = 0;     // 7 bits
    bool rptL = false;
    bool stnL = false;
    bool idL = false;
    uint8_t pos = 0; // 2 bits
    int32_t twoTone = 0;
    int32_t rxCNo = 0;
    uint8_t rxCNoDtmf = 0;
    bool dtmfDec = false;
    uint8_t sqlTight = 0; // 0/1
    bool chX3b3 = false;
    bool chX3b1 = false;
    bool chX3b2 = false;
    uint8_t chS12Low2 = 0; // 2 bits
    uint8_t chX17b45 = 0;  // 2 bits
    bool chX17b7 = false;
    bool grpOpStrapped = false;
    int32_t rxNac = 0;
    int32_t txNac = 0;
    int32_t unitId = 0;
    int32_t tgList = 0;
    uint8_t mdcSystem = 0;

    // Scan list (kind 8).
    uint8_t scanMode = 0; // 4 bits
    bool powerSave = false;
    bool slTxBit = false;
    bool slBitA = false;
    bool cancelBit = false;
    bool slBitB = false;
    bool slBit5 = false;
    bool dispTextHi = false;
    bool dispTextLo = false;
    uint8_t prio1Mode = 0;  // 4 bits
    uint8_t txChMode = 0;   // 4 bits
    uint8_t cancelMode = 0; // 4 bits
    uint8_t prio2Mode = 0;  // 4 bits
    int32_t txCh = 0;       // 16-bit channel numbers
    int32_t prio1Ch = 0;
    int32_t prio2Ch = 0;

    // Repeater-pool entry (kind 24) and the group record of a bank or site (kinds 15, 24).
    int32_t poolRxFreq = 0;
    int32_t poolTxFreq = 0;
    bool poolRxDat = false;
    bool poolTxDat = false;
    bool poolNar = false;
    uint8_t poolRfPo = 0; // 2 bits
    bool poolPhone = false;
    bool areaBit = false;
    uint8_t siteMarkPos = 0; // 1-based position of the site's marked entry; 0 none
    bool blockIdEna = false;
    bool totDispatch = false;
    bool totPhone = false;
    bool busyLockout = false;
    bool ltrPwrSave = false;
    bool beepHandShake = false;
    bool beepOnRx = false;
    uint8_t decPriTgEna = 0; // 2 bits
    uint8_t blockIdStart = 0;
    uint8_t blockIdEnd = 0;
    uint8_t priTgId = 0;
    uint8_t numPreBit = 0;
    uint8_t numHangBit = 0;

    // Text record (kind 6).
    Text24 row6Head{};
    std::array<uint8_t, 48> row6Body{};
    uint8_t row6Tail = 0;

    // Digit memories (kinds 7 and 25): one digit per element, 0..15.
    std::array<uint8_t, 24> digits{};
    uint8_t digitCount = 0;

    // Tone pair (kind 9).
    bool cToneSel = false;

    // Five-tone receive entry (kind 10) and DTMF receive entry (kind 25).
    std::array<uint8_t, 4> codeHead{};
    uint8_t codeByte28 = 0;
    int32_t decAbc = 0;
    uint8_t decBeep = 0; // 3 bits
    bool decSfunc = false;
    uint8_t decScan = 0; // 2 bits
    uint8_t decAud = 0;  // 2 bits
    uint8_t decBell = 0; // 2 bits
    uint8_t decStun = 0; // 2 bits
    bool decAutoTx = false;
    bool decIdDec = false;
    bool decExo = false;
    bool decEmerCancel = false;
    int32_t globalByte = 0; // shared by kinds 10 and 11; never stored

    // Five-tone transmit entry (kind 11).
    std::array<uint8_t, 4> txCode{};
    int32_t inputDigit = 0;
    bool update = false;
    bool abcDec = false;
    bool abcAud = false;
    bool sel = false;

    // User tone (kind 12).
    int32_t uToneEncode = 0;
    int32_t uToneDecLow = 0;
    int32_t uToneDecHigh = 0;

    // Two-tone code (kind 13); the frequency and period words exist for rows above 0.
    uint8_t ttGroupCall = 0;
    bool ttAns = false;
    uint8_t ttBeep = 0; // 3 bits
    bool ttSfunc = false;
    uint8_t ttScan = 0; // 2 bits
    uint8_t ttBell = 0; // 2 bits
    uint8_t ttStun = 0; // 2 bits
    bool ttAutoTx = false;
    bool ttExo = false;
    int32_t ttRx1A = 0;
    int32_t ttRx1B = 0;
    int32_t ttRx2A = 0;
    int32_t ttRx2B = 0;
    double ttTx1Freq = 0;
    double ttTx2Freq = 0;
    double ttPeriod1 = 0;
    double ttPeriod2 = 0;
    bool ttCodeType = false;

    // MSK ID group (kind 16), call list (17), status message (18, 23), short text (19).
    int32_t idGroupAdr = 0;
    uint8_t idGroupAlert = 0; // 3 bits
    bool idGroupSFunc = false;
    uint8_t idGroupBell = 0; // 2 bits
    int32_t callListAdr = 0; // four decimal digits; 65535 when they are none
    int32_t callListDigit = 0;
    bool callListUpdate = false;
    bool callListSel = false;
    uint8_t msgBeep = 0; // 4 bits
    bool msgHorn = false;
    bool msgSFunc = false;
    bool msgAuto = false;
    bool msgPriority = false;
    bool msgSelection = false;

    // Digital lists (kinds 20 to 23).
    int32_t indId = 0;
    int32_t grpId = 0;
    int32_t nacRx = 0;
    int32_t nacTx = 0;
    bool nacSel = false;
    uint8_t statusBeep = 0; // 4 bits
    bool statusSelection = false;

    // MDC alias (kind 26).
    Text12 mdcText{};
    bool mdcStrip = false;
    uint8_t mdcBeepType = 0; // 4 bits
    int32_t mdcId = 0;

private:
    class Codec;

    // Whether row n of the kind lies in the kind's table of a usable image.
    bool CanAccess(int32_t k, int32_t n) const;
    void Transfer(Codec& c, int32_t k, int32_t n);
    void TransferChannel(Codec& c, int32_t k, int32_t n);
    void StoreChannel(int32_t k, int32_t n);
    void TransferTwoTone(Codec& c, int32_t n);
    void TransferPoolEntry(Codec& c, int32_t n);
    void TransferBank(Codec& c, int32_t n);
};

// Programmed channels of a bank (rows decoded as the current model class's
// kind), the 1-based position of its last programmed channel (0 none), and
// the programmed channels of all banks. Without an image: the current image.
int32_t CountBankUsedChannels(int32_t n);
int32_t CountBankUsedChannels(cmcEeprom& image, int32_t n);
int32_t LastUsedInBank(int32_t n);
int32_t LastUsedInBank(cmcEeprom& image, int32_t n);
int32_t CountAllUsedChannels();
int32_t CountAllUsedChannels(cmcEeprom& image);
