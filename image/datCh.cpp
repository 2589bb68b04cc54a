#include "image/datCh.h"

#include "image/RecordCodec.h"

#include "foundation/ModelClass.h"
#include "image/BankSite.h"
#include "image/CurrentImage.h"
#include "image/RecordLayout.h"
#include "image/cmcEeprom.h"
#include "platform/Fatal.h"

#include <algorithm>

namespace {

// Bit 0 of the flags: the rows may be cleared, deleted and inserted.
constexpr RowLimit kLimits[datCh::kKinds] = {
    {0, 0, 0},   {0, 511, 3}, {0, 511, 3}, {0, 511, 3},  {0, 511, 3}, {0, 511, 3}, {0, 15, 3},
    {0, 7, 2},   {0, 16, 2},  {0, 39, 2},  {1, 8, 2},    {0, 31, 2},  {0, 14, 0},  {1, 10, 2},
    {0, 9, 2},   {0, 127, 2}, {0, 7, 2},   {0, 31, 2},   {0, 22, 2},  {0, 7, 2},   {0, 99, 2},
    {0, 249, 2}, {0, 39, 2},  {0, 31, 2},  {0, 2559, 3}, {0, 9, 2},   {0, 499, 3},
};

// The MSK status messages: rows 0..22 are the user's, the tables' row 23 is
// shown but never inserted, deleted or moved.
constexpr int32_t kMskStatusTableMax = 23;

int32_t ClampFreq(int32_t hz) {
    return std::clamp(hz, 0, datCh::kMaxFreq);
}

// Row records of the tables.
using layout::kBankName, layout::kDigitalGrpId, layout::kDigitalIndId, layout::kDigitalStatusV;
using layout::kDigitalStatusW, layout::kDigitMemory, layout::kDtmfRx, layout::kFiveToneRx,
    layout::kFiveToneTx;
using layout::kFiveToneTxCode, layout::kMdcAlias, layout::kMskCallAddress, layout::kMskCallList;
using layout::kMskIdGroup, layout::kMskShortText, layout::kMskShortTextSel, layout::kMskStatusV;
using layout::kMskStatusW, layout::kNacChannel, layout::kScanListRec, layout::kTextBody, layout::kTextHead;
using layout::kTonePair, layout::kTwoToneFreq, layout::kTwoToneName, layout::kTwoTonePeriod;
using layout::kTwoToneWindow, layout::kUserToneDecode, layout::kUserToneEncode;

static_assert(layout::Table(30).records == kMskStatusTableMax + 1 &&
              layout::Table(31).records == kMskStatusTableMax + 1);

} // namespace

// The record moves its fields with the shared codec.
class datCh::Codec : public RecordCodec {
public:
    using RecordCodec::RecordCodec;
};

int32_t datCh::TableMax(int32_t k) {
    return k == kindMskStatus ? kMskStatusTableMax : FieldMax(k);
}

std::span<const RowLimit> datCh::Limits() {
    return kLimits;
}

bool datCh::CanAccess(int32_t k, int32_t n) const {
    // Every row record lies in the static tables, so an image that holds them holds the record.
    return image && image->GetSize() >= layout::kPtblCopy && k >= 1 && k < kKinds && k != kindTwoToneCommon &&
           n >= 0 && n <= TableMax(k);
}

int32_t datCh::BankOfChannel(int32_t n) const {
    return BankHoldingRow(image ? *image : CurrentImage(), n);
}

datCh& datCh::Load(int32_t k, int32_t n) {
    Clear();
    kind = k;
    index = n;
    if (CanAccess(k, n)) {
        Codec c(*image, false);
        Transfer(c, k, n);
    }
    return *this;
}

void datCh::Store(int32_t k, int32_t n) {
    if (k == 0) k = kind;
    index = n;
    if (!CanAccess(k, n)) return;
    Codec c(*image, true);
    Transfer(c, k, n);
}

void datCh::StoreAndReload() {
    StoreSelf();
    Reload();
}

