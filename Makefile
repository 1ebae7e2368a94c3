# The two set-up commands of the README, `make run` and `make test`, and the helpers around them.
BUILD    ?= build
FUZZ_BUILD ?= build-fuzz
FUZZ_RUNS ?= 20000
PACKAGES := cmake make g++ pkg-config qt6-base-dev libgl-dev libpng-dev libgtest-dev libgmock-dev \
            libbenchmark-dev clang clang-format libclang-rt-14-dev xvfb xauth xdotool imagemagick \
            tiled hyperfine git \
            libcups2-dev cups printer-driver-cups-pdf poppler-utils fonts-liberation dpkg-dev file \
            strace lintian desktop-file-utils help2man man-db
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps build run test fuzz bench format format-check package clean

deps:
	@dpkg -s $(PACKAGES) >/dev/null 2>&1 || { \
	  $(SUDO) apt-get update && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $(PACKAGES); }

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j2

run: build
	cd $(BUILD)/bin && ./xemap

test: build
	cd $(BUILD) && ctest --output-on-failure -j2

# Every fuzz target, built with clang and ASan/UBSan, for a fixed number of runs.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DXEMAP_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j2 --target fuzz_all
	set -e; for target in $$(find $(FUZZ_BUILD)/fuzz -maxdepth 1 -name 'fuzz_*' -type f -perm -u+x); do \
	  name=$$(basename $$target | sed 's/^fuzz_//'); \
	  work=$(FUZZ_BUILD)/corpus/$$name; mkdir -p $$work; \
	  $$target -runs=$(FUZZ_RUNS) -seed=1 $$work $$( [ -d fuzz/corpus/$$name ] && echo fuzz/corpus/$$name ); \
	done

# Every C++ file in the one checked-in style (.clang-format).
SOURCES = $(shell git ls-files '*.cpp' '*.h')
format: deps
	clang-format -i $(SOURCES)

format-check: deps
	clang-format --dry-run --Werror $(SOURCES)

# A Debian package of the installed program (build/xemap_VERSION_ARCH.deb).
package: build
	cd $(BUILD) && cpack -G DEB

bench: build
	$(BUILD)/bin/xemap-bench

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
