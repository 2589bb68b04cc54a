#pragma once
#include "cells/PopupOpener.h"
#include "cells/cmcCellCapsule.h"

#include <cstdint>
#include <string>
#include <vector>

// Test double for the pop-up host: remembers every pop-up that was asked for,
// with a copy of the request that opened it, and opens nothing.
class RecordingPopupOpener : public PopupOpener {
public:
    enum class Kind { List, ChannelList, BitsEditor, TextEditor, CharEditor };

    // The arguments of one open call; those the kind does not take stay at
    // their defaults.
    struct Opened {
        Kind kind = Kind::List;
        cmcCellCapsule request;
        cmcGTex* texts = nullptr;
        int32_t listCellId = 0;
        int32_t currentValue = 0;
        std::string key; // list key or dialog key
        std::string text;
        int32_t value = 0;
        int32_t firstDigit = 0;
        int32_t lastDigit = 0;
        int32_t style = 0;
        int32_t markStyle = 0;
        std::string bytes;
        bool openedByEnter = false;
        int32_t maxLength = 0;
        int32_t dotSize = 0;
        int32_t width = 0;
        int32_t height = 0;
        std::vector<uint8_t> dots;
    };

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

    const std::vector<Opened>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }

private:
    Opened& Add(Kind kind, const cmcCellCapsule& request);

    std::vector<Opened> log_;
};
