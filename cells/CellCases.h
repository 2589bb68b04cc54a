#pragma once
#include <array>
#include <cstdint>

struct CellFrame;

// The cases of the per-cell function, one per cell id.
//
// Every cell id 0..963 of the cloning program's vocabulary selects at most one
// case. A case is a plain function over the frame that indActiveCell::Execute
// has prepared (CellFrame.h). An id without a case shows "%d *Yet*"; ids 0,
// 909..924 (aliases 2 to 5 of the MDC alias list) and 963 (no cell) are the
// frame's own empty cases: they show nothing, and registering them is a fault.
//
// Registration is explicit: each file of cases has one registrar function,
// declared below, that enters its cases into the table it is given, and the
// list in CellCaseList.cpp calls every registrar once when the table is first
// used. Nothing depends on static initialisation, so the cases survive linking
// from the static cells library. To add cases: fill the registrar of your
// file (or declare a new one here and add it to the list), e.g.
//
//     namespace {
//     void BankSelFree(CellFrame& f) { ... }
//     }
//     void RegisterBankCells(CellCaseTable& table) {
//         table.Add(97, BankSelFree);
//         table.Add(99, 101, BankUsed);   // one function for a run of ids
//     }
//
// A case serving several ids tells them apart by f.cellId. Adding a case for an
// id that already has one, or for an id outside the table, is fatal at the
// first use of the table, so a clash between two files shows in any test run.
class CellCaseTable {
public:
    using Case = void (*)(CellFrame& frame);

    static constexpr int32_t kCells = 964;
    static constexpr int32_t kNoCell = 963;
    static constexpr int32_t kFirstEmptyAlias = 909;
    static constexpr int32_t kLastEmptyAlias = 924;

    // An id that does nothing on purpose (no text, no "*Yet*").
    static bool IsEmptyId(int32_t id) {
        return id == 0 || id == kNoCell || (id >= kFirstEmptyAlias && id <= kLastEmptyAlias);
    }

    void Add(int32_t id, Case fn);
    void Add(int32_t first, int32_t last, Case fn);

    // The case of an id; null when it has none (and for the empty ids).
    Case Find(int32_t id) const;
    bool Has(int32_t id) const { return Find(id) != nullptr; }

private:
    friend class ScopedCellCase;
    std::array<Case, kCells> cases_{};
};

// The table of the cloning program, filled by all registrars on first use.
const CellCaseTable& CellCases();

// For tests of cells that evaluate other cells: puts a stand-in (or null, for
// no case) in place of an id's case for the lifetime of the scope.
class ScopedCellCase {
public:
    ScopedCellCase(int32_t id, CellCaseTable::Case standIn);
    ~ScopedCellCase();
    ScopedCellCase(const ScopedCellCase&) = delete;
    ScopedCellCase& operator=(const ScopedCellCase&) = delete;

private:
    int32_t id_;
    CellCaseTable::Case old_;
};

// The registrars, one per file of cases (see CellCaseList.cpp).
void RegisterCommandCells(CellCaseTable& table);      // 1..96: commands, checks, information
void RegisterBankCells(CellCaseTable& table);         // 97..124: banks, LTR banks, row numbers
void RegisterChannelCells(CellCaseTable& table);      // channel rows
void RegisterSettingsCells(CellCaseTable& table);     // general and expansion settings
void RegisterMskCells(CellCaseTable& table);          // MSK signalling
void RegisterKeyDisplayCells(CellCaseTable& table);   // keys, display, set mode
void RegisterDigitalCells(CellCaseTable& table);      // digital system
void RegisterLtrCells(CellCaseTable& table);          // LTR groups, repeaters, LTR options
void RegisterMdcCells(CellCaseTable& table);          // MDC signalling
void RegisterMakerCells(CellCaseTable& table);        // maker settings
void RegisterToneSequenceCells(CellCaseTable& table); // two-tone and five-tone
void RegisterDtmfToneCells(CellCaseTable& table);     // DTMF, tone memory, user tones
void RegisterScanCells(CellCaseTable& table);         // scan lists, common scan
