// Which image bits each decoded field owns: Store of one changed field changes
// exactly those bits (and its documented side effects), and Load followed by
// Store of an untouched record changes nothing but the documented side effects.
#include "image/datCh.h"
#include "tests/image/RecordFixture.h"

#include <string>
#include <vector>

using namespace recordtest;

namespace {

struct FieldCase {
    const char* field;
    int32_t kind, row;
    void (*change)(datCh&);
    BitMap expected;
};

// Flips every bit of the field.
#define FLIP(f) [](datCh& c) { c.f = !c.f; }
#define XOR(f, m) [](datCh& c) { c.f ^= m; }

BitMap Run(int32_t offset, int32_t length, uint8_t mask = 0xFF) {
    BitMap m;
    for (int32_t i = 0; i < length; ++i)
        m[offset + i] = mask;
    return m;
}

BitMap ScanBitsOfChannel(int32_t n) {
    BitMap m;
    for (int32_t k = 0; k < 17; ++k)
        m[80784 + 64 * k + n / 8] = static_cast<uint8_t>(0x80 >> (n % 8));
    return m;
}

constexpr int32_t C = 5; // channel row 5 lies in bank 1

const std::vector<FieldCase>& Cases() {
    static const std::vector<FieldCase> cases = {
        // Channels, all classes.
        {"rxTone.on", 1, C, [](datCh& c) { c.rxTone.on = !c.rxTone.on; }, {{S(C, 8), 0x80}}},
        {"txTone.on", 1, C, [](datCh& c) { c.txTone.on = !c.txTone.on; }, {{S(C, 10), 0x80}}},
        {"chBitS12b6", 1, C, FLIP(chBitS12b6), {{S(C, 12), 0x40}}},
        {"chS12Low2", 1, C, XOR(chS12Low2, 3), {{S(C, 12), 0x03}}},
        {"scanList", 1, C, XOR(scanList, 0xFF), {{S(C, 13), 0xFF}}},
        {"name", 1, C,
         [](datCh& c) {
             for (auto& b : c.name)
                 b ^= 0xFF;
         },
         Run(S(C, 14), 12)},
        {"rxNac", 1, C, XOR(rxNac, 0xFFFF), Run(S(C, 26), 2)},
        {"txNac", 1, C, XOR(txNac, 0xFFFF), Run(S(C, 28), 2)},
        {"chBitX0b7", 1, C, FLIP(chBitX0b7), {{X(C, 0), 0x80}}},
        {"chX0b5", 1, C, FLIP(chX0b5), {{X(C, 0), 0x20}}},
        {"chBitX0b4", 1, C, FLIP(chBitX0b4), {{X(C, 0), 0x10}}},
        {"chX0Low2", 1, C, XOR(chX0Low2, 3), {{X(C, 0), 0x03}}},
        {"chCombo5", 1, C, XOR(chCombo5, 0x1F), {{X(C, 17), 0x07}, {X(C, 0), 0x0C}}},
        {"chCombo4", 1, C, XOR(chCombo4, 0x0F), {{X(C, 2), 0x30}, {X(C, 1), 0x08}, {X(C, 0), 0x40}}},
        {"chX1High", 1, C, XOR(chX1High, 0x0F), {{X(C, 1), 0xF0}}},
        {"sqlTight", 1, C, XOR(sqlTight, 1), {{X(C, 1), 0x04}}},
        {"chX1b1", 1, C, XOR(chX1b1, 1), {{X(C, 1), 0x02}}},
        {"chX1b0", 1, C, FLIP(chX1b0), {{X(C, 1), 0x01}}},
        {"chX2Top2", 1, C, XOR(chX2Top2, 3), {{X(C, 2), 0xC0}}},
        {"chX2b3", 1, C, FLIP(chX2b3), {{X(C, 2), 0x08}}},
        {"chX2b2", 1, C, FLIP(chX2b2), {{X(C, 2), 0x04}}},
        {"chX2Low K123", 1, C, XOR(chX2Low, 1), {{X(C, 2), 0x02}}},
        {"chX2Low K45", 4, C, XOR(chX2Low, 3), {{X(C, 2), 0x03}}},
        {"scrambleMode", 1, C, XOR(scrambleMode, 3), {{X(C, 3), 0x60}}},
        {"chBitX3b4", 1, C, FLIP(chBitX3b4), {{X(C, 3), 0x10}}},
        {"chBitX3b0", 1, C, FLIP(chBitX3b0), {{X(C, 3), 0x01}}},
        {"chX3b3 kind 1", 1, C, FLIP(chX3b3), {}},
        {"chX3b3 kind 4", 4, C, FLIP(chX3b3), {}},
        {"chX3b3 kind 5", 5, C, FLIP(chX3b3), {{X(C, 3), 0x08}}},
        {"chX3b2 kind 5", 5, C, FLIP(chX3b2), {{X(C, 3), 0x04}}},
        {"chX3b1 kind 5", 5, C, FLIP(chX3b1), {{X(C, 3), 0x02}}},
        {"mdcSystem kind 1", 1, C, XOR(mdcSystem, 0xFF), {{X(C, 4), 0xFF}}},
        {"mdcSystem kind 4", 4, C, XOR(mdcSystem, 0xFF), {{X(C, 4), 0xFF}}},
        {"mdcSystem kind 5", 5, C, XOR(mdcSystem, 0xFF), {}},
        {"scrambleCode", 1, C, XOR(scrambleCode, 0xFF), {{X(C, 5), 0xFF}}},
        {"unitId", 1, C, XOR(unitId, -1), Run(X(C, 12), 4)},
        {"tgList", 1, C, XOR(tgList, 0xFF), {{X(C, 16), 0xFF}}},
        {"chX17b7", 1, C, FLIP(chX17b7), {{X(C, 17), 0x80}}},
        {"chX17b45", 1, C, XOR(chX17b45, 3), {{X(C, 17), 0x30}}},
        {"grpOpStrapped", 1, C, FLIP(grpOpStrapped), {{X(C, 17), 0x08}}},
        {"chX18Top2", 1, C, XOR(chX18Top2, 3), {{X(C, 18), 0xC0}}},
        {"grpRxId", 2, C, XOR(grpRxId, 0xFF), {{G(C, 0), 0xFF}}},
        {"grpTxId", 2, C, XOR(grpTxId, 0xFF), {{G(C, 1), 0xFF}}},
        {"grpByte2", 2, C, XOR(grpByte2, 0xFF), {{G(C, 2), 0xFF}}},
        {"grpFlagA", 2, C, FLIP(grpFlagA), {{G(C, 3), 0x80}}},
        {"grpFlagB", 2, C, FLIP(grpFlagB), {{G(C, 3), 0x40}}},
        {"grpFlagC", 2, C, FLIP(grpFlagC), {{G(C, 3), 0x20}}},
        {"grpByte4", 2, C, XOR(grpByte4, 0xFF), {{G(C, 4), 0xFF}}},
        {"grpByte5", 2, C, XOR(grpByte5, 0xFF), {{G(C, 5), 0xFF}}},
        {"scanMember", 3, C, XOR(scanMember, 0x1FFFF), ScanBitsOfChannel(C)},
        {"scanMember list 16", 3, 511, XOR(scanMember, 1), {{80784 + 64 * 16 + 63, 0x01}}},
        {"refCOff", 1, C, FLIP(refCOff), {{93822, 0x20}}},
        {"smarTrunkBank", 1, C, FLIP(smarTrunkBank), {{93796, 0x40}}},
        {"ltrBank", 1, C, FLIP(ltrBank), {{94188, 0x40}}},
        // Channels of classes 1..3: the PMR fields are written as they stand.
        {"twoTone", 1, C, XOR(twoTone, 0x7F), {{X(C, 8), 0x7F}}},
        {"rxCNo K123", 1, C, XOR(rxCNo, 0x3FF), {{X(C, 10), 0xFF}, {X(C, 11), 0xC0}}},
        {"rxCNoDtmf", 1, C, XOR(rxCNoDtmf, 0xFF), {{X(C, 20), 0xFF}}},
        {"dtmfDec", 1, C, FLIP(dtmfDec), {{X(C, 18), 0x20}}},
        {"formZuro K123", 3, C, XOR(formZuro, 0x0F), {{X(C, 6), 0x0F}}},
        {"pos K123", 3, C, XOR(pos, 3), {{X(C, 6), 0xC0}}},
        {"rptC K123", 3, C, XOR(rptC, 0x7F), {{X(C, 7), 0x7F}}},
        {"idL K123", 3, C, FLIP(idL), {{X(C, 9), 0x80}}},
        {"stnC K123", 3, C, XOR(stnC, 0x7F), {}},
        {"stnL K123", 3, C, FLIP(stnL), {}},
        // Channels of classes 4 and 5.
        {"formZuro", 4, C, XOR(formZuro, 0x0F), {{X(C, 6), 0x0F}}},
        {"pos", 4, C, XOR(pos, 3), {{X(C, 6), 0xC0}}},
        {"rptC", 4, C, XOR(rptC, 0x7F), {{X(C, 7), 0x7F}}},
        {"rptL", 4, C, FLIP(rptL), {{X(C, 7), 0x80}}},
        {"stnC", 5, C, XOR(stnC, 0x7F), {{X(C, 8), 0x7F}}},
        {"stnL", 5, C, FLIP(stnL), {{X(C, 8), 0x80}}},
        {"idC", 5, C, XOR(idC, 0x7F), {{X(C, 9), 0x7F}}},
        {"idL", 5, C, FLIP(idL), {{X(C, 9), 0x80}}},
        {"rxCNo K45", 4, C, XOR(rxCNo, 0xFF), {{X(C, 10), 0xFF}}},
        {"twoTone K45", 4, C, XOR(twoTone, 0x7F), {}},
        {"rxCNoDtmf K45", 4, C, XOR(rxCNoDtmf, 0xFF), {}},
        {"dtmfDec K45", 4, C, FLIP(dtmfDec), {}},

        // Text record.
        {"row6Head", 6, 3, XOR(row6Head[0], 0xFF), {{94246 + 72, 0xFF}}},
        {"row6Body", 6, 3, XOR(row6Body[47], 0xFF), {{94630 + 147 + 47, 0xFF}}},
        {"row6Tail", 6, 3, XOR(row6Tail, 0xFF), {{94630 + 147 + 48, 0xFF}}},
        // Digit memory.
        {"text24 kind 7", 7, 2, XOR(text24[23], 0xFF), {{97816 + 74 + 23, 0xFF}}},
        {"digits first", 7, 2, XOR(digits[0], 0x0F), {{97816 + 74 + 24, 0xF0}}},
        {"digits last", 7, 2, XOR(digits[23], 0x0F), {{97816 + 74 + 35, 0x0F}}},
        {"digitCount kind 7", 7, 2, XOR(digitCount, 0xFF), {{97816 + 74 + 36, 0xFF}}},
        // Scan list.
        {"text24 kind 8", 8, 16, XOR(text24[0], 0xFF), {{97782, 0xFF}}},
        {"scanMode", 8, 16, XOR(scanMode, 0x0F), {{97782 + 24, 0x0F}}},
        {"powerSave", 8, 16, FLIP(powerSave), {{97782 + 24, 0x10}}},
        {"slTxBit", 8, 16, FLIP(slTxBit), {{97782 + 24, 0x80}}},
        {"slBitA", 8, 16, FLIP(slBitA), {{97782 + 25, 0x04}}},
        {"cancelBit", 8, 16, FLIP(cancelBit), {{97782 + 25, 0x08}}},
        {"slBitB", 8, 16, FLIP(slBitB), {{97782 + 25, 0x10}}},
        {"slBit5", 8, 16, FLIP(slBit5), {{97782 + 25, 0x20}}},
        {"dispTextHi", 8, 16, FLIP(dispTextHi), {{97782 + 25, 0x40}}},
        {"dispTextLo", 8, 16, FLIP(dispTextLo), {{97782 + 25, 0x80}}},
        {"prio1Mode", 8, 16, XOR(prio1Mode, 0x0F), {{97782 + 26, 0x0F}}},
        {"txChMode", 8, 16, XOR(txChMode, 0x0F), {{97782 + 26, 0xF0}}},
        {"cancelMode", 8, 16, XOR(cancelMode, 0x0F), {{97782 + 27, 0x0F}}},
        {"prio2Mode", 8, 16, XOR(prio2Mode, 0x0F), {{97782 + 27, 0xF0}}},
        {"txCh", 8, 16, XOR(txCh, 0xFFFF), Run(97782 + 28, 2)},
        {"prio1Ch", 8, 16, XOR(prio1Ch, 0xFFFF), Run(97782 + 30, 2)},
        {"prio2Ch", 8, 16, XOR(prio2Ch, 0xFFFF), Run(97782 + 32, 2)},
        // Tone pair.
        {"rxTone.on kind 9", 9, 39, [](datCh& c) { c.rxTone.on = !c.rxTone.on; }, {{97078 + 156, 0x80}}},
        {"cToneSel", 9, 39, FLIP(cToneSel), {{93906, 0x01}}},
        // Five-tone receive entry.
        {"codeHead", 10, 8, XOR(codeHead[3], 0xFF), {{98832 + 3, 0xFF}}},
        {"text24 kind 10", 10, 8, XOR(text24[0], 0xFF), {{98832 + 4, 0xFF}}},
        {"codeByte28", 10, 8, XOR(codeByte28, 0xFF), {{98832 + 28, 0xFF}}},
        {"decAbc kind 10", 10, 8, XOR(decAbc, 0xFF), {{98832 + 29, 0xFF}}},
        {"decBeep", 10, 8, XOR(decBeep, 7), {{98832 + 30, 0x07}}},
        {"decSfunc", 10, 8, FLIP(decSfunc), {{98832 + 30, 0x08}}},
        {"decScan", 10, 8, XOR(decScan, 3), {{98832 + 30, 0x30}}},
        {"decAud", 10, 8, XOR(decAud, 3), {{98832 + 30, 0xC0}}},
        {"decBell", 10, 8, XOR(decBell, 3), {{98832 + 31, 0x03}}},
        {"decStun", 10, 8, XOR(decStun, 3), {{98832 + 31, 0x18}}},
        {"decAutoTx", 10, 8, FLIP(decAutoTx), {{98832 + 31, 0x20}}},
        {"decIdDec", 10, 8, FLIP(decIdDec), {{98832 + 31, 0x40}}},
        {"decExo", 10, 8, FLIP(decExo), {{98832 + 31, 0x80}}},
        {"decEmerCancel", 10, 8, FLIP(decEmerCancel), {{98832 + 32, 0x80}}},
        {"globalByte kind 10", 10, 8, XOR(globalByte, 0xFF), {}},
        // DTMF receive entry.
        {"digits kind 25", 25, 9, XOR(digits[1], 0x0F), {{137434, 0x0F}}},
        {"text24 kind 25", 25, 9, XOR(text24[23], 0xFF), {{137434 + 35, 0xFF}}},
        {"decAbc kind 25", 25, 9, XOR(decAbc, 0xFF), {{137434 + 37, 0xFF}}},
        {"decBeep kind 25", 25, 9, XOR(decBeep, 7), {{137434 + 38, 0x07}}},
        {"decAud kind 25", 25, 9, XOR(decAud, 3), {{137434 + 38, 0xC0}}},
        {"decBell kind 25", 25, 9, XOR(decBell, 3), {{137434 + 39, 0x03}}},
        {"decExo kind 25", 25, 9, FLIP(decExo), {{137434 + 39, 0x80}}},
        {"decEmerCancel kind 25", 25, 9, FLIP(decEmerCancel), {{137434 + 40, 0x80}}},
        {"digitCount kind 25", 25, 9, XOR(digitCount, 0xFF), {{137434 + 42, 0xFF}}},
        // Five-tone transmit entry.
        {"txCode", 11, 31, XOR(txCode[0], 0xFF), {{81872 + 124, 0xFF}}},
        {"name kind 11", 11, 31, XOR(name[11], 0xFF), {{98546 + 11, 0xFF}}},
        {"inputDigit", 11, 31, XOR(inputDigit, 0xFE), {{98546 + 12, 0xFE}}},
        {"update", 11, 31, FLIP(update), {{98546 + 12, 0x01}}},
        {"abcDec", 11, 31, FLIP(abcDec), {{98546 + 13, 0x80}}},
        {"abcAud", 11, 31, FLIP(abcAud), {{98546 + 13, 0x40}}},
        {"sel", 11, 31, FLIP(sel), {{98546 + 13, 0x10}}},
        {"globalByte kind 11", 11, 31, XOR(globalByte, 0xFF), {}},
        // User tone.
        {"uToneEncode", 12, 14, XOR(uToneEncode, 0xFFFF), Run(95414 + 28, 2)},
        {"uToneDecLow", 12, 14, XOR(uToneDecLow, 0xFFFF), Run(95444 + 56, 2)},
        {"uToneDecHigh", 12, 14, XOR(uToneDecHigh, 0xFFFF), Run(95444 + 58, 2)},
        // Two-tone code, row 3: T at 98662, the window at 95430, frequencies at 81880,
        // periods at 95518, N at 98140.
        {"ttGroupCall", 13, 3, XOR(ttGroupCall, 0xFF), {{98662, 0xFF}}},
        {"text24 kind 13 (also the name)", 13, 3, XOR(text24[0], 0xFF), {{98662 + 4, 0xFF}, {98140, 0xFF}}},
        {"text24 kind 13 past the name", 13, 3, XOR(text24[12], 0xFF), {{98662 + 16, 0xFF}}},
        {"name kind 13 (taken from text24)", 13, 3, XOR(name[0], 0xFF), {}},
        {"ttAns", 13, 3, FLIP(ttAns), {{98662 + 29, 0xFF}}},
        {"ttBeep", 13, 3, XOR(ttBeep, 7), {{98662 + 30, 0x07}}},
        {"ttSfunc", 13, 3, FLIP(ttSfunc), {{98662 + 30, 0x08}}},
        {"ttScan", 13, 3, XOR(ttScan, 3), {{98662 + 30, 0x30}}},
        {"ttBell", 13, 3, XOR(ttBell, 3), {{98662 + 31, 0x03}}},
        {"ttStun", 13, 3, XOR(ttStun, 3), {{98662 + 31, 0x18}}},
        {"ttAutoTx", 13, 3, FLIP(ttAutoTx), {{98662 + 31, 0x20}}},
        {"ttExo", 13, 3, FLIP(ttExo), {{98662 + 31, 0x80}}},
        {"ttRx1A", 13, 3, XOR(ttRx1A, 0xFFFF), Run(95430, 2)},
        {"ttRx1B", 13, 3, XOR(ttRx1B, 0xFFFF), Run(95432, 2)},
        {"ttRx2A", 13, 3, XOR(ttRx2A, 0xFFFF), Run(95434, 2)},
        {"ttRx2B", 13, 3, XOR(ttRx2B, 0xFFFF), Run(95436, 2)},
        {"ttTx1Freq", 13, 3, [](datCh& c) { c.ttTx1Freq = double(int32_t(c.ttTx1Freq) ^ 0xFFFF); },
         Run(81880, 2)},
        {"ttTx2Freq", 13, 3, [](datCh& c) { c.ttTx2Freq = double(int32_t(c.ttTx2Freq) ^ 0xFFFF); },
         Run(81882, 2)},
        {"ttPeriod1",
         13,
         3,
         [](datCh& c) { c.ttPeriod1 = double(int32_t(c.ttPeriod1) ^ 0xFF); },
         {{95518, 0xFF}}},
        {"ttPeriod2",
         13,
         3,
         [](datCh& c) { c.ttPeriod2 = double(int32_t(c.ttPeriod2) ^ 0xFF); },
         {{95519, 0xFF}}},
        // N[12] is 0x20 + 2 for a code, 0x20 + 15 for none.
        {"ttCodeType", 13, 3, FLIP(ttCodeType), {{98140 + 12, 0x0D}}},
        {"ttRx1A of row 0 (none)", 13, 0, XOR(ttRx1A, 0xFFFF), {}},
        // Bank record 127: name at 97066, group record at 108358.
        {"name kind 15", 15, 127, XOR(name[0], 0xFF), {{97066, 0xFF}}},
        {"ltrBank kind 15", 15, 127, FLIP(ltrBank), {{94188 + 15, 0x01}}},
        {"areaBit", 15, 127, FLIP(areaBit), {{108358, 0x80}}},
        {"blockIdEna", 15, 127, FLIP(blockIdEna), {{108358, 0x40}}},
        {"decPriTgEna", 15, 127, XOR(decPriTgEna, 3), {{108358, 0x20}, {108359, 0x80}}},
        {"totDispatch", 15, 127, FLIP(totDispatch), {{108358, 0x10}}},
        {"totPhone", 15, 127, FLIP(totPhone), {{108358, 0x08}}},
        {"busyLockout", 15, 127, FLIP(busyLockout), {{108358, 0x04}}},
        {"ltrPwrSave", 15, 127, FLIP(ltrPwrSave), {{108358, 0x02}}},
        {"beepOnRx", 15, 127, FLIP(beepOnRx), {{108359, 0x40}}},
        {"beepHandShake", 15, 127, FLIP(beepHandShake), {{108359, 0x20}}},
        {"blockIdStart", 15, 127, XOR(blockIdStart, 0xFF), {{108360, 0xFF}}},
        {"blockIdEnd", 15, 127, XOR(blockIdEnd, 0xFF), {{108361, 0xFF}}},
        {"priTgId", 15, 127, XOR(priTgId, 0xFF), {{108362, 0xFF}}},
        {"numPreBit", 15, 127, XOR(numPreBit, 0xFF), {{108363, 0xFF}}},
        {"numHangBit", 15, 127, XOR(numHangBit, 0xFF), {{108364, 0xFF}}},
        {"siteMarkPos kind 15", 15, 127, XOR(siteMarkPos, 0xFF), {{108365, 0xFF}}},
        // MSK lists.
        {"idGroupAdr", 16, 7, XOR(idGroupAdr, 0xFFFF), Run(99224, 2)},
        {"name kind 16", 16, 7, XOR(name[11], 0xFF), {{99224 + 13, 0xFF}}},
        {"idGroupAlert", 16, 7, XOR(idGroupAlert, 7), {{99224 + 28, 0x07}}},
        {"idGroupSFunc", 16, 7, FLIP(idGroupSFunc), {{99224 + 28, 0x08}}},
        {"idGroupBell", 16, 7, XOR(idGroupBell, 3), {{99224 + 29, 0x03}}},
        {"name kind 17", 17, 31, XOR(name[0], 0xFF), {{99698, 0xFF}}},
        {"callListDigit", 17, 31, XOR(callListDigit, 0xFE), {{99698 + 12, 0xFE}}},
        {"callListUpdate", 17, 31, FLIP(callListUpdate), {{99698 + 12, 0x01}}},
        {"callListSel", 17, 31, FLIP(callListSel), {{99698 + 13, 0x10}}},
        {"name kind 18", 18, 22, XOR(name[0], 0xFF), {{100480, 0xFF}}},
        {"msgBeep", 18, 22, XOR(msgBeep, 0x0F), {{100480 + 12, 0x0F}}},
        {"msgHorn", 18, 22, FLIP(msgHorn), {{100480 + 12, 0x20}}},
        {"msgSFunc", 18, 22, FLIP(msgSFunc), {{100480 + 12, 0x40}}},
        {"msgAuto", 18, 22, FLIP(msgAuto), {{100480 + 12, 0x80}}},
        {"name2 kind 18", 18, 22, XOR(name2[11], 0xFF), {{100096 + 11, 0xFF}}},
        {"msgPriority", 18, 22, FLIP(msgPriority), {{100096 + 12, 0x01}}},
        {"msgSelection kind 18", 18, 22, FLIP(msgSelection), {{100096 + 12, 0x02}}},
        {"name kind 19", 19, 7, XOR(name[0], 0xFF), {{82128 + 84, 0xFF}}},
        {"msgSelection kind 19", 19, 7, FLIP(msgSelection), {{100512 + 14, 0x02}}},
        // Digital lists.
        {"indId", 20, 99, XOR(indId, -1), Run(102112, 4)},
        {"name kind 20", 20, 99, XOR(name[0], 0xFF), {{102112 + 4, 0xFF}}},
        {"grpId", 21, 249, XOR(grpId, 0xFFFF), Run(105614, 2)},
        {"name kind 21", 21, 249, XOR(name[11], 0xFF), {{105614 + 13, 0xFF}}},
        {"nacRx", 22, 0, XOR(nacRx, 0xFFFF), Run(105776, 2)},
        {"nacTx", 22, 0, XOR(nacTx, 0xFFFF), Run(105778, 2)},
        {"nacSel", 22, 0, FLIP(nacSel), {{93907, 0x80}}},
        {"name kind 23", 23, 31, XOR(name[0], 0xFF), {{107194, 0xFF}}},
        {"statusBeep", 23, 31, XOR(statusBeep, 0x0F), {{107194 + 12, 0x0F}}},
        {"name2 kind 23", 23, 31, XOR(name2[0], 0xFF), {{106682, 0xFF}}},
        {"statusSelection", 23, 31, FLIP(statusSelection), {{106682 + 12, 0x02}}},
        // Repeater-pool entry 25 (site 1; the current site is 0 without a bus).
        {"poolRxDat", 24, 25, FLIP(poolRxDat), {{108616 + 8, 0x80}}},
        {"poolTxDat", 24, 25, FLIP(poolTxDat), {{108616 + 8, 0x40}}},
        {"poolNar", 24, 25, FLIP(poolNar), {{108616 + 8, 0x20}}},
        {"poolRfPo", 24, 25, XOR(poolRfPo, 3), {{108616 + 8, 0x18}}},
        {"poolPhone", 24, 25, FLIP(poolPhone), {{108616 + 8, 0x01}}},
        {"areaBit kind 24", 24, 25, FLIP(areaBit), {}},
        {"siteMarkPos kind 24", 24, 25, XOR(siteMarkPos, 0xFF), {}},
        // MDC alias.
        {"mdcText", 26, 499, XOR(mdcText[0], 0xFF), {{147633, 0xFF}}},
        {"mdcStrip", 26, 499, FLIP(mdcStrip), {{147633 + 12, 0x80}}},
        {"mdcBeepType", 26, 499, XOR(mdcBeepType, 0x0F), {{147633 + 12, 0x0F}}},
        {"mdcId", 26, 499, XOR(mdcId, 0xFFFF), Run(147633 + 13, 2)},
    };
    return cases;
}

class datChFields : public RecordTest {};

TEST_F(datChFields, StoreOfAChangedFieldChangesExactlyItsBits) {
    const cmcEeprom base(image);
    for (const FieldCase& fc : Cases()) {
        SCOPED_TRACE(std::string(fc.field) + " kind " + std::to_string(fc.kind));
        image.Assign(base);
        datCh ch(&image);
        // Start from what Store makes of the row, so that only the change shows.
        ch.Load(fc.kind, fc.row).StoreSelf();
        const cmcEeprom before(image);
        ch.Load(fc.kind, fc.row);
        fc.change(ch);
        ch.StoreSelf();
        EXPECT_EQ(Diff(before, image), fc.expected);
    }
}

// The bits that Store derives or normalises, per kind: clamped frequencies,
// the DTCS-only tone bits of a CTCSS tone, text presence bits and the other
// documented side effects. Everything else must come back as it was.
BitMap SideEffects(int32_t kind, int32_t n) {
    BitMap m;
    auto add = [&m](const BitMap& more) {
        for (auto [at, mask] : more)
            m[at] |= mask;
    };
    switch (kind) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
        add(Run(S(n, 0), 8));
        add({{S(n, 8), 0x21}, {S(n, 10), 0x21}, {S(n, 12), 0x20}});
        if (kind <= 3) {
            add({{X(n, 6), 0xCF}, {X(n, 7), 0xFF}, {X(n, 8), 0x80}, {X(n, 9), 0xFF}, {X(n, 11), 0x3F}});
        } else {
            add({{X(n, 11), 0xFF}});
        }
        if (kind == 5) add({{X(n, 4), 0xFF}});
        break;
    case 9:
        add({{97078 + 4 * n, 0x21}, {97078 + 4 * n + 2, 0x21}});
        break;
    case 10:
        add({{98560 + 34 * n + 31, 0x04}});
        break;
    case 11:
        add({{98112 + 14 * n + 13, 0x20}});
        break;
    case 13:
        add({{98560 + 34 * n + 29, 0xFF}, {98560 + 34 * n + 31, 0x04}});
        if (n != 0) add(Run(98098 + 14 * n, 14));
        break;
    case 16:
        add({{99000 + 32 * n + 29, 0x04}});
        break;
    case 17:
        add(Run(82000 + 4 * n, 4));
        add({{99264 + 14 * n + 13, 0x20}});
        break;
    case 24:
        add(Run(108366 + 10 * n, 8));
        break;
    case 25:
        add({{137038 + 44 * n + 39, 0x04}});
        break;
    default:
        break;
    }
    return m;
}

TEST_F(datChFields, LoadThenStoreKeepsEveryBitButTheDocumentedSideEffects) {
    for (int32_t kind = 1; kind < datCh::kKinds; ++kind) {
        if (kind == 14) continue;
        const int32_t lo = datCh::FieldMin(kind), hi = datCh::FieldMax(kind);
        for (int32_t n : {0, lo, (lo + hi) / 2, hi}) {
            SCOPED_TRACE("kind " + std::to_string(kind) + " row " + std::to_string(n));
            const cmcEeprom before(image);
            datCh ch(&image);
            ch.Load(kind, n).StoreSelf();
            const BitMap allowed = SideEffects(kind, n);
            for (auto [at, bits] : Diff(before, image)) {
                auto it = allowed.find(at);
                EXPECT_TRUE(it != allowed.end() && (bits & ~it->second) == 0) << "offset " << at;
            }
            // What Store wrote is what it keeps writing: untouched, the image stays byte-identical.
            const cmcEeprom stored(image);
            const datCh loaded = datCh(&image).Load(kind, n);
            datCh(loaded).StoreSelf();
            EXPECT_TRUE(image.IsEqual(stored));
            EXPECT_EQ(datCh(&image).Load(kind, n), loaded);
        }
    }
}

} // namespace