void datCh::Transfer(Codec& c, int32_t k, int32_t n) {
    switch (k) {
    case kindChannelLmr:
    case kindChannelLtr:
    case kindChannelP25:
    case kindChannelPmr:
    case kindChannelPmrZ:
        TransferChannel(c, k, n);
        break;
    case kindText:
        c.At(kTextHead + 24 * n, 24);
        c.Bytes(row6Head, 0);
        c.At(kTextBody + 49 * n, 49);
        c.Bytes(row6Body, 0);
        c.Whole(row6Tail, 48);
        break;
    case kindDigitMemory:
        c.At(kDigitMemory + 37 * n, 37);
        c.Bytes(text24, 0);
        c.Nibbles(digits, 24);
        c.Whole(digitCount, 36);
        break;
    case kindScanList:
        c.At(kScanListRec + 34 * n, 34);
        c.Bytes(text24, 0);
        c.Bits(scanMode, 24, 0, 4);
        c.Flag(powerSave, 24, 4);
        c.Flag(slTxBit, 24, 7);
        c.Flag(slBitA, 25, 2);
        c.Flag(cancelBit, 25, 3);
        c.Flag(slBitB, 25, 4);
        c.Flag(slBit5, 25, 5);
        c.Flag(dispTextHi, 25, 6);
        c.Flag(dispTextLo, 25, 7);
        c.Bits(prio1Mode, 26, 0, 4);
        c.Bits(txChMode, 26, 4, 4);
        c.Bits(cancelMode, 27, 0, 4);
        c.Bits(prio2Mode, 27, 4, 4);
        c.Word(txCh, 28);
        c.Word(prio1Ch, 30);
        c.Word(prio2Ch, 32);
        break;
    case kindTonePair:
        c.At(kTonePair + 4 * n, 4);
        c.Tone(rxTone, 0);
        c.Tone(txTone, 2);
        c.BitmapBit(cToneSel, layout::kToneMemorySelect, n);
        break;
    case kindFiveToneRx:
    case kindDtmfRx:
        if (k == 10) {
            c.At(kFiveToneRx + 34 * n, 34);
            c.Bytes(codeHead, 0);
            c.Bytes(text24, 4);
            c.Whole(codeByte28, 28);
        } else {
            c.At(kDtmfRx + 44 * n, 44);
            c.Nibbles(digits, 0);
            c.Bytes(text24, 12);
            c.Whole(digitCount, 42);
        }
        {
            // The decode options lie at the same places relative to decAbc in both kinds.
            const int32_t at = k == 10 ? 29 : 37;
            c.Whole(decAbc, at);
            c.Bits(decBeep, at + 1, 0, 3);
            c.Flag(decSfunc, at + 1, 3);
            c.Bits(decScan, at + 1, 4, 2);
            c.Bits(decAud, at + 1, 6, 2);
            c.Bits(decBell, at + 2, 0, 2);
            c.StoreOnly(HasText(text24), at + 2, 2);
            c.Bits(decStun, at + 2, 3, 2);
            c.Flag(decAutoTx, at + 2, 5);
            c.Flag(decIdDec, at + 2, 6);
            c.Flag(decExo, at + 2, 7);
            c.Flag(decEmerCancel, at + 3, 7);
        }
        if (k == 10 && !c.store) {
            c.At(layout::kFiveToneGlobal, 1);
            c.Whole(globalByte, 0);
        }
        break;
    case kindFiveToneTx:
        c.At(kFiveToneTxCode + 4 * n, 4);
        c.Bytes(txCode, 0);
        c.At(kFiveToneTx + 14 * n, 14);
        c.Bytes(name, 0);
        c.Piece(inputDigit, 1, 12, 1, 7);
        c.Flag(update, 12, 0);
        c.Flag(abcDec, 13, 7);
        c.Flag(abcAud, 13, 6);
        c.StoreOnly(HasText(name), 13, 5);
        c.FlagClear(sel, 13, 4);
        if (!c.store) {
            c.At(layout::kFiveToneGlobal, 1);
            c.Whole(globalByte, 0);
        }
        break;
    case kindUserTone:
        c.At(kUserToneEncode + 2 * n, 2);
        c.Word(uToneEncode, 0);
        c.At(kUserToneDecode + 4 * n, 4);
        c.Word(uToneDecLow, 0);
        c.Word(uToneDecHigh, 2);
        break;
    case kindTwoTone:
        TransferTwoTone(c, n);
        break;
    case kindBank:
        TransferBank(c, n);
        break;
    case kindMskIdGroup:
        c.At(kMskIdGroup + 32 * n, 32);
        c.Word(idGroupAdr, 0);
        c.Bytes(name, 2);
        c.Bits(idGroupAlert, 28, 0, 3);
        c.Flag(idGroupSFunc, 28, 3);
        c.Bits(idGroupBell, 29, 0, 2);
        c.StoreOnly(HasText(name), 29, 2);
        break;
    case kindMskCallList:
        c.At(kMskCallAddress + 4 * n, 4);
        if (c.store) {
            uint8_t bcd[4];
            IntToBcd(callListAdr, bcd, 4);
            // An address that loaded as no digits goes back as no digits, not as 5535.
            if (callListAdr == 65535) bcd[0] = bcd[1] = 0xFF;
            for (int32_t i = 0; i < 4; ++i)
                c.Byte(i) = bcd[i];
        } else {
            const uint8_t bcd[2] = {c.Byte(0), c.Byte(1)};
            callListAdr = BcdToInt(bcd);
        }
        c.At(kMskCallList + 14 * n, 14);
        c.Bytes(name, 0);
        c.Piece(callListDigit, 1, 12, 1, 7);
        c.Flag(callListUpdate, 12, 0);
        c.StoreOnly(HasText(name), 13, 5);
        c.FlagClear(callListSel, 13, 4);
        break;
    case kindMskStatus:
        c.At(kMskStatusV + 16 * n, 16);
        c.Bytes(name, 0);
        c.Bits(msgBeep, 12, 0, 4);
        c.Flag(msgHorn, 12, 5);
        c.Flag(msgSFunc, 12, 6);
        c.Flag(msgAuto, 12, 7);
        c.At(kMskStatusW + 16 * n, 16);
        c.Bytes(name2, 0);
        c.Flag(msgPriority, 12, 0);
        c.Flag(msgSelection, 12, 1);
        break;
    case kindMskShortText:
        c.At(kMskShortText + 12 * n, 12);
        c.Bytes(name, 0);
        c.At(kMskShortTextSel + 2 * n, 1);
        c.Flag(msgSelection, 0, 1);
        break;
    case kindDigitalIndividual:
        c.At(kDigitalIndId + 16 * n, 16);
        c.Dword(indId, 0);
        c.Bytes(name, 4);
        break;
    case kindDigitalGroup:
        c.At(kDigitalGrpId + 14 * n, 14);
        c.Word(grpId, 0);
        c.Bytes(name, 2);
        break;
    case kindNac:
        c.At(kNacChannel + 4 * n, 4);
        c.Word(nacRx, 0);
        c.Word(nacTx, 2);
        c.BitmapBit(nacSel, layout::kNacSelect, n);
        break;
    case kindDigitalStatus:
        c.At(kDigitalStatusV + 16 * n, 16);
        c.Bytes(name, 0);
        c.Bits(statusBeep, 12, 0, 4);
        c.At(kDigitalStatusW + 16 * n, 16);
        c.Bytes(name2, 0);
        c.Flag(statusSelection, 12, 1);
        break;
    case kindRepeaterPool:
        TransferPoolEntry(c, n);
        break;
    case kindMdcAlias:
        c.At(kMdcAlias + 15 * n, 15);
        c.Bytes(mdcText, 0);
        c.Flag(mdcStrip, 12, 7);
        c.Bits(mdcBeepType, 12, 0, 4);
        c.Word(mdcId, 13);
        break;
    default:
        break;
    }
}

