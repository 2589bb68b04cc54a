# Entry points: `make test` (sanitized build and every test), `make release`, `make run` (QT4410R),
# `make run-adjust` (QT4411R), `make bench`, `make fuzz` (every fuzz target for FUZZ_SECONDS, FUZZ_JOBS at a time).
JOBS ?= $(shell nproc)
ASAN_DIR := build/asan
RELEASE_DIR := build/release
BENCH_DIR := build/bench
FUZZ_DIR := build/fuzz

.PHONY: all deps test fuzz-smoke fuzz fuzzers release run run-adjust bench format clean

all: test

deps:
	@scripts/install-deps

test: deps
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DTOLVANE_SANITIZE=ON
	cmake --build $(ASAN_DIR) -j $(JOBS)
	@# A failing run ends with its failures gathered, so that they stand at the end of a long log.
	cd $(ASAN_DIR) && { ctest --output-on-failure -j $(JOBS) || { \
	  echo '--- failures ---'; \
	  grep -h -E -A6 '^\[  FAILED  \]|Failure$$|^==[0-9]+==ERROR|runtime error' Testing/Temporary/LastTest*.log | head -150; \
	  exit 1; }; }
	@$(MAKE) --no-print-directory fuzz-smoke

FUZZ_SECONDS ?= 600
FUZZ_JOBS ?= 4

# The libFuzzer targets (clang); only they and the layers they link are built.
fuzzers:
	CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=Debug -DTOLVANE_TESTS=OFF -DTOLVANE_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzzers

# Short runs of every libFuzzer target, JOBS at a time; each target's corpus
# seeds live in fuzz/.
fuzz-smoke:
	@if ls fuzz/*.cpp >/dev/null 2>&1; then \
	  $(MAKE) --no-print-directory fuzzers && scripts/run-fuzzers $(FUZZ_DIR)/bin 20 $(JOBS); \
	fi

# Every target for FUZZ_SECONDS, FUZZ_JOBS at a time, one core each (FUZZ_CPUS
# pins them, e.g. FUZZ_CPUS=2,3,4,5); FUZZ_TARGETS picks some by name.
FUZZ_TARGETS ?= fuzz_*
fuzz: fuzzers
	@rm -rf $(FUZZ_DIR)/picked && mkdir -p $(FUZZ_DIR)/picked
	@for t in $(FUZZ_TARGETS); do for f in $(FUZZ_DIR)/bin/$$t; do [ -x "$$f" ] && ln -sf "$$(realpath $$f)" $(FUZZ_DIR)/picked/; done; done; true
	scripts/run-fuzzers $(FUZZ_DIR)/picked $(FUZZ_SECONDS) $(FUZZ_JOBS)

release: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DTOLVANE_TESTS=OFF
	cmake --build $(RELEASE_DIR) -j $(JOBS)

run: release
	$(RELEASE_DIR)/bin/QT4410R

run-adjust: release
	$(RELEASE_DIR)/bin/QT4411R

bench: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DTOLVANE_TESTS=OFF -DTOLVANE_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS)
	@for b in $(BENCH_DIR)/bin/bench_*; do echo "== $$b"; $$b || exit 1; done

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
