#pragma once
#include <string>
#include <vector>

// The recent-file list, newest first. Entries are full paths; two paths that
// differ only in letter case are one entry.
class cmcRecent {
public:
    explicit cmcRecent(int maxCount);

    // Appends; used when the list is read back oldest-last.
    void Add(const std::string& path);
    // Puts a path that was just used at the top, in the letter case given now.
    void AddTop(const std::string& path);
    void Clear();

    int Count() const { return static_cast<int>(entries_.size()); }
    int MaxCount() const { return maxCount_; }

    // Text for the menu: the file name alone when the entry lies in directory,
    // else the whole path; "" past the end. An empty directory matches nothing.
    std::string Get(int index, const std::string& directory) const;
    // The path as stored, for opening the file and for saving the list; "" past the end.
    std::string Path(int index) const;

private:
    void RemoveEqual(const std::string& path);
    void Trim();

    int maxCount_;
    std::vector<std::string> entries_;
};
