#include "platform/SettingsStore.h"

#include "platform/FileSystem.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {
namespace {

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return std::string();
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

bool ParseInteger(const std::string& raw, int32_t& out) {
    if (raw.empty()) return false;
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(raw.c_str(), &end, 10);
    if (errno != 0 || *end != 0 || end == raw.c_str()) return false;
    // A DWORD is 32 bits wide; values above INT32_MAX are its upper half, read back as negative.
    if (v < INT32_MIN || v > static_cast<long long>(UINT32_MAX)) return false;
    out = static_cast<int32_t>(static_cast<uint32_t>(v));
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseString(const std::string& raw, std::string& out) {
    if (raw.size() < 2 || raw.front() != '"' || raw.back() != '"') return false;
    out.clear();
    for (size_t i = 1; i + 1 < raw.size(); ++i) {
        char c = raw[i];
        if (c == '"') return false;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (i + 2 >= raw.size()) return false;
        char n = raw[++i];
        if (n == '\\' || n == '"') {
            out += n;
        } else if (n == 'x' && i + 3 < raw.size() && HexDigit(raw[i + 1]) >= 0 && HexDigit(raw[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(raw[i + 1]) * 16 + HexDigit(raw[i + 2]));
            i += 2;
        } else {
            return false;
        }
    }
    return true;
}

std::string QuoteString(const std::string& s) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '\\' || c == '"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

bool MakeDirs(const std::string& dir) {
    if (dir.empty()) return true;
    struct stat st;
    if (stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    size_t slash = dir.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirs(dir.substr(0, slash))) return false;
    return mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST;
}

} // namespace

IniSettingsStore::IniSettingsStore(std::string path) : path_(std::move(path)) {
    FILE* f = std::fopen(path_.c_str(), "rb");
    if (!f) return;
    std::string line, group;
    bool inGroup = false;
    int c;
    auto takeLine = [&]() {
        std::string t = Trim(line);
        line.clear();
        if (t.empty() || t[0] == ';') return;
        if (t.front() == '[' && t.back() == ']') {
            group = t.substr(1, t.size() - 2);
            groups_[group];
            inGroup = true;
            return;
        }
        size_t eq = t.find('=');
        if (!inGroup || eq == std::string::npos) return;
        groups_[group][Trim(t.substr(0, eq))] = Trim(t.substr(eq + 1));
    };
    while ((c = std::fgetc(f)) != EOF) {
        if (c == '\n')
            takeLine();
        else
            line += static_cast<char>(c);
    }
    takeLine();
    std::fclose(f);
}

bool IniSettingsStore::HasGroup(const std::string& group) const {
    return groups_.count(group) != 0;
}

SettingsValue IniSettingsStore::Get(const std::string& group, const std::string& name) const {
    SettingsValue v;
    auto g = groups_.find(group);
    if (g == groups_.end()) return v;
    auto it = g->second.find(name);
    if (it == g->second.end()) return v;
    if (ParseString(it->second, v.text)) {
        v.type = ValueType::String;
    } else if (ParseInteger(it->second, v.integer)) {
        v.type = ValueType::Integer;
    } else {
        // Present but of no type we write: as a registry value of a foreign type,
        // it is neither an integer nor a string to the reader.
        v.type = ValueType::Missing;
        v.text = "?";
    }
    return v;
}

void IniSettingsStore::SetInteger(const std::string& group, const std::string& name, int32_t value) {
    groups_[group][name] = std::to_string(value);
}

void IniSettingsStore::SetString(const std::string& group, const std::string& name,
                                 const std::string& value) {
    groups_[group][name] = QuoteString(value);
}

bool IniSettingsStore::Flush() {
    size_t slash = path_.rfind('/');
    if (slash != std::string::npos && !MakeDirs(path_.substr(0, slash))) return false;
    std::string text;
    for (auto& [group, values] : groups_) {
        text += "[" + group + "]\n";
        for (auto& [name, raw] : values)
            text += name + "=" + raw + "\n";
        text += "\n";
    }
    // Settings of the user only; an existing file (or a link's target) keeps what it had.
    return !ReplaceFile(path_, text, 0600);
}

SettingsValue MemorySettingsStore::Get(const std::string& group, const std::string& name) const {
    auto g = groups_.find(group);
    if (g == groups_.end()) return {};
    auto it = g->second.find(name);
    return it == g->second.end() ? SettingsValue{} : it->second;
}

void MemorySettingsStore::SetInteger(const std::string& group, const std::string& name, int32_t value) {
    groups_[group][name] = SettingsValue{ValueType::Integer, value, {}};
}

void MemorySettingsStore::SetString(const std::string& group, const std::string& name,
                                    const std::string& value) {
    groups_[group][name] = SettingsValue{ValueType::String, 0, value};
}

bool MemorySettingsStore::Flush() {
    ++flushes;
    return !failFlush;
}

std::string ConfigFilePath(const std::string& relativePath) {
    std::string base;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) {
        base = x;
    } else if (const char* h = std::getenv("HOME"); h && *h) {
        base = std::string(h) + "/.config";
    } else {
        base = ".";
    }
    return base + "/" + relativePath;
}

std::string SettingsFilePath(const std::string& registryPath) {
    // The last two components of the path: maker and program key.
    std::string rest = registryPath;
    for (char& c : rest)
        if (c == '\\') c = '/';
    size_t last = rest.rfind('/');
    std::string key = last == std::string::npos ? rest : rest.substr(last + 1);
    std::string maker = "Morv";
    if (last != std::string::npos && last > 0) {
        size_t prev = rest.rfind('/', last - 1);
        maker = rest.substr(prev == std::string::npos ? 0 : prev + 1,
                            last - (prev == std::string::npos ? 0 : prev + 1));
    }
    return ConfigFilePath(maker + "/" + key + ".ini");
}

} // namespace plat
