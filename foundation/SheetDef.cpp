#include "foundation/SheetDef.h"

SheetDef SplitSheetDef(const std::string& definition) {
    SheetDef out;
    const size_t comma = definition.find(',');
    const std::string head = definition.substr(0, comma);
    if (comma != std::string::npos) out.params = definition.substr(comma + 1);
    const size_t open = head.find('[');
    const size_t close = open == std::string::npos ? std::string::npos : head.find(']', open);
    if (close == std::string::npos) {
        out.name = head;
    } else {
        out.type = head.substr(open + 1, close - open - 1);
        out.name = head.substr(close + 1);
    }
    return out;
}
