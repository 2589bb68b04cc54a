#pragma once
#include "ui/cuiTree.h"

class cmcEeprom;
struct cmcEvent;

// The cloning program's tree: the channel-bank nodes (links
// "[St_ChBank]<sheet>,Bank <n>") show the bank's kind and whether it holds
// channels in their pictures, and its number and name as their captions,
// kept up to date from the working image through the bus.
class iuiTree : public cuiTree {
public:
    // The pictures of a bank node: empty, then with channels.
    static constexpr int32_t kImageBank = 4;
    static constexpr int32_t kImageSmarTrunkBank = 6;
    static constexpr int32_t kImageLtrBank = 8;

    iuiTree(QWidget* owner, cmcGTex& texts, const std::string& key, const ImageList* images,
            const cmcEeprom& image);
    ~iuiTree() override;

    // The bank a node's link names, -1 when it names none.
    static int32_t BankOfNode(const QTreeWidgetItem* node);
    // The picture of bank n in the image.
    static int32_t BankImage(const cmcEeprom& image, int32_t bank);

    void RefreshBankImages();
    void SetBankCaption(int32_t bank, const std::string& caption);

protected:
    // Whether a bank's caption goes to every node of the bank or to the first
    // found, and whether the caption is taken from the image on request.
    virtual bool RenamesEveryBankNode() const { return false; }
    virtual bool TakesBankCaptionFromImage() const { return true; }

private:
    static void OnEvent(void* user, const cmcEvent& ev);

    const cmcEeprom& image_;
};
