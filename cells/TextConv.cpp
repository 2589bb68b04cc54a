#include "cells/TextConv.h"

#include "cells/ConvKeys.h"
#include "cells/ConvSupport.h"
#include "cells/LayoutCache.h"
#include "cells/ListConv.h"
#include "cells/PopupOpener.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/ProgramProfile.h"
#include "foundation/TextUtil.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/CurrentImage.h"
#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"
#include "image/datCh.h"
#include "platform/Fatal.h"
#include "platform/MessageBox.h"

#include <algorithm>

using conv::HasKey;
using conv::kKeyBackspace;
using conv::kKeySpace;

namespace {

// The 128 bank names of 12 bytes.
constexpr int32_t kBankNames = layout::Table(13).offset;
constexpr int32_t kBankNameBytes = layout::Table(13).recordSize;
constexpr int32_t kLastChannel = layout::kChannelRows - 1;
// The parameter text of the channel sheet: the channels of the chosen bank.
constexpr const char* kChannelSheetParams = "C";

int32_t gScanSelectionBank = 0;

ConvKey ModeListOf(int32_t which) {
    switch (which) {
    case 0:
        return ConvKey::ScanPrio1CH;
    case 1:
        return ConvKey::ScanPrio2CH;
    default:
        return ConvKey::ScanTXCH;
    }
}

int32_t& ChannelOf(datCh& record, int32_t which) {
    switch (which) {
    case 0:
        return record.prio1Ch;
    case 1:
        return record.prio2Ch;
    default:
        return record.txCh;
    }
}

// Priority channel 2 is switched on in the scan list's flag byte by any mode
// but 0.
void MarkSecondPriority(datCh& record, int32_t which, int32_t mode) {
    if (which == 1) record.slBitB = mode != 0;
}

cmcEeprom& ImageOf(const datCh& record) {
    return record.image ? *record.image : CurrentImage();
}

} // namespace

int ConvTextCell(cmcCellCapsule& request, uint8_t* bytes, int32_t length, int32_t& out) {
    int changed = 0;
    if (request.mode == cmcCellCapsule::kModeCommit || request.mode == cmcCellCapsule::kModePick) {
        const std::string& text = request.editText;
        for (int32_t i = 0; i < length; ++i)
            bytes[i] = static_cast<size_t>(i) < text.size()
                           ? static_cast<uint8_t>(text[static_cast<size_t>(i)])
                           : ' ';
        changed = 1;
    }
    MaskNonPrintableBlank(bytes, length);
    std::string text(reinterpret_cast<const char*>(bytes), static_cast<size_t>(std::max(length, 0)));
    text.erase(text.find_last_not_of(' ') + 1);
    conv::Show(request, text);
    if (HasKey(request)) {
        const int32_t key = request.key;
        if (key == kKeySpace || key == kKeyBackspace)
            conv::OpenEditorOn(request, text, out);
        else if (conv::IsEnter(request) || conv::IsPrintableKey(key))
            conv::OpenEditor(request, text, out);
    }
    return changed;
}

int32_t ScanSelectionBank() {
    return gScanSelectionBank;
}

void SetScanSelectionBank(int32_t bank) {
    gScanSelectionBank = bank;
}

