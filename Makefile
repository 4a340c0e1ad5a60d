# The two set-up commands: `make run` and `make test` (see README.md).
.PHONY: run test build build-asan deps-run deps-test clean

run: deps-run build
	cd build/linux && ./durmivela

test: deps-test build build-asan
	ctest --preset linux
	ctest --preset asan

build:
	cmake --preset linux
	cmake --build --preset linux

build-asan:
	cmake --preset asan
	cmake --build --preset asan

deps-run:
	./scripts/install-deps.sh run

deps-test:
	./scripts/install-deps.sh test

clean:
	rm -rf build
