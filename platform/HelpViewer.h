#pragma once
#include <cstdint>
#include <string>

namespace plat {

// The help viewer: the program names its help file only for the duration of
// one request, then asks for a topic's pop-up or for the viewer's finder.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // The application's help file; empty: none.
    virtual void SetHelpFile(const std::string& path) = 0;
    // The pop-up text of a help context number in the current help file.
    virtual void ShowContextPopup(int32_t context) = 0;
    // The contents and index of the current help file.
    virtual void ShowFinder() = 0;
    // Whether a help file is there to be shown: a regular file at the path.
    virtual bool HasFile(const std::string& path) const;
};

// The installed viewer; with none installed a help request is a fatal error.
HelpViewer& Help();
void SetHelpViewer(HelpViewer* viewer);

// The system clipboard, as text.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void SetText(const std::string& text) = 0;
};

// The installed clipboard; with none installed a copy is a fatal error.
Clipboard& SystemClipboard();
void SetClipboard(Clipboard* clipboard);

} // namespace plat
