// SPDX-License-Identifier: MIT
// Arbitrary bytes through the capture readers: as a btsnoop file, as the records after a valid
// btsnoop header of each datalink, and as a pcap file. Each must refuse with input_error or accept,
// never read outside what it was given, and keep its messages one printable line. What a capture
// gives for an image builds, decodes back to the same database and builds again from its description.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/image/builder.hpp"
#include "core/image/decoder.hpp"
#include "core/readers/capture_reader.hpp"
#include "core/readers/description_reader.hpp"
#include "core/writers/description_writer.hpp"
#include "differential.hpp"

namespace {

using namespace gattdb::tool;

bool is_one_printable_line(std::string_view message) {
    return std::all_of(message.begin(), message.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

void read_each_way(database (*read)(const std::string &, const std::string &, const read_options &),
                   const std::string &contents) {
    for (const bool as_served : {false, true}) {
        for (const bool lossy : {false, true}) {
            read_options options;
            options.lossy = lossy;
            options.as_served = as_served;
            options.warn = [](const std::string &warning) { FUZZ_CHECK(is_one_printable_line(warning)); };
            try {
                const database db = read("input.log", contents, options);
                if (as_served) continue;
                const std::vector<std::uint8_t> image = build_image(db);
                FUZZ_CHECK(decode_image(image) == db);
                FUZZ_CHECK(build_image(read_description(write_description(db))) == image);
            } catch (const input_error &error) {
                FUZZ_CHECK(is_one_printable_line(error.what()));
            }
        }
    }
}

std::string btsnoop_header(std::uint32_t datalink) {
    std::string header("btsnoop\0\0\0\0\x01\0\0", 14);
    header.push_back(static_cast<char>(datalink >> 8));
    header.push_back(static_cast<char>(datalink));
    return header;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte chooses how the rest is read, so that the fuzzer need not find a header first.
    const std::string rest(reinterpret_cast<const char *>(data + 1), size - 1);
    switch (data[0] % 5) {
    case 0: read_each_way(read_btsnoop_file, rest); break;
    case 1: read_each_way(read_btsnoop_file, btsnoop_header(1002) + rest); break;
    case 2: read_each_way(read_btsnoop_file, btsnoop_header(1001) + rest); break;
    case 3: read_each_way(read_btsnoop_file, btsnoop_header(2001) + rest); break;
    default: read_each_way(read_pcap_file, rest); break;
    }
    return 0;
}
