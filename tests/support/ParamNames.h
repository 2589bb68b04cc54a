#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

// Readable names and printouts for parameterised tests, instead of "/3" and a
// hex dump of the parameter in the test list and in failure messages.
namespace testsupport {

// A case with a `name` prints as its name. A test file makes it visible to
// gtest with `using testsupport::PrintTo;` in the namespace of its cases.
template <typename Case>
requires requires(const Case& c) {
    std::string_view(c.name);
}
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

// Names each test after its case's `name`.
struct CaseName {
    template <typename Case> std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        return std::string(info.param.name);
    }
};

// The ten models: the five radio classes as handhelds (0..4), then as mobiles.
inline std::string ModelName(int32_t index) {
    static const char* const kNames[] = {"Lmr",     "LmrLtr",     "LmrP25",     "Pmr",     "PmrZ",
                                         "Lmr_Mob", "LmrLtr_Mob", "LmrP25_Mob", "Pmr_Mob", "PmrZ_Mob"};
    return index >= 0 && index < 10 ? kNames[index] : "Model" + std::to_string(index);
}

// Names each test over a model index after the model.
struct ModelParamName {
    std::string operator()(const ::testing::TestParamInfo<int32_t>& info) const {
        return ModelName(info.param);
    }
};

} // namespace testsupport
