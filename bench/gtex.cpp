// Looking up a key in a text table against a plain scan of the same overlay.
#include "foundation/cmcGTex.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

constexpr int kKeys = 5000;

std::string KeyName(int i) {
    return "CL_Bench_Key_" + std::to_string(i);
}

// An overlay of kKeys keys with a few lines each, written once and removed at exit.
class Overlay {
public:
    Overlay() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "tolvane-bench-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) std::abort();
        dir_ = tmpl;
        path_ = dir_ + "/bench.ovl";
        std::ofstream out(path_, std::ios::binary);
        for (int i = 0; i < kKeys; ++i) {
            out << '#' << KeyName(i) << '\n';
            out << "Channel " << i << " receive frequency\n";
            out << "LST\t0\t12\t" << i % 97 << '\n';
            out << "Help text of setting " << i << ", a line about as long as a real one\n";
        }
        out << "#End_Of_Ovl\n";
    }
    ~Overlay() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::string& Path() const { return path_; }

private:
    std::string dir_, path_;
};

const Overlay& TheOverlay() {
    static Overlay overlay;
    return overlay;
}

const std::string kFirst = KeyName(0);
const std::string kLast = KeyName(kKeys - 1);

void Cold(benchmark::State& state, const std::string& key) {
    const std::string& path = TheOverlay().Path();
    for (auto _ : state) {
        cmcGTex table;
        table.SetFile(path);
        benchmark::DoNotOptimize(table.GetText(key));
    }
}

void Warm(benchmark::State& state, const std::string& key) {
    cmcGTex table;
    table.SetFile(TheOverlay().Path());
    table.GetText(key);
    for (auto _ : state)
        benchmark::DoNotOptimize(table.GetText(key));
}

// A warm table whose every key has been indexed, asked for keys all over it,
// so the key list walk and the cache misses show.
void WarmSpread(benchmark::State& state) {
    cmcGTex table;
    table.SetFile(TheOverlay().Path());
    table.GetText(kLast);
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.GetText(KeyName(i)));
        i = (i + 397) % kKeys;
    }
}

void GetlineScan(benchmark::State& state, const std::string& key) {
    const std::string& path = TheOverlay().Path();
    const std::string keyLine = "#" + key;
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::string line, text;
        while (std::getline(in, line)) {
            if (line == keyLine) {
                std::getline(in, text);
                break;
            }
        }
        benchmark::DoNotOptimize(text);
    }
}

void FgetsScan(benchmark::State& state, const std::string& key) {
    const std::string& path = TheOverlay().Path();
    const std::string keyLine = "#" + key + "\n";
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        char buf[8193];
        std::string text;
        while (std::fgets(buf, sizeof buf, f)) {
            if (keyLine == buf) {
                if (std::fgets(buf, sizeof buf, f)) text = buf;
                break;
            }
        }
        std::fclose(f);
        benchmark::DoNotOptimize(text);
    }
}

} // namespace

BENCHMARK_CAPTURE(Cold, FirstKey, kFirst);
BENCHMARK_CAPTURE(Cold, LastKey, kLast);
BENCHMARK_CAPTURE(Warm, FirstKey, kFirst);
BENCHMARK_CAPTURE(Warm, LastKey, kLast);
BENCHMARK(WarmSpread);
BENCHMARK_CAPTURE(GetlineScan, FirstKey, kFirst);
BENCHMARK_CAPTURE(GetlineScan, LastKey, kLast);
BENCHMARK_CAPTURE(FgetsScan, FirstKey, kFirst);
BENCHMARK_CAPTURE(FgetsScan, LastKey, kLast);
