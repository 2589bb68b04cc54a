#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct CellFrame;
class CellVocabulary;

// The cases of the per-cell function, one per cell id of a program.
//
// A case is a plain function over the frame that the cell engine has prepared
// (CellFrame.h). Files of cases register them by cell NAME into a list; each
// program's case table resolves the names through its own vocabulary, so a
// program takes another's case functions for the cells both have. An id
// without a case shows "%d *Yet*"; the engine's empty ids (CellEngine.h: id 0,
// the "no cell" id and the program's own) show nothing, and giving them a case
// is a fault.
//
// Registration is explicit: each file of cases has one registrar function,
// declared below, that adds its cases to the list it is given; CellCaseList.cpp
// calls every registrar once when the cloning program's list is first used.
// Nothing depends on static initialisation, so the cases survive linking from
// the static cells library. To add cases: fill the registrar of your file (or
// declare a new one here and add it to CellCaseList.cpp), e.g.
//
//     namespace {
//     void BankSelFree(CellFrame& f) { ... }
//     }
//     void RegisterBankCells(CellCaseList& list) {
//         list.Add("CL_Bank_SelBankFree", BankSelFree);
//         list.Add("CL_Bank_UsedTotal", "CL_Bank_UsedLeft", BankUsed); // a run of ids
//     }
//
// A case serving several ids tells them apart by f.cellId (CellIds.h: the
// cloning program's ids, so such a case serves another program only where its
// ids are the same or the case learns to tell them apart by name). A name
// that the program's vocabulary does not know, a case for an id that already
// has one, or one for an empty id is fatal when the program's table is first
// used, so a clash between two files shows in any test run.
using CellCase = void (*)(CellFrame& frame);

// Cases by cell name, as the files of cases register them.
class CellCaseList {
public:
    struct Entry {
        std::string first;
        // The last name of a run of ids; equal to first for one cell.
        std::string last;
        CellCase fn;
    };

    void Add(std::string name, CellCase fn);
    // One function for the cells first..last: the ids from first's to last's
    // in the vocabulary of the program that takes the entry.
    void Add(std::string first, std::string last, CellCase fn);

    const std::vector<Entry>& Entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
};

// An inclusive run of cell ids.
struct CellIdRange {
    int32_t first = 0;
    int32_t last = 0;
};

// A program's cases by cell id, for every id of its vocabulary (names and "none").
class CellCaseTable {
public:
    using Case = CellCase;

    // Ids 0 and vocabulary.NoCell() are empty besides the runs given; the
    // vocabulary must outlive the table.
    CellCaseTable(const CellVocabulary& vocabulary, std::span<const CellIdRange> emptyIds = {});

    // Ids 0..Size() - 1.
    int32_t Size() const { return static_cast<int32_t>(cases_.size()); }

    // An id that does nothing on purpose (no text, no "*Yet*").
    bool IsEmptyId(int32_t id) const { return id >= 0 && id < Size() && empty_[static_cast<size_t>(id)]; }

    void Add(int32_t id, Case fn);
    void Add(int32_t first, int32_t last, Case fn);

    // Every entry of the list; a name the vocabulary does not know is fatal.
    void Take(const CellCaseList& list);
    // The cases of the named cells only: each name's id in this vocabulary
    // takes the list's entry for that name, or the run whose first and last
    // name bracket it here. A name without an entry is fatal.
    void Take(const CellCaseList& list, std::span<const std::string_view> names);

    // The case of an id; null when it has none (and for the empty ids).
    Case Find(int32_t id) const { return id >= 0 && id < Size() ? cases_[static_cast<size_t>(id)] : nullptr; }
    bool Has(int32_t id) const { return Find(id) != nullptr; }

private:
    friend class ScopedCellCase;

    const CellVocabulary* vocabulary_;
    std::vector<Case> cases_;
    std::vector<bool> empty_;
};

// For tests of cells that evaluate other cells: puts a stand-in (or null, for
// no case) in place of a cell's case in the installed engine's table
// (CellEngine.h) for the lifetime of the scope.
class ScopedCellCase {
public:
    ScopedCellCase(int32_t id, CellCase standIn);
    ScopedCellCase(const std::string& name, CellCase standIn);
    ~ScopedCellCase();
    ScopedCellCase(const ScopedCellCase&) = delete;
    ScopedCellCase& operator=(const ScopedCellCase&) = delete;

private:
    CellCaseTable& table_;
    int32_t id_;
    CellCase old_;
};

// The cloning program's cases, filled by all registrars on first use.
const CellCaseList& CloningCellCases();

// The registrars, one per file of cases (see CellCaseList.cpp).
void RegisterCommandCells(CellCaseList& list);      // pop-up labels, commands, checks, information
void RegisterBankCells(CellCaseList& list);         // banks, LTR banks, row numbers
void RegisterChannelCells(CellCaseList& list);      // channel rows
void RegisterSettingsCells(CellCaseList& list);     // general and expansion settings
void RegisterMskCells(CellCaseList& list);          // MSK signalling
void RegisterKeyDisplayCells(CellCaseList& list);   // keys, display, set mode
void RegisterDigitalCells(CellCaseList& list);      // digital system
void RegisterLtrCells(CellCaseList& list);          // LTR groups, repeaters, LTR options
void RegisterMdcCells(CellCaseList& list);          // MDC signalling
void RegisterMakerCells(CellCaseList& list);        // maker settings
void RegisterToneSequenceCells(CellCaseList& list); // two-tone and five-tone
void RegisterDtmfToneCells(CellCaseList& list);     // DTMF, tone memory, user tones
void RegisterScanCells(CellCaseList& list);         // scan lists, common scan
void RegisterDebugCells(CellCaseList& list);        // the memory-image dump
