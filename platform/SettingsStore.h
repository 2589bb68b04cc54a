#pragma once
#include <cstdint>
#include <map>
#include <string>

namespace plat {

// What stands in for the registry keys of the programs: named groups (one per
// registry key) of typed values, integers and strings kept apart as registry
// DWORD and string values are.
enum class ValueType { Missing, Integer, String };

struct SettingsValue {
    ValueType type = ValueType::Missing;
    int32_t integer = 0;
    std::string text;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual bool HasGroup(const std::string& group) const = 0;
    virtual SettingsValue Get(const std::string& group, const std::string& name) const = 0;
    virtual void SetInteger(const std::string& group, const std::string& name, int32_t value) = 0;
    virtual void SetString(const std::string& group, const std::string& name, const std::string& value) = 0;
    // Makes the values written so far permanent; false when that failed.
    virtual bool Flush() = 0;
};

// The INI file of a program: "[Group]" lines, integers as plain decimal
// numbers, strings in double quotes with \\, \" and \xHH escapes. A value of
// neither form reads as a value of another type. Flush writes a temporary file
// beside the target and renames it over, so a failed write never leaves half a file.
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(std::string path);

    bool HasGroup(const std::string& group) const override;
    SettingsValue Get(const std::string& group, const std::string& name) const override;
    void SetInteger(const std::string& group, const std::string& name, int32_t value) override;
    void SetString(const std::string& group, const std::string& name, const std::string& value) override;
    bool Flush() override;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
    std::map<std::string, std::map<std::string, std::string>> groups_; // raw value texts
};

// Test double: values in memory, types as given, and a switch that makes Flush fail.
class MemorySettingsStore : public SettingsStore {
public:
    bool HasGroup(const std::string& group) const override { return groups_.count(group) != 0; }
    SettingsValue Get(const std::string& group, const std::string& name) const override;
    void SetInteger(const std::string& group, const std::string& name, int32_t value) override;
    void SetString(const std::string& group, const std::string& name, const std::string& value) override;
    bool Flush() override;

    bool failFlush = false;
    int flushes = 0;
    std::map<std::string, std::map<std::string, SettingsValue>> groups_;
};

// A file below the user's configuration folder, $XDG_CONFIG_HOME (~/.config
// when the variable is unset).
std::string ConfigFilePath(const std::string& relativePath);

// File behind a registry path below the current user's key: its last two
// components name the folder and the file, "Software\Maker\Program" is
// Maker/Program.ini in the configuration folder.
std::string SettingsFilePath(const std::string& registryPath);

} // namespace plat
