# SPDX-License-Identifier: GPL-3.0-or-later
# The two commands a new user needs: `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60

.PHONY: all deps configure build test test-sanitizers run bench fuzz screenshots package package-check clean

all: build

deps:
	@sh tools/install-deps.sh

# The build's own progress lines and warnings, without the sub-make chatter.
QUIET_MAKE = -- --no-print-directory

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS) $(QUIET_MAKE)

# Every test, then every test again built with AddressSanitizer and
# UndefinedBehaviorSanitizer: any report fails the run.
test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory test-sanitizers
	@$(MAKE) --no-print-directory package-check

test-sanitizers: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DDOLGOMER_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS) $(QUIET_MAKE)
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

# A .deb of the program in build/ (dependencies computed from the binary).
package: build
	@cd $(BUILD) && rm -f dolgomer_*.deb && cpack -G DEB

# The package as Debian would check it: lintian without an error or a warning
# (information lines are allowed), the desktop entry and the AppStream file.
package-check: package
	@lintian --fail-on error,warning --tag-display-limit 0 $(BUILD)/dolgomer_*.deb
	@desktop-file-validate resources/dolgomer.desktop
	@appstreamcli validate --no-net resources/package/ru.example.dolgomer.metainfo.xml
	@echo "package-check: $$(ls $(BUILD)/dolgomer_*.deb) passes lintian, desktop-file-validate and appstreamcli"

# Builds the program alone and starts it; on a machine without a display it
# runs on a virtual one (tools/run.sh says which; Ctrl+C ends it).
run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target dolgomer $(QUIET_MAKE)
	@sh tools/run.sh $(BUILD)/bin/dolgomer

# Pictures of the window under docs/, drawn under Xvfb in a throwaway home.
screenshots: build
	@cmake --build $(BUILD) --target screenshots $(QUIET_MAKE)
	@home=$$(mktemp -d); HOME=$$home XDG_CONFIG_HOME=$$home/c XDG_DATA_HOME=$$home/d \
	    xvfb-run -a -s "-screen 0 1024x768x24" $(BUILD)/bin/screenshots $(CURDIR)/docs && \
	    QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 1600x1200x24" \
	        $(BUILD)/bin/screenshots $(CURDIR)/docs scaled; rc=$$?; \
	    rm -rf $$home; [ $$rc -eq 0 ] || exit $$rc
	@pdftoppm -png -r 50 -singlefile docs/printout.pdf docs/printout && rm -f docs/printout.pdf
	@pdftoppm -png -r 60 -f 1 -l 1 -singlefile docs/periods-table.pdf docs/periods-table && \
	    rm -f docs/periods-table.pdf
	@pdftoppm -png -r 60 -f 1 -l 1 -singlefile docs/court-order.pdf docs/court-order && \
	    rm -f docs/court-order.pdf

bench: build
	@for b in $(BUILD)/bench/bench_*; do \
	    [ -f "$$b" ] && [ -x "$$b" ] || continue; echo "== $$b"; "$$b" || exit 1; done

# libFuzzer targets: built with clang and sanitizers in their own build folder,
# each run for FUZZ_SECONDS from its seed corpus.
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DDOLGOMER_FUZZ=ON \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets $(QUIET_MAKE)
	@for f in $(FUZZ_BUILD)/fuzz/fuzz_*; do \
	    [ -f "$$f" ] && [ -x "$$f" ] || continue; name=$$(basename $$f); \
	    corpus=$(FUZZ_BUILD)/corpus/$$name; mkdir -p $$corpus; \
	    seeds=fuzz/corpus/$$name; [ -d $$seeds ] || seeds=""; \
	    echo "== $$name ($(FUZZ_SECONDS) s)"; \
	    $$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 $$corpus $$seeds || exit 1; done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
