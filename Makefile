# make test        set up the machine, build both targets, run every test
# make build       set up and build both targets
# make run         build and start Korvanel under Wine (make stop ends it)
# make screenshot  save the screen Korvanel runs on to build/screenshot.png
# ARGS="..." is passed to ctest, e.g. make test ARGS="-R RequestParser"

NATIVE  := build/native
WINDOWS := build/windows
JOBS    := $(shell nproc)

.PHONY: all setup configure build test run stop screenshot clean

all: build

setup:
	@scripts/setup

$(NATIVE)/build.ninja: | setup
	cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	    -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DKORVANEL_SANITIZE=ON

$(WINDOWS)/build.ninja: | setup
	cmake -S . -B $(WINDOWS) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake

configure: $(NATIVE)/build.ninja $(WINDOWS)/build.ninja

build: setup configure
	cmake --build $(NATIVE) -j $(JOBS)
	cmake --build $(WINDOWS) -j $(JOBS)

test: build
	@scripts/run-tests $(ARGS)

run: build
	@scripts/run-korvanel

stop:
	@KORVANEL_WINE_DIR=$(CURDIR)/build/wine-run scripts/wine-session stop

screenshot:
	@scripts/screenshot

clean:
	-scripts/wine-session stop
	-KORVANEL_WINE_DIR=$(CURDIR)/build/wine-run scripts/wine-session stop
	rm -rf $(NATIVE) $(WINDOWS) build/wine build/wine-run

# Further targets (packaging, ...) live beside this file.
-include mk/*.mk
