#pragma once
#include "foundation/cmcHash.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// The two fixed vocabularies of cell definitions: category names ("CT_...",
// which kind of record a cell belongs to) and cell names (which setting of
// that record), each name's id being its position. The ids past the last name
// stand for "none" and belong to the empty name. The two are separate tables:
// a cell name is never a category, nor the other way round.
class CellVocabulary {
public:
    // Record kind of the categories whose record follows the current model.
    static constexpr int32_t kModelClassKind = -1;

    struct Category {
        const char* name;
        int32_t recordKind;
    };

    // The tables are not copied and must outlive the vocabulary. optionFlags:
    // how many of the option flags Flag0.. the program's definitions know.
    // noCell: the id of "none" when names follow it (its own entry is the
    // empty name); by default the id past the last name.
    CellVocabulary(std::span<const Category> categories, std::span<const char* const> cells,
                   int32_t optionFlags = 8, int32_t noCell = -1);
    CellVocabulary(const CellVocabulary&) = delete;
    CellVocabulary& operator=(const CellVocabulary&) = delete;

    int32_t NoCategory() const { return static_cast<int32_t>(categories_.size()); }
    int32_t OptionFlags() const { return optionFlags_; }
    int32_t NoCell() const { return noCell_; }
    // Ids 0..CellCount() - 1 are names or "none".
    int32_t CellCount() const { return static_cast<int32_t>(cells_.size()); }

    // The id of a name; the empty name is "none". An unknown name is fatal:
    // definitions ship with the program, so one that names nothing is a fault.
    int32_t CategoryIndex(const std::string& name) const;
    int32_t CellIndex(const std::string& name) const;
    // The id of a cell name, without the fatal error: none for a name this
    // vocabulary does not know (and for the empty name).
    std::optional<int32_t> FindCell(const std::string& name) const;

    // The name of an id; an empty text for "none" and for ids out of range.
    std::string CategoryName(int32_t id) const;
    std::string CellName(int32_t id) const;

    // The kind of decoded record the category's cells work on (0 none); the
    // model-dependent categories answer the current model's class at each call.
    // An id that is neither a category nor "none" is fatal.
    int32_t CategoryInfo(int32_t category) const;

private:
    std::span<const Category> categories_;
    std::span<const char* const> cells_;
    int32_t optionFlags_;
    int32_t noCell_;
    cmcHash categoryIds_;
    cmcHash cellIds_;
};

// The cloning program's vocabulary, and its cell names by id.
const CellVocabulary& CloningCellVocabulary();
std::span<const char* const> CloningCellNames();

// The vocabulary that cell definitions are read with: the installed cell
// engine's (CellEngine.h), the cloning program's unless a program or a test
// installs its own engine.
const CellVocabulary& CurrentCellVocabulary();
