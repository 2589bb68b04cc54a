#pragma once
#include "image/ImageLayout.h"
#include "image/PartitionTable.h"
#include "image/cmcEeprom.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <vector>

namespace testimage {

// A working-layout image for the pass tests, with a builder for the radio
// part: blocks appended to the dynamic area one after another, then the
// partition table and its own entry in the header.
class RadioImage {
public:
    RadioImage() { image_.SetSize(layout::kImageSize); }

    cmcEeprom& Image() { return image_; }
    uint8_t* Data() { return image_.Data(); }
    const uint8_t* Data() const { return image_.Data(); }
    uint8_t& operator[](int32_t at) { return *At(at, 1); }
    std::vector<uint8_t> Bytes() const { return Range(0, layout::kImageSize); }

    uint16_t Word(int32_t at) const { return image_.GetWord(at); }
    void SetWord(int32_t at, uint16_t v) { image_.SetWord(at, v); }
    void Fill(int32_t at, int32_t length, uint8_t v) {
        std::memset(At(at, length), v, static_cast<size_t>(length));
    }
    bool Equal(int32_t at, const uint8_t* p, int32_t length) const {
        return std::memcmp(At(at, length), p, static_cast<size_t>(length)) == 0;
    }
    std::vector<uint8_t> Range(int32_t at, int32_t length) const {
        const uint8_t* p = At(at, length);
        return {p, p + length};
    }

    // The static table's bytes, every byte its own value so that a record
    // copied to the wrong place shows.
    void Scribble(const layout::StaticTable& t, uint8_t seed) {
        uint8_t* p = At(t.offset, t.Bytes());
        for (int32_t i = 0; i < t.Bytes(); ++i)
            p[i] = static_cast<uint8_t>(seed + i * 7 + i / 251);
    }

    // Appends a block of count records of size bytes; record r byte j holds
    // Pattern(id, r, j), or what fill gives. Returns the block's image offset.
    int32_t AddBlock(uint16_t id, uint16_t size, uint16_t count) {
        return AddBlock(id, size, count, [id](int32_t r, int32_t j) { return Pattern(id, r, j); });
    }
    int32_t AddBlock(uint16_t id, uint16_t size, uint16_t count,
                     const std::function<uint8_t(int32_t, int32_t)>& fill) {
        const int32_t at = next_;
        for (int32_t r = 0; r < count; ++r)
            for (int32_t j = 0; j < size; ++j)
                *At(at + r * size + j, 1) = fill(r, j);
        entries_.push_back({id, size, count, static_cast<uint16_t>(at - layout::kDynamicStart + base_)});
        next_ += size * count;
        return at;
    }
    // An entry that points wherever the test wants, with no bytes behind it.
    void AddEntry(const PtblEntry& e) { entries_.push_back(e); }
    void SetBase(uint16_t base) { base_ = base; }

    // Writes the table behind the blocks and its own entry.
    void Finish() {
        const int32_t at = next_;
        for (size_t i = 0; i < entries_.size(); ++i)
            WritePtblEntry(At(at + 10 * static_cast<int32_t>(i), 10), entries_[i]);
        next_ += static_cast<int32_t>(10 * entries_.size());
        SetWord(layout::kHdrBase, base_);
        WritePtblEntry(At(layout::kHdrOwnEntry, 8),
                       {layout::kPtblId, 10, static_cast<uint16_t>(entries_.size()),
                        static_cast<uint16_t>(at - layout::kDynamicStart + base_)});
    }

    static uint8_t Pattern(uint16_t id, int32_t r, int32_t j) {
        return static_cast<uint8_t>(id * 31 + r * 5 + j + 1);
    }

private:
    // The test's own accesses are checked like the image's.
    uint8_t* At(int32_t at, int32_t length) const {
        const bool inside = length == 0 ? at >= 0 && at <= image_.GetSize() : image_.IsValidRange(at, length);
        if (!inside) throw std::out_of_range("outside the test image");
        return const_cast<uint8_t*>(image_.Data()) + at;
    }

    cmcEeprom image_;
    std::vector<PtblEntry> entries_;
    int32_t next_ = layout::kDynamicStart;
    uint16_t base_ = layout::kDynamicStart;
};

} // namespace testimage
