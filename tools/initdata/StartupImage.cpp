#include "tools/initdata/StartupImage.h"

#include "foundation/ModelClass.h"
#include "image/ImageLayout.h"
#include "image/LayoutProfile.h"
#include "image/PartitionTable.h"
#include "image/RecordLayout.h"
#include "image/cmcEeprom.h"
#include "platform/Fatal.h"

#include <cstring>
#include <string>

namespace {

using layout::StaticTable;

constexpr uint8_t kBlank = 0x20;

// Text fields of the tables: where in each record, how long.
struct TextField {
    uint16_t table;
    int32_t at;
    int32_t length;
};
constexpr TextField kTextFields[] = {
    {2, 14, 12},  // channel name
    {9, 0, 32},   // the two comment texts
    {13, 0, 12},  // bank and site names
    {16, 0, 24},  // scan list texts
    {17, 0, 24},  // digit memory texts
    {19, 0, 12},  // five-tone transmit and two-tone transmit names
    {20, 4, 24},  // five-tone receive and two-tone texts
    {22, 0, 24},  // opening and emergency texts
    {28, 0, 12},  // MSK call list names
    {29, 2, 12},  // MSK ID group names
    {30, 0, 12},  // MSK status texts, transmit side
    {31, 0, 12},  // MSK status texts, receive side
    {32, 0, 12},  // MSK short texts
    {34, 4, 12},  // digital individual ID names
    {35, 2, 12},  // digital group ID names
    {46, 12, 24}, // DTMF receive entry texts
    {59, 0, 12},  // MDC alias texts
    {63, 0, 12},  // digital status texts, transmit side
    {64, 0, 12},  // digital status texts, receive side
};
// Each MDC status and message record: sixteen 12-byte texts, then their flags.
constexpr int kMdcTexts = 16;
constexpr int kMdcTextLength = 12;

// Tone records read as "off" with bit 7 of their first byte set.
constexpr uint8_t kToneOff = 0x80;
// A PMR channel's repeater, station and ID code bytes in its 22-byte record.
constexpr int32_t kRepeaterCode = 7;
constexpr int32_t kStationCode = 8;
constexpr int32_t kIdCode = 9;
constexpr uint8_t kFirstAbcCode = 1;
constexpr int kClassPmr = 4;
constexpr int kClassPmrZ = 5;

// The MSK address plan: individual addresses 0..1999, group addresses
// 2000..4095; ID group 0 is an individual address, groups 1..7 group addresses.
constexpr int32_t kGroupAddressStart = 99256;
constexpr int32_t kCommonAddress = 99258;
constexpr int32_t kKillerAddress = 99260;
constexpr uint16_t kFirstGroupAddress = 2000;
constexpr uint16_t kAllCall = 4095;

// The programmable keys and the dial of both key sets hold the code of their
// function; 32 is "no function" in every key list. The counter-clockwise dial
// bytes (93871, 93887) follow the clockwise ones and stay 0 for it.
constexpr int32_t kConvKeys = 93860;
constexpr int32_t kSmarTrunkKeys = 93876;
constexpr int32_t kKeysPerSet = 11;
constexpr uint8_t kNoFunction = 32;

// Model-class bits at 94210, as the model detection reads them.
constexpr uint8_t kClassBit[] = {0, 0x80, 0x01, 0x10, 0x40, 0x20};
constexpr uint8_t kHandheld = 0x20; // header byte 12

constexpr int32_t kSignatureLength = sizeof layout::kMakerSignature - 1;
constexpr uint16_t kHeaderValue = 0x4405;
constexpr uint16_t kModelCode = 0x4410;

void PutWord(uint8_t* p, int32_t v) {
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}

// Only the tables the program's layout has are filled: a program without
// MDC or digital status tables has no texts there.
void FillTables(uint8_t* image, int32_t modelIndex, const layout::LayoutProfile& tables) {
    for (const TextField& f : kTextFields) {
        const StaticTable* t = tables.Find(f.table);
        if (!t) continue;
        for (int32_t r = 0; r < t->records; ++r)
            std::memset(image + t->Record(r) + f.at, kBlank, f.length);
    }
    for (uint16_t id : {60, 61}) {
        const StaticTable* t = tables.Find(id);
        if (!t) continue;
        for (int32_t r = 0; r < t->records; ++r)
            std::memset(image + t->Record(r), kBlank, kMdcTexts * kMdcTextLength);
    }

    // A new channel has both tones off; so has every tone pair.
    const StaticTable& channels = tables.Get(2);
    for (int32_t r = 0; r < channels.records; ++r) {
        image[channels.Record(r) + 8] = kToneOff;
        image[channels.Record(r) + 10] = kToneOff;
    }
    // A new PMR channel's repeater, station and ID codes are code 1: the
    // ABC codes count from 1, and 0 is none of them.
    if (const int cls = ModelClassOf(modelIndex); cls == kClassPmr || cls == kClassPmrZ) {
        const StaticTable& records = tables.Get(3);
        for (int32_t r = 0; r < records.records; ++r)
            for (int32_t at : {kRepeaterCode, kStationCode, kIdCode})
                image[records.Record(r) + at] = kFirstAbcCode;
    }
    const StaticTable& tonePairs = tables.Get(14);
    for (int32_t r = 0; r < tonePairs.records; ++r) {
        image[tonePairs.Record(r)] = kToneOff;
        image[tonePairs.Record(r) + 2] = kToneOff;
    }
    // A new call-list entry calls address 0000; its two spare bytes are 0xFF.
    const StaticTable& callList = tables.Get(27);
    for (int32_t r = 0; r < callList.records; ++r)
        PutWord(image + callList.Record(r) + 2, 0xFFFF);

    PutWord(image + kGroupAddressStart, kFirstGroupAddress);
    PutWord(image + kCommonAddress, kAllCall);
    PutWord(image + kKillerAddress, 0);
    const StaticTable& idGroups = tables.Get(29);
    PutWord(image + idGroups.Record(0), 1);
    for (int32_t g = 1; g < idGroups.records; ++g)
        PutWord(image + idGroups.Record(g), kFirstGroupAddress + g - 1);

    std::memset(image + kConvKeys, kNoFunction, kKeysPerSet);
    std::memset(image + kSmarTrunkKeys, kNoFunction, kKeysPerSet);

    image[layout::kClassBits] = kClassBit[ModelClassOf(modelIndex)];
}

void FillHeader(uint8_t* image, int32_t modelIndex) {
    PutWord(image, kHeaderValue);
    image[2] = 1;
    image[12] = modelIndex <= 4 ? kHandheld : 0;
    std::memcpy(image + layout::kHdrSignature, layout::kMakerSignature, kSignatureLength);
    image[264] = 1;
    PutWord(image + layout::kHdrModelCode, kModelCode);
    PutWord(image + layout::kHdrBase, layout::kDynamicStart);
}

// Where each table goes: in packing order, then the tables never packed.
class Layout {
public:
    explicit Layout(uint8_t* image) : image_(image) {}

