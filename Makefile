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
# Debian packages install into /usr; the editor's "Aide" also finds the
# manual of an installation beside the program, whatever the prefix.
PREFIX      ?= /usr
SHOTS       := docs/manuel/images

.PHONY: all deps build asan test test-amc run fuzz bench format format-check tidy clean package package-check screenshots screen-reader

all: build

$(DEPS_STAMP): scripts/setup-deps.sh tests/e2e/package.json
	bash scripts/setup-deps.sh
	mkdir -p $(BUILD) && touch $@

deps: $(DEPS_STAMP)

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVIMOR_WERROR=ON \
	  -DCMAKE_INSTALL_PREFIX=$(PREFIX) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

# The core tests once more under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVIMOR_WERROR=ON -DTAVIMOR_SANITIZE=ON -DTAVIMOR_E2E=OFF -DTAVIMOR_BUILD_APP=OFF \
	  -DTAVIMOR_BUILD_DOCS=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)

test: build asan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan-suppressions.txt \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory format-check

# The answer-sheet scanner on the sample quiz's AMC-TXT (installs the scanner
# and a TeX distribution when missing: large, so not part of make test).
test-amc: build
	bash scripts/test-amc.sh $(BUILD)

# With a display, the editor on the sample quiz; without one, the sample quiz site.
run: build
	@if [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; then \
	  $(BUILD)/app/tavimor $(SAMPLE); \
	else \
	  $(BUILD)/cli/tavimor-cli produce $(SAMPLE) && \
	  echo "No display: the sample quiz site is in $(abspath $(basename $(SAMPLE)))/index.html"; \
	fi

# The .deb packages (CPack) in $(BUILD): tavimor_<version>_<arch>.deb and,
# when the build has the preview component, tavimor-preview.
package: build
	cmake --build $(BUILD) --target package

# Installs the package on this machine (root or sudo), uses and validates
# what it installed, runs lintian on it, and removes it again.
package-check: package
	bash scripts/package-check.sh $(BUILD)

# Refreshes the manual's pictures: the editor on the sample quiz under Xvfb
# (xcb platform), and its produced site in headless Chromium. Commit them.
screenshots: build
	cmake --build $(BUILD) --target tavimor_editor_screenshots
	xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb \
	  $(BUILD)/docs/tavimor_editor_screenshots $(SAMPLE) $(SHOTS)
	TAVIMOR_CLI=$(abspath $(BUILD))/cli/tavimor-cli node docs/screenshots/site-screenshots.mjs $(SAMPLE) $(SHOTS)

# The running editor on the sample quiz read over the desktop's accessibility
# bus (AT-SPI) as a screen reader reads it, in a private X server and D-Bus
# session. About a minute and paced by the keyboard it simulates: not part of
# `make test`.
screen-reader: build
	xvfb-run -a dbus-run-session -- tests/atspi/run.sh $(BUILD)

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTAVIMOR_BUILD_FUZZ=ON -DTAVIMOR_BUILD_TESTS=OFF -DTAVIMOR_SANITIZE=OFF -DTAVIMOR_BUILD_APP=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	bash fuzz/run-all.sh $(FUZZ_BUILD)/fuzz $(FUZZ_SECONDS)

# The Google Benchmark programs (growth with the number of questions), then
# the whole-process ratios against cp -r and a minimal Qt Widgets program.
# A release build with the editor of its own; not part of `make test`.
bench: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVIMOR_BUILD_BENCH=ON -DTAVIMOR_BUILD_TESTS=OFF -DTAVIMOR_BUILD_APP=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	bash bench/run-all.sh $(BENCH_BUILD)/bench
	bash bench/whole-process.sh $(BENCH_BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# clang-tidy with the checks of .clang-tidy on the core and the command line.
tidy: build
	git ls-files 'model/*.cpp' 'presentation/*.cpp' 'generator/*.cpp' 'session/*.cpp' 'cli/*.cpp' \
	  | xargs -P $(JOBS) -n 4 clang-tidy -p $(BUILD) --quiet

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD)
