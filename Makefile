# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test run clean format tidy

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

# Lays out every C++ source as .clang-format says.
format: deps
	@scripts/check-format --fix

# The static checks of .clang-tidy over the program's sources (slow; not part of make test).
tidy: configure
	run-clang-tidy -quiet -p $(BUILD) '$(CURDIR)/src/' 

run: build
	@scripts/run-demo $(BUILD)

clean:
	rm -rf $(BUILD)
