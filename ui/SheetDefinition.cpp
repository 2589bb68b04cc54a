#include "ui/SheetDefinition.h"

SheetDefinition SheetDefinition::Split(const std::string& definition) {
    SheetDefinition d;
    size_t start = 0;
    if (definition.starts_with('[')) {
        const size_t close = definition.find(']');
        if (close != std::string::npos) {
            d.type = definition.substr(1, close - 1);
            start = close + 1;
        }
    }
    const size_t comma = definition.find(',', start);
    d.name = definition.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (comma != std::string::npos) d.params = definition.substr(comma + 1);
    return d;
}
