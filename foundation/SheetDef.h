#pragma once
#include <string>

// The parts of a sheet definition text "[Type]Name,Params". Type is empty
// without a bracket pair; Params is empty without a comma.
struct SheetDef {
    std::string type;
    std::string name;
    std::string params;

    bool operator==(const SheetDef&) const = default;
};

SheetDef SplitSheetDef(const std::string& definition);
