#include "cells/RowInsert.h"

#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/DynamicCapacity.h"
#include "image/ImageLayout.h"
#include "image/ImagePacking.h"
#include "platform/Fatal.h"
#include "platform/MessageBox.h"

namespace {

constexpr int32_t kMaxSiteEntries = 20;

bool Fits(const cmcEeprom& image, InsertTable table, int32_t unit) {
    if (table == InsertTable::Pool) {
        return GetTotalSiteChannels(image) < layout::kPoolRows &&
               GetSiteChannelCountIn(image, unit) < kMaxSiteEntries &&
               FitsDynamicArea(image, kCategoryRepeater, 1, unit);
    }
    return GetTotalBankChannels(image) < layout::kChannelRows &&
           FitsDynamicArea(image, kCategoryChannel, 1, unit);
}

int32_t Count(const cmcEeprom& image, InsertTable table, int32_t unit) {
    return table == InsertTable::Pool ? GetSiteChannelCountIn(image, unit)
                                      : GetBankChannelCountIn(image, unit);
}

void OverflowBox() {
    if (!gGTex) plat::Fatal("No text table for the message.");
    plat::ShowMessageBox(GetMultiLineText(*gGTex, "GI_AppMess_ChErr_Overflow"),
                         gGTex->GetText("GI_Sys_AppTitle"), plat::MB_OK | plat::MB_ICONERROR);
}

} // namespace

bool InsertRowForInput(cmcEeprom& image, InsertTable table, int32_t unit, int32_t row) {
    if (!Fits(image, table, unit)) {
        OverflowBox();
        return false;
    }
    const bool pool = table == InsertTable::Pool;
    const int32_t before = Count(image, table, unit);
    if (gEvMan) gEvMan->Send(pool ? evInsertPoolRow : evInsertChannelRow, unit, row);
    if (Count(image, table, unit) != before + 1) return false;
    if (Static2DynamicInit(image) != 0) {
        gEvMan->Send(pool ? evRemovePoolRow : evRemoveChannelRow, unit, row);
        Static2DynamicInit(image);
        OverflowBox();
        return false;
    }
    return true;
}
