#pragma once
#include <string>

// A sheet definition "[Type]Name,Params": the type in brackets may be
// missing, and so may the comma and the parameters.
struct SheetDefinition {
    std::string type;
    std::string name;
    std::string params;

    static SheetDefinition Split(const std::string& definition);
};
