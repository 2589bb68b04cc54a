#pragma once
#include <stdexcept>
#include <string>

namespace plat {

// An internal inconsistency (a missing text key, an address out of range...):
// the handler tells the user and the process ends at once, without destructors.
using FatalHandler = void (*)(const std::string& text);

[[noreturn]] void Fatal(const std::string& text);

// Returns the handler that was installed before.
FatalHandler SetFatalHandler(FatalHandler handler);

// Name and extension of the running executable, without its directory: the
// caption of fatal boxes.
std::string ProgramFileName();

// Directory of the running executable, with a trailing '/'.
std::string ProgramDirectory();

// Test double: a handler that throws, so a test can expect the fatal exit.
struct FatalError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
void ThrowingFatalHandler(const std::string& text);

} // namespace plat
