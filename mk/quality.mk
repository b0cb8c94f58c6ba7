# Quality runs beside the tests: benchmarks, fuzzing, soak, ThreadSanitizer.
#
# make bench       wrk against our receiver (native and under Wine) and nginx,
#                  queue memory; BENCH_SECONDS per run (default 10)
# make fuzz        every fuzz target side by side for FUZZ_SECONDS (default 600)
# make fuzz-smoke  each fuzz target for a short seeded run over its seed corpus
#                  (make test runs the same through CTest)
# make soak        the receiver under a mixed load for SOAK_SECONDS (default
#                  600) from SOAK_CLIENTS (default 64) connections
# make tsan        the receiver and queue tests under ThreadSanitizer

Q_NATIVE  := build/q-native
Q_WINDOWS := build/q-windows
Q_FUZZ    := build/q-fuzz
Q_TSAN    := build/q-tsan
Q_JOBS    ?= 2
FUZZ_TARGETS := request_parser message_decoder request_reader

BENCH_SECONDS ?= 10
FUZZ_SECONDS  ?= 600
SOAK_SECONDS  ?= 600
SOAK_CLIENTS  ?= 64
SOAK_IDLE_MS  ?= 5000

.PHONY: bench fuzz fuzz-smoke fuzz-build soak tsan q-native q-windows

# The benchmark programs form a project of their own (bench/CMakeLists.txt),
# built in Release: the main native build carries sanitizers.
q-native: | setup
	cmake -S bench -B $(Q_NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build $(Q_NATIVE) -j $(Q_JOBS)

q-windows: | setup
	cmake -S bench -B $(Q_WINDOWS) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake
	cmake --build $(Q_WINDOWS) -j $(Q_JOBS) --target korvanel_bench_receiver korvanel_bench_dispatch

bench: q-native q-windows
	BENCH_SECONDS=$(BENCH_SECONDS) KORVANEL_WINE_DIR=$(CURDIR)/build/q-wine \
	    bench/run-bench $(Q_NATIVE) $(Q_WINDOWS)

fuzz-build: | setup
	cmake -S fuzz/targets -B $(Q_FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g"
	cmake --build $(Q_FUZZ) -j $(Q_JOBS)

fuzz: fuzz-build
	FUZZ_SECONDS=$(FUZZ_SECONDS) fuzz/run-fuzzers $(Q_FUZZ) $(FUZZ_TARGETS)

fuzz-smoke: fuzz-build
	@for t in $(FUZZ_TARGETS); do \
	    echo "fuzz-smoke: $$t"; \
	    fuzz/smoke-run $(Q_FUZZ)/fuzz_$$t fuzz/corpus/$$t 1000 || exit 1; \
	done

soak: q-native
	$(Q_NATIVE)/korvanel_soak $(SOAK_SECONDS) $(SOAK_CLIENTS) $(SOAK_IDLE_MS)

# The whole project with -fsanitize=thread; only the receiver's tests run.
tsan: | setup
	cmake -S . -B $(Q_TSAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	    -DCMAKE_CXX_FLAGS="-fsanitize=thread -g -O1" -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread
	cmake --build $(Q_TSAN) -j $(Q_JOBS) --target http_tests
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" $(Q_TSAN)/tests/http/http_tests
