// SPDX-License-Identifier: MIT
// Captures of GATT discovery: every example through a simulated client and back, a real phone's
// log against the reconstruction read from it by hand, and what a damaged or partial capture gives.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/analysis/diff.hpp"
#include "core/readers/capture/att_discovery.hpp"
#include "core/readers/capture/btsnoop.hpp"
#include "core/readers/capture/served_database.hpp"
#include "core/readers/capture_reader.hpp"
#include "core/readers/description_reader.hpp"
#include "core/writers/description_writer.hpp"
#include "examples.hpp"
#include "simulated_capture.hpp"

namespace gattdb::tool {
namespace {

using lines = std::vector<std::string>;
using testing::example_names;
using testing::file_text;

database example(const std::string &name) {
    return read_description(file_text(std::string(GATTDB_EXAMPLES_DIR) + "/" + name + ".json"));
}

struct reading {
    database db;
    std::string error;
    lines warnings;
};

using capture_read = database (*)(const std::string &, const std::string &, const read_options &);

reading read(capture_read reader, const std::string &contents, read_options options = {}) {
    reading result;
    options.warn = [&](const std::string &w) { result.warnings.push_back(w); };
    try {
        result.db = reader("c.log", contents, options);
    } catch (const input_error &error) {
        result.error = error.what();
    }
    return result;
}

read_options served() {
    read_options options;
    options.as_served = true;
    return options;
}

struct format_case {
    const char *name;
    capture_read reader;
    std::string (*write)(const std::vector<hci_packet> &);
};

const format_case FORMATS[] = {
    {"btsnoop_h4", read_btsnoop_file, [](const std::vector<hci_packet> &p) { return test::btsnoop_log(p); }},
    {"btsnoop_hci", read_btsnoop_file,
     [](const std::vector<hci_packet> &p) { return test::btsnoop_log(p, 1001); }},
    {"btsnoop_monitor", read_btsnoop_file,
     [](const std::vector<hci_packet> &p) { return test::btsnoop_log(p, 2001); }},
    {"pcap_h4_direction", read_pcap_file, [](const std::vector<hci_packet> &p) { return test::pcap_log(p); }},
    {"pcap_monitor", read_pcap_file, [](const std::vector<hci_packet> &p) { return test::pcap_log(p, 254); }},
    {"pcap_h4", read_pcap_file, [](const std::vector<hci_packet> &p) { return test::pcap_log(p, 187); }},
};

// Every example, discovered by a client with values past the MTU, in fragments, beside a second
// connection: importing the capture gives the description back, and as served it differs in nothing.
TEST(capture_round_trip, every_example_through_every_format) {
    std::size_t compared = 0;
    for (const std::string &name : example_names()) {
        const database described = example(name);
        const std::vector<hci_packet> packets = test::simulate_discovery(described);
        for (const format_case &format : FORMATS) {
            SCOPED_TRACE(name + " as " + format.name);
            const std::string log = format.write(packets);
            const reading imported = read(format.reader, log);
            ASSERT_EQ(imported.error, "");
            EXPECT_EQ(write_description(imported.db), write_description(described));
            EXPECT_EQ(imported.db, described);
            const reading as_served = read(format.reader, log, served());
            ASSERT_EQ(as_served.error, "");
            EXPECT_EQ(compare_databases(described, as_served.db), lines{});
            ++compared;
        }
    }
    EXPECT_EQ(compared, example_names().size() * std::size(FORMATS));
}

TEST(capture_round_trip, a_moved_characteristic_is_a_difference_handle_by_handle) {
    database released = example("heart-rate");
    database device = released;
    std::swap(device.services[0].characteristics[0], device.services[0].characteristics[1]);
    const reading served_db =
        read(read_btsnoop_file, test::btsnoop_log(test::simulate_discovery(device)), served());
    ASSERT_EQ(served_db.error, "");
    const lines differences = compare_databases(released, served_db.db);
    ASSERT_FALSE(differences.empty());
    EXPECT_EQ(differences[0].rfind("moved: characteristic", 0), 0U) << differences[0];
}

// The toy car's own log, against what a reading of its records by hand gives: handle, attribute, UUID
// and what is known of it.
std::string reconstruction(const database &db) {
    std::string text;
    auto hex = [](unsigned handle) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "%04X", handle);
        return std::string(buffer);
    };
    auto value = [](const std::vector<std::uint8_t> &bytes, bool known) {
        if (!known) return std::string("unknown");
        std::string out;
        for (const std::uint8_t b : bytes) {
            char buffer[4];
            std::snprintf(buffer, sizeof buffer, "%02X", b);
            out += buffer;
        }
        return out.empty() ? std::string("empty") : out;
    };
    for (const service &s : db.services) {
        text += hex(s.served.declaration) + " service " + s.uuid + " to " + hex(s.served.last) + "\n";
        for (const characteristic &c : s.characteristics) {
            char properties[4];
            std::snprintf(properties, sizeof properties, "%02X", c.properties);
            text += hex(c.served.declaration) + " characteristic " + c.uuid + " properties " + properties +
                    " value " + hex(c.served.value) + "\n";
            text += hex(c.served.value) + " value " + value(c.value, c.served.value_known) + "\n";
            std::vector<std::pair<unsigned, std::string>> descriptors;
            if (c.cccd) descriptors.emplace_back(c.served.descriptor, "2902");
            for (const served_descriptor &d : c.served.descriptors)
                descriptors.emplace_back(d.handle, d.uuid);
            std::sort(descriptors.begin(), descriptors.end());
            for (const auto &[handle, uuid] : descriptors) text += hex(handle) + " descriptor " + uuid + "\n";
        }
    }
    return text;
}

