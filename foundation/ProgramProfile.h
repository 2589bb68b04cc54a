#pragma once
#include <cstdint>
#include <string>

class cmcGTex;

// What tells one program of the suite from the other where they share the
// code: its name, its single-instance guard, where its settings live, which
// texts make its title, its boxes' caption and its About box, its help overlay and help file, the model it
// falls back to, the clone data files it accepts and where its start-up data
// files are listed. Everything else asks the running program's profile.
struct ProgramProfile {
    // The program's name: its overlay is "<name>.OVL" beside the program.
    std::string programName;
    // Names the single-instance lock.
    std::string mutexName;
    // The registry path the settings stand for, and the file below the
    // user's configuration folder that holds them.
    std::string settingsKey;
    std::string settingsFile;
    // The text key of the main window's title.
    std::string titleKey;
    // The help overlay beside the program; empty when the program has none.
    std::string helpOverlay;
    // The fast link's setting on a first start.
    int32_t comSpeedHighDefault = 1;
    // The model a stored model index outside 0..9 stands for.
    int32_t fallbackModel = 0;
    // The map revisions of clone data files and start-up data the program
    // reads, both ends included. A file without a revision line reads as -1.
    int32_t firstMapRevision = 0;
    int32_t lastMapRevision = 0;
    // The text key of every message box's caption.
    std::string boxCaptionKey;
    // The text key whose line n names model n's start-up data file.
    std::string startupFileKey;
    // The text key naming the help file beside the program.
    std::string helpFileKey;
    // The text key of the radio information window's title.
    std::string infoCaptionKey;
    // The About box's caption and the lines of its label.
    std::string aboutCaptionKey;
    std::string aboutLabelKey;
    // The sheet a bank's channels open in, as the tree's bank nodes name it;
    // "%s" stands for the model's class word.
    std::string bankSheet;

    std::string BankSheetName(const std::string& classWord) const {
        std::string name = bankSheet;
        if (const size_t at = name.find("%s"); at != std::string::npos) name.replace(at, 2, classWord);
        return name;
    }

    bool AcceptsMapRevision(int32_t revision) const {
        return revision >= firstMapRevision && revision <= lastMapRevision;
    }
};

// The cloning program, QT4410R.
const ProgramProfile& CloningProfile();

// The running program's profile: the cloning program's unless a program (or
// a test) installed its own.
const ProgramProfile& RunningProfile();

// Installs a profile for the lifetime of a scope.
class ScopedProgramProfile {
public:
    explicit ScopedProgramProfile(const ProgramProfile& profile);
    ~ScopedProgramProfile();
    ScopedProgramProfile(const ScopedProgramProfile&) = delete;
    ScopedProgramProfile& operator=(const ScopedProgramProfile&) = delete;

private:
    const ProgramProfile* old_;
};

// The caption of the running program's message boxes, from the given text
// table or the program's own.
std::string BoxCaption(cmcGTex& texts);
std::string BoxCaption();
