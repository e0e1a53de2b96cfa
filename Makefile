# The two set-up commands:
#   make demo  builds setup.exe with a sample distribution and runs it under Wine
#   make test  builds everything and runs every test (native, then under Wine)
# The other targets are steps of these two.

NATIVE_DIR := build/native-asan
MINGW_DIR := build/mingw
DEMO_DIR := build/demo
WINE_ENV := scripts/wine-env.sh
# The demo installs the sample product; it does so in a prefix of its own, so that the tests'
# prefix never holds an earlier installation. Every path is quoted in the recipes: the checkout
# may lie in a folder whose name holds blanks.
# DEMO_DPI=144 shows it at a display scale of 150 %.
DEMO_DPI := 96
DEMO_ENV := SETUP_WINEPREFIX="$(CURDIR)/build/demo-prefix" SETUP_DPI=$(DEMO_DPI) "$(CURDIR)/$(WINE_ENV)"
JOBS := -j2

.PHONY: demo test bench deps native mingw test-native test-wine clean
# One step at a time, in the order given, even under make -j.
.NOTPARALLEL:

demo: deps $(MINGW_DIR)/build.ninja
	cmake --build "$(MINGW_DIR)" $(JOBS) --target distribution demo_walk
ifdef DISPLAY
	@echo "demo: setup.exe runs in a Wine desktop window; it ends when you finish or cancel it"
	cd "$(MINGW_DIR)/distribution/single" && $(DEMO_ENV) wine setup.exe
else
	rm -rf "$(DEMO_DIR)"
	$(DEMO_ENV) wine "$(MINGW_DIR)/tests/e2e/demo_walk.exe" \
	    "$(CURDIR)/$(MINGW_DIR)/distribution/single" "$(CURDIR)/$(DEMO_DIR)"
	@echo "demo: the screenshots are in $(DEMO_DIR)/; the installed product is in build/demo-prefix/drive_c/"
endif

test: deps test-native test-wine

deps:
	@scripts/deps.sh

$(NATIVE_DIR)/build.ninja:
	cmake --preset native-asan -B "$(NATIVE_DIR)"

$(MINGW_DIR)/build.ninja:
	cmake --preset "mingw-$$(scripts/windows-arch.sh)" -B "$(MINGW_DIR)"

native: $(NATIVE_DIR)/build.ninja
	cmake --build "$(NATIVE_DIR)" $(JOBS)

mingw: $(MINGW_DIR)/build.ninja
	cmake --build "$(MINGW_DIR)" $(JOBS)

test-native: native
	ctest --test-dir "$(NATIVE_DIR)" --output-on-failure $(JOBS) --timeout 600

# Serially: the Wine tests share one prefix and one desktop. A test that fails runs once more
# (its first output stays in the log): Wine here now and then fails to start a program or
# leaves a new prefix's desktop up.
test-wine: mingw
	$(WINE_ENV) ctest --test-dir "$(MINGW_DIR)" --output-on-failure --timeout 600 --repeat until-pass:2

# Speed and memory targets against the peer kit; never part of test.
bench: deps native mingw
	scripts/bench.sh

clean:
	rm -rf "$(NATIVE_DIR)" "$(MINGW_DIR)" "$(DEMO_DIR)"
