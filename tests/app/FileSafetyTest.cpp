// The file commands with what a user's disk can hold besides clone data
// files, and with disks that refuse to take a file: nothing hangs, nothing is
// lost, and every refusal says what went wrong. A hang shows as the test's
// time-out.
#include "foundation/TextUtil.h"
#include "tests/app/DocumentFixture.h"
#include "tests/support/FailingFileSystem.h"
#include "tests/support/ParamNames.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using apptest::DocumentFixture;
using testsupport::PrintTo;
using testsupport::TempDir;

// A listening socket in the file system, for as long as it lives.
class BoundSocket {
public:
    explicit BoundSocket(const std::string& path) : fd_(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << path;
    }
    ~BoundSocket() { ::close(fd_); }
    BoundSocket(const BoundSocket&) = delete;
    BoundSocket& operator=(const BoundSocket&) = delete;

private:
    int fd_;
};

// A small RAM disk where the test may mount one (root with the right to
// mount); it goes before its folder does.
class SmallDisk {
public:
    explicit SmallDisk(const std::string& folder) : folder_(folder) {
        std::filesystem::create_directory(folder_);
        mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") == 0;
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return mounted_; }

private:
    std::string folder_;
    bool mounted_ = false;
};

class FileSafetyTest : public DocumentFixture {
protected:
    // Data as a user has it: saved under a name, then changed.
    CloningDocument& StartEditing() {
        CloningDocument& app = StartWithData();
        EXPECT_EQ(app.SaveFile(CurrentFile()), 0);
        std::memcpy(app.WorkingImage().Data() + layout::kComment1, "EDITS", 5);
        EXPECT_TRUE(app.UpdateModified());
        return app;
    }
    std::string CurrentFile() const { return Documents() + "/current.icf"; }

    // The document is as StartEditing left it: still under its name, still to be saved.
    void ExpectStillUnsaved(CloningDocument& app) {
        EXPECT_EQ(app.GetFileName(), CurrentFile());
        EXPECT_TRUE(app.IsModified());
    }

    std::string Detail(int line) { return gGTex->GetTextLine("GI_AppMess_FileErr_Detail", line); }
};

struct Unusable {
    const char* name;
    // Makes the path in the folder and returns it.
    std::function<std::string(const std::string& folder)> make;
    const char* messageKey;
    bool namesTheFile;
};

class UnusableFileTest : public FileSafetyTest, public ::testing::WithParamInterface<Unusable> {};

TEST_P(UnusableFileTest, IsRefusedAtOnceAndTheDataStaysAsItWas) {
    const Unusable& c = GetParam();
    CloningDocument& app = StartEditing();
    const cmcEeprom before = app.WorkingImage();
    std::unique_ptr<BoundSocket> socket;
    if (std::string(c.name) == "socket") socket = std::make_unique<BoundSocket>(dir_.File("socket"));
    const std::string path = c.make(dir_.Path());

    boxes_.Expect("Do you want to save the changes", plat::IDNO);
    boxes_.Expect(Text(c.messageKey), plat::IDOK);
    EXPECT_EQ(app.OpenFile(path), 1);

    ASSERT_EQ(boxes_.Log().size(), 2u);
    const std::string& box = boxes_.Log().back().text;
    if (c.namesTheFile) {
        EXPECT_NE(box.find(FormatOneText(Detail(0), path)), std::string::npos) << box;
        EXPECT_NE(box.find(Detail(5)), std::string::npos) << box;
    } else {
        EXPECT_EQ(box, FileErrorText(cmcIcfFile::kFormat));
    }
    EXPECT_TRUE(app.WorkingImage().IsEqual(before));
    ExpectStillUnsaved(app);
}

const Unusable kUnusable[] = {
    {"dev_zero", [](const std::string&) { return std::string("/dev/zero"); }, "GI_Mess_FileErr_FileOpen",
     true},
    {"fifo",
     [](const std::string& folder) {
         const std::string path = folder + "/fifo.icf";
         EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
         return path;
     },
     "GI_Mess_FileErr_FileOpen", true},
    {"folder",
     [](const std::string& folder) {
         std::filesystem::create_directory(folder + "/folder.icf");
         return folder + "/folder.icf";
     },
     "GI_Mess_FileErr_FileOpen", true},
    {"socket", [](const std::string& folder) { return folder + "/socket"; }, "GI_Mess_FileErr_FileOpen",
     true},
    // No line end in the first 767 characters: refused after the first of its 16384 blocks.
    {"sparse_1_gib",
     [](const std::string& folder) {
         const std::string path = folder + "/sparse.icf";
         const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
         EXPECT_EQ(::ftruncate(fd, off_t{1} << 30), 0);
         ::close(fd);
         return path;
     },
     "GI_Mess_FileErr_Format", false},
    {"ten_mb_line",
     [](const std::string& folder) {
         const std::string path = folder + "/long.icf";
         TempDir::WriteFile(path, "44100000\r\n#Comment=" + std::string(10 << 20, 'x') + "\r\n#MapRev=1\r\n");
         return path;
     },
     "GI_Mess_FileErr_Format", false},
};