TEST(capture_toy_car, reconstruction_matches_the_log_read_by_hand) {
    const std::string dir = GATTDB_CAPTURES_DIR;
    const reading served_db = read(read_btsnoop_file, file_text(dir + "/toy-car.btsnoop"), served());
    ASSERT_EQ(served_db.error, "");
    EXPECT_EQ(served_db.db.services.size(), 9U);
    EXPECT_EQ(reconstruction(served_db.db), file_text(dir + "/toy-car.expected"));
    EXPECT_EQ(served_db.warnings, lines{});  // discovery was complete, nothing was malformed
}

TEST(capture_toy_car, import_leaves_out_what_the_image_cannot_hold) {
    const std::string log = file_text(std::string(GATTDB_CAPTURES_DIR) + "/toy-car.btsnoop");
    EXPECT_EQ(
        read(read_btsnoop_file, log).error,
        "c.log: handle 19: cannot keep descriptor 2901 Characteristic User Descriptor: the image holds no "
        "descriptors but the client characteristic configuration (--lossy leaves it out)");
    read_options lossy;
    lossy.lossy = true;
    const reading imported = read(read_btsnoop_file, log, lossy);
    ASSERT_EQ(imported.error, "");
    EXPECT_EQ(imported.db.services.size(), 9U);
    const std::size_t left_out =
        std::count_if(imported.warnings.begin(), imported.warnings.end(),
                      [](const std::string &w) { return w.find("left out") != w.npos; });
    EXPECT_EQ(left_out, 2U);  // the two user descriptions
    EXPECT_NE(
        std::find(imported.warnings.begin(), imported.warnings.end(),
                  "c.log: handle 3: warning: the capture holds no value for characteristic 2A00 Device Name "
                  "(handles 2-3); left empty"),
        imported.warnings.end());
}

// Bytes of a capture that a client's discovery of heart-rate gives, to damage.
std::string heart_rate_log(const test::simulation &how = {}) {
    return test::btsnoop_log(test::simulate_discovery(example("heart-rate"), how));
}

std::uint32_t be32(const std::string &b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at])) << 24 |
           static_cast<std::uint8_t>(b[at + 1]) << 16 | static_cast<std::uint8_t>(b[at + 2]) << 8 |
           static_cast<std::uint8_t>(b[at + 3]);
}

