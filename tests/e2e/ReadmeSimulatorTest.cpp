// The README's simulator section, run as it stands: the simulator started
// with its command line, a clone read by the program's own document over the
// COM port the README names, and the dump command.
#include "foundation/ModelClass.h"
#include "image/datCh.h"
#include "tests/app/DocumentFixture.h"
#include "tests/support/ProgramProcess.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

namespace {

using testsupport::TempDir;

// The lines of the README's simulator section that start the simulator.
std::vector<std::string> ReadmeSimulatorLines() {
    std::ifstream in(TOLVANE_SOURCE_DIR "/README.md");
    std::string line;
    bool inSection = false;
    std::vector<std::string> lines;
    while (std::getline(in, line)) {
        if (line.starts_with("## ")) inSection = line == "## Serial ports and the radio simulator";
        if (!inSection) continue;
        // In code blocks and in the text alike.
        for (std::smatch m; std::regex_search(line, m, std::regex("build/release/bin/radiosim[^`&]*"));
             line = m.suffix())
            lines.push_back(m.str());
    }
    return lines;
}

// The command's words, the release build's folder and the README's COM folder
// replaced by this build's and a temp dir.
std::vector<std::string> Words(std::string line, const std::string& comDir) {
    line = std::regex_replace(line, std::regex("build/release/bin/"), TOLVANE_BIN_DIR "/");
    line = std::regex_replace(line, std::regex("/tmp/com"), comDir);
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

pid_t Spawn(std::vector<std::string> words, const std::string& out, const std::string& cwd) {
    const pid_t pid = testsupport::SpawnCommand(words, out, cwd);
    EXPECT_GT(pid, 0) << words.front();
    return pid;
}

class ReadmeSimulatorTest : public apptest::DocumentFixture {
protected:
    ~ReadmeSimulatorTest() override {
        if (sim_ > 0) {
            kill(sim_, SIGTERM);
            waitpid(sim_, nullptr, 0);
        }
    }

    // Starts the simulator and waits until it says where its link is.
    void StartSimulator(const std::vector<std::string>& words) {
        const std::string log = dir_.File("radiosim.log");
        sim_ = Spawn(words, log, dir_.Path());
        ASSERT_TRUE(testsupport::WaitForOutput(sim_, log, "COM link: "))
            << "the simulator did not come up: " << TempDir::ReadFile(log);
    }

    pid_t sim_ = -1;
};

TEST_F(ReadmeSimulatorTest, TheSimulatorAsWrittenGivesAReadOfItsStartupDataAndItsChannels) {
    const std::vector<std::string> lines = ReadmeSimulatorLines();
    ASSERT_EQ(lines.size(), 2u) << "the start and the dump command";
    const std::string comDir = dir_.File("com");
    StartSimulator(Words(lines[0], comDir));

    // The program with no settings of its own, started as the README starts it.
    testsupport::ScopedEnv com("TOLVANE_COM_DIR", comDir);
    CloningDocument& app = StartWithData();
    const int32_t model = gEnviron->ModelType;
    app.CloneRead();
    // The simulator runs on its own, so the program's time passes as it does
    // for the simulator: a busy machine slows both alike.
    for (int t = 0; t < 60000 && app.CloneManager().IsBusy(); t += 10) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        scheduler_.Advance(10);
    }
    ASSERT_FALSE(app.CloneManager().IsBusy());

    ASSERT_TRUE(boxes_.Log().empty()) << boxes_.Log().front().text;
    EXPECT_EQ(gEnviron->ModelType, model) << "the simulator is the radio of the program's first model";
    EXPECT_TRUE(app.ReferenceImage().IsEqual(StartupImage(model, true)));
    EXPECT_EQ(app.ProgrammedChannelCount(), 5);
    EXPECT_EQ(datCh(&app.WorkingImage()).Load(ModelClassOf(model), 0).rxFreq, 146520000);

    // The dump command writes the radio's whole memory.
    const std::vector<std::string> dump = Words(lines[1], comDir);
    EXPECT_EQ(testsupport::WaitForExit(Spawn(dump, dir_.File("dump.log"), dir_.Path())), 0);
    const std::string bytes = TempDir::ReadFile(dir_.File(dump.back()));
    ASSERT_EQ(bytes.size(), 0xFF80u);
    EXPECT_EQ(bytes.substr(layout::kHdrSignature, 8), layout::kMakerSignature);
}

} // namespace
