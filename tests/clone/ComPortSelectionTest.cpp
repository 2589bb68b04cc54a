#include "clone/ComPortSelection.h"

#include <gtest/gtest.h>

namespace {

TEST(ComPortSelection, TrimmedDecimalFrom1To256) {
    const struct {
        const char* text;
        std::optional<int> port;
    } cases[] = {{" 7 ", 7},           {"\t256", 256},        {"1", 1},
                 {"0007", 7},          {"0", std::nullopt},   {"257", std::nullopt},
                 {"", std::nullopt},   {"   ", std::nullopt}, {"abc", std::nullopt},
                 {"x7", std::nullopt}, {"7x", std::nullopt},  {"-1", std::nullopt},
                 {"+5", std::nullopt}, {"7 8", std::nullopt}, {"99999999999", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(ParseComPort(c.text), c.port) << '"' << c.text << '"';
}

} // namespace
