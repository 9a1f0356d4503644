# Pelmaro: `make run` plays the game, `make test` runs every test.
BUILD ?= build
JOBS ?= $(shell nproc)
# Where `make install` puts the game; DESTDIR, when given, is put in front of it.
PREFIX ?= /usr/local
# `make fuzz`: seconds each fuzz target runs. `make soak`: the automatic player's dice and length.
FUZZ_SECONDS ?= 60
SEED ?= 1
ACTIONS ?= 100000

.PHONY: run test deps configure build bake bench bench-desktop sanitize fuzz soak install uninstall deb screenshots clean

run: build
	cd $(BUILD)/game && ./pelmaro

# Every test but the whole second package build that shows the packages are reproducible
# (`ctest -L reproducible` in the build folder runs it).
test: build
	scripts/check-rules
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS) -LE reproducible

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	cmake --build $(BUILD) -j$(JOBS)

bake: configure
	cmake --build $(BUILD) --target bake -j$(JOBS)

bench: configure
	cmake --build $(BUILD) --target pelmaro_bench pelmaro_effect_latency -j$(JOBS)
	cd $(BUILD)/game && ../bench/pelmaro_bench
	$(BUILD)/bench/pelmaro_effect_latency

# The whole performance table: the real game under Xvfb (processor and the loop's wake-ups on four
# still screens, start-up, peak memory without and with a sound device, a minute of automatic
# play), busy frames headless, in a real window and full-screen, effect latency and a fresh bake.
bench-desktop: build
	cmake --build $(BUILD) --target pelmaro_bench pelmaro_effect_latency -j$(JOBS)
	bench/desktop_bench.py $(BUILD)/game --play --frame-bench $(BUILD)/bench/pelmaro_bench \
		--effect-latency $(BUILD)/bench/pelmaro_effect_latency --bake-source .

sanitize: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DPELMARO_SANITIZE=ON >/dev/null
	cmake --build build-asan -j$(JOBS)
	cd build-asan && ctest --output-on-failure -j$(JOBS) -LE e2e

fuzz:
	scripts/install-deps fuzz
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build build-fuzz --target pelmaro_fuzz -j$(JOBS)
	scripts/fuzz build-fuzz $(FUZZ_SECONDS)

soak: build
	cd $(BUILD) && PELMARO_SOAK_SEED=$(SEED) PELMARO_SOAK_ACTIONS=$(ACTIONS) \
		tests/pelmaro_tests --gtest_filter='MonkeyTest.*'

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

uninstall:
	DESTDIR="$(DESTDIR)" scripts/uninstall $(BUILD)/install_manifest.txt

# The Debian packages, built with debhelper and checked with lintian: $(BUILD)/deb/pelmaro_*.deb
# (the game) and $(BUILD)/deb/pelmaro-data_*.deb (its data).
deb: deps
	nice scripts/build-deb $(BUILD) $(JOBS)

screenshots: build
	scripts/screenshots

clean:
	rm -rf $(BUILD) build-asan build-fuzz