    void Block(const StaticTable& t) {
        const int32_t count = t.expand == layout::ExpandKind::FirstIntoAll ? 1 : t.records;
        const int32_t length = t.recordSize * count;
        Need(length);
        if (t.id == 3) PutWord(image_ + layout::kHdrBlock3Address, at_);
        WritePtblEntry(image_ + layout::kPtblCopy + layout::kPtblEntrySize * k_,
                       {t.id, static_cast<uint16_t>(t.recordSize), static_cast<uint16_t>(count),
                        static_cast<uint16_t>(at_)});
        std::memcpy(image_ + at_, image_ + t.offset, static_cast<size_t>(length));
        at_ += length;
        ++k_;
    }

    void Finish() {
        const int32_t length = layout::kPtblEntrySize * k_;
        Need(length + kSignatureLength);
        WritePtblEntry(image_ + layout::kHdrOwnEntry,
                       {layout::kPtblId, static_cast<uint16_t>(layout::kPtblEntrySize),
                        static_cast<uint16_t>(k_), static_cast<uint16_t>(at_)});
        std::memcpy(image_ + at_, image_ + layout::kPtblCopy, static_cast<size_t>(length));
        at_ += length;
        std::memcpy(image_ + at_, layout::kMakerSignature, kSignatureLength);
        at_ += kSignatureLength;
        PutWord(image_ + layout::kHdrEndAddress, at_);
    }

private:
    void Need(int32_t length) {
        if (at_ + length >= layout::kDynamicEnd || k_ >= layout::kPtblMaxEntries)
            plat::Fatal("The start-up data does not fit the dynamic area.");
    }

    uint8_t* image_;
    int32_t at_ = layout::kDynamicStart; // base 512: addresses are image offsets
    int32_t k_ = 0;
};

} // namespace

void BuildStartupImage(cmcEeprom& eeprom, int32_t modelIndex) {
    BuildStartupImage(eeprom, modelIndex, layout::CloningLayout());
}

void BuildStartupImage(cmcEeprom& eeprom, int32_t modelIndex, const layout::LayoutProfile& tables) {
    eeprom.SetSize(layout::kImageSize);
    uint8_t* image = eeprom.Data();
    FillTables(image, modelIndex, tables);
    FillHeader(image, modelIndex);
    Layout blocks(image);
    for (const StaticTable* t : tables.PackSequence())
        blocks.Block(*t);
    for (const StaticTable& t : tables.Tables())
        if (t.packOrder == 0) blocks.Block(t);
    blocks.Finish();
}