// Where each record of a btsnoop log starts.
std::vector<std::size_t> record_offsets(const std::string &log) {
    std::vector<std::size_t> offsets;
    for (std::size_t at = 16; at + 24 <= log.size(); at += 24 + be32(log, at + 4)) offsets.push_back(at);
    return offsets;
}

struct damage_case {
    const char *name;
    std::string (*damage)(std::string log);
    std::string error;    // empty: the capture is still read
    std::string warning;  // the first warning, when read
};

void put_be32(std::string &log, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) log[at + i] = static_cast<char>(v >> (24 - 8 * i));
}

const damage_case DAMAGE[] = {
    {"wrong_magic", [](std::string log) {
         log[7] = 'X';
         return log;
     },
     "c.log: header: not a btsnoop file (no \"btsnoop\" magic number)", ""},
    {"other_datalink",
     [](std::string log) {
         put_be32(log, 12, 1003);
         return log;
     },
     "c.log: header: btsnoop datalink 1003: expected 1001 (HCI), 1002 (HCI UART) or 2001 (Linux monitor)",
     ""},
    {"header_only", [](std::string log) { return log.substr(0, 16); },
     "c.log: no attribute protocol traffic in 0 records", ""},
    {"first_record_truncated", [](std::string log) { return log.substr(0, 30); },
     "c.log: record 1: the file ends inside the record's header", ""},
    {"first_length_past_the_end",
     [](std::string log) {
         put_be32(log, 16 + 4, 100000);
         return log;
     },
     "c.log: record 1: its length 100000 goes past the end of the file", ""},
    {"last_record_truncated", [](std::string log) { return log.substr(0, log.size() - 3); }, "",
     "c.log: record N: warning: its length"},
    {"continuation_without_start",
     [](std::string log) {
         // The first ACL packet of the client becomes a continuation.
         const std::size_t at = record_offsets(log)[2];
         log[at + 24 + 2] = static_cast<char>((static_cast<std::uint8_t>(log[at + 24 + 2]) & 0xCF) | 0x10);
         return log;
     },
     "", "c.log: record 3: warning: an ACL continuation without a start; skipped"},
    {"l2cap_length_lies",
     [](std::string log) {
         const std::size_t at = record_offsets(log)[2];
         log[at + 24 + 5] = 1;  // a frame of one byte in a packet that holds more
         return log;
     },
     "", "c.log: record 3: warning: an L2CAP frame longer than its length 1; skipped"},
    {"unknown_opcode",
     [](std::string log) {
         const std::size_t at = record_offsets(log)[2];
         log[at + 24 + 9] = static_cast<char>(0x14);
         return log;
     },
     "", "c.log: record 3: warning: unknown attribute protocol opcode 0x14; skipped"},
    {"dropped_packets",
     [](std::string log) {
         put_be32(log, record_offsets(log)[4] + 12, 2);
         return log;
     },
     "", "c.log: record 5: warning: the capture dropped 2 packets before this one"},
};

TEST(capture_damage, the_file_fails_only_when_nothing_can_be_read) {
    for (const damage_case &c : DAMAGE) {
        SCOPED_TRACE(c.name);
        test::simulation how;
        how.second_connection = false;
        const reading result = read(read_btsnoop_file, c.damage(heart_rate_log(how)), served());
        EXPECT_EQ(result.error, c.error);
        if (!c.error.empty()) continue;
        ASSERT_FALSE(result.warnings.empty());
        const std::string prefix = std::string(c.warning).substr(0, c.warning.find(" N:"));
        if (c.warning.find(" N:") != std::string::npos) {
            EXPECT_EQ(result.warnings[0].rfind(prefix, 0), 0U) << result.warnings[0];
            EXPECT_NE(result.warnings[0].find("its length"), std::string::npos) << result.warnings[0];
        } else {
            EXPECT_EQ(result.warnings[0], c.warning);
        }
    }
}

