#pragma once
#include "foundation/cmcEvAns.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

class cmcTask;

// The event codes every part of the program shares.
enum cmcEvCode : int32_t {
    evObjectDestroyed = 1, // p2 = the sheet or window being destroyed
    evRefreshMenusAndToolBar = 2,
    evShowAbout = 3,
    evStatusText = 4, // p1 = text colour, p2 = background colour, data = text
    evOpenDebugWindow = 5,
    evOpenImageDebugWindow = 6,
    evRunDebugComparison = 7,
    evTakeImageSnapshot = 8,
    evUpdateMenus = 9,
    evClearMenuItems = 10,   // p2 = command id
    evBuildMenuItems = 11,   // p1 = context object, p2 = command id, data = key prefix
    evQueryCurrentCell = 12, // with answer; p1 = menu owner or 0
    evRedrawSheet = 13,
    evRedrawCategory = 14, // p2 = category id
    evRedrawCellId = 15,   // p2 = cell id
    evRedrawRow = 16,      // p2 = row index
    evRedrawIndex = 17,    // p2 = index
    evRowDeleted = 18,     // p2 = deleted row
    evCellSelected = 19,   // data = address record of the selected cell
    evUpdateToolBar = 20,
    evEndEditing = 21,
    evDebugLine = 22, // data = text
    evRedrawImageDebug = 23,
    evSelectImageAddress = 24, // p2 = image address
    evDataReloaded = 25,
    evInsertChannelRow = 26, // p1 = bank, p2 = row
    evRemoveChannelRow = 27, // p1 = bank, p2 = row
    evInsertPoolRow = 28,    // p1 = site, p2 = row
    evRemovePoolRow = 29,    // p1 = site, p2 = row
    evQueryBank = 30,        // with answer
    evRefreshCaption = 31,
    evQuerySite = 32, // with answer
    evAddRow = 33,
    evRemoveLastRow = 34,
    evRebuildTree = 35,
    evSetBankNodeText = 36,       // p2 = bank, data = text
    evBankNodeTextFromImage = 37, // p2 = bank
    evRedrawSiteWindow = 38,
    evOpenAdWindow = 40,
    evAdListDone = 41,       // a command list ended while the A/D window is open
    evCloseNamedWindow = 42, // data = the window's name
    evAdFontChanged = 43,
};

enum cmcEvMode : int32_t {
    evModePosted = 0,
    evModeSent = 1,
    evModeSentWithAnswer = 2,
};

// An event as a listener sees it. Valid only during the call: a listener that
// needs the values or the data later copies them.
struct cmcEvent {
    int32_t type = 0;
    int32_t mode = evModePosted;
    intptr_t p1 = 0;
    intptr_t p2 = 0;
    // A private copy of the sender's bytes; a text comes with its terminating zero.
    std::vector<uint8_t> data;

    size_t Length() const { return data.size(); }
    // The data read as a text, up to its terminating zero; a block without one
    // is read to its end, never past it.
    std::string Text() const { return std::string(data.begin(), std::find(data.begin(), data.end(), 0)); }
};

// The event bus through which windows, sheets, menus and the cell engine talk
// without knowing each other. Listeners may send, post, add or remove listeners
// while they are being called.
class cmcEvMan {
public:
    using Callback = void (*)(void* user, const cmcEvent& ev);

    cmcEvMan();
    ~cmcEvMan();
    cmcEvMan(const cmcEvMan&) = delete;
    cmcEvMan& operator=(const cmcEvMan&) = delete;

    // Registers at the front, replacing an equal registration; listeners are called most recent first.
    void AddListener(Callback callback, void* user);
    void RemoveListener(Callback callback, void* user);

    void Send(int32_t type, intptr_t p1 = 0, intptr_t p2 = 0);
    void Post(int32_t type, intptr_t p1 = 0, intptr_t p2 = 0);
    void SendText(int32_t type, intptr_t p1, intptr_t p2, const std::string& text);
    // SendText with both values 0: the text alone, such as the name of a window.
    void SendTextOnly(int32_t type, const std::string& text);
    void PostText(int32_t type, intptr_t p1, intptr_t p2, const std::string& text);
    void PostData(int32_t type, const void* data, size_t length);

    // Delivers at once and returns the answers the listeners gave, in the order
    // given; empty when nobody answered.
    std::vector<cmcEvAns> SendWithAnswer(int32_t type, intptr_t p1 = 0, intptr_t p2 = 0);
    // Answers the innermost send with answer in progress; ignored when there is none.
    void Answer(intptr_t p1, intptr_t p2);
    void AnswerData(const void* data, size_t length);

private:
    struct Listener {
        Callback callback;
        void* user;
        bool removed;
    };
    struct Queued {
        cmcEvent ev;
        bool fresh;
        bool done;
    };

    static void OnTick(void* user, cmcTask* task);
    void Dispatch();
    void Deliver(const cmcEvent& ev);
    void Enqueue(int32_t type, intptr_t p1, intptr_t p2, const void* data, size_t length);
    static cmcEvent MakeEvent(int32_t type, int32_t mode, intptr_t p1, intptr_t p2, const void* data,
                              size_t length);

    // std::list: nodes stay put while listeners add to it during a walk.
    std::list<Queued> queue_;
    std::list<Listener> listeners_;
    // The answers of the innermost send with answer in progress, or none.
    std::vector<cmcEvAns>* answers_ = nullptr;
    // Deliveries in progress; removed listeners are freed only when none is, since a
    // listener that pumps messages lets a dispatch tick run under an outer walk.
    int delivering_ = 0;
    cmcTask* task_;
};
