# make run   - build (Release) and start the program (through amostra-utf8 on a UTF-8 terminal)
# make test  - build and run every test
# make sanitize   - the test suite under AddressSanitizer and UndefinedBehaviorSanitizer
# make fuzz-smoke - a one-minute run of the session fuzzer (clang, libFuzzer)
# make bench      - full sessions at capacity, timed against a trivial program
# make doc        - the tutorial and the tables as HTML pages in build-doc/html/
# make fuzz-diff-smoke - a one-minute run of the x87-versus-software differential fuzzer
# make soft-ext-proof - the software extended type against the x87: 10 million operands per operation
# make test-soft  - the whole test suite on the software extended type (AMOSTRA_SOFT_EXT=ON)
# make test-platforms - aarch64 (qemu), Windows (Wine) and clang/libc++ builds on every golden session
# make package    - Debian packages (amd64, arm64) and the Windows zip, in dist/
BUILD ?= build
# Parallel compile jobs: one per processor (an unbounded -j can start every
# compiler at once and exhaust a small machine's memory).
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60

.PHONY: all build run test sanitize fuzz fuzz-smoke bench doc clean soft-ext-proof test-soft fuzz-diff fuzz-diff-smoke

all: build

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

# On a UTF-8 terminal the dialogue goes through amostra-utf8, which converts
# the program's code page 850 to and from UTF-8; elsewhere the program runs as is.
run: build
	@if [ -x ./$(BUILD)/amostra-utf8 ] && { locale charmap 2>/dev/null; echo "$${LC_ALL:-$${LC_CTYPE:-$$LANG}}"; } | grep -qiE 'utf-?8'; \
	then set -x; exec ./$(BUILD)/amostra-utf8; else set -x; exec ./$(BUILD)/amostra; fi

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j2

sanitize:
	cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DAMOSTRA_SANITIZE=ON
	cmake --build build-sanitize -j $(JOBS)
	ctest --test-dir build-sanitize --output-on-failure -j2

fuzz:
	CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DAMOSTRA_FUZZ=ON -DBUILD_TESTING=OFF
	cmake --build build-fuzz -j $(JOBS) --target amostra_fuzz

fuzz-smoke: fuzz
	bash tests/fuzz/run.sh build-fuzz/amostra_fuzz $(FUZZ_SECONDS)

bench: build
	cmake --build $(BUILD) --target bench_harness bench_trivial
	bash bench/run.sh $(BUILD)
	bash bench/soft_ext.sh $(BUILD) build-soft

soft-ext-proof: build
	cmake --build $(BUILD) -j2 --target soft_ext_proof soft_ext_proof_portable
	nice ./$(BUILD)/tests/soft_ext_proof 10000000 11 exhaustive
	nice ./$(BUILD)/tests/soft_ext_proof_portable 10000000 12

fuzz-diff:
	CXX=clang++ cmake -S . -B build-fuzz-diff -DCMAKE_BUILD_TYPE=Release -DAMOSTRA_FUZZ_DIFF=ON -DBUILD_TESTING=OFF
	cmake --build build-fuzz-diff -j2 --target amostra_diff_fuzz

fuzz-diff-smoke: fuzz-diff
	bash tests/fuzz/run.sh build-fuzz-diff/amostra_diff_fuzz $(FUZZ_SECONDS)

test-soft:
	cmake -S . -B build-soft -DCMAKE_BUILD_TYPE=Release -DAMOSTRA_SOFT_EXT=ON
	cmake --build build-soft -j2
	ctest --test-dir build-soft --output-on-failure -j2

doc:
	cmake -S . -B build-doc -DBUILD_TESTING=OFF
	cmake --build build-doc --target doc

clean:
	rm -rf $(BUILD) build-sanitize build-fuzz build-soft build-fuzz-diff

# make web      - the browser edition (em++, Debian package emscripten) in build-web/
# make web-test - the browser edition in Chromium (Debian package chromium)
.PHONY: web web-test
web:
	bash web/build.sh

web-test: web
	cd web && { [ -d node_modules/playwright-core ] || npm ci --no-audit --no-fund; }
	node web/test/assemble_test.mjs
	node web/test/browser_test.mjs build-web tests/transcripts build-web-test
# Other systems: cross builds in build-aarch64/ and build-windows/, clang with
# libc++ in build-libcxx/ (tests/platforms/platforms.sh).
.PHONY: platforms package test-platforms
platforms:
	bash tests/platforms/platforms.sh build

package: build platforms
	bash tests/platforms/platforms.sh package $(BUILD)

test-platforms: package
	bash tests/platforms/platforms.sh test $(BUILD)
