# Umbrix: `make run` builds and runs the bundled example, `make test` builds and runs every test:
# the normal build, the same tests under AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan), and a short smoke run of every fuzz harness (build-fuzz, clang).
# `make fuzz` runs each fuzz harness for FUZZ_SECONDS.
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS ?= 2
CMAKE_FLAGS ?=
FUZZ_SECONDS ?= 60
# Sanitizer and fuzz builds: light optimisation and line tables compile faster and still give
# exact stack traces.
ASAN_FLAGS = -DUMBRIX_GUI=OFF -DUMBRIX_BENCH=OFF -DUMBRIX_SANITIZE=ON \
	-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1"
FUZZ_FLAGS = -DUMBRIX_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	"-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only"

.PHONY: all deps configure build run test test-core test-asan test-fuzz fuzz bench clean

all: build

deps:
	@bash scripts/deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/umbrix --now "21.6.2026 9:00" --set EditDat=21.6.2026 --set EditZeit=12:00

test: test-core test-asan test-fuzz

test-core: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

$(ASAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja $(ASAN_FLAGS)

test-asan: $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) --target umbrix umbrix_tests -j$(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j$(JOBS)

$(FUZZ_BUILD)/build.ninja: | deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja $(FUZZ_FLAGS)

test-fuzz: $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) --target fuzzers -j$(JOBS)
	cd $(FUZZ_BUILD) && ctest --output-on-failure -j$(JOBS)

fuzz: $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) --target fuzzers -j$(JOBS)
	@for f in $(FUZZ_BUILD)/tests/fuzz/fuzz_*; do \
	  name=$${f##*/fuzz_}; echo "== $$name: $(FUZZ_SECONDS) s"; \
	  bash tests/fuzz/run.sh $$f $$name $(FUZZ_SECONDS) $(FUZZ_BUILD)/fuzz-work || exit 1; \
	done

bench: build
	@for b in $(BUILD)/bench_*; do echo "== $$b"; $$b --benchmark_min_time=0.2; done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
