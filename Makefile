# Entry points: `make` (release build), `make test`, `make demo`, `make bench`, `make fuzz`,
# `make install` (the release build into PREFIX, ~/.local unless given), `make format` (rewrites the
# sources by .clang-format), `make lint` (the format check and clang-tidy; slow, not part of `make test`).
JOBS ?= 2
FUZZ_SECONDS ?= 600
PREFIX ?= $(HOME)/.local

.PHONY: all release dev test demo bench fuzz install format lint clean

all: release

release:
	cmake --preset release >/dev/null
	cmake --build --preset release -j$(JOBS)

dev:
	cmake --preset dev >/dev/null
	cmake --build --preset dev -j$(JOBS)

test:
	tools/setup
	$(MAKE) dev
	cd build/dev && ctest --output-on-failure -j$(JOBS)

demo: release
	tools/demo build/release/bin

bench: release
	tools/bench build/release/bin

fuzz:
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j$(JOBS)
	tools/fuzz build/fuzz/bin $(FUZZ_SECONDS)

install: release
	cmake --install build/release --prefix "$(PREFIX)"

format:
	tools/format

lint:
	JOBS=$(JOBS) tools/lint

clean:
	rm -rf build out
