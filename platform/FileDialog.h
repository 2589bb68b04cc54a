#pragma once
#include <optional>
#include <string>

namespace plat {

// What a file-open or file-save dialog is given. The filter is in the Windows
// form: pairs of a description and its patterns, all separated by '|'
// ("Clone data files (*.icf)|*.icf|All files (*.*)|*.*").
struct FileDialogRequest {
    std::string defaultExtension; // without the dot; added to a name typed without one
    std::string filter;
    std::string initialDir;
    std::string fileName; // the name proposed in the dialog

    bool operator==(const FileDialogRequest&) const = default;
};

// The shell's file dialogs and the user's documents folder.
class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // An existing file chosen by the user; nothing when the dialog was cancelled.
    virtual std::optional<std::string> OpenFileName(const FileDialogRequest& request) = 0;
    // A name to save under; an existing file is only chosen after the user
    // agreed to replace it. Nothing when the dialog was cancelled.
    virtual std::optional<std::string> SaveFileName(const FileDialogRequest& request) = 0;
    // The user's documents folder; empty when the system names none.
    virtual std::string DocumentsFolder() = 0;
};

// The installed service; with none installed a dialog is a fatal error, since
// nobody could answer it.
FileDialogService& FileDialogs();
void SetFileDialogs(FileDialogService* service);

// Installs a file dialog service for the lifetime of a scope.
class ScopedFileDialogs {
public:
    explicit ScopedFileDialogs(FileDialogService* service) : old_(&FileDialogs()) { SetFileDialogs(service); }
    ~ScopedFileDialogs() { SetFileDialogs(old_); }
    ScopedFileDialogs(const ScopedFileDialogs&) = delete;
    ScopedFileDialogs& operator=(const ScopedFileDialogs&) = delete;

private:
    FileDialogService* old_;
};

} // namespace plat
