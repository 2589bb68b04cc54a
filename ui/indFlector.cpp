#include "ui/indFlector.h"

#include "ui/iuiSh_Mch.h"

indFlector::indFlector(const CellEngine& engine, const cmcCellCapsule& request, int32_t initialCellId,
                       int32_t initialIndex, cmcGTex& texts, const std::string& name,
                       const std::string& params)
    : cuiFlector(request, name, [&](QWidget* form) -> std::unique_ptr<cuiSheet> {
          auto sheet =
              std::make_unique<iuiSh_Mch>(engine, form, &request, initialCellId, initialIndex, texts, name);
          sheet->SetParams(params);
          return sheet;
      }) {}

iuiSh_Mch* indFlector::ChannelSheet() const {
    return static_cast<iuiSh_Mch*>(Sheet());
}
