# The two commands of the README, and the extras. Each installs what the machine lacks.
.PHONY: test run demo bench fuzz drills clean

test:
	tools/test

run:
	tools/run

demo:
	tools/demo

bench:
	tools/deps bench
	cmake --preset bench >/dev/null
	cmake --build --preset bench
	build/bench/bench/text_bench --benchmark_counters_tabular=true
	tools/bench-windows

fuzz:
	tools/deps fuzz
	tools/fuzz

drills:
	tools/drills

clean:
	rm -rf build dist
