# Two entry points: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DVARDEL_WERROR=ON

FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: deps build run test clean fuzz fuzz-run

deps:
	@sh tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	sh tools/run-vardel.sh $(BUILD)/src/vardel

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The libFuzzer targets (clang with its fuzzer runtime), in their own build folder.
fuzz:
	@sh tools/install-deps.sh --fuzz
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DVARDEL_FUZZ=ON -DVARDEL_BENCH=OFF \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets

# Runs every target for FUZZ_SECONDS on a copy of its seed corpus; findings land in $(FUZZ_BUILD)/findings.
fuzz-run: fuzz
	sh tools/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
