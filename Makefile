# SPDX-License-Identifier: GPL-3.0-or-later
# Front doors. `make run` and `make test` set up a fresh Debian 12 machine (as root).
BUILD      ?= build
ASAN_BUILD ?= build-sanitize
FMA_BUILD  ?= build-fma
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?=
# Warnings stop the build only in CI (.ci/run sets WERROR=ON): a newer compiler's new warning
# must not break `make run` on a user's machine.
WERROR     ?= OFF
MAKEFLAGS += --no-print-directory

.PHONY: deps configure build run test format-check format sanitize fma-check screenshot bench bench-curve period-check memory package mutate mutate-sample clean lesson-pictures fuzz

deps:
	@./scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANTA_WERROR=$(WERROR) $(CMAKE_FLAGS) >/dev/null

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
	@./scripts/check-layers

format: deps
	@./scripts/format fix

sanitize: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DORVANTA_WERROR=$(WERROR) -DORVANTA_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	    ctest --output-on-failure -j $(JOBS)

# The model and its tests once more with fused multiply-add on offer (arm64 always offers it):
# every exact-digit test must pass unchanged, so no result depends on the CPU.
fma-check: deps
	@case "$$(uname -m)" in \
	x86_64) grep -qw fma /proc/cpuinfo || { echo "fma-check: skipped, this CPU has no fused multiply-add"; exit 0; }; \
	        fma=-mfma ;; \
	*) fma= ;; \
	esac; \
	cmake -S . -B $(FMA_BUILD) -DCMAKE_BUILD_TYPE= "-DCMAKE_CXX_FLAGS=-O2 $$fma" \
	    -DORVANTA_WERROR=$(WERROR) >/dev/null && \
	cmake --build $(FMA_BUILD) -j $(JOBS) --target orvanta_model_tests && \
	./$(FMA_BUILD)/tests/orvanta_model_tests --gtest_brief=1

bench: deps
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build-bench -j $(JOBS) --target orvanta_bench
	@QT_QPA_PLATFORM=offscreen ./build-bench/bench/orvanta_bench

# The period search over 192 synthetic eclipsing binaries made by the model (about three minutes).
period-check: deps
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build-bench -j $(JOBS) --target orvanta_period_check
	@./build-bench/bench/orvanta_period_check

bench-curve: deps
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build-bench -j $(JOBS) --target orvanta orvanta_curve_cpu orvanta_trivial
	@./bench/curve-startup build-bench/orvanta 1000

memory: deps
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build-bench -j $(JOBS) --target orvanta_memory_probe
	@QT_QPA_PLATFORM=offscreen ./build-bench/bench/orvanta_memory_probe

# The observed-data reader under clang's libFuzzer for FUZZ_SECONDS (not in CI).
FUZZ_SECONDS ?= 60
fuzz: deps
	@cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	    -DORVANTA_FUZZ=ON -DORVANTA_TESTS=OFF >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target orvanta_observed_fuzz
	@mkdir -p build-fuzz/corpus
	@cp data/*.txt data/*.csv data/archive/*.csv data/archive/*.txt build-fuzz/corpus/
	@cd build-fuzz && ./orvanta_observed_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=4096 \
	    -timeout=5 corpus

# The pictures of docs/LESSONS.md, made by the program itself (offscreen).
lesson-pictures: configure
	@cmake --build $(BUILD) -j $(JOBS) --target orvanta_lesson_pictures
	@QT_QPA_PLATFORM=offscreen $(BUILD)/orvanta_lesson_pictures docs/lessons

# The README's picture of the window after start-up, taken under Xvfb.
screenshot:
	@./scripts/install-deps screenshot
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANTA_WERROR=$(WERROR) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target orvanta
	@./scripts/screenshot $(BUILD)/orvanta docs/screenshot.png

# Breaks the model's rules one at a time (tests/mutants.txt) and counts what the model
# tests catch; slow, so not part of CI. Builds in build-mutate.
mutate: deps
	@./scripts/mutate

# The same with SAMPLE mutants made mechanically from the source (scripts/generate-mutants),
# chosen by SEED.
SAMPLE ?= 300
SEED   ?= 28
mutate-sample: deps
	@./scripts/mutate --sample $(SAMPLE) $(SEED)

package: build
	@cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FMA_BUILD) build-bench build-mutate
