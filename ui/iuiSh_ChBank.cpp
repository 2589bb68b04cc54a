#include "ui/iuiSh_ChBank.h"

#include "cells/CellEngine.h"
#include "foundation/Globals.h"
#include "foundation/TextUtil.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/CurrentImage.h"
#include "image/DynamicCapacity.h"
#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"
#include "platform/QtText.h"
#include "ui/QtConvert.h"
#include "ui/cuiGrid.h"

#include <QLabel>

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <span>
#include <vector>

namespace {

constexpr int32_t kChannelRows = 512;
constexpr int32_t kBankNameBytes = 12;
// Font colours of the caption: clAqua for a SmarTrunk bank, else clYellow.
constexpr ColorValue kClAqua = 0xFFFF00;
constexpr ColorValue kClYellow = 0x00FFFF;

// The columns of an ordinary bank, hidden in an LTR bank. The block-ID
// columns are a group's own and stay: hidden in both kinds of bank they
// could never be set.
constexpr std::array kBasicColumns = {
    "CL_Mch_FreqR",   "CL_Mch_FreqT",     "CL_Mch_TxInh",   "CL_Mch_Nar",
    "CL_Mch_CTone_R", "CL_Mch_CTone_T",   "CL_Mch_PwrSave", "CL_Mch_RfPo",
    "CL_Mch_Lockout", "CL_Mch_Sql_Tight", "CL_Mch_Log_Pmr",
};
// The LTR group columns, hidden in an ordinary bank.
constexpr std::array kGroupColumns = {
    "CL_Grp_RxId",      "CL_Grp_TxId",          "CL_Grp_TxInh",        "CL_Grp_HomeRptCh",
    "CL_Grp_PhonePriv", "CL_Grp_BlockIdEnable", "CL_Grp_BlockIdStart", "CL_Grp_BlockIdEnd",
};

std::string FormatText(const char* format, auto... args) {
    const int n = std::snprintf(nullptr, 0, format, args...);
    std::string out(static_cast<size_t>(std::max(n, 0)), '\0');
    std::snprintf(out.data(), out.size() + 1, format, args...);
    return out;
}

std::string Trimmed(std::string text) {
    return TrimBlanks(text);
}

} // namespace

iuiSh_ChBank::iuiSh_ChBank(const CellEngine& engine, QWidget* parent, const cmcCellCapsule* opening,
                           int32_t initialCellId, int32_t initialIndex, cmcGTex& texts,
                           const std::string& name, const ImageList* images)
    : iuiSh_RowStock(engine, parent, opening, initialCellId, initialIndex, texts, name, images) {}

std::string iuiSh_ChBank::SetParams(const std::string& params) {
    cuiSheet::SetParams(params);
    const std::string text = Trimmed(params);
    const size_t blank = text.find(' ');
    if (Trimmed(text.substr(0, blank)) != "Bank") return params_;
    const std::string rest = blank == std::string::npos ? std::string() : text.substr(blank + 1);
    const std::string item = Trimmed(rest.substr(0, rest.find(',')));
    if (!item.empty()) {
        // A number that names no bank of the image leaves bank 0.
        const int32_t bank = ParseLeadingDecimal(item);
        if (IsValidBank(bank)) bank_ = bank;
    }
    firstIndex_ = GetBankFirstChannel(CurrentImage(), bank_);
    count_ = std::max(GetBankChannelCount(CurrentImage(), bank_), 0);
    return params_;
}

void iuiSh_ChBank::Build() {
    cuiSheet::Build();
    if (gEvMan) gEvMan->Send(evRefreshCaption);
}

void iuiSh_ChBank::SetRowDirective(const std::string& text) {
    // On paper, the bank's channels without the empty row for a new one.
    if (text.starts_with("LoopFrom") && text.find(' ') == std::string::npos)
        StartChannelLoop(printer_ ? count_ : count_ + 1);
    else
        cuiSheet::SetRowDirective(text);
}

void iuiSh_ChBank::OnLayoutRow(int32_t row) {
    if (row == firstLoopRow_) chParams_[0] = firstIndex_;
}

int32_t iuiSh_ChBank::PoolCount() const {
    return GetBankChannelCount(CurrentImage(), bank_);
}

void iuiSh_ChBank::HideColumns() {
    const CellVocabulary& words = engine_.Vocabulary();
    const bool ltr = IsBankFlagB(CurrentImage(), bank_);
    // A column the program's table has no cell for is in none of its sheets.
    std::vector<int32_t> hidden;
    for (const char* name : ltr ? std::span<const char* const>(kBasicColumns) : kGroupColumns)
        if (const std::optional<int32_t> id = words.FindCell(name)) hidden.push_back(*id);
    for (int32_t c = 0; c < cols_; ++c)
        for (int32_t r = 0; r < rows_; ++r) {
            if (std::find(hidden.begin(), hidden.end(), GetCell(c, r).cellId) == hidden.end()) continue;
            grid_->SetColWidth(c, 0);
            // The label column before it goes too, but never the row number.
            if (c >= 2) grid_->SetColWidth(c - 1, 0);
            break;
        }
}

std::string iuiSh_ChBank::NameAndMark() const {
    const cmcEeprom& image = CurrentImage();
    std::string name;
    const int32_t at = layout::Table(13).offset + kBankNameBytes * bank_;
    for (int32_t i = 0; i < kBankNameBytes; ++i) {
        const uint8_t c = image.GetByte(at + i);
        if (c == 0) break;
        name += ::IsPrintable(c) ? static_cast<char>(c) : '*';
    }
    const std::string mark = IsSmarTrunkBank(CurrentImage(), bank_)
                                 ? texts_.GetTextLine("GI_AppInd_MchSheet_Printer_SmarTrunk", 0)
                                 : std::string();
    return name + " " + mark;
}

std::string iuiSh_ChBank::GetTitle() const {
    return FormatText("%s %d: %s", texts_.GetTextLine("GI_AppInd_MchSheet_Printer_Head", 0).c_str(),
                      bank_ + 1, NameAndMark().c_str());
}

int32_t iuiSh_ChBank::IsPrintable() const {
    return cuiSheet::IsPrintable() != 0 && count_ > 0 ? 1 : 0;
}

std::string iuiSh_ChBank::Caption() const {
    return titleLabel_ ? plat::FromQString(titleLabel_->text()) : std::string();
}

void iuiSh_ChBank::RefreshCaption() {
    if (!titleLabel_ || !style_.title) return;
    // What the radio can still take, never below nothing (a full area gives -1).
    const int32_t left = std::max(
        MaxFittingCount(kCategoryChannel, kChannelRows - GetTotalBankChannels(CurrentImage()), bank_), 0);
    titleLabel_->setText(plat::ToQString(FormatText("%s %d: %s (Left CH - %d)", style_.title->c_str(),
                                                    bank_ + 1, NameAndMark().c_str(), left)));
    QPalette pal = titleLabel_->palette();
    pal.setColor(QPalette::WindowText,
                 ToQColor(IsSmarTrunkBank(CurrentImage(), bank_) ? kClAqua : kClYellow, pal));
    titleLabel_->setPalette(pal);
    titleLabel_->update();
}

void iuiSh_ChBank::OnKindEvent(const cmcEvent& ev) {
    switch (ev.type) {
    case evQueryBank:
        if (ev.mode == evModeSentWithAnswer) gEvMan->Answer(bank_, firstIndex_);
        break;
    case evRefreshCaption:
        RefreshCaption();
        break;
    default:
        break;
    }
}
