# SPDX-License-Identifier: GPL-3.0-or-later
# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test run clean format tidy sanitize fuzz package bench translations \
        windows windows-test windows-installer

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	@scripts/check-format
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite built and run under AddressSanitizer and UndefinedBehaviorSanitizer; any
# report fails it. Leaks of the libraries below the program are listed in tests/lsan.supp.
SANITIZE_BUILD ?= build-sanitize
sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQNCF_SANITIZE=ON \
	    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g"
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	    ctest --output-on-failure -j $(JOBS)

# The benchmarks of bench/: one table of figures, each against its limit or with its spread,
# and the same figures in $(BUILD)/bench.json. Builds only the programs it measures and its own
# tools; nothing of it is part of make test.
bench:
	@scripts/install-deps --bench
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQNCF_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS) --target bench-programs
	python3 bench/run.py $(BUILD)

# Lays out every C++ source as .clang-format says.
format: deps
	@scripts/check-format --fix

# The static checks of .clang-tidy over the program's sources (slow; not part of make test).
tidy: configure
	run-clang-tidy -quiet -p $(BUILD) '$(CURDIR)/src/' 

# The fuzz targets, built with clang and libFuzzer in $(FUZZ_BUILD), each run for FUZZ_SECONDS
# on a scratch copy of its corpus; prints each target's executions, rate and coverage.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

fuzz:
	@FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/fuzz $(FUZZ_BUILD)

# A .deb of the programs with their desktop entry, icon, metainfo, man pages, completions,
# copyright file and changelog, in $(BUILD); its dependencies are computed from the libraries
# the programs link. The programs are the build's own, hardened (cmake/hardening.cmake), and
# the package passes lintian --pedantic (make test checks it, tests/packaging/tst_package.sh).
package: build
	cd $(BUILD) && cpack -G DEB

# Writes translations/qncf.ts afresh from the sources (the texts a translator may put in
# another language) and brings every translations/qncf_<lang>.ts up to date with it.
translations: configure
	cmake --build $(BUILD) --target update_translations

run: build
	@scripts/run-demo $(BUILD)

# Windows: qncf.exe, qncf-cli.exe and the tests that need no pseudo-terminal, cross-compiled
# with MinGW-w64 against the Qt SDK scripts/windows-sdk finds or builds, in $(WINDOWS_BUILD).
WINDOWS_BUILD ?= build-windows

windows:
	@scripts/install-deps --windows
	@sdk=$$(scripts/windows-sdk) && \
	cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=$$sdk/lib/cmake/Qt6/qt.toolchain.cmake \
	    -DQT_CHAINLOAD_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake -DQNCF_WINDOWS_SDK=$$sdk
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)

# The Windows build under Wine: its tests, a download and an upload through Wine's COM1 to the
# simulated converter (checked byte for byte against the Linux programs), qncf.exe's start
# window on an Xvfb display, and the installer in and out again.
windows-test: windows-installer build
	scripts/windows-test $(WINDOWS_BUILD) $(BUILD)

# qncf-setup-VERSION.exe (NSIS) and qncf-VERSION-windows.zip in $(WINDOWS_BUILD): the programs
# with the Qt and MinGW DLLs and plugins they load, found from their imports.
windows-installer: windows build
	scripts/windows-installer $(WINDOWS_BUILD) $(BUILD)/doc/manual

clean:
	rm -rf $(BUILD)
