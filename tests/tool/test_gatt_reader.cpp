// SPDX-License-Identifier: MIT
// The .gatt reader: its grammar and what it cannot keep, in one table; imports.
#include <gtest/gtest.h>

#include <map>

#include "core/readers/gatt_reader.hpp"
#include "error_table.hpp"

namespace gattdb::tool {
namespace {

using lines = std::vector<std::string>;

struct reading {
    database db;
    std::string error;  // input_error's message; empty when the text was read
    lines warnings;
};

reading read(const std::string &text, bool lossy, const std::vector<std::string> &include_dirs = {},
             const std::map<std::string, std::string> &files = {}) {
    reading result;
    read_options options{include_dirs, lossy, {}};
    options.warn = [&](const std::string &warning) { result.warnings.push_back(warning); };
    const gatt_file_source source = [&](const std::string &path) -> std::optional<std::string> {
        const auto found = files.find(path);
        return found == files.end() ? std::nullopt : std::optional(found->second);
    };
    result.error = testing::error_of([&] { result.db = read_gatt_text("t.gatt", text, options, source); });
    return result;
}

std::string repeated(const std::string &line, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) text += line;
    return text;
}

const std::string HEART_RATE = "PRIMARY_SERVICE, 180D\n";
const std::string SECURED =
    HEART_RATE + "CHARACTERISTIC, 2A37, NOTIFY | READ_ENCRYPTED | ENCRYPTION_KEY_SIZE_16, 00\n";
const std::string SECONDARY = HEART_RATE + "SECONDARY_SERVICE, 180F\nCHARACTERISTIC, 2A19, READ, 64\n" +
                              "CLIENT_CHARACTERISTIC_CONFIGURATION\nPRIMARY_SERVICE, 1800\n";
const std::string DESCRIPTORS =
    HEART_RATE + "INCLUDE_SERVICE, 180F\nCHARACTERISTIC, 2A38, READ, 01\n" +
    "CHARACTERISTIC_USER_DESCRIPTION, READ, \"where\"\nCLIENT_CHARACTERISTIC_CONFIGURATION\n";
const std::string NO_SECURITY = "the image holds no security or permission flags";

struct gatt_case {
    const char *name;
    std::string text;
    bool lossy = false;
    database db{};
    std::string error{};
    lines warnings{};
};

void PrintTo(const gatt_case &c, std::ostream *os) { *os << c.name; }

class gatt_grammar : public ::testing::TestWithParam<gatt_case> {};

TEST_P(gatt_grammar, reads_or_names_the_line_at_fault) {
    const gatt_case &c = GetParam();
    const reading result = read(c.text, c.lossy);
    EXPECT_EQ(result.error, c.error);
    if (c.error.empty()) {
        EXPECT_EQ(result.db, c.db);
    }
    EXPECT_EQ(result.warnings, c.warnings);
}

INSTANTIATE_TEST_SUITE_P(
    all, gatt_grammar,
    ::testing::Values(
        gatt_case{
            .name = "byte_order_mark_comments_blanks_spaces_trailing_commas_and_repeated_configuration",
            .text = "\xEF\xBB\xBF// heart rate\n\n  PRIMARY_SERVICE ,  0x180d , // open\r\n"
                    "CHARACTERISTIC,2A37,NOTIFY,00 48,\nCLIENT_CHARACTERISTIC_CONFIGURATION, READ | WRITE,\n"
                    "\tCLIENT_CHARACTERISTIC_CONFIGURATION\nCHARACTERISTIC, 2a38, READ | DYNAMIC\n",
            .db = {{{"180D", {{"2A37", 0x10, {0x00, 0x48}, true}, {"2A38", 0x02, {}, false}}}}}},
        gatt_case{
            .name = "uuid_symbols_and_128_bit_uuids",
            .text = "PRIMARY_SERVICE, GAP_SERVICE\n"
                    "CHARACTERISTIC, ORG_BLUETOOTH_CHARACTERISTIC_GATT_SERVICE_CHANGED, INDICATE,\n"
                    "CHARACTERISTIC, ORG_BLUETOOTH_CHARACTERISTIC_IEEE_11073_20601_REGULATORY_CERTIFICATION_"
                    "DATA_LIST, READ,\nPRIMARY_SERVICE, 6e400001-b5a3-f393-e0a9-e50e24dcca9e\n"
                    "CHARACTERISTIC, GATT_DATABASE_HASH, READ\n",
            .db = {{{"1800", {{"2A05", 0x20, {}, true}, {"2A2A", 0x02, {}, false}}},
                    {"6E400001B5A3F393E0A9E50E24DCCA9E", {{"2B2A", 0x02, {}, false}}}}}},
        gatt_case{.name = "strings_keep_commas_and_slashes_and_every_property_bit",
                  .text = HEART_RATE + "CHARACTERISTIC, 2A00, READ, \"a, b // c\" // comment\n" +
                          "CHARACTERISTIC, 2A01, BROADCAST|READ|WRITE_WITHOUT_RESPONSE|WRITE|NOTIFY|INDICATE|"
                          "AUTHENTICATED_SIGNED_WRITE|EXTENDED_PROPERTIES, \"\"\n" +
                          "CHARACTERISTIC, 2A02, READ, \"" + std::string(255, 'x') + "\"\n",
                  .db = {{{"180D",
                           {{"2A00", 0x02, {'a', ',', ' ', 'b', ' ', '/', '/', ' ', 'c'}, false},
                            {"2A01", 0xFF, {}, true},
                            {"2A02", 0x02, std::vector<std::uint8_t>(255, 'x'), false}}}}}},
        gatt_case{.name = "unknown_statement",
                  .text = HEART_RATE + "DESCRIPTOR, 2900\n",
                  .error = "t.gatt:2: unknown statement \"DESCRIPTOR\""},
        gatt_case{.name = "unprintable_bytes_are_shown_escaped",
                  .text = "\x01PRIMARY\xFF, 180D\n",
                  .error = "t.gatt:1: unknown statement \"\\x01PRIMARY\\xFF\""},
        gatt_case{.name = "unknown_property",
                  .text = HEART_RATE + "CHARACTERISTIC, 2A37, READ|SHOUT, 00\n",
                  .error = "t.gatt:2: unknown property \"SHOUT\""},
        gatt_case{.name = "key_size_out_of_range",
                  .text = HEART_RATE + "CHARACTERISTIC, 2A37, ENCRYPTION_KEY_SIZE_17,\n",
                  .lossy = true,
                  .error = "t.gatt:2: unknown property \"ENCRYPTION_KEY_SIZE_17\""},
        gatt_case{.name = "no_properties",
                  .text = HEART_RATE + "CHARACTERISTIC, 2A37, , 00\n",
                  .error = "t.gatt:2: no properties: expected names such as READ|NOTIFY"},
        gatt_case{
            .name = "unknown_symbol",
            .text = "PRIMARY_SERVICE, ORG_BLUETOOTH_SERVICE_NOPE\n",
            .error = "t.gatt:1: \"ORG_BLUETOOTH_SERVICE_NOPE\" is neither a UUID (4 hex digits, or 128 bits "
                     "dashed) nor a known UUID symbol"},
        gatt_case{.name = "characteristic_field_counts",
                  .text = HEART_RATE + "CHARACTERISTIC, 2A37\n",
                  .error = "t.gatt:2: expected \"CHARACTERISTIC, UUID, PROPERTIES, VALUE\""},
        gatt_case{.name = "characteristic_before_any_service",
                  .text = "CHARACTERISTIC, 2A37, READ,\n",
                  .error = "t.gatt:1: CHARACTERISTIC before any PRIMARY_SERVICE"},
        gatt_case{.name = "configuration_before_any_characteristic",
                  .text = HEART_RATE + "CLIENT_CHARACTERISTIC_CONFIGURATION, READ | WRITE,\n",
                  .error = "t.gatt:2: CLIENT_CHARACTERISTIC_CONFIGURATION follows no CHARACTERISTIC"},
        gatt_case{.name = "hex_bytes_have_two_digits",
                  .text = HEART_RATE + "CHARACTERISTIC, 2A37, READ, 0048\n",
                  .error = "t.gatt:2: \"0048\" is not a hex byte: a value is a string or two-digit hex bytes "
                           "separated by spaces"},
        gatt_case{.name = "unterminated_string",
                  .text = HEART_RATE + "CHARACTERISTIC, 2A00, READ, \"abc, // x\n",
                  .error = "t.gatt:2: a string without its closing quote"},
        gatt_case{.name = "text_after_string",
                  .text = HEART_RATE + "CHARACTERISTIC, 2A00, READ, \"a\" 00\n",
                  .error = "t.gatt:2: text after the string's closing quote"},
        gatt_case{.name = "value_over_255_bytes",
                  .text = HEART_RATE + "CHARACTERISTIC, 2A00, READ," + repeated(" 00", 256) + "\n",
                  .error = "t.gatt:2: value of 256 bytes, at most 255"},
        gatt_case{.name = "no_service",
                  .text = "// nothing\n",
                  .error = "t.gatt: no PRIMARY_SERVICE: an image needs "
                           "at least one service"},
        gatt_case{.name = "more_than_20_services",
                  .text = repeated(HEART_RATE, 21),
                  .error = "t.gatt:21: more than 20 services"},
        gatt_case{.name = "more_than_40_characteristics",
                  .text = HEART_RATE + repeated("CHARACTERISTIC, 2A38, READ, 01\n", 41),
                  .error = "t.gatt:42: more than 40 characteristics in one service"},
        gatt_case{.name = "more_than_255_handles",  // 121 handles a service; the third's fifth goes over
                  .text = repeated(HEART_RATE + repeated("CHARACTERISTIC, 2A37, NOTIFY,\n", 40), 3),
                  .error = "t.gatt:88: needs more than 255 handles, the image's limit"},
        gatt_case{.name = "bad_import",
                  .text = "#import gap.gatt\n",
                  .error = "t.gatt:1: expected #import <FILE> or #import \"FILE\"; got \"#import gap.gatt\""},
        gatt_case{
            .name = "security_flags",
            .text = SECURED,
            .error = "t.gatt:2: cannot keep READ_ENCRYPTED: " + NO_SECURITY + " (--lossy leaves it out)"},
        gatt_case{.name = "security_flags_lossy",
                  .text = SECURED,
                  .lossy = true,
                  .db = {{{"180D", {{"2A37", 0x10, {0x00}, true}}}}},
                  .warnings = {"t.gatt:2: warning: left out READ_ENCRYPTED: " + NO_SECURITY,
                               "t.gatt:2: warning: left out ENCRYPTION_KEY_SIZE_16: " + NO_SECURITY}},
        gatt_case{.name = "secondary_service",
                  .text = SECONDARY,
                  .error = "t.gatt:2: cannot keep SECONDARY_SERVICE and its characteristics: the image holds "
                           "primary services only (--lossy leaves it out)"},
        gatt_case{
            .name = "secondary_service_lossy_leaves_out_its_characteristics",
            .text = SECONDARY,
            .lossy = true,
            .db = {{{"180D", {}}, {"1800", {}}}},
            .warnings = {"t.gatt:2: warning: left out SECONDARY_SERVICE and its characteristics: the image "
                         "holds primary services only",
                         "t.gatt:3: warning: left out CHARACTERISTIC: it belongs to the SECONDARY_SERVICE at "
                         "t.gatt:2",
                         "t.gatt:4: warning: left out CLIENT_CHARACTERISTIC_CONFIGURATION: the image gives "
                         "that descriptor only to a characteristic with NOTIFY or INDICATE"}},
        gatt_case{
            .name = "secondary_service_uuid_is_read_even_when_left_out",
            .text = "SECONDARY_SERVICE, \"180F\"\n",
            .lossy = true,
            .error = "t.gatt:1: \"\\\"180F\\\"\" is neither a UUID (4 hex digits, or 128 bits dashed) nor a "
                     "known UUID symbol"},
        gatt_case{
            .name = "included_service",
            .text = DESCRIPTORS,
            .error = "t.gatt:2: cannot keep INCLUDE_SERVICE: the image holds no included services (--lossy "
                     "leaves it out)"},
        gatt_case{
            .name = "descriptors_lossy",
            .text = DESCRIPTORS,
            .lossy = true,
            .db = {{{"180D", {{"2A38", 0x02, {0x01}, false}}}}},
            .warnings = {"t.gatt:2: warning: left out INCLUDE_SERVICE: the image holds no included services",
                         "t.gatt:4: warning: left out CHARACTERISTIC_USER_DESCRIPTION: the image holds no "
                         "descriptors but the client characteristic configuration",
                         "t.gatt:5: warning: left out CLIENT_CHARACTERISTIC_CONFIGURATION: the image gives "
                         "that descriptor only to a characteristic with NOTIFY or INDICATE"}}),
    testing::case_name);

// Descriptor statements as real files write them, each with the fields it usually carries: all are
// refused, or left out with --lossy, whatever follows the keyword.
TEST(gatt_descriptors, every_descriptor_statement_is_cannot_keep_whatever_its_fields) {
    const std::vector<std::string> statements = {
        "CHARACTERISTIC_FORMAT, READ, 04, 00, 2700, 01, 0000",
        "CHARACTERISTIC_USER_DESCRIPTION, READ | WRITE, \"level\"",
        "CHARACTERISTIC_AGGREGATE_FORMAT, READ, 0x0010, 0x0011",
        "SERVER_CHARACTERISTIC_CONFIGURATION, READ | WRITE,",
        "REPORT_REFERENCE, READ, 01 01",
        "EXTERNAL_REPORT_REFERENCE, READ, 2A19",
        "VALID_RANGE, READ, 00 64",
        "NUMBER_OF_DIGITALS, READ, 04",
        "VALUE_TRIGGER_SETTING, READ | WRITE, 00",
        "TIME_TRIGGER_SETTING, READ | WRITE, 00",
        "ENVIRONMENTAL_SENSING_CONFIGURATION, READ | WRITE, 00",
        "ENVIRONMENTAL_SENSING_MEASUREMENT, READ, 00 00 01 00 00 00 00 00 00 00 00",
        "ENVIRONMENTAL_SENSING_TRIGGER_SETTING, READ | WRITE, 01 00 00 00",
        "CHARACTERISTIC_FORMAT",
    };
    const std::string no_descriptors =
        "the image holds no descriptors but the client characteristic configuration";
    for (const std::string &line : statements) {
        SCOPED_TRACE(line);
        const std::string keyword = line.substr(0, line.find(','));
        const std::string text = HEART_RATE + "CHARACTERISTIC, 2A19, READ, 64\n" + line + "\n";
        EXPECT_EQ(read(text, false).error,
                  "t.gatt:3: cannot keep " + keyword + ": " + no_descriptors + " (--lossy leaves it out)");
        const reading lossy = read(text, true);
        EXPECT_EQ(lossy.error, "");
        EXPECT_EQ(lossy.db, (database{{{"180D", {{"2A19", 0x02, {0x64}, false}}}}}));
        EXPECT_EQ(lossy.warnings, lines{"t.gatt:3: warning: left out " + keyword + ": " + no_descriptors});
    }
}

TEST(gatt_properties, older_security_flags_cannot_be_kept_and_anybody_needs_nothing) {
    for (const std::string flag : {"AUTHENTICATION_REQUIRED", "AUTHORIZATION_REQUIRED"}) {
        const std::string text = HEART_RATE + "CHARACTERISTIC, 2A38, READ | " + flag + ", 01\n";
        EXPECT_EQ(read(text, false).error,
                  "t.gatt:2: cannot keep " + flag + ": " + NO_SECURITY + " (--lossy leaves it out)");
        EXPECT_EQ(read(text, true).warnings,
                  lines{"t.gatt:2: warning: left out " + flag + ": " + NO_SECURITY});
    }
    const reading anybody =
        read(HEART_RATE + "CHARACTERISTIC, 2A38, READ | WRITE | READ_ANYBODY | WRITE_ANYBODY, 01\n", false);
    EXPECT_EQ(anybody.error, "");
    EXPECT_EQ(anybody.db, (database{{{"180D", {{"2A38", 0x0A, {0x01}, false}}}}}));
    EXPECT_EQ(anybody.warnings, lines{});
}

// Files beside the importing one come first, then the -I folders in order.
TEST(gatt_imports, search_beside_the_importer_then_each_folder_in_order) {
    const std::vector<std::string> folders = {"lib1", "lib2"};
    std::map<std::string, std::string> files = {{"x.gatt", "PRIMARY_SERVICE, 1801\n"},
                                                {"lib1/x.gatt", "PRIMARY_SERVICE, 1802\n"},
                                                {"lib2/x.gatt", "PRIMARY_SERVICE, 1803\n"}};
    for (const auto &[expected, found] :
         {std::pair{"1801", "x.gatt"}, {"1802", "lib1/x.gatt"}, {"1803", "lib2/x.gatt"}}) {
        const reading result = read("#import <x.gatt>\n#import \"x.gatt\"\n", false, folders, files);
        ASSERT_EQ(result.error, "");
        EXPECT_EQ(result.db, (database{{{expected, {}}, {expected, {}}}}));
        files.erase(found);
    }
    EXPECT_EQ(read("#import <x.gatt>", false, folders, files).error,
              "t.gatt:1: cannot find \"x.gatt\" beside t.gatt nor in lib1, lib2");
}

TEST(gatt_imports, errors_name_the_imported_file_and_cycles_are_refused) {
    const std::vector<std::string> folders = {"lib"};
    const std::map<std::string, std::string> files = {
        {"lib/bad.gatt", "// bad\nPRIMARY_SERVICE, 18\n"},
        {"lib/a.gatt", "PRIMARY_SERVICE, 1801\n#import \"b.gatt\"\n"},
        {"lib/b.gatt", "#import <a.gatt>\n"}};
    EXPECT_EQ(read("#import <bad.gatt>\n", false, folders, files).error,
              "lib/bad.gatt:2: \"18\" is neither a UUID (4 hex digits, or 128 bits dashed) nor a known UUID "
              "symbol");
    EXPECT_EQ(read("#import <a.gatt>\n", false, folders, files).error,
              "lib/b.gatt:1: import cycle: lib/a.gatt -> lib/b.gatt -> lib/a.gatt");
    EXPECT_EQ(read("#import <t.gatt>\n", false, {}, {{"t.gatt", ""}}).error,
              "t.gatt:1: import cycle: t.gatt -> t.gatt");
}

// The web page has no file system: it hands the reader the files it was given, by name.
TEST(gatt_imports, the_files_given_in_the_options_stand_in_for_the_file_system) {
    const std::map<std::string, std::string> files = {
        {"a.gatt", "PRIMARY_SERVICE, 1801\n#import \"b.gatt\"\n"}, {"b.gatt", "PRIMARY_SERVICE, 1802\n"}};
    read_options options;
    options.files = [&](const std::string &path) -> std::optional<std::string> {
        const auto found = files.find(path);
        return found == files.end() ? std::nullopt : std::optional(found->second);
    };
    EXPECT_EQ(read_gatt("t.gatt", "#import <a.gatt>\n", options), (database{{{"1801", {}}, {"1802", {}}}}));
    EXPECT_EQ(read_gatt("t.gatt", "#import <b.gatt>\n#import <a.gatt>\n", options),
              (database{{{"1802", {}}, {"1801", {}}, {"1802", {}}}}));
}

}  // namespace
}  // namespace gattdb::tool
