#include "tests/support/RecordingPopupOpener.h"

RecordingPopupOpener::Opened& RecordingPopupOpener::Add(Kind kind, const cmcCellCapsule& request) {
    Opened& o = log_.emplace_back();
    o.kind = kind;
    o.request = request;
    o.request.bank = request.bank;
    return o;
}

void RecordingPopupOpener::OpenList(const cmcCellCapsule& request, int32_t listCellId, int32_t currentValue,
                                    cmcGTex* texts, const std::string& listKey) {
    Opened& o = Add(Kind::List, request);
    o.listCellId = listCellId;
    o.currentValue = currentValue;
    o.texts = texts;
    o.key = listKey;
}

void RecordingPopupOpener::OpenChannelList(const cmcCellCapsule& request, int32_t listCellId, cmcGTex* texts,
                                           const std::string& listKey, const std::string& text) {
    Opened& o = Add(Kind::ChannelList, request);
    o.listCellId = listCellId;
    o.texts = texts;
    o.key = listKey;
    o.text = text;
}

void RecordingPopupOpener::OpenBitsEditor(const cmcCellCapsule& request, cmcGTex* texts, int32_t value,
                                          int32_t firstDigit, int32_t lastDigit, int32_t style,
                                          int32_t markStyle, const std::string& dialogKey) {
    Opened& o = Add(Kind::BitsEditor, request);
    o.texts = texts;
    o.value = value;
    o.firstDigit = firstDigit;
    o.lastDigit = lastDigit;
    o.style = style;
    o.markStyle = markStyle;
    o.key = dialogKey;
}

void RecordingPopupOpener::OpenTextEditor(const cmcCellCapsule& request, cmcGTex* texts,
                                          const std::string& bytes, bool openedByEnter, int32_t maxLength) {
    Opened& o = Add(Kind::TextEditor, request);
    o.texts = texts;
    o.bytes = bytes;
    o.openedByEnter = openedByEnter;
    o.maxLength = maxLength;
}

void RecordingPopupOpener::OpenCharEditor(const cmcCellCapsule& request, int32_t dotSize, int32_t width,
                                          int32_t height, const std::vector<uint8_t>& dots) {
    Opened& o = Add(Kind::CharEditor, request);
    o.dotSize = dotSize;
    o.width = width;
    o.height = height;
    o.dots = dots;
}
