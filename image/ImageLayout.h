#pragma once
#include <array>
#include <cstdint>

// Where things live in the memory image: the radio's header and dynamic area,
// the program's static tables (one per partition ID) and the working copy of
// the partition table. Packing, unpacking and the records all read this table.
namespace layout {

constexpr int32_t kImageSize = 148298;
constexpr int32_t kHeaderSize = 512;
constexpr int32_t kDynamicStart = 512;
constexpr int32_t kDynamicEnd = 0xFF80; // first byte past the dynamic area (and the cloned part)
constexpr int32_t kStaticStart = 65408;
constexpr int32_t kPtblCopy = 147648; // 65 entries of 10 bytes
constexpr int32_t kPtblEntrySize = 10;
constexpr int32_t kPtblMaxEntries = 65;

// Header fields.
constexpr int32_t kHdrBlock3Address = 272;
constexpr int32_t kHdrEndAddress = 274;
constexpr int32_t kHdrBase = 276;
constexpr int32_t kHdrOwnEntry = 288;
constexpr int32_t kHdrSignature = 256;
constexpr int32_t kHdrModelCode = 266;
constexpr char kMakerSignature[] = "MORV Inc"; // 8 bytes, no terminator in the image

// Model classes a block is packed for.
enum class PackWhen : uint8_t { Always, Never, LtrOnly, P25Only, NotPmrZ };
// How unpacking takes a block into its table.
enum class UnpackKind : uint8_t { Records, Block, Never };
// How the reference expansion of a model's initial image takes it.
enum class ExpandKind : uint8_t { Block, FirstIntoAll, Records };
// How many records packing takes from a table, always from record 0: all of
// them, the channels of banks 0..126, the used repeater-pool entries (at most
// the table), or every channel (at most the table).
enum class PackCount : uint8_t { Whole, ChannelsBelowBank127, UsedPool, AllChannels };

struct StaticTable {
    uint16_t id;
    int32_t offset;
    int32_t recordSize;
    int32_t records;
    int packOrder; // position in the packing order; 0 = never packed
    PackWhen when;
    UnpackKind unpack;
    ExpandKind expand;
    int32_t expandMax; // ExpandKind::Records: at most this many records
    PackCount count = PackCount::Whole;
    constexpr int32_t Bytes() const { return recordSize * records; }
    constexpr int32_t End() const { return offset + Bytes(); }
    constexpr int32_t Record(int32_t i) const { return offset + recordSize * i; }
};

using P = PackWhen;
using U = UnpackKind;
using E = ExpandKind;
using C = PackCount;

// In image order. IDs 4 and 5 (bank 127's channels) have no table of their own,
// ID 1 is the partition table itself.
constexpr std::array<StaticTable, 60> kStaticTables = {{
    {2, 65408, 30, 512, 1, P::Always, U::Records, E::FirstIntoAll, 0, C::ChannelsBelowBank127},
    {7, 80768, 16, 1, 2, P::Always, U::Block, E::Block, 0},
    {15, 80784, 64, 17, 3, P::Always, U::Records, E::Block, 0},
    {18, 81872, 4, 32, 6, P::Always, U::Records, E::Records, 32},
    {27, 82000, 4, 32, 7, P::Always, U::Records, E::FirstIntoAll, 0},
    {32, 82128, 12, 8, 8, P::Always, U::Records, E::FirstIntoAll, 0},
    {6, 82224, 32, 1, 4, P::Always, U::Block, E::Block, 0},
    {62, 82256, 2, 128, 5, P::Always, U::Records, E::FirstIntoAll, 0},
    {3, 82512, 22, 512, 11, P::Always, U::Records, E::FirstIntoAll, 0, C::ChannelsBelowBank127},
    {8, 93776, 438, 1, 12, P::Always, U::Block, E::Block, 0},
    {9, 94214, 32, 1, 29, P::Always, U::Block, E::Block, 0},
    {10, 94246, 24, 16, 13, P::Always, U::Records, E::FirstIntoAll, 0},
    {11, 94630, 49, 16, 14, P::Always, U::Records, E::FirstIntoAll, 0},
    {12, 95414, 128, 1, 30, P::Always, U::Block, E::Block, 0},
    {13, 95542, 12, 128, 31, P::Always, U::Records, E::FirstIntoAll, 0},
    {14, 97078, 4, 40, 15, P::Always, U::Records, E::FirstIntoAll, 0},
    {16, 97238, 34, 17, 16, P::Always, U::Records, E::Block, 0},
    {17, 97816, 37, 8, 32, P::Always, U::Records, E::Records, 8},
    {19, 98112, 14, 32, 33, P::Always, U::Records, E::Records, 32},
    {20, 98560, 34, 11, 34, P::Always, U::Records, E::Records, 11},
    {21, 98934, 8, 1, 35, P::Always, U::Block, E::Block, 0},
    {22, 98942, 24, 2, 36, P::Always, U::Records, E::Records, 2},
    {23, 98990, 10, 1, 0, P::Never, U::Never, E::Block, 0},
    {29, 99000, 32, 8, 20, P::Always, U::Records, E::Block, 0},
    {26, 99256, 8, 1, 19, P::Always, U::Block, E::Block, 0},
    {28, 99264, 14, 32, 37, P::Always, U::Records, E::FirstIntoAll, 0},
    {25, 99712, 16, 1, 18, P::Always, U::Block, E::Block, 0},
    {24, 99728, 16, 1, 17, P::Always, U::Block, E::Block, 0},
    {30, 99744, 16, 24, 21, P::Always, U::Records, E::Block, 0},
    {31, 100128, 16, 24, 22, P::Always, U::Records, E::Block, 0},
    {33, 100512, 2, 8, 38, P::Always, U::Records, E::FirstIntoAll, 0},
    {34, 100528, 16, 100, 23, P::Always, U::Records, E::FirstIntoAll, 0},
    {35, 102128, 14, 250, 24, P::Always, U::Records, E::FirstIntoAll, 0},
    {37, 105628, 48, 1, 25, P::Always, U::Block, E::Block, 0},
    {38, 105676, 100, 1, 26, P::Always, U::Block, E::Block, 0},
    {36, 105776, 4, 40, 28, P::Always, U::Records, E::FirstIntoAll, 0},
    {39, 105936, 250, 1, 27, P::Always, U::Block, E::Block, 0},
    {63, 106186, 16, 32, 45, P::P25Only, U::Records, E::Block, 0},
    {64, 106698, 16, 32, 46, P::P25Only, U::Records, E::Block, 0},
    {40, 107210, 128, 1, 39, P::LtrOnly, U::Block, E::Block, 0},
    {41, 107338, 4, 1, 40, P::LtrOnly, U::Block, E::Block, 0},
    {42, 107342, 8, 128, 41, P::LtrOnly, U::Records, E::FirstIntoAll, 0},
    {43, 108366, 10, 2560, 42, P::LtrOnly, U::Records, E::FirstIntoAll, 0, C::UsedPool},
    {45, 133966, 6, 512, 43, P::LtrOnly, U::Records, E::FirstIntoAll, 0, C::AllChannels},
    {46, 137038, 44, 10, 44, P::LtrOnly, U::Records, E::Records, 10},
    {47, 137478, 12, 5, 47, P::NotPmrZ, U::Records, E::Records, 5},
    {48, 137538, 20, 5, 48, P::NotPmrZ, U::Records, E::Records, 5},
    {55, 137638, 6, 5, 49, P::NotPmrZ, U::Records, E::Records, 5},
    {54, 137668, 16, 5, 50, P::NotPmrZ, U::Records, E::Records, 5},
    {52, 137748, 4, 5, 51, P::NotPmrZ, U::Records, E::Records, 5},
    {51, 137768, 10, 5, 52, P::NotPmrZ, U::Records, E::Records, 5},
    {53, 137818, 8, 5, 53, P::NotPmrZ, U::Records, E::Records, 5},
    {50, 137858, 8, 5, 54, P::NotPmrZ, U::Records, E::Records, 5},
    {49, 137898, 8, 5, 55, P::NotPmrZ, U::Records, E::Records, 5},
    {56, 137938, 10, 5, 59, P::NotPmrZ, U::Records, E::Records, 5},
    {57, 137988, 10, 5, 60, P::NotPmrZ, U::Records, E::Records, 5},
    {58, 138038, 6, 5, 61, P::NotPmrZ, U::Records, E::Records, 5},
    {60, 138068, 208, 5, 56, P::NotPmrZ, U::Records, E::Records, 5},
    {61, 139108, 208, 5, 57, P::NotPmrZ, U::Records, E::Records, 5},
    {59, 140148, 15, 500, 58, P::NotPmrZ, U::Records, E::FirstIntoAll, 0},
}};

constexpr bool TablesAreContiguous() {
    int32_t at = kStaticStart;
    for (const StaticTable& t : kStaticTables) {
        if (t.offset != at) return false;
        at = t.End();
    }
    return at == kPtblCopy;
}
static_assert(TablesAreContiguous(),
              "static tables must follow each other and end at the partition-table copy");
static_assert(kPtblCopy + kPtblMaxEntries * kPtblEntrySize == kImageSize,
              "the partition-table copy ends the image");

constexpr const StaticTable* FindTable(uint16_t id) {
    for (const StaticTable& t : kStaticTables)
        if (t.id == id) return &t;
    return nullptr;
}

constexpr const StaticTable& Table(uint16_t id) {
    return *FindTable(id);
}

// The partition table's own ID; its entry lives in the header, not in the table.
constexpr uint16_t kPtblId = 1;

// IDs 4 and 5 have no table of their own: they carry bank 127's channels, the
// records of tables 2 and 3 behind those of banks 0..126, and are packed
// between the first group of blocks and block 3.
struct Bank127Block {
    uint16_t id;
    uint16_t table; // the static table whose records the block carries
    int packOrder;
};
constexpr std::array<Bank127Block, 2> kBank127Blocks = {{{4, 2, 9}, {5, 3, 10}}};
constexpr int32_t kBank127BytesPerChannel = 30 + 22;

// The tables that are ever packed, in packing order.
constexpr int CountPackedTables() {
    int n = 0;
    for (const StaticTable& t : kStaticTables)
        if (t.packOrder != 0) ++n;
    return n;
}
constexpr int kPackedTables = CountPackedTables();

constexpr std::array<const StaticTable*, kPackedTables> MakePackSequence() {
    std::array<const StaticTable*, kPackedTables> seq{};
    int n = 0;
    for (const StaticTable& t : kStaticTables)
        if (t.packOrder != 0) seq[n++] = &t;
    for (int i = 1; i < n; ++i)
        for (int j = i; j > 0 && seq[j - 1]->packOrder > seq[j]->packOrder; --j) {
            const StaticTable* keep = seq[j];
            seq[j] = seq[j - 1];
            seq[j - 1] = keep;
        }
    return seq;
}
constexpr std::array<const StaticTable*, kPackedTables> kPackSequence = MakePackSequence();

// Every position of the packing order is taken exactly once, the bank-127
// blocks sit right before block 3 and carry the records that tables 2 and 3
// pack only for banks 0..126.
constexpr bool PackOrderIsComplete() {
    constexpr int positions = kPackedTables + static_cast<int>(kBank127Blocks.size());
    for (int order = 1; order <= positions; ++order) {
        int found = 0;
        for (const StaticTable* t : kPackSequence)
            if (t->packOrder == order) ++found;
        for (const Bank127Block& b : kBank127Blocks)
            if (b.packOrder == order) ++found;
        if (found != 1) return false;
    }
    if (FindTable(3)->packOrder != kBank127Blocks.back().packOrder + 1) return false;
    int32_t bytes = 0;
    for (const Bank127Block& b : kBank127Blocks) {
        const StaticTable* t = FindTable(b.table);
        if (!t || t->count != PackCount::ChannelsBelowBank127 || FindTable(b.id)) return false;
        bytes += t->recordSize;
    }
    return bytes == kBank127BytesPerChannel;
}
static_assert(PackOrderIsComplete(), "packing positions 1..61 must each name one block");

// Fields of the static tables that the image passes use.
constexpr int32_t kBankCounts = 93932;  // 128 big-endian channel counts
constexpr int32_t kDisplayForm = 93824; // bit 2 (kDisplayFormBit): the display's glyph form
constexpr uint8_t kDisplayFormBit = 0x04;
constexpr int32_t kBankFlags = 93900; // 0x40 widen bank 127 on a clone write, 0x20 see normalisation
constexpr int32_t kClassBits = 94210; // model-class bit string
constexpr int32_t kComment1 = 94214;  // two 16-character comment texts
constexpr int32_t kComment2 = 94230;
constexpr int32_t kNewerDataByte = 98934;
constexpr int32_t kSiteCounts = 107210; // 128 per-site repeater counts
// The radio's LTR options, 4 bytes: a byte of switches (bit 0 the ATB ring-back
// of every bank), the out-of-range timer, the fade timer, the decoder switch.
constexpr int32_t kLtrOptions = 107338;
constexpr int32_t kBank127Count = kBankCounts + 2 * 127;
// Fields that packing fills in for the radio: where each record of blocks 60
// and 61 lies (a word in each record of tables 56 and 57), where block 59
// lies (each record of table 58) and which alias entries have a text.
constexpr int32_t kStatusAddressField = 8;
constexpr int32_t kMessageAddressField = 7;
constexpr int32_t kAliasTextLength = 12;
constexpr int32_t kAliasTextFlagByte = 12;
constexpr uint8_t kAliasTextFlag = 0x40;
constexpr int kChannelRows = 512;
constexpr int kBanks = 128;
constexpr int kPoolRows = 2560;
constexpr int kSites = 128;
static_assert(kBankCounts + 2 * kBanks <= Table(8).End() && kBankCounts >= Table(8).offset);
static_assert(kSiteCounts == Table(40).offset && Table(40).Bytes() == kSites);
static_assert(kLtrOptions == Table(41).offset && Table(41).Bytes() == 4);
static_assert(Table(56).Record(0) + kStatusAddressField == 137946);
static_assert(Table(57).Record(0) + kMessageAddressField == 137995);

} // namespace layout
