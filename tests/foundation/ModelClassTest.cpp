#include "foundation/ModelClass.h"
#include "foundation/indEnviron.h"
#include "tests/image/ScopedModel.h"

#include <gtest/gtest.h>

namespace {

class ModelClassTest : public ::testing::Test {
protected:
    testimage::ScopedModel model_{0};
    indEnviron& env_ = model_.Env();
};

TEST_F(ModelClassTest, EveryIndexHasItsClassFormAndKeySuffix) {
    struct Case {
        int32_t index;
        int modelClass;
        bool handheld, mobile;
        const char* suffix;
    } cases[] = {
        {0, 1, true, false, "Lmr"},
        {1, 2, true, false, "LmrLtr"},
        {2, 3, true, false, "LmrP25"},
        {3, 4, true, false, "Pmr"},
        {4, 5, true, false, "PmrZ"},
        {5, 1, false, true, "Lmr_Mob"},
        {6, 2, false, true, "LmrLtr_Mob"},
        {7, 3, false, true, "LmrP25_Mob"},
        {8, 4, false, true, "Pmr_Mob"},
        {9, 5, false, true, "PmrZ_Mob"},
        // Hand-edited settings: no model, so plain LMR and no form at all.
        {12, 1, false, false, "Lmr"},
        {-1, 1, false, false, "Lmr"},
    };
    for (const Case& c : cases) {
        env_.ModelType = c.index;
        SCOPED_TRACE(c.index);
        EXPECT_EQ(ModelClassOf(c.index), c.modelClass);
        EXPECT_EQ(GetModelClass(), c.modelClass);
        const bool isClass[] = {IsModelLmr(), IsModelLtr(), IsModelP25(), IsModelPmr(), IsModelPmrZ()};
        for (int k = 1; k <= 5; ++k)
            EXPECT_EQ(isClass[k - 1], k == c.modelClass) << "class " << k;
        EXPECT_EQ(IsModelNotPmrZ(), c.modelClass != 5);
        EXPECT_EQ(IsModelHandheld(), c.handheld);
        EXPECT_EQ(IsModelMobile(), c.mobile);
        EXPECT_EQ(ModelKeySuffix(), c.suffix);
    }
}

} // namespace
