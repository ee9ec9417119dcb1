# Thin wrapper around CMake; the README's two commands are `make run` and `make test`.
BUILD       ?= build
ASAN_BUILD  ?= build-asan
FUZZ_BUILD  ?= build-fuzz
BENCH_BUILD ?= build-bench
FUZZ_SECONDS ?= 60
JOBS        ?= $(shell nproc)
CMAKE_FLAGS ?=
DEPS_STAMP  := $(BUILD)/.deps-installed
SAMPLE      := examples/decouverte.kwz

.PHONY: all deps build test run fuzz bench format format-check clean

all: build

$(DEPS_STAMP): scripts/setup-deps.sh tests/e2e/package.json
	bash scripts/setup-deps.sh
	mkdir -p $(BUILD) && touch $@

deps: $(DEPS_STAMP)

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVIMOR_WERROR=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

# The core tests once more under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVIMOR_WERROR=ON -DTAVIMOR_SANITIZE=ON -DTAVIMOR_E2E=OFF -DTAVIMOR_BUILD_APP=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)

test: build asan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory format-check

# With a display, the editor on the sample quiz; without one, the sample quiz site.
run: build
	@if [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; then \
	  $(BUILD)/app/tavimor $(SAMPLE); \
	else \
	  $(BUILD)/cli/tavimor-cli produce $(SAMPLE) && \
	  echo "No display: the sample quiz site is in $(abspath $(basename $(SAMPLE)))/index.html"; \
	fi

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTAVIMOR_BUILD_FUZZ=ON -DTAVIMOR_BUILD_TESTS=OFF -DTAVIMOR_SANITIZE=OFF -DTAVIMOR_BUILD_APP=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	bash fuzz/run-all.sh $(FUZZ_BUILD)/fuzz $(FUZZ_SECONDS)

bench: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVIMOR_BUILD_BENCH=ON -DTAVIMOR_BUILD_TESTS=OFF -DTAVIMOR_BUILD_APP=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	bash bench/run-all.sh $(BENCH_BUILD)/bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD)
