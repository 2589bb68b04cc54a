#include "platform/Fatal.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace plat {
namespace {

void StderrFatalHandler(const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", ProgramFileName().c_str(), text.c_str());
    std::fflush(stderr);
    std::_Exit(3);
}

FatalHandler gHandler = StderrFatalHandler;

std::string ExecutablePath() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return std::string();
    return std::string(buf, static_cast<size_t>(n));
}

} // namespace

void Fatal(const std::string& text) {
    gHandler(text);
    // A handler must not return; if one does, the process still ends here.
    std::_Exit(3);
}

FatalHandler SetFatalHandler(FatalHandler handler) {
    FatalHandler old = gHandler;
    gHandler = handler ? handler : StderrFatalHandler;
    return old;
}

std::string ProgramFileName() {
    std::string path = ExecutablePath();
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ProgramDirectory() {
    std::string path = ExecutablePath();
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

void ThrowingFatalHandler(const std::string& text) {
    throw FatalError(text);
}

} // namespace plat
