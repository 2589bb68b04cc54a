#pragma once
#include <cstdint>
#include <string>
#include <vector>

class cmcCellCapsule;
class cmcGTex;

// How converters and cells open the pop-up lists and editors, which live in
// the window layer. Each pop-up keeps its own copy of the opening request and
// answers later by running the opener's cell again in mode 2, so an open call
// returns at once and the caller only reports that a pop-up was opened.
class PopupOpener {
public:
    virtual ~PopupOpener() = default;

    // cuiFlector: the items of "<listKey>_Cells" whose cell id is listCellId,
    // beside the requesting cell, with currentValue marked.
    virtual void OpenList(const cmcCellCapsule& request, int32_t listCellId, int32_t currentValue,
                          cmcGTex* texts, const std::string& listKey) = 0;

    // indFlector: a channel sheet of the remembered bank to pick a row from; the
    // row comes back as a pick of listCellId (FlexCHSel) with the row as index.
    virtual void OpenChannelList(const cmcCellCapsule& request, int32_t listCellId, cmcGTex* texts,
                                 const std::string& listKey, const std::string& text) = 0;

    // cuiFBitsR: a set of digits edited as bits; OK returns the new value as
    // decimal text in editText.
    virtual void OpenBitsEditor(const cmcCellCapsule& request, cmcGTex* texts, int32_t value,
                                int32_t firstDigit, int32_t lastDigit, int32_t style, int32_t markStyle,
                                const std::string& dialogKey) = 0;

    // cuiFText: the text edit dialog over the field's bytes.
    virtual void OpenTextEditor(const cmcCellCapsule& request, cmcGTex* texts, const std::string& bytes,
                                bool openedByEnter, int32_t maxLength) = 0;

    // cuiCEdit: the character editor over width x height dots (0 or 1), dot
    // (x, y) at x + y * width.
    virtual void OpenCharEditor(const cmcCellCapsule& request, int32_t dotSize, int32_t width, int32_t height,
                                const std::vector<uint8_t>& dots) = 0;
};

// The installed opener. With none installed, opening a pop-up is fatal: no
// window could ever answer it.
PopupOpener& Popups();
void SetPopupOpener(PopupOpener* opener);

// Installs an opener for the lifetime of a scope.
class ScopedPopupOpener {
public:
    explicit ScopedPopupOpener(PopupOpener* opener) : old_(&Popups()) { SetPopupOpener(opener); }
    ~ScopedPopupOpener() { SetPopupOpener(old_); }
    ScopedPopupOpener(const ScopedPopupOpener&) = delete;
    ScopedPopupOpener& operator=(const ScopedPopupOpener&) = delete;

private:
    PopupOpener* old_;
};