void datCh::TransferChannel(Codec& c, int32_t k, int32_t n) {
    const bool k45 = k >= 4;
    const bool store = c.store;

    c.At(layout::kChannelS + 30 * n, 30);
    if (store) {
        rxFreq = ClampFreq(rxFreq);
        txFreq = ClampFreq(txFreq);
    }
    // Bit 31 of a stored frequency is a flag of its own.
    int32_t rxRaw = (rxFreqTopBit ? INT32_MIN : 0) | rxFreq;
    int32_t txRaw = (txFreqTopBit ? INT32_MIN : 0) | txFreq;
    c.Dword(rxRaw, 0);
    c.Dword(txRaw, 4);
    if (!store) {
        rxFreqTopBit = rxRaw < 0;
        txFreqTopBit = txRaw < 0;
        rxFreq = ClampFreq(rxRaw & INT32_MAX);
        txFreq = ClampFreq(txRaw & INT32_MAX);
    }
    c.Tone(rxTone, 8);
    c.Tone(txTone, 10);
    c.Flag(chBitS12b6, 12, 6);
    c.StoreOnly(HasText(name), 12, 5);
    c.Bits(chS12Low2, 12, 0, 2);
    c.Whole(scanList, 13);
    c.Bytes(name, 14);
    c.Word(rxNac, 26);
    c.Word(txNac, 28);

    c.At(layout::kChannelX + 22 * n, 22);
    c.Flag(chBitX0b7, 0, 7);
    c.Piece(chCombo4, 0, 0, 6, 1);
    c.Flag(chX0b5, 0, 5);
    c.Flag(chBitX0b4, 0, 4);
    c.Piece(chCombo5, 0, 0, 2, 2);
    c.Bits(chX0Low2, 0, 0, 2);
    c.Bits(chX1High, 1, 4, 4);
    c.Piece(chCombo4, 1, 1, 3, 1);
    c.Bits(sqlTight, 1, 2, 1);
    c.Bits(chX1b1, 1, 1, 1);
    c.Flag(chX1b0, 1, 0);
    c.Bits(chX2Top2, 2, 6, 2);
    c.Piece(chCombo4, 2, 2, 4, 2);
    c.Flag(chX2b3, 2, 3);
    c.Flag(chX2b2, 2, 2);
    if (k45) {
        c.Piece(chX2Low, 1, 2, 0, 1);
        c.Piece(chX2Low, 0, 2, 1, 1);
    } else {
        c.Bits(chX2Low, 2, 1, 1);
    }
    c.Bits(scrambleMode, 3, 5, 2);
    c.Flag(chBitX3b4, 3, 4);
    // Bits 1..3 of X[3] are PMR-Z settings: every class shows them, only PMR-Z keeps them.
    if (!store || k == 5) {
        c.Flag(chX3b3, 3, 3);
        c.Flag(chX3b2, 3, 2);
        c.Flag(chX3b1, 3, 1);
    }
    c.Flag(chBitX3b0, 3, 0);
    // PMR-Z has no MDC system.
    uint8_t mdc = store && k == 5 ? 0 : mdcSystem;
    c.Whole(mdc, 4);
    if (!store) mdcSystem = mdc;
    c.Whole(scrambleCode, 5);
    // The Zuro form, position and repeater and ID numbers belong to PMR and PMR-Z;
    // the other classes load them as 0 and store what they hold.
    if (store || k45) {
        c.Bits(formZuro, 6, 0, 4);
        c.Bits(pos, 6, 6, 2);
        c.Bits(rptC, 7, 0, 7);
        c.Flag(rptL, 7, 7);
        c.Bits(idC, 9, 0, 7);
        c.Flag(idL, 9, 7);
    }
    if (k45) {
        c.Bits(stnC, 8, 0, 7);
        c.Flag(stnL, 8, 7);
        c.Whole(rxCNo, 10);
        if (store) c.Byte(11) = 0;
    } else {
        if (store) {
            c.Byte(8) = static_cast<uint8_t>(twoTone);
            int32_t word = static_cast<int32_t>(static_cast<uint32_t>(rxCNo) << 6);
            c.Word(word, 10);
        } else {
            c.Bits(twoTone, 8, 0, 7);
            stnC = 1;
            stnL = true;
            int32_t word = 0;
            c.Word(word, 10);
            rxCNo = word >> 6;
        }
        c.Whole(rxCNoDtmf, 20);
        c.Flag(dtmfDec, 18, 5);
    }
    c.Dword(unitId, 12);
    c.Whole(tgList, 16);
    c.Flag(chX17b7, 17, 7);
    c.Bits(chX17b45, 17, 4, 2);
    c.Flag(grpOpStrapped, 17, 3);
    c.Piece(chCombo5, 2, 17, 0, 3);
    c.Bits(chX18Top2, 18, 6, 2);

    c.At(layout::kChannelG + 6 * n, 6);
    c.Whole(grpRxId, 0);
    c.Whole(grpTxId, 1);
    c.Whole(grpByte2, 2);
    c.Flag(grpFlagA, 3, 7);
    c.Flag(grpFlagB, 3, 6);
    c.Flag(grpFlagC, 3, 5);
    c.Whole(grpByte4, 4);
    c.Whole(grpByte5, 5);

    for (int32_t list = 0; list < layout::kScanLists; ++list) {
        c.At(layout::kScanMembership + 64 * list + n / 8, 1);
        c.Piece(scanMember, 16 - list, 0, 7 - n % 8, 1);
    }

    cmcEeprom& img = *image;
    const int32_t bank = BankOfChannel(n);
    if (store) {
        if (isRefA) img.SetWord(layout::kRefAChannel, static_cast<uint16_t>(n));
        if (isRefB) img.SetWord(layout::kRefBChannel, static_cast<uint16_t>(n));
        if (isRefC) img.SetWord(layout::kRefCChannel, static_cast<uint16_t>(n));
        c.At(layout::kRefCFlags, 1);
        c.FlagClear(refCOff, 0, 5);
        SetSmarTrunkBank(img, bank, smarTrunkBank);
        SetBankFlagB(img, bank, ltrBank);
        return;
    }
    isRefA = n == img.GetWord(layout::kRefAChannel);
    isRefB = n == img.GetWord(layout::kRefBChannel);
    c.At(layout::kRefCFlags, 1);
    c.FlagClear(refCOff, 0, 5);
    isRefC = n == img.GetWord(layout::kRefCChannel) && !refCOff;
    smarTrunkBank = IsSmarTrunkBank(img, bank);
    ltrBank = IsBankFlagB(img, bank);
    programmed = rxFreq != 0 || grpRxId != 0;
    inUseForBank = ltrBank ? grpRxId != 0 : rxFreq != 0;
}

