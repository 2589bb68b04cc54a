// Saving and loading a whole clone data file (the radio's memory, 0..0xFF7F)
// against writing and reading the same bytes with plain stdio.
#include "image/cmcEeprom.h"
#include "image/cmcIcfFile.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const RangeList kClonedArea = {{0, 0xFF7F}};

// A folder for the files, an image with varied bytes and its file, removed at exit.
class Files {
public:
    Files() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "tolvane-bench-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) std::abort();
        dir_ = tmpl;
        image.SetSize(0xFF80);
        uint32_t x = 1;
        for (int32_t a = 0; a < image.GetSize(); ++a) {
            x = x * 1103515245u + 12345u;
            image.SetByte(a, static_cast<uint8_t>(x >> 16));
        }
        cmcIcfFile icf;
        icf.SetImage(&image);
        icf.SetCode1(0x4410);
        icf.SetMapRev(1);
        if (icf.Save(Path("full.icf"), kClonedArea) != 0) std::abort();
        bytes.resize(std::filesystem::file_size(Path("full.icf")));
        std::FILE* f = std::fopen(Path("full.icf").c_str(), "rb");
        if (!f || std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
        std::fclose(f);
    }
    ~Files() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    cmcEeprom image;
    std::vector<char> bytes; // the saved file

private:
    std::string dir_;
};

Files& Shared() {
    static Files files;
    return files;
}

void BM_IcfSave(benchmark::State& state) {
    Files& files = Shared();
    cmcIcfFile icf;
    icf.SetImage(&files.image);
    icf.SetCode1(0x4410);
    icf.SetMapRev(1);
    std::string path = files.Path("save.icf");
    for (auto _ : state)
        if (icf.Save(path, kClonedArea) != 0) state.SkipWithError("save failed");
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(files.bytes.size()));
}
BENCHMARK(BM_IcfSave);

// The same bytes through stdio, with and without the flush to the disk that a save makes.
void BM_StdioWrite(benchmark::State& state) {
    Files& files = Shared();
    std::string path = files.Path("stdio.txt");
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(files.bytes.data(), 1, files.bytes.size(), f);
        std::fflush(f);
        if (state.range(0)) fsync(fileno(f));
        std::fclose(f);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(files.bytes.size()));
}
BENCHMARK(BM_StdioWrite)->ArgName("fsync")->Arg(0)->Arg(1);

void BM_IcfLoad(benchmark::State& state) {
    Files& files = Shared();
    cmcEeprom image;
    image.SetSize(0xFF80);
    cmcIcfFile icf;
    icf.SetImage(&image);
    icf.SetCode1(0x4410);
    icf.SetOnMapRev([](int32_t rev) { return rev < 2; });
    std::string path = files.Path("full.icf");
    for (auto _ : state)
        if (icf.Load(path, &kClonedArea) != 0) state.SkipWithError("load failed");
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(files.bytes.size()));
}
BENCHMARK(BM_IcfLoad);

void BM_StdioRead(benchmark::State& state) {
    Files& files = Shared();
    std::vector<char> buffer(files.bytes.size());
    std::string path = files.Path("full.icf");
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        size_t n = std::fread(buffer.data(), 1, buffer.size(), f);
        std::fclose(f);
        benchmark::DoNotOptimize(n);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(files.bytes.size()));
}
BENCHMARK(BM_StdioRead);

} // namespace
