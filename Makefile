# make       installs what is missing, builds build/toolcase.dll and its tools,
#            and build/x64/ (the same for 64-bit hosts), and asks the DLL who
#            it is.
# make test  builds, then runs every test: native unit tests, each fuzzer
#            briefly, static analysis, the tool and package checks, and the
#            Windows end-to-end tests under Wine (32-bit and x64 programs on
#            64-bit Windows, 32-bit ones on 32-bit Windows).
# make dist  packs dist/toolcase-<version>.zip for mIRC users, and the DLLs'
#            debug information in dist/toolcase-<version>-symbols.zip.
# make fuzz  runs every libFuzzer target for FUZZ_SECONDS each.
# make bench times each command of the 32-bit DLL, then of the x64 one,
#            against the platform calls it makes (under Wine), then the pure
#            functions natively (Google Benchmark); bench/README.md holds the
#            figures.
PRESET ?= windows
FUZZ_SECONDS ?= 120

.PHONY: all build test dist fuzz bench deps clean

all: build
	@bin/toolcase DLLInfo

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET) --parallel

test: build
	tools/wine-session.sh ctest --preset $(PRESET) --parallel 2

fuzz: build
	@for fuzzer in build/fuzz/fuzz_*; do \
	  target=$${fuzzer##*/fuzz_}; echo "== $$target ($(FUZZ_SECONDS) s)"; \
	  tools/run-fuzzer.sh $$fuzzer tests/fuzz/corpus/$$target $(FUZZ_SECONDS) || exit 1; \
	done

bench: build
	cmake --build --preset $(PRESET) --target native_bench
	@echo "== the 32-bit DLL (build/toolcase.dll)"
	tools/wine-run.sh build/toolcase_bench.exe
	@echo "== the x64 DLL (build/x64/toolcase.dll)"
	tools/wine-run.sh build/x64/toolcase_bench.exe
	build/native-bench/toolcase_native_bench

dist: build
	tools/make-dist.sh build dist

deps:
	@tools/ensure-deps.sh

clean:
	rm -rf build dist
