#pragma once
#include "foundation/cmcHash2.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The lists laid out as cells in a "<name>_Cells" definition text (pop-up
// lists, key-assignment tables), parsed once per (name, cell id) and kept for
// the rest of the run: which text stands for a value, and which value comes
// next or before in screen order. Lookups are a hash lookup and a binary
// search.
class cmcFCache {
public:
    cmcFCache() = default;
    ~cmcFCache() = default;
    cmcFCache(const cmcFCache&) = delete;
    cmcFCache& operator=(const cmcFCache&) = delete;

    // The item text for the value, loading the list on first use; "error"
    // for a value the list does not hold.
    std::string Text(const std::string& name, int32_t cellId, int32_t value);

    // The value delta places away from the current one in screen order,
    // wrapping at both ends; a current value not in the list steps from past
    // the end. False, with the value left alone, when the list was never
    // loaded or holds no item.
    bool Step(const std::string& name, int32_t cellId, int32_t current, int32_t delta, int32_t& out);

    // Parses the list from the program's text table. Loading a list twice is
    // the hash table's fatal duplicate error.
    void Load(const std::string& name, int32_t cellId);

    // False when the list was never loaded; otherwise true with the item text,
    // or "error" when no item has the value.
    bool Find(const std::string& name, int32_t cellId, int32_t value, std::string& out) const;

private:
    struct Item {
        int32_t line;     // from 0
        int32_t position; // on its line, counting every cell of the line
        int32_t value;
        std::string text;
    };
    struct Entry {
        int32_t lineCount = 0;
        int32_t maxCellsOnALine = 0;
        std::vector<Item> byValue;
        std::vector<Item> screenOrder;
    };

    static std::string KeyText(const std::string& name, int32_t cellId);
    const Entry* FindEntry(const std::string& name, int32_t cellId) const;

    cmcHash2<Entry> index_;
    std::vector<std::unique_ptr<Entry>> entries_;
};
