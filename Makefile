# Umbrix: `make run` builds and runs the bundled example, `make test` builds and runs every test:
# the normal build, then the same tests under AddressSanitizer and UndefinedBehaviorSanitizer
# together with a short smoke run of every fuzz harness (build-asan, clang).
# `make fuzz` runs each fuzz harness for FUZZ_SECONDS.
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= 2
CMAKE_FLAGS ?=
FUZZ_SECONDS ?= 60
# Light optimisation and line tables compile faster and still give exact stack traces.
ASAN_FLAGS = -DUMBRIX_GUI=OFF -DUMBRIX_BENCH=OFF -DUMBRIX_SANITIZE=ON -DUMBRIX_FUZZ=ON \
	-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	"-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only"

.PHONY: all deps configure build run test test-core test-asan fuzz bench golden tidy clean

all: build

deps:
	@bash scripts/deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j$(JOBS)

# the Python module into $(BUILD)/python: PYTHONPATH=$(BUILD)/python /usr/bin/python3 -c "import umbrix"
python: deps configure
	cmake --build $(BUILD) --target python -j$(JOBS)

# the first day of the bundled summer days at Freiburg (labels line: --columns auto), with
# the stress classes of UTCI and PT beside them
RUN_COLUMNS = --set Tauf1=0 --set Tunter1=0 --set SDmax1=0 --set SDtat1=0 --set SVF1=0 \
  --set Stat1=0 --set Dtat1=0 --set E1=0 --set To1=0 --set Vp1=0 --set PmvChk=0 --set PetChk=0 \
  --set SetChk=0 --set mPETChK=0 --set UTCIclass1=1 --set PTclass1=1
run: build
	./$(BUILD)/umbrix --now "21.6.2026 9:00" --location Freiburg \
	  --datafile examples/summer_days.txt --columns auto $(RUN_COLUMNS) | sed -n '4,29p' | \
	  if command -v column > /dev/null; then column -t -s "$$(printf '\t')"; else cat; fi

test: test-core test-asan

test-core: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

$(ASAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja $(ASAN_FLAGS)

test-asan: $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) --target umbrix umbrix_tests api_example fuzzers -j$(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j$(JOBS)

fuzz: $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) --target fuzzers -j$(JOBS)
	@for f in $(ASAN_BUILD)/tests/fuzz/fuzz_*; do \
	  name=$${f##*/fuzz_}; echo "== $$name: $(FUZZ_SECONDS) s"; \
	  bash tests/fuzz/run.sh $$f $$name $(FUZZ_SECONDS) $(ASAN_BUILD)/fuzz-work || exit 1; \
	done

# rewrites tests/golden/expected: only together with a deliberate change of the results
golden: build
	UMBRIX_GOLDEN_REGEN=1 bash tests/golden/run.sh $(CURDIR)/$(BUILD)/umbrix $(CURDIR)

# the checks of .clang-tidy over the library, the programs and the tests
tidy: configure
	run-clang-tidy -quiet -j $(JOBS) -p $(BUILD) '/(src|tests|examples)/.*\.cpp$$'

bench: build
	@for b in $(BUILD)/bench_*; do echo "== $$b"; $$b --benchmark_min_time=0.2; done
	@if [ -d $(BUILD)/python/umbrix ]; then echo "== bench/python_indices.py"; \
	  PYTHONPATH=$(BUILD)/python /usr/bin/python3 bench/python_indices.py --min-time 0.5; fi

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
