#pragma once
#include <string>
#include <vector>

namespace testsupport {

// A fresh directory under the system temp dir, removed with everything in it at the end of the scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

    static std::string ReadFile(const std::string& path);
    static void WriteFile(const std::string& path, const std::string& bytes);
    // The names in a folder, sorted, hidden ones too: what a save left behind.
    static std::vector<std::string> Names(const std::string& folder);

private:
    std::string path_;
};

// Sets an environment variable for the scope, restoring the old value afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_, old_;
    bool had_;
};

} // namespace testsupport