void datCh::TransferTwoTone(Codec& c, int32_t n) {
    c.At(kFiveToneRx + 34 * n, 34);
    c.Whole(ttGroupCall, 0);
    c.Bytes(text24, 4);
    if (c.store) {
        c.Byte(29) = ttAns ? 255 : 0;
    } else {
        ttAns = c.Byte(29) != 0;
    }
    c.Bits(ttBeep, 30, 0, 3);
    c.Flag(ttSfunc, 30, 3);
    c.Bits(ttScan, 30, 4, 2);
    c.Bits(ttBell, 31, 0, 2);
    c.StoreOnly(HasText(text24), 31, 2);
    c.Bits(ttStun, 31, 3, 2);
    c.Flag(ttAutoTx, 31, 5);
    c.Flag(ttExo, 31, 7);
    // Row 0 is the group call: it has no decode window, frequencies, periods or name.
    if (n == 0) return;

    c.At(kTwoToneWindow + 8 * n, 8);
    c.Word(ttRx1A, 0);
    c.Word(ttRx1B, 2);
    c.Word(ttRx2A, 4);
    c.Word(ttRx2B, 6);
    int32_t tx1 = TruncateInto(ttTx1Freq, 65535), tx2 = TruncateInto(ttTx2Freq, 65535);
    int32_t period1 = TruncateInto(ttPeriod1, 255), period2 = TruncateInto(ttPeriod2, 255);
    c.At(kTwoToneFreq + 4 * n, 4);
    c.Word(tx1, 0);
    c.Word(tx2, 2);
    c.At(kTwoTonePeriod + 2 * n, 2);
    c.Whole(period1, 0);
    c.Whole(period2, 1);
    if (!c.store) {
        ttTx1Freq = tx1;
        ttTx2Freq = tx2;
        ttPeriod1 = period1;
        ttPeriod2 = period2;
    }

    c.At(kTwoToneName + 14 * n, 14);
    if (c.store) std::copy_n(text24.begin(), name.size(), name.begin());
    c.Bytes(name, 0);
    if (c.store) {
        c.Byte(12) = static_cast<uint8_t>((n - 1) * 16 % 256 + (ttCodeType ? (n - 1) % 16 : 15));
    } else {
        ttCodeType = (c.Byte(12) & 0x0F) != 15;
    }
    c.StoreOnly(HasText(name), 13, 5);
}

