#include "foundation/SheetDef.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char* text;
    SheetDef parts;
};

const SplitCase kSplitCases[] = {
    {"[St_ChBank]GI_Sheet_Mch,Bank 3", {"St_ChBank", "GI_Sheet_Mch", "Bank 3"}},
    {"GI_Sheet_X", {"", "GI_Sheet_X", ""}},
    {"[A]B", {"A", "B", ""}},
    // Only the first comma splits; the parameters keep the rest as it stands.
    {"[T]N,a,b", {"T", "N", "a,b"}},
    // A bracket behind the comma belongs to the parameters.
    {"N,[T]x", {"", "N", "[T]x"}},
    // Without its closing bracket there is no type: the whole head is the name.
    {"[T N,p", {"", "[T N", "p"}},
    {"x[T]N", {"T", "N", ""}},
    {"", {"", "", ""}},
    {",p", {"", "", "p"}},
};

TEST(SplitSheetDefTest, SplitsTypeNameAndParams) {
    for (const SplitCase& c : kSplitCases)
        EXPECT_EQ(SplitSheetDef(c.text), c.parts) << c.text;
}

} // namespace
