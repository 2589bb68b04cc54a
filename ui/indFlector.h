#pragma once
#include "ui/cuiFlector.h"

class iuiSh_Mch;

// The list pop-up with a channel sheet: its parameters choose the rows
// ("C": the channels of the bank the scan-list selection chose).
class indFlector : public cuiFlector {
public:
    indFlector(const CellEngine& engine, const cmcCellCapsule& request, int32_t initialCellId,
               int32_t initialIndex, cmcGTex& texts, const std::string& name, const std::string& params);

    iuiSh_Mch* ChannelSheet() const;
};