void datCh::TransferBank(Codec& c, int32_t n) {
    c.At(kBankName + 12 * n, 12);
    c.Bytes(name, 0);
    if (c.store) {
        SetBankFlagB(*image, n, ltrBank);
    } else {
        ltrBank = IsBankFlagB(*image, n);
    }
    c.At(layout::kGroupRecords + layout::kGroupRecordSize * n, layout::kGroupRecordSize);
    c.Flag(areaBit, 0, 7);
    c.Flag(blockIdEna, 0, 6);
    c.Piece(decPriTgEna, 0, 0, 5, 1);
    c.Flag(totDispatch, 0, 4);
    c.Flag(totPhone, 0, 3);
    c.Flag(busyLockout, 0, 2);
    c.Flag(ltrPwrSave, 0, 1);
    c.Piece(decPriTgEna, 1, 1, 7, 1);
    c.Flag(beepOnRx, 1, 6);
    c.Flag(beepHandShake, 1, 5);
    c.Whole(blockIdStart, 2);
    c.Whole(blockIdEnd, 3);
    c.Whole(priTgId, 4);
    c.Whole(numPreBit, 5);
    c.Whole(numHangBit, 6);
    c.Whole(siteMarkPos, 7);
}

void datCh::TransferPoolEntry(Codec& c, int32_t n) {
    c.At(layout::kPool + layout::kPoolEntrySize * n, layout::kPoolEntrySize);
    if (c.store) {
        poolRxFreq = ClampFreq(poolRxFreq);
        poolTxFreq = ClampFreq(poolTxFreq);
    }
    c.Dword(poolRxFreq, 0);
    c.Dword(poolTxFreq, 4);
    if (!c.store) {
        poolRxFreq = ClampFreq(poolRxFreq);
        poolTxFreq = ClampFreq(poolTxFreq);
        programmed = poolRxFreq != 0;
    }
    c.Flag(poolRxDat, 8, 7);
    c.Flag(poolTxDat, 8, 6);
    c.Flag(poolNar, 8, 5);
    c.Bits(poolRfPo, 8, 3, 2);
    c.Flag(poolPhone, 8, 0);

    // The site's mark is kept in the group record of the site the open sheet shows.
    const int32_t site = GetCurrentSite();
    if (!IsValidSite(site)) return;
    const int32_t position = n - GetSiteFirstChannel(*image, site) + 1;
    c.At(layout::kGroupRecords + layout::kGroupRecordSize * site, layout::kGroupRecordSize);
    if (c.store) {
        if (siteMarkClear) {
            c.Byte(7) = 0;
        } else if (siteMark && position >= 1 && position <= 255) {
            c.Byte(7) = static_cast<uint8_t>(position);
        }
        return;
    }
    c.Flag(areaBit, 0, 7);
    c.Whole(siteMarkPos, 7);
    // 0 marks no entry, so the entry just before the site never counts as marked.
    siteMark = siteMarkPos != 0 && position == siteMarkPos;
}

