# Two commands set up and use TOMARIO on a fresh Debian machine:
#   make run    installs what is missing, builds, installs into dist/ and starts the program
#   make test   installs what is missing, builds and runs every test
BUILD_DIR  ?= build
BUILD_TYPE ?= RelWithDebInfo
DIST_DIR   ?= dist
FUZZ_DIR   ?= build-fuzz
FUZZ_SECONDS ?= 600

configure = cmake -S . -B $(1) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(2)

.PHONY: run test bench fuzz build format clean

build:
	$(call configure,$(BUILD_DIR))
	cmake --build $(BUILD_DIR)

run:
	scripts/install-deps.sh run
	$(MAKE) build
	cmake --install $(BUILD_DIR) --prefix $(DIST_DIR)
	$(DIST_DIR)/Tomario

test:
	scripts/install-deps.sh test
	$(MAKE) build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j2

bench:
	scripts/install-deps.sh bench
	$(call configure,build-bench,-DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF)
	cmake --build build-bench
	bench/run-benchmarks.sh build-bench

fuzz:
	scripts/install-deps.sh fuzz
	$(call configure,$(FUZZ_DIR),-DCMAKE_CXX_COMPILER=clang++ -DTOMARIO_FUZZ=ON)
	cmake --build $(FUZZ_DIR) --target fuzz_load_data_file
	tests/fuzz/run-fuzzer.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) build-bench $(FUZZ_DIR)
