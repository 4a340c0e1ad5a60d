# The two set-up commands: `make run` and `make test` (see README.md).
.PHONY: run test build build-asan-qt build-fuzz deps-run deps-test clean

run: deps-run build
	cd build/linux && ./durmivela

# The program as shipped, the same under AddressSanitizer and UBSan, then a few
# seconds of each fuzzer.
test: deps-test build build-asan-qt build-fuzz
	ctest --preset linux
	ctest --preset asan-qt
	ctest --preset fuzz

build:
	cmake --preset linux
	cmake --build --preset linux

build-asan-qt:
	cmake --preset asan-qt
	cmake --build --preset asan-qt

build-fuzz:
	cmake --preset fuzz
	cmake --build --preset fuzz

deps-run:
	./scripts/install-deps.sh run

deps-test:
	./scripts/install-deps.sh test

clean:
	rm -rf build
