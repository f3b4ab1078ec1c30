// The one entry point of the benchmark program; every other file here only registers.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
