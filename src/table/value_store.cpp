// SPDX-License-Identifier: MIT
// Value copies packed one after another into chunks of heap memory. Adding a value rarely allocates,
// the encoder reads the values from a few contiguous places, and init_db releases a handful of chunks
// instead of one block per value.
#include "value_store.hpp"

#include <cstdlib>
#include <cstring>

#include "gattdb.h"

namespace gattdb {
namespace {

// Each chunk starts with this header; its values follow.
struct chunk_header {
    chunk_header *next;  // the chunk filled after this one, or null
};

// The first chunk is small, so a small database costs one small allocation (which the C library
// serves from its per-thread cache); every later one is large, so a large database costs few. The
// size of the large ones bounds the space a database holds and does not use, the end of its last
// chunk, and the space lost at the end of each: values do not straddle chunks.
constexpr std::size_t FIRST_CHUNK_SIZE = 512;
constexpr std::size_t LATER_CHUNK_SIZE = 4096;
static_assert(FIRST_CHUNK_SIZE >= sizeof(chunk_header) + GATTDB_MAX_VALUE_LENGTH,
              "every chunk holds any value");

constinit chunk_header *oldest_chunk = nullptr;
constinit chunk_header *newest_chunk = nullptr;
// The unused space at the end of the newest chunk.
constinit std::uint8_t *free_begin = nullptr;
constinit std::uint8_t *free_end = nullptr;

bool add_chunk() {
    const std::size_t size = newest_chunk == nullptr ? FIRST_CHUNK_SIZE : LATER_CHUNK_SIZE;
    auto *chunk = static_cast<chunk_header *>(std::malloc(size));
    if (chunk == nullptr) return false;
    *chunk = chunk_header{nullptr};
    (newest_chunk == nullptr ? oldest_chunk : newest_chunk->next) = chunk;
    newest_chunk = chunk;
    free_begin = reinterpret_cast<std::uint8_t *>(chunk + 1);
    free_end = reinterpret_cast<std::uint8_t *>(chunk) + size;
    return true;
}

}  // namespace

std::uint8_t *copy_value(const std::uint8_t *value, std::size_t length) {
    if (static_cast<std::size_t>(free_end - free_begin) < length && !add_chunk()) return nullptr;
    std::uint8_t *copy = free_begin;
    std::memcpy(copy, value, length);
    free_begin += length;
    return copy;
}

// Oldest first: the C library merges each released chunk with the free space before it, and the whole
// run joins its free top of the heap once, at the last release. Newest first, every release would join
// the top, and once the top passed the C library's trimming threshold every one would cost a system
// call to return memory (a full table took ten times as long to release).
void release_values() {
    while (oldest_chunk != nullptr) {
        chunk_header *next = oldest_chunk->next;
        std::free(oldest_chunk);
        oldest_chunk = next;
    }
    newest_chunk = nullptr;
    free_begin = free_end = nullptr;
}

}  // namespace gattdb
