# Two commands do everything on a fresh Debian 12: `make run` and `make test`.
.PHONY: setup build run run-cli install package test test-asan bench fuzz clean

setup:
	@bash scripts/setup.sh

build: setup
	cmake --preset release
	cmake --build --preset release

# The main job: the window. Without a display, the command-line tool exports the bundled
# sample text into banks and a preview PNG under out/ instead.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  ./build/release/ui/mipofc; \
	else \
	  echo "no display: exporting examples/sample.txt with mipofc-cli into out/"; \
	  mkdir -p out; \
	  ./build/release/cli/mipofc-cli export examples/sample.txt -o out/sample.chr && \
	  ./build/release/cli/mipofc-cli preview examples/sample.txt -o out/sample-preview.png --scale 3 --grid; \
	fi

# The command-line job alone, display or not.
run-cli: build
	@mkdir -p out
	./build/release/cli/mipofc-cli export examples/sample.txt -o out/sample.chr
	./build/release/cli/mipofc-cli preview examples/sample.txt -o out/sample-preview.png --scale 3 --grid

install: build
	cmake --install build/release

# The Debian package mipofc_<version>_<arch>.deb, put in the top folder for `apt install ./mipofc_*.deb`.
package: build
	rm -f build/package/mipofc_*.deb
	cd build/release && cpack -G DEB -B $(CURDIR)/build/package
	rm -f mipofc_*.deb
	cp build/package/mipofc_*.deb .

test: build
	ctest --preset release

test-asan: setup
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

bench: build
	./build/release/bench/mipofc-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

fuzz: setup
	cmake --preset fuzz
	cmake --build --preset fuzz

clean:
	rm -rf build out mipofc_*.deb
