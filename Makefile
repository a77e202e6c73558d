# Two commands do everything on a fresh Debian 12: `make run` and `make test`.
.PHONY: setup build run test test-asan bench fuzz clean

setup:
	@bash scripts/setup.sh

build: setup
	cmake --preset release
	cmake --build --preset release

# The main job: export the bundled sample text into banks and a preview PNG under out/.
run: build
	@mkdir -p out
	./build/release/cli/mipofc-cli export examples/sample.txt -o out/sample.chr
	./build/release/cli/mipofc-cli preview examples/sample.txt -o out/sample-preview.png --scale 3 --grid

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
	rm -rf build out
