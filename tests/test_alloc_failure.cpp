// SPDX-License-Identifier: MIT
// The library's allocations and releases, watched through the linker's --wrap of malloc and free.
#include <cstdlib>

#include "image_helpers.hpp"

extern "C" void *__real_malloc(std::size_t size);
extern "C" void __real_free(void *pointer);

namespace {
bool fail_allocations = false;
int allocations = 0;
int releases = 0;
}  // namespace

extern "C" void *__wrap_malloc(std::size_t size) {
    if (fail_allocations) return nullptr;
    ++allocations;
    return __real_malloc(size);
}

extern "C" void __wrap_free(void *pointer) {
    if (pointer != nullptr) ++releases;
    __real_free(pointer);
}

namespace gattdb_test {
namespace {

// Counts the allocations and releases made by one call into the library.
template <typename Call>
std::pair<int, int> heap_traffic(Call call) {
    allocations = releases = 0;
    call();
    return {allocations, releases};
}

TEST_F(EmptyTable, AllocationFailureReturnsZeroAndKeepsTheSlotFree) {
    add_primary_service("1800");
    const bytes before = current_image();
    fail_allocations = true;
    const int32_t result = add_characteristic_value("2A00", 0x02, {0x61}, 0);
    fail_allocations = false;
    EXPECT_EQ(result, 0);
    EXPECT_EQ(current_image(), before);

    ASSERT_EQ(add_characteristic_value("2A01", 0x02, {0x62}, 0), 1);
    EXPECT_EQ(current_image(), from_hex("00 02 00 18 30 05 02 03 00 01 2A 00 D0 01 62 00"));
}

// Values share blocks, so an allocation failure can strike any adding call that needs a new one:
// whichever it is, the call must fail, change nothing, and succeed once memory is back.
TEST_F(EmptyTable, AllocationFailureOnAnyValueChangesNothing) {
    add_primary_service("1800");
    const bytes value(255, 0x5A);
    int refused = 0;
    for (int i = 0; i < 40; ++i) {
        const bytes before = current_image();
        fail_allocations = true;
        const int32_t result = add_characteristic_value("2A00", 0x02, value, 0);
        fail_allocations = false;
        if (result == 1) continue;
        ++refused;
        EXPECT_EQ(current_image(), before) << "value " << i;
        ASSERT_EQ(add_characteristic_value("2A00", 0x02, value, 0), 1) << "value " << i;
    }
    EXPECT_GT(refused, 1) << "no failure past the first block was tried";
}

TEST_F(EmptyTable, OnlyAcceptedValuesAreCopiedAndInitDbReleasesEveryBlock) {
    const uint8_t value[] = {1, 2, 3};
    EXPECT_EQ(heap_traffic([&] { add_characteristic("2A00", 2, 3, value, 0); }), std::make_pair(0, 0));
    add_primary_service("1800");
    EXPECT_EQ(heap_traffic([&] { add_characteristic("2A0", 2, 3, value, 0); }), std::make_pair(0, 0));
    EXPECT_EQ(heap_traffic([&] { add_characteristic("2A00", 2, 0, value, 0); }), std::make_pair(0, 0));

    const bytes long_value(255, 0x5A);
    int allocated = 0;
    for (int i = 0; i < 30; ++i) {
        const auto [allocations, releases] =
            heap_traffic([&] { add_characteristic_value("2A00", 0x02, long_value, 0); });
        allocated += allocations;
        EXPECT_EQ(releases, 0);
    }
    EXPECT_GT(allocated, 0);

    bytes image(get_db_size());
    EXPECT_EQ(heap_traffic([&] { generate_db(image.data()); }), std::make_pair(0, 0))
        << "the image calls allocate";
    EXPECT_EQ(heap_traffic([] { init_db(); }), std::make_pair(0, allocated));
    EXPECT_EQ(heap_traffic([] { init_db(); }), std::make_pair(0, 0));
}

}  // namespace
}  // namespace gattdb_test
