# The two set-up commands: `make run` and `make test`.
BUILD_TEST := build/test
BUILD_RUN := build/release
BUILD_FUZZ := build/fuzz
FUZZ_SECONDS ?= 60
# With FUZZ_RUNS set, a target also stops after that many inputs.
FUZZ_RUNS ?=
JOBS ?= $(shell nproc)

.PHONY: deps test run build-test build-run build-fuzz fuzz clean

deps:
	scripts/install-deps

build-test: deps
	cmake -S . -B $(BUILD_TEST) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRENVALE_SANITIZE=ON
	cmake --build $(BUILD_TEST) -j $(JOBS)
	scripts/install-npm-test-deps $(BUILD_TEST)/tests/eds/npm

test: build-test build-fuzz
	cd $(BUILD_TEST) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS)
	cd $(BUILD_FUZZ) && ctest --output-on-failure -j $(JOBS)

# The fuzz targets: a separate clang tree over the core. `make test` gives each a short smoke
# run; `make fuzz` runs each for FUZZ_SECONDS (new inputs stay in build/fuzz/fuzz/work).
build-fuzz: deps
	CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRENVALE_FUZZ=ON
	cmake --build $(BUILD_FUZZ) -j $(JOBS)

fuzz: build-fuzz
	python3 fuzz/fuzz.py --build $(BUILD_FUZZ) --seconds $(FUZZ_SECONDS) $(if $(FUZZ_RUNS),--max-runs $(FUZZ_RUNS))

build-run: deps
	cmake -S . -B $(BUILD_RUN) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRENVALE_TESTS=OFF
	cmake --build $(BUILD_RUN) -j $(JOBS)

run: build-run
	scripts/run-demo $(BUILD_RUN)

clean:
	rm -rf build