int32_t CountBankUsedChannels(int32_t n) {
    return CountBankUsedChannels(CurrentImage(), n);
}

int32_t CountBankUsedChannels(cmcEeprom& image, int32_t n) {
    const int32_t first = GetBankFirstChannel(image, n);
    const int32_t end = std::min(first + GetBankChannelCount(image, n), layout::kChannelRows);
    const int32_t kind = GetModelClass();
    datCh ch(&image);
    int32_t used = 0;
    for (int32_t row = first; row < end; ++row)
        used += ch.Load(kind, row).programmed ? 1 : 0;
    return used;
}

int32_t LastUsedInBank(int32_t n) {
    return LastUsedInBank(CurrentImage(), n);
}

int32_t LastUsedInBank(cmcEeprom& image, int32_t n) {
    const int32_t first = GetBankFirstChannel(image, n);
    const int32_t end = std::min(first + GetBankChannelCount(image, n), layout::kChannelRows);
    const int32_t kind = GetModelClass();
    datCh ch(&image);
    for (int32_t row = end - 1; row >= first; --row)
        if (ch.Load(kind, row).programmed) return row - first + 1;
    return 0;
}

int32_t CountAllUsedChannels() {
    return CountAllUsedChannels(CurrentImage());
}

int32_t CountAllUsedChannels(cmcEeprom& image) {
    int32_t used = 0;
    for (int32_t bank = 0; bank < layout::kBanks; ++bank)
        used += CountBankUsedChannels(image, bank);
    return used;
}