TEST(capture_damage, a_response_without_its_request_is_skipped) {
    const std::vector<att_pdu> pdus = {{7, hci_direction::received, {0x0B, 0x01}}};
    const discovery found = discover(pdus, false);
    ASSERT_EQ(found.warnings.size(), 1U);
    EXPECT_EQ(found.warnings[0].record, 7U);
    EXPECT_EQ(found.warnings[0].text, "a response without a request; skipped");
    EXPECT_TRUE(found.values.empty());
}

TEST(capture_pcap, a_sniffer_capture_is_refused_with_the_reason) {
    EXPECT_EQ(read(read_pcap_file, test::pcap_log({}, 256)).error,
              "c.log: header: link type 256 is a sniffer's capture of the air, not HCI; capture on the host "
              "(Android's HCI snoop log, btmon -w) instead");
    EXPECT_EQ(read(read_pcap_file, "\xD4\xC3\xB2\xA1 short").error.rfind("c.log: header: ", 0), 0U);
}

TEST(capture_connections, the_fullest_is_read_unless_one_is_named) {
    const std::string log = heart_rate_log();
    const reading fullest = read(read_btsnoop_file, log, served());
    ASSERT_EQ(fullest.error, "");
    EXPECT_EQ(fullest.db.services.size(), example("heart-rate").services.size());
    ASSERT_FALSE(fullest.warnings.empty());
    EXPECT_EQ(fullest.warnings[0].rfind(
                  "c.log: reading connection 1 of 2 (handle 0x0040, peer C0:55:44:33:22:11", 0),
              0U)
        << fullest.warnings[0];
    read_options second = served();
    second.connection = 2;
    const reading other = read(read_btsnoop_file, log, second);
    ASSERT_EQ(other.error, "");
    ASSERT_EQ(other.db.services.size(), 1U);
    EXPECT_EQ(other.db.services[0].uuid, "180F");
    second.connection = 3;
    EXPECT_EQ(read(read_btsnoop_file, log, second).error, "c.log: no connection 3: the capture holds 2");
    // The remote device answered; taken as the host's own database, nothing was served.
    read_options local = served();
    local.local = true;
    EXPECT_NE(read(read_btsnoop_file, log, local).error, "");
}

TEST(capture_partial, unknown_values_are_named_and_not_differences) {
    test::simulation how;
    how.read_values = false;
    const std::string log = heart_rate_log(how);
    const database described = example("heart-rate");
    const reading served_db = read(read_btsnoop_file, log, served());
    ASSERT_EQ(served_db.error, "");
    EXPECT_EQ(compare_databases(described, served_db.db), lines{});
    const reading imported = read(read_btsnoop_file, log);
    ASSERT_EQ(imported.error, "");
    std::size_t named = 0;
    for (const std::string &w : imported.warnings) named += w.find("holds no value") != w.npos ? 1 : 0;
    std::size_t characteristics = 0;
    for (const service &s : described.services) characteristics += s.characteristics.size();
    EXPECT_EQ(named, characteristics);
}

