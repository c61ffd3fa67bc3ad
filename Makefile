# The README's two commands are `make run` and `make test`; both install what is
# missing first.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BUILD ?= build
ASAN_BUILD ?= build-asan
RELEASE_BUILD ?= build-release
FUZZ_BUILD ?= build-fuzz
WINDOWS_BUILD ?= build-windows
FUZZ_SECONDS ?= 60
CMAKE_FLAGS ?=
PREFIX ?= /usr/local
DESTDIR ?=

.PHONY: all deps build run test test-fast test-asan install deb bench fuzz windows test-windows clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/Makefile: CMakeLists.txt
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: deps $(BUILD)/Makefile
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-example

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-asan
	$(MAKE) test-windows

test-fast: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The programs, help, examples, desktop entry, icon and manual pages under
# $(DESTDIR)$(PREFIX).
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# $(BUILD)/zoomwright_<version>_amd64.deb, from the programs already built.
deb: build
	cd $(BUILD) && cpack -G DEB

$(ASAN_BUILD)/Makefile: CMakeLists.txt
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DZW_SANITIZE=ON $(CMAKE_FLAGS)

test-asan: deps $(ASAN_BUILD)/Makefile
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

$(RELEASE_BUILD)/Makefile: CMakeLists.txt
	cmake -S . -B $(RELEASE_BUILD) -DCMAKE_BUILD_TYPE=Release -DZW_BENCH=ON $(CMAKE_FLAGS)

# Every benchmark runs; the target fails when one of them misses its goal.
bench:
	@scripts/install-deps
	@$(MAKE) --no-print-directory $(RELEASE_BUILD)/Makefile
	cmake --build $(RELEASE_BUILD) -j $(JOBS)
	cd $(RELEASE_BUILD) && failed=0; for b in bench/zw-bench-*; do [ -f "$$b" ] && [ -x "$$b" ] || continue; QT_QPA_PLATFORM=offscreen ./$$b || failed=1; done; exit $$failed

# The Windows programs, cross-built with MinGW-w64 (statically linked) into
# $(WINDOWS_BUILD): zoomwright.exe, zoomwright-cli.exe and their tests.
# zoomwright-cli of $(BUILD) is what the Windows CLI is compared with.
WINDOWS_CMAKE = cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DZW_QT=OFF -DZW_GTEST_SOURCE=/usr/src/googletest \
  -DZW_HOST_CLI=$(CURDIR)/$(BUILD)/zoomwright-cli $(CMAKE_FLAGS)

# Packs them with help/, examples/ and a read-me into
# $(WINDOWS_BUILD)/dist/zoomwright-<version>-win64.zip.
windows:
	@scripts/install-deps windows
	$(WINDOWS_CMAKE)
	cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target dist

# Their tests under Wine: the core's, the GDI surface's, the CLI against the
# Linux CLI, and a walk of the real window.
test-windows: build
	@scripts/install-deps windows
	$(WINDOWS_CMAKE)
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	@scripts/test-windows $(WINDOWS_BUILD) $(JOBS)

# Every fuzz target for FUZZ_SECONDS seconds, starting from fuzz/corpus/.
fuzz:
	@scripts/install-deps fuzz
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DZW_FUZZ=ON -DBUILD_TESTING=OFF $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@scripts/run-fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(RELEASE_BUILD) $(FUZZ_BUILD) $(WINDOWS_BUILD)
