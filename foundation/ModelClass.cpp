#include "foundation/ModelClass.h"

#include "foundation/Globals.h"
#include "foundation/indEnviron.h"

namespace {

// A hand-edited value in the settings may be anything, negative ones included.
uint32_t CurrentIndex() {
    return static_cast<uint32_t>(gEnviron->ModelType);
}

} // namespace

int ModelClassOf(int32_t index) {
    uint32_t i = static_cast<uint32_t>(index);
    return i <= 9 ? static_cast<int>(i % 5) + 1 : 1;
}

int GetModelClass() {
    return ModelClassOf(static_cast<int32_t>(CurrentIndex()));
}

bool IsModelLmr() {
    return GetModelClass() == 1;
}
bool IsModelLtr() {
    return GetModelClass() == 2;
}
bool IsModelP25() {
    return GetModelClass() == 3;
}
bool IsModelPmr() {
    return GetModelClass() == 4;
}
bool IsModelPmrZ() {
    return GetModelClass() == 5;
}
bool IsModelNotPmrZ() {
    return GetModelClass() >= 1 && GetModelClass() <= 4;
}
bool IsModelHandheld() {
    return CurrentIndex() <= 4;
}
bool IsModelMobile() {
    return CurrentIndex() >= 5 && CurrentIndex() <= 9;
}

std::string ModelKeySuffix() {
    std::string suffix;
    if (IsModelPmrZ())
        suffix = "PmrZ";
    else if (IsModelPmr())
        suffix = "Pmr";
    else if (IsModelP25())
        suffix = "LmrP25";
    else if (IsModelLtr())
        suffix = "LmrLtr";
    else
        suffix = "Lmr";
    return IsModelMobile() ? suffix + "_Mob" : suffix;
}
