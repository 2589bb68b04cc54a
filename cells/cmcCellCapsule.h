#pragma once
#include <cstdint>
#include <functional>
#include <string>

class cmcCellObj;
class cmcGTex;
// Host types of the window layer: the cell engine only carries them from the
// host to the pop-ups it opens, and never looks inside.
class cuiGrid;
class cuiSheet;
class CellCanvas;

// A cell's rectangle in its grid's client coordinates.
struct CellRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool operator==(const CellRect&) const = default;
};

class cmcCellCapsule;

// Everything a request carries but its context bank: what Clear resets and
// what a request refilled from another takes over.
struct cmcCellCapsuleFields {
    // Keys the evaluator treats alike: Enter, and a mouse choice.
    static constexpr int32_t kKeyEnter = 13;
    static constexpr int32_t kKeyMouseChoice = 256;

    // What the evaluator does with the request.
    static constexpr int32_t kModeFormat = 0;
    static constexpr int32_t kModeCommit = 1;
    static constexpr int32_t kModePick = 2;

    // Results the evaluator and the converters hand back to the host.
    static constexpr int32_t kResultNone = 0;
    static constexpr int32_t kResultPopupOpened = 1;
    static constexpr int32_t kResultOpenEditor = 2;

    struct MarkFlags {
        bool isCurrent = false; // the grid's current cell
        bool printing = false;  // the host draws for the printer
        bool warning = false;   // output: the value is suspicious
        bool error = false;     // output: the value is invalid

        bool operator==(const MarkFlags&) const = default;
    };

    // Called as (request, flags); the host sheet repaints what the flags name.
    using NotifyClosure = std::function<void(cmcCellCapsule& request, int32_t flags)>;
    // Called as (request, 0) once displayText and the selection are ready for
    // the in-place editor.
    using ReeditClosure = std::function<void(cmcCellCapsule& request, int32_t flags)>;

    // A mouse choice counts as Enter.
    bool IsEnter() const { return key == kKeyEnter || key == kKeyMouseChoice; }

    cmcCellCapsule* linkedRequest = nullptr;
    cuiGrid* grid = nullptr;
    // Typed keys open an editor only when the host has one.
    cuiGrid* editGrid = nullptr;
    cmcCellObj* cell = nullptr;
    CellCanvas* canvas = nullptr;
    cmcGTex* texts = nullptr;
    const CellRect* cellRect = nullptr;
    int32_t selStart = 0;
    int32_t selLength = 0;
    int32_t key = 0;
    int32_t command = 0;
    std::string editText;
    std::string displayText;
    MarkFlags markFlags;
    // Where the host draws the warning or error mark: 0 its own choice, 1 at the
    // left, 3 behind the text, anything else at the right edge.
    int32_t markPosition = 0;
    int32_t hint = 0;
    int32_t mode = kModeFormat;
    int32_t jumpRequest = 0;
    int32_t jumpCategory = 0;
    int32_t jumpCell = 0;
    int32_t jumpIndex = 0;
    int32_t jumpKey = 0;
    int32_t extra = 0;
    cuiSheet* owner = nullptr;
    bool rangeSelected = false;
    bool rangeRequest = false;
    int32_t rangeFirst = 0;
    int32_t rangeLast = 0;
    NotifyClosure notifyClosure;
    ReeditClosure reeditClosure;
};

// One use of a cell: painting its text, committing a typed text, taking a
// list choice, a key or a command. The host fills it, the per-cell function
// and the converters write the text to show and the editor hints back, and
// the host acts on the follow-ups (jump, editor, key replay, repaint). It is
// a plain value: it owns its two texts and nothing else.
//
// Its context bank has a rule of its own: a request made as a copy of another
// is that request, bank and all; refilling a request from another (assignment)
// and emptying it (Clear) keep its own bank.
class cmcCellCapsule : public cmcCellCapsuleFields {
public:
    cmcCellCapsule() = default;
    cmcCellCapsule(const cmcCellCapsule&) = default;
    cmcCellCapsule& operator=(const cmcCellCapsule& other) {
        static_cast<cmcCellCapsuleFields&>(*this) = other;
        return *this;
    }
    ~cmcCellCapsule() = default;

    void Clear() { static_cast<cmcCellCapsuleFields&>(*this) = cmcCellCapsuleFields{}; }

    // Set by callers that evaluate bank-wide cells.
    int32_t bank = 0;
};
