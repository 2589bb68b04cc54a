#pragma once
#include "ui/EditorRequest.h"

#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CellEngine;
class cmcGTex;
class cuiSheet;

// The bit-field editor: a borderless pop-up beside the cell with a row of
// labels over a row of check cells, one a bit of the value word. Column k
// (1 at the left) is bit 26 - k, so the caller puts its field's highest bit
// at bit 25. OK, a click elsewhere or the end of all editing answer the
// opener's cell with the word in decimal; Cancel, Esc or the opener's grid
// going away answer nothing. The sheet is a named one from the caller's
// texts or, with no name, one the editor writes for its labels. It deletes
// itself when its window goes.
class cuiFBitsR : public PopupEditor {
public:
    // A word has room for this many columns.
    static constexpr int32_t kMaxColumns = 26;
    static constexpr int32_t kTopBit = 26;
    // Navigation sentences (label kind 5): no more than this many at once.
    static constexpr int32_t kMaxSentences = 3;

    enum MarkStyle : int32_t { kMarkLetter = 0, kMarkCheck = 1 };

    cuiFBitsR(const CellEngine& engine, const cmcCellCapsule& request, cmcGTex& texts, int32_t value,
              int32_t firstLabel, int32_t lastLabel, int32_t labelKind, int32_t markStyle,
              const std::string& sheetName);
    ~cuiFBitsR() override;
    cuiFBitsR(const cuiFBitsR&) = delete;
    cuiFBitsR& operator=(const cuiFBitsR&) = delete;

    // The built-in sheet "GI_Sheet_FBitsR" for the labels first..last of the
    // kind: the text table's 32 lines.
    void BuildSheetDefinition();
    const std::vector<std::string>& DefinitionLines() const { return lines_; }

    // The sheet's owner: the check cells are the editor's, every other cell
    // the cell engine's.
    int32_t CellCallback(cmcCellCapsule& request, int32_t edit);

    int32_t Value() const { return value_; }
    int32_t Columns() const;
    cuiSheet* Sheet() const { return sheet_.get(); }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    // The label over bit v of a field shown as labels first..last of a kind.
    using LabelRule = std::string (*)(int32_t kind, int32_t v, int32_t last);
    static std::string CloningLabel(int32_t kind, int32_t v, int32_t last);

protected:
    // For a program that labels some kinds otherwise: the sheet is written
    // while the editor is built, so the rule comes with the construction.
    cuiFBitsR(const CellEngine& engine, const cmcCellCapsule& request, cmcGTex& texts, int32_t value,
              int32_t firstLabel, int32_t lastLabel, int32_t labelKind, int32_t markStyle,
              const std::string& sheetName, LabelRule labels);
    void Store() override;

private:
    std::string LabelCell(int32_t v) const;
    int32_t SentencesSet() const;
    bool Bit(int32_t column) const;
    LabelRule labels_;
    cmcGTex& texts_;
    std::unique_ptr<cmcGTex> builtIn_;
    std::vector<std::string> lines_;
    std::vector<const char*> linePointers_;
    int32_t value_;
    QPointer<QWidget> inner_;
    std::unique_ptr<cuiSheet> sheet_;
    int32_t first_;
    int32_t last_;
    int32_t kind_;
    int32_t markStyle_;
    QPointer<QPushButton> ok_;
    QPointer<QPushButton> cancel_;
};
