# Kodrin: `make run` builds and starts the program under Wine; `make test`
# builds both builds and runs every test. Both install what is missing first.

JOBS ?= $(shell nproc)
CTEST := ctest --output-on-failure -j$(JOBS)
WINE_PREFIX := $(CURDIR)/build/windows/wineprefix
CATALOG ?=

.PHONY: all setup native windows test test-native test-windows run bench bench-large bench-scan release bench-check fuzz fuzz-build screenshots clean

all: native windows

setup:
	@scripts/setup.sh

build/native/build.ninja: | setup
	@cmake --preset native >/dev/null

build/windows/build.ninja: | setup
	@cmake --preset windows >/dev/null

native: setup build/native/build.ninja
	@cmake --build --preset native

windows: setup build/windows/build.ninja
	@cmake --build --preset windows

test: test-native test-windows

test-native: native
	cd build/native && $(CTEST)

# Console tests run as they are; tests that create windows get a display.
test-windows: windows
	@WINEPREFIX=$(WINE_PREFIX) scripts/wine-prefix
	cd build/windows && WINEPREFIX=$(WINE_PREFIX) $(CTEST) -LE gui
	@# The console tests' wineserver (and its desktop, made without a display)
	@# would still be running: end it so that the window tests get a new one.
	@WINEPREFIX=$(WINE_PREFIX) wineserver -k >/dev/null 2>&1 || true
	cd build/windows && WINEPREFIX=$(WINE_PREFIX) ../../scripts/with-display $(CTEST) -L gui

run: windows
	@WINEPREFIX=$(WINE_PREFIX) scripts/wine-prefix
	WINEPREFIX=$(WINE_PREFIX) WINEDEBUG=-all scripts/with-display wine build/windows/src/kodrin.exe $(if $(CATALOG),/F$(CATALOG))

bench: setup
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench
	build/bench/bench/kodrin_bench $(BENCH_ARGS)

# kodrin.exe under Wine on a catalog of RECORDS (default 100000) records:
# start, change of tab, re-sort and close, beside kodrin-cli's save.
RECORDS ?= 100000
bench-large: setup build/windows/build.ninja
	bench/large_catalog.sh $(RECORDS)

# Search for Applications under Wine on a tree of 10,000 folders holding
# 2,000 program files, beside a bare FindFirstFileW walk of the same tree.
bench-scan: setup build/windows/build.ninja
	bench/scan_tree.sh

# A release ready to publish: the signed installer and the signed version
# file, with the keys named by KODRIN_UPDATE_SIGNING_KEY, KODRIN_CODESIGN_CERT
# and KODRIN_CODESIGN_KEY (see scripts/release.sh).
RELEASE_DIR ?= build/release
release: setup build/windows/build.ninja
	scripts/release.sh $(RELEASE_DIR)

# The update check's timing in the Windows build, under Wine: 200 PAD files
# each answered after 200 ms (the native figures come from make bench).
bench-check: setup build/windows/build.ninja
	@cmake --build build/windows --target check_timing
	@WINEPREFIX=$(WINE_PREFIX) scripts/wine-prefix
	WINEPREFIX=$(WINE_PREFIX) scripts/wine-run build/windows/bench/update/check_timing.exe

# libFuzzer targets (clang). FUZZ_SECONDS per target. A finding (any
# sanitizer report ends the run) stops make with a failure; the input that
# caused it is kept as build/fuzz/<target>-crash-*, the log as build/fuzz/<target>.log.
FUZZ_SECONDS ?= 60
fuzz-build: setup
	@CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKODRIN_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
	@cmake --build build/fuzz

fuzz: fuzz-build
	@for t in build/fuzz/fuzz/fuzz_*; do \
	  name=$$(basename $$t); mkdir -p build/fuzz/corpus/$$name; \
	  echo "== $$name ($(FUZZ_SECONDS) s)"; \
	  $$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 -artifact_prefix=build/fuzz/$$name- \
	    build/fuzz/corpus/$$name fuzz/seeds/$$name >build/fuzz/$$name.log 2>&1; rc=$$?; \
	  tail -n 12 build/fuzz/$$name.log; \
	  [ $$rc = 0 ] || { echo "== $$name: a finding; see build/fuzz/$$name.log"; exit 1; }; \
	done

# The main window on a sample catalog, rendered under Xvfb into
# docs/screenshots/main-window.png.
screenshots: windows
	@WINEPREFIX=$(WINE_PREFIX) scripts/wine-prefix
	@mkdir -p docs/screenshots
	cd build/windows && KODRIN_SCREENSHOTS="Z:$$(printf '%s' '$(CURDIR)/docs/screenshots' | tr / '\\')" \
	  WINEPREFIX=$(WINE_PREFIX) ../../scripts/with-display ../../scripts/wine-run tests/app_tests.exe \
	  --gtest_also_run_disabled_tests --gtest_filter='Screenshots.*'
	cd build/windows && KODRIN_SCREENSHOTS="Z:$$(printf '%s' '$(CURDIR)/docs/screenshots' | tr / '\\')" \
	  WINEPREFIX=$(WINE_PREFIX) ../../scripts/with-display ../../scripts/wine-run tests/app_tests.exe \
	  --gtest_also_run_disabled_tests --gtest_filter='ReportDialogTest.DISABLED_Screenshots'
	scripts/report-pages.sh docs/screenshots

# The reports drawn into metafiles under Wine: a summary of 1,000
# applications and a detail report of 1,000 pages (goal: each at most 2 s).
.PHONY: bench-reports
bench-reports: setup build/windows/build.ninja
	bench/report_metafiles.sh

clean:
	rm -rf build
