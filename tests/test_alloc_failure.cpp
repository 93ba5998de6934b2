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

// A 128-bit UUID, whose service entry is the largest.
constexpr const char *LONG_UUID = "0000180D00001000800000805F9B34FB";

// The first block is the library's own; an adding call that needs a block after it allocates, and
// when that fails takes no slot. Filling the first block with the largest entries and then the
// smallest leaves no room for a service entry either.
TEST_F(EmptyTable, AllocationFailureReturnsZeroAndKeepsTheSlotFree) {
    fail_allocations = true;
    EXPECT_EQ(heap_traffic([] { EXPECT_EQ(add_primary_service("1800"), 1); }), std::make_pair(0, 0));
    int added = 0;
    while (add_characteristic_value("2A00", 0x02, bytes(255, 0x5A), 0) == 1) ++added;
    while (add_characteristic("2A01", 0x02, 0, nullptr, 0) == 1) ++added;
    const bytes before = current_image();
    const int32_t result = add_primary_service(LONG_UUID);
    fail_allocations = false;
    EXPECT_GT(added, 1);
    ASSERT_LT(added, 40) << "the service filled up before the block did";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(current_image(), before);

    ASSERT_EQ(add_primary_service(LONG_UUID), 1);
    ASSERT_EQ(add_characteristic_value("2A02", 0x02, {0x62}, 0), 1);
    const bytes after = current_image();
    EXPECT_EQ(bytes(after.begin(), after.begin() + before.size()), before);
    // The service's entry, then the characteristic's, whose value handle follows the service
    // (handle 1), the characteristics (2 each) and the new service.
    bytes added_entries = from_hex("00 10 FB 34 9B 5F 80 00 00 80 00 10 00 00 0D 18 00 00 30 05 02");
    added_entries.push_back(static_cast<std::uint8_t>(1 + 2 * added + 1 + 2));
    for (std::uint8_t byte : from_hex("00 02 2A 00 D0 01 62 00")) added_entries.push_back(byte);
    EXPECT_EQ(bytes(after.begin() + before.size(), after.end()), added_entries);
}

// Entries share blocks, so an allocation failure can strike any adding call that needs a new one:
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

TEST_F(EmptyTable, OnlyAcceptedCallsStoreAndInitDbReleasesEveryBlock) {
    const uint8_t value[] = {1, 2, 3};
    EXPECT_EQ(heap_traffic([&] { add_characteristic("2A00", 2, 3, value, 0); }), std::make_pair(0, 0));
    EXPECT_EQ(heap_traffic([&] { add_primary_service("18"); }), std::make_pair(0, 0));
    EXPECT_EQ(heap_traffic([&] { add_primary_service("1800"); }), std::make_pair(0, 0));
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
    EXPECT_GT(allocated, 1);

    bytes image(get_db_size());
    EXPECT_EQ(heap_traffic([&] { generate_db(image.data()); }), std::make_pair(0, 0))
        << "the image calls allocate";
    EXPECT_EQ(heap_traffic([] { init_db(); }), std::make_pair(0, allocated));
    EXPECT_EQ(heap_traffic([] { init_db(); }), std::make_pair(0, 0));
}

}  // namespace
}  // namespace gattdb_test
