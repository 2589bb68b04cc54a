#include "foundation/cmcRecent.h"

#include "platform/CodePage.h"

namespace {

std::string WithoutTrailingSlash(std::string dir) {
    if (!dir.empty() && dir.back() == '/') dir.pop_back();
    return dir;
}

} // namespace

cmcRecent::cmcRecent(int maxCount) : maxCount_(maxCount) {}

void cmcRecent::Add(const std::string& path) {
    RemoveEqual(path);
    entries_.push_back(path);
    Trim();
}

void cmcRecent::AddTop(const std::string& path) {
    RemoveEqual(path);
    entries_.insert(entries_.begin(), path);
    Trim();
}

void cmcRecent::Clear() {
    entries_.clear();
}

std::string cmcRecent::Get(int index, const std::string& directory) const {
    if (index < 0 || index >= Count()) return std::string();
    const std::string& entry = entries_[static_cast<size_t>(index)];
    // Without a directory to compare with, a file in the root ("/file1") would
    // otherwise shrink to its bare name and lose where it lives.
    if (directory.empty()) return entry;
    size_t slash = entry.rfind('/');
    if (slash == std::string::npos) return entry;
    if (WithoutTrailingSlash(entry.substr(0, slash + 1)) == WithoutTrailingSlash(directory))
        return entry.substr(slash + 1);
    return entry;
}

std::string cmcRecent::Path(int index) const {
    if (index < 0 || index >= Count()) return std::string();
    return entries_[static_cast<size_t>(index)];
}

void cmcRecent::RemoveEqual(const std::string& path) {
    for (size_t i = entries_.size(); i-- > 0;)
        if (plat::CompareNoCase(entries_[i], path) == 0)
            entries_.erase(entries_.begin() + static_cast<long>(i));
}

void cmcRecent::Trim() {
    while (Count() > maxCount_ && !entries_.empty())
        entries_.pop_back();
}
