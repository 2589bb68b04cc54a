// The simulator's adjustment options on its command line: what it takes and
// what it refuses, as a user types them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace {

int RunSim(const std::string& args) {
    const std::string command = std::string(TOLVANE_BIN_DIR) + "/radiosim " + args + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct OptionCase {
    const char* args;
    int exitCode;
};

TEST(RadioSimAdjustOptionsTest, TakesItsPlateauLineAndFaultsAndRefusesWhatIsNoByte) {
    const std::string dump = std::string(::testing::TempDir()) + "/radiosim-adjust.bin";
    const OptionCase cases[] = {
        {"--plateau 100-140 --line 255-0 --fault adjust-silent=3 --fault adjust-word=4411 --fault "
         "adjust-lower-case --fault adjust-item=04 --fault adjust-answer-all --fault adjust-echo --pattern "
         "zero "
         "--dump ",
         0},
        {"--plateau 300-1 --dump ", 2},
        {"--line 5 --dump ", 2},
        {"--fault adjust-nothing --dump ", 2},
    };
    for (const OptionCase& c : cases)
        EXPECT_EQ(RunSim(std::string(c.args) + dump), c.exitCode) << c.args;
}

} // namespace