TEST(capture_partial, a_value_read_in_part_keeps_its_start) {
    // One Read Response of ATT_MTU - 1 bytes and no Read Blob after it.
    std::vector<att_pdu> pdus = {
        {1, hci_direction::sent, {0x10, 0x01, 0x00, 0xFF, 0xFF, 0x00, 0x28}},
        {2, hci_direction::received, {0x11, 0x06, 0x01, 0x00, 0xFF, 0xFF, 0x0D, 0x18}},
        {3, hci_direction::sent, {0x08, 0x02, 0x00, 0xFF, 0xFF, 0x03, 0x28}},
        {4, hci_direction::received, {0x09, 0x07, 0x02, 0x00, 0x02, 0x03, 0x00, 0x38, 0x2A}},
        {5, hci_direction::sent, {0x0A, 0x03, 0x00}},
    };
    att_pdu read_response{6, hci_direction::received, {0x0B}};
    read_response.bytes.resize(23, 0x41);
    pdus.push_back(read_response);
    const discovery found = discover(pdus, false);
    read_options options;
    lines warnings;
    options.warn = [&](const std::string &w) { warnings.push_back(w); };
    const database db = served_database(found, options, "c.log");
    ASSERT_EQ(db.services.size(), 1U);
    ASSERT_EQ(db.services[0].characteristics.size(), 1U);
    EXPECT_EQ(db.services[0].characteristics[0].value, std::vector<std::uint8_t>(22, 0x41));
    EXPECT_NE(std::find(warnings.begin(), warnings.end(),
                        "c.log: handle 3: warning: the capture holds only the first 22 bytes of the value of "
                        "characteristic 2A38 Body Sensor Location (handles 2-65535); those are kept"),
              warnings.end())
        << ::testing::PrintToString(warnings);
    // Discovery stopped before its end: the hash would not be the device's.
    read_options complete = served();
    complete.complete = true;
    try {
        served_database(found, complete, "c.log");
        ADD_FAILURE() << "an incomplete discovery was hashed";
    } catch (const input_error &error) {
        EXPECT_EQ(std::string(error.what()),
                  "c.log: the capture's discovery is incomplete: service 180D Heart Rate (handles 1-65535): its "
                  "characteristics were never discovered in full; characteristic 2A38 Body Sensor Location "
                  "(handles 2-65535): its descriptors were never searched in full");
    }
}

// What the image cannot hold, from a discovery made by hand: refused, left out with --lossy, kept as served.
TEST(capture_unkept, secondary_and_included_services_descriptors_and_gaps) {
    discovery found;
    found.services = {{1, 4, "1800", false}, {8, 9, "180F", true}};
    found.includes = {{2, 8, 9, "180F"}};
    found.characteristics = {{3, 4, 0x02, "2A00"}};
    found.services_searched.add(1, 0xFFFF);
    found.characteristics_searched.add(1, 0xFFFF);
    found.descriptors_searched.add(1, 0xFFFF);
    found.values[4] = {{'a'}, true};
    EXPECT_THROW(served_database(found, {}, "c.log"), input_error);
    read_options lossy;
    lossy.lossy = true;
    lines warnings;
    lossy.warn = [&](const std::string &w) { warnings.push_back(w); };
    const database kept = served_database(found, lossy, "c.log");
    EXPECT_EQ(kept, (database{{{"1800", {{"2A00", 0x02, {'a'}, false}}}}}));
    EXPECT_EQ(
        warnings,
        (lines{"c.log: handle 8: warning: left out unused handles 5-7: the image numbers the attributes from "
               "1 without gaps",
               "c.log: handle 2: warning: left out included service: the image holds no included services",
               "c.log: handle 8: warning: left out secondary service 180F Battery Service (handles 8-9) and its "
               "characteristics: the image holds primary services only"}));
    const database as_served = served_database(found, served(), "c.log");
    ASSERT_EQ(as_served.services.size(), 2U);
    EXPECT_TRUE(as_served.services[1].served.secondary);
    ASSERT_EQ(as_served.services[0].served.includes.size(), 1U);
    EXPECT_EQ(as_served.services[0].served.includes[0].service, 8U);
}

TEST(capture_ranges, searched_ranges_merge_and_find_their_gaps) {
    handle_ranges ranges;
    ranges.add(5, 9);
    ranges.add(1, 3);
    EXPECT_EQ(ranges.first_gap(1, 9), 4U);
    ranges.add(4, 4);
    EXPECT_TRUE(ranges.covers(1, 9));
    EXPECT_EQ(ranges.first_gap(1, 0xFFFF), 10U);
    ranges.add(10, 0xFFFF);
    EXPECT_TRUE(ranges.covers(1, 0xFFFF));
}

}  // namespace
}  // namespace gattdb::tool