INSTANTIATE_TEST_SUITE_P(Paths, UnusableFileTest, ::testing::ValuesIn(kUnusable), testsupport::CaseName());

TEST_F(FileSafetyTest, SavingThroughALinkWritesItsTargetAndKeepsTheLink) {
    CloningDocument& app = StartEditing();
    const std::string store = dir_.File("store");
    std::filesystem::create_directory(store);
    TempDir::WriteFile(store + "/real.icf", "old");
    const std::string link = Documents() + "/link.icf";
    ASSERT_EQ(::symlink((store + "/real.icf").c_str(), link.c_str()), 0);

    ASSERT_EQ(app.SaveFile(link), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempDir::ReadFile(store + "/real.icf").rfind("44100000\r\n#Comment=EDITS", 0), 0u);
    EXPECT_EQ(app.GetFileName(), link) << "the user's name for the file stays";
    EXPECT_FALSE(app.IsModified());
    EXPECT_EQ(TempDir::Names(store), std::vector<std::string>{"real.icf"});
}

TEST_F(FileSafetyTest, AFileNamedLikeATemporaryFileIsNeverTouched) {
    CloningDocument& app = StartEditing();
    for (const char* name : {"/current.icf.tmp", "/.current.icf.tmp"})
        TempDir::WriteFile(Documents() + name, "the user's own");
    ASSERT_EQ(app.SaveFile(CurrentFile()), 0);
    for (const char* name : {"/current.icf.tmp", "/.current.icf.tmp"})
        EXPECT_EQ(TempDir::ReadFile(Documents() + name), "the user's own") << name;
    EXPECT_EQ(TempDir::Names(Documents()),
              (std::vector<std::string>{".current.icf.tmp", "current.icf", "current.icf.tmp"}));
}

struct Refusal {
    const char* name;
    plat::FailingFileSystem::Call call;
    int error;
    int adviceLine; // of "GI_AppMess_FileErr_Detail"
};

class RefusedSaveTest : public FileSafetyTest, public ::testing::WithParamInterface<Refusal> {};

// The save fails: the old file is whole, no other file is left, the box names
// the file, the system's reason and what to do, and the data stays unsaved.
TEST_P(RefusedSaveTest, LeavesTheOldFileAndSaysWhy) {
    const Refusal& c = GetParam();
    // The full disk is a real one where the test may mount it.
    const std::string folder = dir_.File("disk");
    SmallDisk disk(folder);
    const bool real = c.error == ENOSPC && disk.Mounted();
    RecordProperty("disk", real ? "a full tmpfs" : "an injected failure");
    CloningDocument& app = StartEditing();
    const std::string path = folder + "/data.icf";
    TempDir::WriteFile(path, "old contents");

    boxes_.Expect(Text("GI_Mess_FileErr_Headline"), plat::IDOK);
    {
        std::unique_ptr<plat::FailingFileSystem> failing;
        if (!real) failing = std::make_unique<plat::FailingFileSystem>(c.call, c.error);
        EXPECT_EQ(app.SaveFile(path), 1);
    }
    ASSERT_EQ(boxes_.Log().size(), 1u);
    EXPECT_EQ(boxes_.Log()[0].text,
              FileErrorText(c.call == plat::FailingFileSystem::Call::kCreate ? cmcIcfFile::kFileOpen
                                                                             : cmcIcfFile::kFileAccess,
                            FileProblem{path, c.error}));
    EXPECT_NE(boxes_.Log()[0].text.find(path), std::string::npos);
    EXPECT_NE(boxes_.Log()[0].text.find(Detail(c.adviceLine)), std::string::npos);
    EXPECT_EQ(TempDir::ReadFile(path), "old contents");
    EXPECT_EQ(TempDir::Names(folder), std::vector<std::string>{"data.icf"});
    ExpectStillUnsaved(app);
}

INSTANTIATE_TEST_SUITE_P(
    Disks, RefusedSaveTest,
    ::testing::Values(Refusal{"disk_full", plat::FailingFileSystem::Call::kWrite, ENOSPC, 2},
                      Refusal{"read_only", plat::FailingFileSystem::Call::kCreate, EROFS, 3},
                      Refusal{"no_permission", plat::FailingFileSystem::Call::kCreate, EACCES, 4}),
    testsupport::CaseName());

} // namespace
