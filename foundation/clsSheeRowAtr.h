#pragma once
#include <cstdint>
#include <string>
#include <utility>

// What a sheet remembers of one of its rows.
class clsSheeRowAtr {
public:
    clsSheeRowAtr() = default;
    clsSheeRowAtr(int32_t id, std::string text) : id(id), text(std::move(text)) {}

    int32_t id = 0;
    std::string text;
};
