# The two set-up commands: `make run` and `make test` (see README.md).
.PHONY: run test build build-linux build-win32 build-asan-qt build-fuzz package deps-run deps-test clean

# Only the Linux program and the files it runs with: no cross compiler, no tests.
run: deps-run
	cmake --preset linux
	cmake --build --preset linux --target durmivela_run_folder
	cd build/linux && ./durmivela

# The program as shipped, the Windows program and its tests under Wine, the
# same Linux program under AddressSanitizer and UBSan, then a few seconds of
# each fuzzer.
test: deps-test build build-win32 build-asan-qt build-fuzz
	ctest --preset linux
	ctest --preset win32
	ctest --preset asan-qt
	ctest --preset fuzz

# The Linux program in build/linux, and the Windows one (Durmivela.exe with
# Leng/ and Durmivela.chm, and the portable zip) in build/win32.
build: build-linux
	cmake --preset win32
	cmake --build --preset win32 --target durmivela_exe durmivela_win32_zip

build-linux:
	cmake --preset linux
	cmake --build --preset linux

# The Debian package build/linux/durmivela_3.0.16_amd64.deb (see README).
package: deps-run
	cmake --preset linux
	cmake --build --preset linux --target package

build-win32:
	cmake --preset win32
	cmake --build --preset win32

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
