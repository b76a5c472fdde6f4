# One command to play, one to test. Each runs the set-up script first, which
# installs missing Debian packages and otherwise returns at once.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
# make install puts the game under PREFIX, staged below DESTDIR when given.
PREFIX ?= /usr/local
DESTDIR ?=

.PHONY: all setup build run install uninstall package test test-unit test-asan test-tsan fuzz bench bench-frames contact-sheet sound-sheet clean

all: build

setup:
	@bash scripts/setup.sh

$(BUILD)/CMakeCache.txt: | setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: setup $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD)

# The game, its tools, data, desktop entry, icons, metadata and man pages.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# Removes what the last install listed in its manifest (give the same
# DESTDIR as the install).
uninstall:
	DESTDIR="$(DESTDIR)" bash scripts/uninstall.sh $(BUILD)/install_manifest.txt

# The Debian package, $(BUILD)/starfield-stampede_VERSION_ARCH.deb.
package: build
	cd $(BUILD) && cpack --config CPackConfig.cmake

test: test-unit test-asan test-tsan

test-unit: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 600

# Unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer; any
# report fails the run. Tests that need an X server or the generated asset
# tree stay in the plain run.
test-asan: setup
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DSS_SANITIZE=ON -DSS_BENCH=OFF -DSS_ASSETS=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS) --timeout 600 -LE 'x11|e2e|assets'

# Tests under tests/threads/ again under ThreadSanitizer (Mesa's own races at
# exit are suppressed, nothing else).
test-tsan: setup
	cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DSS_TSAN=ON -DSS_BENCH=OFF -DSS_ASSETS=OFF
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target tests_threads
	cd $(TSAN_BUILD) && TSAN_OPTIONS="halt_on_error=1 suppressions=$(CURDIR)/tests/tsan.supp" \
	  ctest --output-on-failure -j $(JOBS) --timeout 600 -L threads

fuzz: setup
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSS_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets
	bash scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench: build
	bash scripts/bench.sh $(BUILD)

# Frame rate of gameplay under Xvfb against a one-quad reference program.
bench-frames: build
	bash scripts/bench_frame_rate.sh $(BUILD)

# Every generated picture and bundle sprite in one labelled sheet.
contact-sheet: build
	bash scripts/contact_sheet.sh $(BUILD) docs/contact-sheet.png

# Every generated sound effect in turn in one WAV, and their waveforms and
# spectrograms in one labelled picture.
sound-sheet: build
	bash scripts/sound_sheet.sh $(BUILD) docs/sound-sheet.wav docs/sound-sheet.png

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD)
