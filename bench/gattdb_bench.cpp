// SPDX-License-Identifier: MIT
// Measures the library through its C interface against the limit of its main job, copying the
// image's bytes. bench/run.sh turns the figures into the ratios the library is held to.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "databases.hpp"
#include "gattdb.h"

namespace {

using namespace gattdb_bench;

// Leaves the table holding exactly the database add builds, or marks the benchmark failed: a
// refused call would otherwise be timed as if it were the real work.
bool start_with(benchmark::State &state, bool (*add)(), std::uint16_t expected_size) {
    init_db();
    if (add() && get_db_size() == expected_size) return true;
    state.SkipWithError("the library refused the database or sized it wrongly");
    init_db();
    return false;
}

// The heap the library holds for the largest database, as the C library counts it: blocks in use with
// their bookkeeping. Blocks a thread has freed and may reuse soon also count as in use, so the figure is
// right only in a process that has freed none yet, and main measures it first.
std::size_t heap_held_for_largest_database() {
    const std::size_t before = mallinfo2().uordblks;
    const bool added = add_largest_database();
    const std::size_t after = mallinfo2().uordblks;
    init_db();
    return added ? after - before : 0;
}

void largest_build(benchmark::State &state) {
    for (auto _ : state) {
        init_db();
        if (!add_largest_database()) {
            state.SkipWithError("the library refused the largest database");
            break;
        }
    }
    init_db();
}

void largest_get_db_size(benchmark::State &state) {
    if (!start_with(state, add_largest_database, LARGEST_IMAGE_SIZE)) return;
    for (auto _ : state) benchmark::DoNotOptimize(get_db_size());
    init_db();
}

void largest_generate_db(benchmark::State &state) {
    if (!start_with(state, add_largest_database, LARGEST_IMAGE_SIZE)) return;
    std::vector<std::uint8_t> image(LARGEST_IMAGE_SIZE);
    for (auto _ : state) {
        benchmark::DoNotOptimize(generate_db(image.data()));
        benchmark::ClobberMemory();  // the image counts as read, so no write to it may be dropped
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * LARGEST_IMAGE_SIZE);
    init_db();
}

// The baseline: one copy of as many bytes as the largest image, from a real image into another
// buffer, with the size known only at run time as a host would know it.
void largest_memcpy(benchmark::State &state) {
    if (!start_with(state, add_largest_database, LARGEST_IMAGE_SIZE)) return;
    const std::size_t size = get_db_size();
    std::vector<std::uint8_t> image(size);
    std::vector<std::uint8_t> copy(size);
    generate_db(image.data());
    init_db();
    for (auto _ : state) {
        std::memcpy(copy.data(), image.data(), size);
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

// The same pair with the buffers a C host is as likely to use: static arrays of a fixed size, larger
// than any image (the largest encodable one is under 36,000 bytes), one for the image and two for the
// copy. Static arrays start zero-filled and unmapped, so the first call touches their pages for the
// first time; the framework's warm-up and repetitions keep that out of the figures, as a host's
// repeated calls would.
constexpr std::size_t STATIC_BUFFER_SIZE = 40000;
static_assert(STATIC_BUFFER_SIZE >= LARGEST_IMAGE_SIZE);
std::uint8_t static_image[STATIC_BUFFER_SIZE];
std::uint8_t static_source[STATIC_BUFFER_SIZE];
std::uint8_t static_copy[STATIC_BUFFER_SIZE];

void largest_generate_db_static(benchmark::State &state) {
    if (!start_with(state, add_largest_database, LARGEST_IMAGE_SIZE)) return;
    for (auto _ : state) {
        benchmark::DoNotOptimize(generate_db(static_image));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * LARGEST_IMAGE_SIZE);
    init_db();
}

void largest_memcpy_static(benchmark::State &state) {
    if (!start_with(state, add_largest_database, LARGEST_IMAGE_SIZE)) return;
    const std::size_t size = get_db_size();
    generate_db(static_source);
    init_db();
    for (auto _ : state) {
        std::memcpy(static_copy, static_source, size);
        benchmark::DoNotOptimize(static_copy);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

// A host's whole job: clear, build, size, image. No part of it is left out of the timing, and no
// image is reused: every iteration builds the table afresh and encodes it.
void whole_job(benchmark::State &state, bool (*add)(), std::uint16_t expected_size) {
    std::vector<std::uint8_t> image(expected_size);
    for (auto _ : state) {
        init_db();
        if (!add() || get_db_size() != expected_size || !generate_db(image.data())) {
            state.SkipWithError("the library refused the database or sized it wrongly");
            break;
        }
        benchmark::ClobberMemory();
    }
    init_db();
}

void largest_whole_job(benchmark::State &state) {
    whole_job(state, add_largest_database, LARGEST_IMAGE_SIZE);
}

void heart_rate_cycle(benchmark::State &state) {
    whole_job(state, add_heart_rate_database, HEART_RATE_IMAGE_SIZE);
}

// How the cost of an adding call grows with the table: every iteration empties the table and fills it
// to the shape given. The counter adding_calls lets bench/run.sh divide the time into a cost per call,
// which should be the same for a small table and a full one.
void build_scaling(benchmark::State &state, table_shape shape) {
    for (auto _ : state) {
        init_db();
        if (!add_short_uuid_table(shape)) {
            state.SkipWithError("the library refused the table");
            break;
        }
    }
    init_db();
    state.counters["adding_calls"] =
        static_cast<double>(shape.services * (1 + shape.characteristics_per_service));
}

void init_db_empty(benchmark::State &state) {
    init_db();
    for (auto _ : state) {
        init_db();
        benchmark::ClobberMemory();
    }
}

// The table must be full again before every timed init_db, and refilling it (800 allocations and
// copies) costs several times the call measured, so the refill must stay out of the figure. Pausing
// the framework's timers would read the thread's CPU clock, a system call of about 0.7 us here, twice
// per iteration, adding some 5% to a call of about 30 us. Timing the one call with the steady clock
// (about 30 ns a read) and reporting that as manual time keeps the figure to init_db alone; it is
// wall time, and the framework's CPU time for this benchmark includes the refill.
void init_db_after_full_table(benchmark::State &state) {
    using clock = std::chrono::steady_clock;
    init_db();
    for (auto _ : state) {
        if (!add_full_table()) {
            state.SkipWithError("the library refused the full table");
            init_db();
            break;
        }
        const auto start = clock::now();
        init_db();
        const auto end = clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

}  // namespace

BENCHMARK(largest_build);
BENCHMARK(largest_get_db_size);
BENCHMARK(largest_generate_db);
BENCHMARK(largest_memcpy);
BENCHMARK(largest_generate_db_static);
BENCHMARK(largest_memcpy_static);
BENCHMARK(heart_rate_cycle);
BENCHMARK(largest_whole_job);
BENCHMARK_CAPTURE(build_scaling, 10, SMALL_TABLE);
BENCHMARK_CAPTURE(build_scaling, 800, FULL_TABLE);
BENCHMARK(init_db_empty);
BENCHMARK(init_db_after_full_table)->UseManualTime();

int main(int argc, char **argv) {
    const std::size_t heap_bytes = heap_held_for_largest_database();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::AddCustomContext("largest_heap_bytes", std::to_string(heap_bytes));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