int ConvScanChannelCell(cmcCellCapsule& request, datCh& record, int32_t& value, int32_t which, int32_t& out) {
    const std::string modeKey = ConvKeyText(ModeListOf(which));
    const std::string bankKey = ConvKeyText(ConvKey::ScanZoneSel);
    cmcEeprom& image = ImageOf(record);
    int changed = 0;

    switch (conv::PickedList(request)) {
    case listcell::Flex0: {
        value = conv::PickedItem(request)->index;
        MarkSecondPriority(record, which, value);
        changed = 1;
        if (value == kScanChannelItem) {
            Popups().OpenList(conv::OpenerOf(request), listcell::FlexZoneSel, ScanSelectionBank(),
                              request.texts, bankKey);
            out = cmcCellCapsule::kResultPopupOpened;
        }
        break;
    }
    case listcell::FlexZoneSel: {
        const int32_t bank = conv::PickedItem(request)->index;
        SetScanSelectionBank(bank);
        if (IsValidBank(bank) && GetBankChannelCount(image, bank) > 0)
            Popups().OpenChannelList(conv::OpenerOf(request), listcell::FlexCHSel, request.texts,
                                     ConvKeyText(ConvKey::ScanCHSel), kChannelSheetParams);
        else
            Popups().OpenList(conv::OpenerOf(request), listcell::FlexZoneSel, bank, request.texts, bankKey);
        out = cmcCellCapsule::kResultPopupOpened;
        break;
    }
    case listcell::FlexCHSel: {
        const int32_t bank = ScanSelectionBank();
        const int32_t channel = GetBankFirstChannel(image, bank) + conv::PickedItem(request)->index;
        ChannelOf(record, which) = std::clamp(channel, 0, kLastChannel);
        changed = 1;
        break;
    }
    default: {
        cmcCellCapsule plain = request;
        if (conv::PickedList(request) != 0) plain.mode = cmcCellCapsule::kModeFormat;
        if (ConvSelCell(plain, modeKey, value, out)) {
            MarkSecondPriority(record, which, value);
            changed = 1;
        }
        request.displayText = plain.displayText;
        break;
    }
    }

    const int32_t channel = ChannelOf(record, which);
    const int32_t bank = record.BankOfChannel(channel);
    if (value == kScanChannelItem && IsValidBank(bank)) {
        const std::string added = conv::FirstLine(request, ConvKeyText(ConvKey::AddCH));
        conv::Show(request, conv::Format("%d-%d%s", bank + 1, channel - GetBankFirstChannel(image, bank) + 1,
                                         added.c_str()));
    } else {
        conv::Show(request, LayoutCache().Text(modeKey, listcell::Flex0, value));
    }
    return changed;
}

std::string FormatBankLabel(const cmcEeprom& image, int32_t bank) {
    std::string label = std::to_string(bank + 1) + ": ";
    for (int32_t i = 0; i < kBankNameBytes; ++i) {
        const uint8_t c = image.GetByte(kBankNames + kBankNameBytes * bank + i);
        if (c == 0) break;
        label += IsPrintable(c) ? static_cast<char>(c) : '*';
    }
    return label;
}

int32_t CountProgrammedChannels() {
    return CountProgrammedInRange(CurrentImage(), 0, kLastChannel);
}

int32_t CountProgrammedInRange(cmcEeprom& image, int32_t first, int32_t last) {
    if (first < 0 || first > kLastChannel || last < 0 || last > kLastChannel || first > last) return -1;
    datCh record(&image);
    int32_t count = 0;
    for (int32_t n = first; n <= last; ++n)
        if (record.Load(GetModelClass(), n).programmed) ++count;
    return count;
}

int32_t GetBankUsedQty(int32_t) {
    return -1;
}

int ConfirmOkCancel(const std::string& key) {
    if (!gGTex) plat::Fatal("No text table for the message.");
    return plat::ShowMessageBox(GetMultiLineText(*gGTex, key), BoxCaption(*gGTex),
                                plat::MB_OKCANCEL | plat::MB_ICONWARNING);
}

bool IsAllBlank(const uint8_t* text, int32_t n) {
    return std::all_of(text, text + std::max(n, 0), [](uint8_t c) { return c == ' '; });
}

void CopyBytes(uint8_t* destination, const uint8_t* source, int32_t n) {
    std::copy_n(source, std::max(n, 0), destination);
}

void MaskNonPrintableStar(uint8_t* bytes, int32_t n) {
    for (int32_t i = 0; i < n; ++i)
        if (!IsPrintable(bytes[i])) bytes[i] = '*';
    bytes[std::max(n, 0)] = 0;
}

void MaskNonPrintableBlank(uint8_t* bytes, int32_t n) {
    for (int32_t i = 0; i < n; ++i)
        if (!IsPrintable(bytes[i])) bytes[i] = ' ';
}
