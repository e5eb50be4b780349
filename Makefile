# Two entry points for a fresh Debian 12 machine: `make test` and `make demo`.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test demo clean

all: build

deps:
	@./tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j$(JOBS)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j$(JOBS)

demo: build
	@./tools/demo/run-demo.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
