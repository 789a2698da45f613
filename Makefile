# Two entry points: `make run` builds and starts the editor, `make test` builds and runs every
# test in a plain and in a sanitizer build. Both install what is missing first.
BUILD_DIR := build
ASAN_DIR := build-asan
BENCH_DIR := build-bench
JOBS := $(shell nproc 2>/dev/null || echo 2)
# Our own builds treat every warning as an error; a packager's build does not have to.
WERROR := -DCMAKE_COMPILE_WARNING_AS_ERROR=ON

.PHONY: run test build build-asan bench screenshot clean

run:
	tools/install-deps.sh run
	$(MAKE) build
	cd examples && ../$(BUILD_DIR)/terrain-palette-editor

test:
	tools/install-deps.sh test
	$(MAKE) build build-asan
	cd $(BUILD_DIR) && ctest --output-on-failure
	cd $(ASAN_DIR) && ctest --output-on-failure

build:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(WERROR)
	cmake --build $(BUILD_DIR) -j$(JOBS)

build-asan:
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DTPE_SANITIZE=ON $(WERROR)
	cmake --build $(ASAN_DIR) -j$(JOBS)

# Measures start-up, the handlers and loading in a release build; prints each figure with its goal.
bench:
	tools/install-deps.sh bench
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DTPE_BENCH=ON $(WERROR) -DBUILD_TESTING=OFF
	cmake --build $(BENCH_DIR) -j$(JOBS)
	bench/run-bench.sh $(BENCH_DIR)

# The README's picture of the editor, taken on a private X server from the plain build.
screenshot:
	tools/install-deps.sh test
	$(MAKE) build
	tools/screenshot.sh $(BUILD_DIR)/terrain-palette-editor docs/editor.png

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(BENCH_DIR)
