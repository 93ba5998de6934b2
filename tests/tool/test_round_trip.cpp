// SPDX-License-Identifier: MIT
// The promise of `dump --json`: the description it writes builds the identical image.
#include <gtest/gtest.h>

#include <random>

#include "core/image/builder.hpp"
#include "core/image/decoder.hpp"
#include "core/readers/description_reader.hpp"
#include "core/writers/description_writer.hpp"
#include "examples.hpp"
#include "image_bytes.hpp"

namespace gattdb::tool {
namespace {

using namespace testing;

bytes rebuilt(const bytes &image) {
    return build_image(read_description(write_description(decode_image(image))));
}

TEST(round_trip, examples_build_their_golden_images_and_back) {
    ASSERT_FALSE(example_names().empty());
    for (const std::string &example : example_names()) {
        const bytes golden = golden_image(example);
        EXPECT_EQ(build_image(read_description(file_text(example_path(example)))), golden) << example;
        EXPECT_EQ(rebuilt(golden), golden) << example;
    }
}

// Random databases within the limits: UUIDs of all three widths, values of every kind (empty,
// odd, even, printable text), any properties and descriptor choice.
database random_database(std::mt19937 &random) {
    auto pick = [&](unsigned n) { return static_cast<unsigned>(random() % n); };
    auto uuid = [&] {
        static constexpr std::size_t DIGITS[] = {4, 8, 32};
        std::string text;
        for (std::size_t i = DIGITS[pick(3)]; i > 0; --i) text += "0123456789ABCDEF"[pick(16)];
        return text;
    };
    auto value = [&] {
        std::vector<std::uint8_t> bytes(pick(4) == 0 ? 0 : pick(256));
        const bool text = pick(3) == 0;
        for (std::uint8_t &b : bytes) b = static_cast<std::uint8_t>(text ? 0x20 + pick(0x5F) : pick(256));
        return bytes;
    };
    database db;
    unsigned handles = 0;
    for (unsigned s = 1 + pick(MAX_SERVICES); s > 0 && handles < MAX_HANDLE; --s) {
        service next{uuid(), {}};
        ++handles;
        for (unsigned c = pick(MAX_CHARACTERISTICS + 1); c > 0; --c) {
            characteristic added{uuid(), static_cast<std::uint8_t>(pick(256)), value(), pick(2) == 0};
            if (handles + handle_count(added) > MAX_HANDLE) break;
            handles += handle_count(added);
            next.characteristics.push_back(std::move(added));
        }
        db.services.push_back(std::move(next));
    }
    return db;
}

TEST(round_trip, random_databases_decode_and_rebuild_exactly) {
    std::mt19937 random(20261208);
    for (int i = 0; i < 200; ++i) {
        const database db = random_database(random);
        const bytes image = build_image(db);
        EXPECT_EQ(decode_image(image), db);
        EXPECT_EQ(rebuilt(image), image);
    }
}

// Whatever the bytes, the decoder reads a database or throws input_error, and a database it reads
// builds back to the same bytes: every cut and many changed bytes of each example.
TEST(round_trip, every_image_the_decoder_accepts_rebuilds_to_itself) {
    ASSERT_FALSE(example_names().empty());
    for (const std::string &example : example_names()) {
        std::size_t accepted = 0, refused = 0;
        auto check = [&](const bytes &image) {
            try {
                EXPECT_EQ(rebuilt(image), image) << example;
                ++accepted;
            } catch (const input_error &) {
                ++refused;
            }
        };
        const bytes golden = golden_image(example);
        for (std::size_t length = 0; length < golden.size(); ++length) {
            check(bytes(golden.begin(), golden.begin() + static_cast<std::ptrdiff_t>(length)));
        }
        for (std::size_t offset = 0; offset < golden.size(); ++offset) {
            for (const std::uint8_t flip : {0x01, 0x0C, 0x30, 0x80, 0xFF}) {
                bytes changed = golden;
                changed[offset] ^= flip;
                check(changed);
            }
        }
        // Cuts at an entry's end and changed value bytes are images too; the empty cut is not.
        EXPECT_GT(accepted, golden.size()) << example;
        EXPECT_GT(refused, 0u) << example;
    }
}

}  // namespace
}  // namespace gattdb::tool
