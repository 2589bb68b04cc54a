#include "ui/iuiSh_Mch.h"

#include "cells/TextConv.h"
#include "foundation/Globals.h"
#include "foundation/TextUtil.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/CurrentImage.h"
#include "image/DynamicCapacity.h"
#include "platform/QtText.h"
#include "ui/PrintWalk.h"
#include "ui/QtConvert.h"
#include "ui/iuiSh_Common.h"

#include <QLabel>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int32_t kPoolRows = 2560;
constexpr ColorValue kClYellow = 0x00FFFF;

} // namespace

iuiSh_Mch::iuiSh_Mch(const CellEngine& engine, QWidget* parent, const cmcCellCapsule* opening,
                     int32_t initialCellId, int32_t initialIndex, cmcGTex& texts, const std::string& name,
                     const ImageList* images)
    : iuiSh_RowStock(engine, parent, opening, initialCellId, initialIndex, texts, name, images) {
    if (CurrentPrintWalk().active)
        site_ = CurrentPrintWalk().site;
    else if (opening && opening->cell)
        site_ = opening->cell->index;
}

std::string iuiSh_Mch::SetParams(const std::string& params) {
    cuiSheet::SetParams(params);
    std::string text = params;
    TrimBlanks(text);
    kind_ = text.empty() ? 0 : text.front();
    if (kind_ == 'R' && IsValidSite(site_)) {
        firstIndex_ = SiteFirstRow(site_);
        count_ = std::max(SiteCount(site_), 0);
    }
    return params_;
}

void iuiSh_Mch::SetRowDirective(const std::string& text) {
    if (text.starts_with("Only_Print")) {
        // Lines only a printed sheet shows.
        if (!CurrentPrintWalk().active) SkipLinesOf(lines_, text, std::string("Only_Print").size());
    } else if (text.starts_with("LoopFrom") && text.find(' ') == std::string::npos) {
        if (printer_) {
            // Paper shows the site's entries and no row for a new one.
            StartChannelLoop(count_);
        } else if (kind_ == 'R') {
            StartChannelLoop(count_ + 1);
        } else if (kind_ == 'C' && ShowsScanSelectionBank()) {
            const int32_t bank = ScanSelectionBank();
            const int32_t chosen =
                IsValidBank(bank) ? std::max(GetBankChannelCount(CurrentImage(), bank), 0) : 0;
            // An empty bank shows no channel row at all.
            if (chosen == 0) ++lines_.skip;
            StartChannelLoop(chosen);
        } else {
            lines_.loopFrom = lines_.currentLine;
            if (firstLoopRow_ < 0) firstLoopRow_ = static_cast<int32_t>(lines_.rows.size());
        }
    } else {
        cuiSheet::SetRowDirective(text);
    }
}

void iuiSh_Mch::OnLayoutRow(int32_t row) {
    if (row == firstLoopRow_) chParams_[0] = firstIndex_;
}

int32_t iuiSh_Mch::PoolCount() const {
    return IsValidSite(site_) ? SiteCount(site_) : 0;
}

int32_t iuiSh_Mch::SiteFirstRow(int32_t site) const {
    return GetSiteFirstChannel(CurrentImage(), site);
}

int32_t iuiSh_Mch::SiteCount(int32_t site) const {
    return GetSiteChannelCount(CurrentImage(), site);
}

std::string iuiSh_Mch::GetTitle() const {
    // The site's header belongs to the printed walk over the sites.
    if (!CurrentPrintWalk().sitePass) return std::string();
    char number[16];
    std::snprintf(number, sizeof number, "%3d", site_ + 1);
    return texts_.GetTextLine("GI_AppInd_RptSheet_Printer_Head", 0) + " (Site:" + number + ")";
}

int32_t iuiSh_Mch::IsPrintable() const {
    return cuiSheet::IsPrintable() != 0 && count_ > 0 ? 1 : 0;
}

std::string iuiSh_Mch::Caption() const {
    return titleLabel_ ? plat::FromQString(titleLabel_->text()) : std::string();
}

void iuiSh_Mch::RefreshCaption() {
    if (!titleLabel_ || !style_.title) return;
    const int32_t left = std::max(
        MaxFittingCount(kCategoryRepeater, kPoolRows - GetTotalSiteChannels(CurrentImage()), site_), 0);
    char text[64];
    std::snprintf(text, sizeof text, " - Site:%3d  (Left CH - %4d)", site_ + 1, left);
    ShowCaption(" " + *style_.title + text);
}

void iuiSh_Mch::ShowCaption(const std::string& text) {
    if (!titleLabel_) return;
    titleLabel_->setText(plat::ToQString(text));
    QPalette pal = titleLabel_->palette();
    pal.setColor(QPalette::WindowText, ToQColor(kClYellow, pal));
    titleLabel_->setPalette(pal);
    titleLabel_->update();
}

void iuiSh_Mch::OnKindEvent(const cmcEvent& ev) {
    switch (ev.type) {
    case evQueryBank:
        if (ev.mode == evModeSentWithAnswer) gEvMan->Answer(0, firstIndex_);
        break;
    case evQuerySite:
        if (ev.mode == evModeSentWithAnswer) gEvMan->Answer(site_, 0);
        break;
    case evRefreshCaption:
        if (kind_ == 'R' && FollowsCaption()) RefreshCaption();
        break;
    default:
        break;
    }
}
