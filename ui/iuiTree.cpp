#include "ui/iuiTree.h"

#include "cells/TextConv.h"
#include "foundation/ByteUtil.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "image/BankSite.h"
#include "image/RecordLayout.h"
#include "image/cmcEeprom.h"
#include "platform/QtText.h"
#include "ui/SheetDefinition.h"

#include <QTreeWidgetItem>

#include <cctype>
#include <cstdlib>

namespace {

constexpr char kBankSheetType[] = "St_ChBank";
constexpr int32_t kBankCount = 128;

// A decimal number with blanks and tabs around it; -1 when it is none.
int32_t ReadBankNumber(const std::string& text) {
    size_t b = text.find_first_not_of(" \t");
    size_t e = text.find_last_not_of(" \t");
    if (b == std::string::npos) return -1;
    const std::string digits = text.substr(b, e - b + 1);
    if (digits.empty() || digits.size() > 4) return -1;
    for (char c : digits)
        if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
    const int32_t n = std::atoi(digits.c_str());
    return n < kBankCount ? n : -1;
}

} // namespace

iuiTree::iuiTree(QWidget* owner, cmcGTex& texts, const std::string& key, const ImageList* images,
                 const cmcEeprom& image)
    : cuiTree(owner, texts, key, images), image_(image) {
    gEvMan->AddListener(&iuiTree::OnEvent, this);
}

iuiTree::~iuiTree() {
    gEvMan->RemoveListener(&iuiTree::OnEvent, this);
}

int32_t iuiTree::BankOfNode(const QTreeWidgetItem* node) {
    const SheetDefinition d = SheetDefinition::Split(LinkOf(node));
    // "Bank <n>": the number after the word and its blank.
    if (d.type != kBankSheetType || d.params.size() < 5) return -1;
    return ReadBankNumber(d.params.substr(5));
}

int32_t iuiTree::BankImage(const cmcEeprom& image, int32_t bank) {
    const uint8_t* bytes = image.Data();
    const int32_t size = image.GetSize();
    int32_t picture = kImageBank;
    if (GetBitMsb(bytes + layout::kLtrBankBitmap, size - layout::kLtrBankBitmap, bank))
        picture = kImageLtrBank;
    else if (GetBitMsb(bytes + layout::kSmarTrunkBitmap, size - layout::kSmarTrunkBitmap, bank))
        picture = kImageSmarTrunkBank;
    return GetBankChannelCount(image, bank) != 0 ? picture + 1 : picture;
}

void iuiTree::RefreshBankImages() {
    for (QTreeWidgetItem* node : Range(Node(0))) {
        const int32_t bank = BankOfNode(node);
        if (bank < 0) continue;
        const int32_t picture = BankImage(image_, bank);
        if (picture != ImageOf(node)) SetNodeImage(node, picture);
    }
}

void iuiTree::SetBankCaption(int32_t bank, const std::string& caption) {
    if (bank < 0 || bank >= kBankCount) return;
    for (QTreeWidgetItem* node : Range(Node(0))) {
        if (BankOfNode(node) != bank) continue;
        node->setText(0, plat::ToQString(caption));
        if (!RenamesEveryBankNode()) return;
    }
}

void iuiTree::OnEvent(void* user, const cmcEvent& ev) {
    auto* self = static_cast<iuiTree*>(user);
    switch (ev.type) {
    case evRebuildTree:
        self->RefreshBankImages();
        break;
    case evSetBankNodeText:
        self->SetBankCaption(static_cast<int32_t>(ev.p2), ev.Text());
        break;
    case evBankNodeTextFromImage:
        if (self->TakesBankCaptionFromImage() && ev.p2 >= 0 && ev.p2 < kBankCount)
            self->SetBankCaption(static_cast<int32_t>(ev.p2),
                                 FormatBankLabel(self->image_, static_cast<int32_t>(ev.p2)));
        break;
    default:
        break;
    }
}
