# The two set-up commands: `make run` and `make test`.
BUILD_TEST := build/test
BUILD_RUN := build/release
JOBS ?= $(shell nproc)

.PHONY: deps test run build-test build-run clean

deps:
	scripts/install-deps

build-test: deps
	cmake -S . -B $(BUILD_TEST) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRENVALE_SANITIZE=ON
	cmake --build $(BUILD_TEST) -j $(JOBS)
	scripts/install-npm-test-deps $(BUILD_TEST)/tests/eds/npm

test: build-test
	cd $(BUILD_TEST) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS)

build-run: deps
	cmake -S . -B $(BUILD_RUN) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRENVALE_TESTS=OFF
	cmake --build $(BUILD_RUN) -j $(JOBS)

run: build-run
	scripts/run-demo $(BUILD_RUN)

clean:
	rm -rf build
