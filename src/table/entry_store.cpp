// SPDX-License-Identifier: MIT
// Entries packed one after another into chunks of memory. Adding one rarely allocates, the encoder
// copies a whole chunk with one call of the C library's memcpy, which copies blocks of that size
// at the memory's full speed, and init_db releases a handful of chunks.
#include "entry_store.hpp"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "gattdb.h"

namespace gattdb {
namespace {

// Each chunk starts with this header; its entries follow, up to end.
struct chunk_header {
    chunk_header *next;  // the chunk filled after this one, or null
    std::uint8_t *end;   // the end of its entries
};

// The first chunk is small and the library's own static storage, so a small database allocates
// nothing; every later one comes from the heap, so a large database costs an allocation for every
// seven or so of its largest characteristics. Later chunks are 2 KB: the C library copies a block that
// size with vector moves, whereas from a few KB up it may switch to `rep movsb`, which on some
// processors (AMD's Zen 3 and 4, in the C library of Debian 12) runs at a third of its speed when
// source and destination lie at nearly the same place in their pages, and a host's buffer may lie
// anywhere. The size of the chunks bounds the space a database holds and does not use, the end of its
// last chunk, and the space lost at the end of each: entries do not straddle chunks, so that each can
// also be copied on its own.
constexpr std::size_t FIRST_CHUNK_SIZE = 512;
constexpr std::size_t LATER_CHUNK_SIZE = 2048;

struct first_chunk_storage {
    chunk_header header;
    std::uint8_t entries[FIRST_CHUNK_SIZE - sizeof(chunk_header)];
};
static_assert(offsetof(first_chunk_storage, entries) == sizeof(chunk_header),
              "its entries follow its header");
static_assert(sizeof(first_chunk_storage::entries) >= MAX_STORED_ENTRY_SIZE, "every chunk holds any entry");

constinit first_chunk_storage first_chunk = {};
constinit chunk_header *oldest_chunk = nullptr;
constinit chunk_header *newest_chunk = nullptr;
// The end of the newest chunk.
constinit std::uint8_t *newest_end = nullptr;

std::uint8_t *entries_of(chunk_header *chunk) { return reinterpret_cast<std::uint8_t *>(chunk + 1); }

bool add_chunk() {
    chunk_header *chunk = &first_chunk.header;
    std::size_t size = FIRST_CHUNK_SIZE;
    if (newest_chunk != nullptr) {
        chunk = static_cast<chunk_header *>(std::malloc(LATER_CHUNK_SIZE));
        if (chunk == nullptr) return false;
        size = LATER_CHUNK_SIZE;
    }
    *chunk = chunk_header{nullptr, entries_of(chunk)};
    (newest_chunk == nullptr ? oldest_chunk : newest_chunk->next) = chunk;
    newest_chunk = chunk;
    newest_end = reinterpret_cast<std::uint8_t *>(chunk) + size;
    return true;
}

}  // namespace

std::uint8_t *store_entry(std::size_t length) {
    if ((newest_chunk == nullptr || static_cast<std::size_t>(newest_end - newest_chunk->end) < length) &&
        !add_chunk()) {
        return nullptr;
    }
    std::uint8_t *entry = newest_chunk->end;
    newest_chunk->end += length;
    return entry;
}

void copy_stored_entries(std::uint8_t *out) {
    for (chunk_header *chunk = oldest_chunk; chunk != nullptr; chunk = chunk->next) {
        const std::size_t length = static_cast<std::size_t>(chunk->end - entries_of(chunk));
        std::memcpy(out, entries_of(chunk), length);
        out += length;
    }
}

// Oldest first: the C library merges each released chunk with the free space before it, and the whole
// run joins its free top of the heap once, at the last release. Newest first, every release would join
// the top, and once the top passed the C library's trimming threshold every one would cost a system
// call to return memory (a full table took ten times as long to release).
void release_entries() {
    while (oldest_chunk != nullptr) {
        chunk_header *next = oldest_chunk->next;
        if (oldest_chunk != &first_chunk.header) std::free(oldest_chunk);
        oldest_chunk = next;
    }
    newest_chunk = nullptr;
    newest_end = nullptr;
}

}  // namespace gattdb
