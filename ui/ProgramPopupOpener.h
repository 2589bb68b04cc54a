#pragma once
#include "cells/PopupOpener.h"
#include "ui/cuiFlector.h"
#include "ui/cuiMain.h"

#include <QPointer>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The program's pop-up host: lists open in a cuiFlector, channel lists in an
// indFlector, bit fields in a cuiFBitsR, texts in a cuiFText and user
// characters in a cuiCEdit, over the installed cell engine.
class ProgramPopupOpener : public PopupOpener {
public:
    ProgramPopupOpener();
    ~ProgramPopupOpener() override;
    ProgramPopupOpener(const ProgramPopupOpener&) = delete;
    ProgramPopupOpener& operator=(const ProgramPopupOpener&) = delete;

    void OpenList(const cmcCellCapsule& request, int32_t listCellId, int32_t currentValue, cmcGTex* texts,
                  const std::string& listKey) override;
    void OpenChannelList(const cmcCellCapsule& request, int32_t listCellId, cmcGTex* texts,
                         const std::string& listKey, const std::string& text) override;
    void OpenBitsEditor(const cmcCellCapsule& request, cmcGTex* texts, int32_t value, int32_t firstDigit,
                        int32_t lastDigit, int32_t style, int32_t markStyle,
                        const std::string& dialogKey) override;
    void OpenTextEditor(const cmcCellCapsule& request, cmcGTex* texts, const std::string& bytes,
                        bool openedByEnter, int32_t maxLength) override;
    void OpenCharEditor(const cmcCellCapsule& request, int32_t dotSize, int32_t width, int32_t height,
                        const std::vector<uint8_t>& dots) override;

    // The pop-up opened last, while it is open.
    cuiFlector* LastOpened() const { return last_; }

protected:
    // The main tool bar's pictures, which the glyph editor's tools show; drawn
    // when a glyph editor first opens, not at start.
    const ImageList* ToolImages() const;

private:
    PopupOpener& before_;
    QPointer<cuiFlector> last_;
    mutable std::optional<ImageList> toolImages_;
};
