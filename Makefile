# make       installs what is missing, builds build/toolcase.dll and its tools,
#            and asks the DLL who it is.
# make test  builds, then runs every test (native unit tests and the Windows
#            end-to-end tests under Wine).
# make dist  packs dist/toolcase-<version>.zip for mIRC users.
PRESET ?= windows

.PHONY: all build test dist deps clean

all: build
	@bin/toolcase DLLInfo

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET) --parallel

test: build
	tools/wine-session.sh ctest --preset $(PRESET)

dist: build
	tools/make-dist.sh build dist

deps:
	@tools/ensure-deps.sh

clean:
	rm -rf build dist
