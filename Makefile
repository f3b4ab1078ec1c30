# SPDX-License-Identifier: GPL-3.0-or-later
# Front doors. `make run` and `make test` set up a fresh Debian 12 machine (as root).
BUILD      ?= build
ASAN_BUILD ?= build-sanitize
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?=
MAKEFLAGS += --no-print-directory

.PHONY: deps configure build run test format-check format sanitize bench memory package mutate clean

deps:
	@./scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANTA_WERROR=ON $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target orvanta
	@./scripts/run-window $(BUILD)/orvanta

test: build format-check
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

format-check: deps
	@./scripts/format check
	@./scripts/spdx check

format: deps
	@./scripts/format fix

sanitize: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DORVANTA_WERROR=ON -DORVANTA_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	    ctest --output-on-failure -j $(JOBS)

bench: deps
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build-bench -j $(JOBS) --target orvanta_bench
	@QT_QPA_PLATFORM=offscreen ./build-bench/bench/orvanta_bench

memory: deps
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build-bench -j $(JOBS) --target orvanta_memory_probe
	@QT_QPA_PLATFORM=offscreen ./build-bench/bench/orvanta_memory_probe

# Breaks the model's rules one at a time (tests/mutants.txt) and counts what the model
# tests catch; slow, so not part of CI. Builds in build-mutate.
mutate: deps
	@./scripts/mutate

package: build
	@cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-bench build-mutate
