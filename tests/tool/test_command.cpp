// SPDX-License-Identifier: MIT
// The gattdb command as a user runs it: outputs, error lines and exit statuses.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "error_table.hpp"
#include "examples.hpp"

namespace {

namespace fs = std::filesystem;
using gattdb::tool::testing::example_names;
using gattdb::tool::testing::file_text;

struct result {
    int status;
    std::string out;
    std::string err;
};

void write_file(const fs::path &path, const std::string &contents) {
    std::ofstream(path, std::ios::binary) << contents;
}

std::string read_file(const fs::path &path) { return file_text(path.string()); }
std::string example(const std::string &name) { return gattdb::tool::testing::example_path(name); }
std::string golden(const std::string &name, const std::string &extension = ".hex") {
    return gattdb::tool::testing::golden_path(name, extension);
}
const std::string GATT_EXAMPLES = std::string(GATTDB_EXAMPLES_DIR) + "/gatt";

class command : public ::testing::Test {
   protected:
    void SetUp() override {
        // A parameterised test's name holds a '/', which would make a folder inside a folder.
        std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(test.begin(), test.end(), '/', '-');
        dir_ = fs::temp_directory_path() / ("gattdb-test-" + std::to_string(::getpid()) + "-" + test);
        fs::create_directory(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path file(const std::string &name, const std::string &contents) {
        write_file(dir_ / name, contents);
        return dir_ / name;
    }

    // Runs the tool through the shell with the arguments as given (they hold no quotes).
    result run(const std::string &arguments, const std::string &input = "") {
        const fs::path in = file("stdin", input);
        const std::string line = std::string(GATTDB_TOOL) + " " + arguments + " <" + in.string() + " >" +
                                 (dir_ / "stdout").string() + " 2>" + (dir_ / "stderr").string();
        const int status = std::system(line.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(dir_ / "stdout"),
                read_file(dir_ / "stderr")};
    }

    fs::path dir_;
};

TEST_F(command, build_gives_the_golden_images_and_dump_json_gives_them_back) {
    ASSERT_FALSE(example_names().empty());
    for (const std::string &name : example_names()) {
        const result built = run("build " + example(name));
        EXPECT_EQ(built.status, 0) << built.err;
        EXPECT_EQ(built.out, read_file(golden(name))) << name;

        const result dumped = run("dump --hex --json " + golden(name));
        ASSERT_EQ(dumped.status, 0) << dumped.err;
        const result rebuilt = run("build -", dumped.out);
        EXPECT_EQ(rebuilt.out, built.out) << name;
    }
}

TEST_F(command, build_gives_the_golden_headers_and_maps) {
    ASSERT_FALSE(example_names().empty());
    for (const std::string &name : example_names()) {
        for (const auto &[format, extension] : {std::pair{"header", ".h"}, {"map", ".map.json"}}) {
            const result built = run("build -f " + std::string(format) + " " + example(name));
            EXPECT_EQ(built.status, 0) << built.err;
            EXPECT_EQ(built.out, read_file(golden(name, extension))) << name << " " << format;
        }
    }
}

TEST_F(command, gatt_examples_build_their_golden_images_and_import_as_json) {
    const std::string heart_rate = gattdb::tool::testing::example_path("heart-rate", ".gatt");
    const result built = run("build " + heart_rate);
    EXPECT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(built.out, read_file(golden("heart-rate")));
    EXPECT_EQ(run("diff " + heart_rate + " " + example("heart-rate")).status, 0);

    const result imported = run("import " + heart_rate);
    EXPECT_EQ(imported.out, read_file(golden("heart-rate-import", ".json")));
    EXPECT_EQ(run("build -", imported.out).out, built.out);

    const result thermometer =
        run("build " + GATT_EXAMPLES + "/thermometer.gatt -I " + GATT_EXAMPLES + "/shared");
    EXPECT_EQ(thermometer.status, 0) << thermometer.err;
    EXPECT_EQ(thermometer.out, read_file(golden("gatt-thermometer")));
}

// A file imported under another name (a link to it) is still the same file.
TEST_F(command, an_import_cycle_through_a_link_is_refused) {
    const fs::path importer = file("a.gatt", "PRIMARY_SERVICE, 1801\n#import \"link.gatt\"\n");
    fs::create_symlink(importer, dir_ / "link.gatt");
    const result r = run("build " + importer.string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("import cycle: " + importer.string() + " -> "), std::string::npos) << r.err;
}

// Inputs are read in blocks: one of several blocks reads whole, from a file and from standard input.
TEST_F(command, inputs_longer_than_a_block_read_whole) {
    const std::string padded = read_file(example("heart-rate")) + std::string(300000, ' ');
    const fs::path path = file("padded.json", padded);
    const std::string expected = read_file(golden("heart-rate"));
    EXPECT_EQ(run("build " + path.string()).out, expected);
    EXPECT_EQ(run("build -", padded).out, expected);
}

TEST_F(command, lossy_reading_warns_on_standard_error) {
    const result lossy =
        run("import --lossy -", "PRIMARY_SERVICE, 180D\nCHARACTERISTIC, 2A38, READ | READ_ENCRYPTED, 01\n");
    EXPECT_EQ(lossy.status, 0);
    EXPECT_EQ(lossy.err,
              "gattdb: standard input:2: warning: left out READ_ENCRYPTED: the image holds no security or "
              "permission flags\n");
    EXPECT_NE(lossy.out.find(R"({ "uuid": "2A38", "properties": ["read"], "value": "01" })"),
              std::string::npos)
        << lossy.out;
}

// A phone's log of the toy car, whatever its name: every command reads it, known by its magic number.
TEST_F(command, a_capture_is_read_by_every_command_as_served_or_as_the_image_holds_it) {
    const fs::path log = file("phone.txt", read_file(std::string(GATTDB_CAPTURES_DIR) + "/toy-car.btsnoop"));
    const result dumped = run("dump " + log.string());
    EXPECT_EQ(dumped.status, 0) << dumped.err;
    EXPECT_NE(dumped.out.find("    19  descriptor   2901 Characteristic User Descriptor"), std::string::npos)
        << dumped.out;
    const result strict = run("import " + log.string());
    EXPECT_EQ(strict.status, 1);
    EXPECT_NE(strict.err.find("phone.txt: handle 19: cannot keep descriptor 2901"), std::string::npos)
        << strict.err;
    const result imported = run("import --lossy " + log.string());
    ASSERT_EQ(imported.status, 0) << imported.err;
    // The image has no user descriptions, so from the first one on its handles are not the device's.
    const fs::path json = file("car.json", imported.out);
    const result moved = run("diff " + log.string() + " " + json.string());
    EXPECT_EQ(moved.status, 1);
    EXPECT_EQ(moved.out.rfind("moved: characteristic FFE4 in service FFE0: descriptor 20 -> 19\n", 0), 0U)
        << moved.out;
    EXPECT_NE(moved.err.find("the capture holds no whole value for 17 characteristics"), std::string::npos)
        << moved.err;
    const result hash = run("hash " + log.string());
    EXPECT_EQ(hash.status, 0) << hash.err;
    EXPECT_EQ(hash.out.size(), 33U);
}

// Vendor UUIDs are named wherever SIG ones are.
TEST_F(command, dump_summary_and_diff_name_vendor_uuids) {
    const fs::path uart = file("uart.gatt",
                               "PRIMARY_SERVICE, 6E400001-B5A3-F393-E0A9-E50E24DCCA9E\n"
                               "CHARACTERISTIC, 6E400003-B5A3-F393-E0A9-E50E24DCCA9E, NOTIFY,\n");
    const std::string image = run("build " + uart.string()).out;
    const std::string service = "6E400001-B5A3-F393-E0A9-E50E24DCCA9E Nordic UART Service";
    const std::string table = run("dump --hex -", image).out;
    EXPECT_NE(table.find("service      " + service + "\n"), std::string::npos) << table;
    EXPECT_NE(table.find("6E400003-B5A3-F393-E0A9-E50E24DCCA9E UART TX Characteristic  notify"),
              std::string::npos);
    EXPECT_NE(run("dump --hex --summary -", image).out.find("handles 1-4  " + service + ": 1 characteristic"),
              std::string::npos);
    EXPECT_NE(
        run("diff " + example("heart-rate") + " " + uart.string()).out.find("added: service " + service),
        std::string::npos);
}

TEST_F(command, build_writes_binary_and_c) {
    const result binary = run("build -f bin " + example("heart-rate"));
    EXPECT_EQ(binary.out.size(), 30u);
    EXPECT_EQ(binary.out.substr(0, 4), std::string("\x00\x02\x0D\x18", 4));

    const result source = run("build -f c --name hr_db " + example("heart-rate"));
    EXPECT_NE(source.out.find("const uint8_t hr_db[30] = {\n    0x00, 0x02, 0x0D, 0x18,"), std::string::npos)
        << source.out;
    EXPECT_NE(source.out.find("const uint16_t hr_db_length = 30;"), std::string::npos);
}

TEST_F(command, dump_prints_attributes_and_summary) {
    const result table = run("dump --hex " + golden("heart-rate"));
    EXPECT_EQ(table.status, 0);
    EXPECT_NE(table.out.find("     1  service      180D Heart Rate\n"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("     4  descriptor   2902 Client Characteristic Configuration\n"),
              std::string::npos);

    const result summary = run("dump --hex --summary -", read_file(golden("heart-rate")));
    EXPECT_EQ(summary.out,
              "handles 1-6  180D Heart Rate: 2 characteristics (2A37, 2A38), 30 bytes\n"
              "total: 6 of 255 handles, 30 bytes\n");
}

TEST_F(command, output_file_is_replaced_only_on_success) {
    const fs::path out = file("image.hex", "keep me\n");
    EXPECT_EQ(run("build -o " + out.string() + " " + example("heart-rate")).status, 0);
    EXPECT_EQ(read_file(out), read_file(golden("heart-rate")));

    const fs::path bad = file("bad.json", R"({"services": [{"uuid": "18"}]})");
    EXPECT_EQ(run("build -o " + out.string() + " " + bad.string()).status, 1);
    EXPECT_EQ(read_file(out), read_file(golden("heart-rate")));

    const fs::path fresh = dir_ / "fresh.hex";
    EXPECT_EQ(run("build -o " + fresh.string() + " " + bad.string()).status, 1);
    EXPECT_FALSE(fs::exists(fresh));
    std::size_t files = 0;
    for ([[maybe_unused]] const auto &entry : fs::directory_iterator(dir_)) ++files;
    EXPECT_EQ(files, 5u);  // image.hex, bad.json and stdin, stdout, stderr: no temporary left behind
}

struct failing_run {
    const char *name;
    std::string arguments;
    std::string input;
    int status;
    std::string message;  // the one line on standard error, or how it starts
};

void PrintTo(const failing_run &c, std::ostream *os) { *os << c.name; }

class command_errors : public command, public ::testing::WithParamInterface<failing_run> {};

TEST_P(command_errors, print_one_line_and_exit_with_the_status) {
    const result r = run(GetParam().arguments, GetParam().input);
    EXPECT_EQ(r.status, GetParam().status);
    EXPECT_TRUE(gattdb::tool::testing::starts_with(r.err, GetParam().message));
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(r.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    all, command_errors,
    ::testing::Values(
        failing_run{"bad_description", "build -",
                    R"({"services": [{"uuid": "180D", "characteristics": [{"uuid": 1}]}]})", 1,
                    "gattdb: standard input: services[0].characteristics[0].uuid: expected a string\n"},
        failing_run{"missing_file", "build /nonexistent/x.json", "", 1,
                    "gattdb: /nonexistent/x.json: cannot read: No such file or directory\n"},
        failing_run{"folder", "build /", "", 1, "gattdb: /: cannot read: Is a directory\n"},
        failing_run{"bad_image", "dump --hex -", "00 02 0D 18 31", 1,
                    "gattdb: standard input: offset 4: unknown entry marker 0x31\n"},
        failing_run{"bad_hex_text", "dump --hex -", "00 02\n0D 1G", 1,
                    "gattdb: standard input: line 2, column 5: 'G' is not a hex digit\n"},
        failing_run{"no_subcommand", "", "", 2, "gattdb: A subcommand is required"},
        failing_run{"unknown_option", "build --colour x.json", "", 2,
                    "gattdb: The following argument was not expected"},
        failing_run{"unknown_format", "build -f elf x.json", "", 2, "gattdb: --format: unknown format: elf"},
        failing_run{"bad_symbol", "build --name 9lives -f c x.json", "", 2,
                    "gattdb: --name: not a C identifier"},
        failing_run{"keyword_symbol", "build --name int -f c x.json", "", 2,
                    "gattdb: --name: \"int\" is a C or C++ keyword"},
        failing_run{"colliding_names", "build -f hex -",
                    R"({"services": [{"uuid": "180D", "name": "hr"}, {"uuid": "180F", "name": "HR"}]})", 1,
                    "gattdb: standard input: services[1]: the name \"HR\" is already used by services[0]"},
        failing_run{"json_with_summary", "dump --json --summary x", "", 2,
                    "gattdb: --json excludes --summary"},
        failing_run{"image_format_for_a_description", "build --from hex -", "", 2,
                    "gattdb: --from: unknown input format: hex (expected json|gatt|btsnoop|pcap)"},
        failing_run{"from_overrides_the_default", "dump --from hex -", "00 02 0D 18 31", 1,
                    "gattdb: standard input: offset 4: unknown entry marker 0x31\n"},
        failing_run{"description_read_as_image", "diff --from bin - -", "{}", 2,
                    "gattdb: standard input: offset 0: unknown entry marker 0x7B\n"},
        failing_run{"diff_bad_input", "diff - -", "", 2,
                    "gattdb: standard input: offset 0: the image is empty\n"},
        failing_run{"gatt_security_flag", "build --from gatt -",
                    "PRIMARY_SERVICE, 180D\nCHARACTERISTIC, 2A38, READ | READ_ENCRYPTED, 01\n", 1,
                    "gattdb: standard input:2: cannot keep READ_ENCRYPTED: the image holds no security or "
                    "permission flags (--lossy leaves it out)\n"},
        failing_run{"gatt_import_without_its_folder", "build " + GATT_EXAMPLES + "/thermometer.gatt", "", 1,
                    "gattdb: " + GATT_EXAMPLES + "/thermometer.gatt:5: cannot find \"gap.gatt\" beside " +
                        GATT_EXAMPLES + "/thermometer.gatt (no -I folder given)\n"},
        failing_run{"import_dir_must_exist", "import -I /nonexistent x.gatt", "", 2,
                    "gattdb: --import-dir: Directory does not exist: /nonexistent"},
        failing_run{"unknown_view", "dump -f pdf x", "", 2,
                    "gattdb: --format: unknown view: pdf (expected table|summary|json|markdown|html)"},
        failing_run{"check_bad_input", "check -", "", 2,
                    "gattdb: standard input: offset 0: the image is empty\n"},
        failing_run{"check_unknown_rule", "check --ignore cccd x", "", 2,
                    "gattdb: --ignore: unknown rule: cccd"},
        failing_run{"hash_bad_input", "hash --hex -", "00 02 0D", 1,
                    "gattdb: standard input: offset 2: service UUID cut off by the end of the image"}),
    gattdb::tool::testing::case_name);

TEST_F(command, diff_exits_like_diff) {
    const result same = run("diff " + example("heart-rate") + " --hex " + golden("heart-rate"));
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, "");

    const fs::path moved = file("moved.json", R"({"services": [{"uuid": "1800"}, {"uuid": "180D",
        "characteristics": [{"uuid": "2A37", "properties": ["notify"], "value": "0048"},
                            {"uuid": "2A38", "properties": ["read"], "value": "02"}]}]})");
    const result different = run("diff " + example("heart-rate") + " " + moved.string());
    EXPECT_EQ(different.status, 1);
    EXPECT_EQ(
        different.out,
        "moved: service 180D Heart Rate: handle 1 -> 2\n"
        "moved: characteristic 2A37 Heart Rate Measurement in service 180D Heart Rate: declaration 2 -> 3, "
        "value 3 -> 4, descriptor 4 -> 5\n"
        "moved: characteristic 2A38 Body Sensor Location in service 180D Heart Rate: declaration 5 -> 6, "
        "value 6 -> 7\n"
        "added: service 1800 Generic Access (handle 1)\n"
        "changed: characteristic 2A38 Body Sensor Location in service 180D Heart Rate: value 01 -> 02\n");
}

TEST_F(command, check_prints_findings_and_exits_on_errors) {
    const std::string service_changed =
        ": warning: no Generic Attribute service (1801) with a Service Changed characteristic (2A05): "
        "clients "
        "that cache handles cannot be told that they moved [service-changed]\n";
    const result warned = run("check " + example("heart-rate"));
    EXPECT_EQ(warned.status, 0) << warned.err;
    EXPECT_EQ(warned.out, example("heart-rate") + service_changed);
    EXPECT_EQ(run("check --strict --hex " + golden("heart-rate")).out,
              golden("heart-rate") + service_changed);
    EXPECT_EQ(run("check --strict --hex " + golden("heart-rate")).status, 1);
    EXPECT_EQ(run("check --strict --ignore service-changed " + example("heart-rate")).status, 0);
    EXPECT_EQ(run("check -f json --ignore service-changed -", "").status, 2);

    const result json = run("check -f json " + example("mixed"));
    EXPECT_EQ(json.status, 1);
    EXPECT_NE(json.out.find(R"({
    "rule": "cccd-missing",
    "severity": "error",
    "place": "services[6].characteristics[0]",
    "handle": 41,
    "message": "characteristic 7D3B0101-5E1A-4C2B-8D6E-0F1A2B3C4D5E can notify but has no client )"),
              std::string::npos)
        << json.out;

    // A .gatt place names its file and line already.
    const fs::path gatt = file("custom.gatt", "PRIMARY_SERVICE, 7777\nCHARACTERISTIC, 2A38, READ, 01\n");
    EXPECT_EQ(run("check --ignore service-changed " + gatt.string()).out,
              gatt.string() +
                  ":1: warning: service 7777 has a 16-bit UUID that the SIG has not assigned; custom "
                  "attributes take 128-bit UUIDs [uuid16-unassigned]\n");

    // Against the released heart-rate image, a service in front moves every handle.
    const fs::path update = file("update.json", R"({"services": [{"uuid": "1801"}, {"uuid": "180D",
        "characteristics": [{"uuid": "2A37", "properties": ["notify"]}, {"uuid": "2A38"}]}]})");
    const result gate =
        run("check --ignore empty-service --against " + golden("heart-rate") + " --hex " + update.string());
    EXPECT_EQ(gate.status, 1);
    EXPECT_NE(gate.out.find(
                  update.string() +
                  ": services[1]: error: service 180D Heart Rate moved (handle 1 -> 2): bonded clients use "
                  "the handles they cached [handle-moved]\n"),
              std::string::npos)
        << gate.out;
}

TEST_F(command, hash_and_views) {
    // The hash of the heart-rate database, as test_hash builds its input by hand.
    EXPECT_EQ(run("hash " + example("heart-rate")).out, "73C5985A610B6FC0C227F22E55F9C16A\n");
    EXPECT_EQ(run("dump --hex -f markdown " + golden("heart-rate")).out,
              read_file(golden("heart-rate", ".md")));

    const result html = run("dump --hex -f html " + golden("mixed"));
    EXPECT_EQ(html.status, 0);
    for (const char *external : {"src=", "href=", "url(", "@import", "http:", "https:"}) {
        EXPECT_EQ(html.out.find(external), std::string::npos) << external;
    }
}

// The page shows these values too; its test reads the same files.
TEST_F(command, hash_gives_the_golden_hash_of_every_example) {
    ASSERT_FALSE(example_names().empty());
    for (const std::string &name : example_names()) {
        EXPECT_EQ(run("hash " + example(name)).out, read_file(golden(name, ".hash"))) << name;
    }
    EXPECT_EQ(run("hash -I " + GATT_EXAMPLES + "/shared " + GATT_EXAMPLES + "/thermometer.gatt").out,
              read_file(golden("gatt-thermometer", ".hash")));
}

// An extension counts in either case, as the page reads it: DB.JSON is a description and IMAGE.HEX
// hex text, where other names are read as the command's default (an image's bytes for check).
TEST_F(command, extensions_choose_the_format_in_either_case) {
    const result checked = run("check " + file("DB.JSON", read_file(example("heart-rate"))).string());
    EXPECT_EQ(checked.status, 0) << checked.err;
    EXPECT_EQ(checked.err, "");

    const result dumped = run("dump --json " + file("IMAGE.HEX", read_file(golden("heart-rate"))).string());
    ASSERT_EQ(dumped.status, 0) << dumped.err;
    EXPECT_EQ(run("build -", dumped.out).out, read_file(golden("heart-rate")));

    const result as_bytes = run("check " + file("db.txt", read_file(example("heart-rate"))).string());
    EXPECT_EQ(as_bytes.status, 2) << as_bytes.err;  // input refused
}

TEST_F(command, help_and_version) {
    EXPECT_EQ(run("--version").out, "gattdb 1.0.0\n");
    for (const std::string subcommand : {"build", "dump", "diff", "import", "check", "hash"}) {
        const result help = run(subcommand + " --help");
        EXPECT_EQ(help.status, 0);
        EXPECT_NE(help.out.find("Usage: gattdb " + subcommand), std::string::npos) << help.out;
    }
}

}  // namespace

TEST_F(command, new_writes_a_description_that_builds_and_checks_clean) {
    const result created = run("new heart_rate 180F --device-name Sensor -o " + (dir_ / "new.json").string());
    ASSERT_EQ(created.status, 0) << created.err;
    const std::string description = read_file(dir_ / "new.json");
    EXPECT_NE(description.find(R"({ "uuid": "2A00", "properties": ["read"], "text": "Sensor" })"),
              std::string::npos)
        << description;
    EXPECT_EQ(run("build " + (dir_ / "new.json").string()).status, 0);
    const result checked = run("check --strict " + (dir_ / "new.json").string());
    EXPECT_EQ(checked.status, 0);
    EXPECT_EQ(checked.out, "");

    const result unknown = run("new heart_rate hart_rate");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("unknown service: hart_rate (closest: heart_rate, "), std::string::npos)
        << unknown.err;
    EXPECT_EQ(unknown.out, "");
}

TEST_F(command, check_fix_writes_the_fixed_description_as_json_and_reports_what_stays) {
    const fs::path gatt = file("broken.gatt",
                               "PRIMARY_SERVICE, 180F\n"
                               "CHARACTERISTIC, 2A19, NOTIFY, 64\n");
    const fs::path fixed = dir_ / "fixed.json";
    const result run_fix = run("check --fix " + gatt.string() + " -o " + fixed.string());
    EXPECT_EQ(run_fix.status, 0) << run_fix.err;
    const std::string place = gatt.string() + ":2: fixed: characteristic 2A19 Battery Level in service 180F ";
    EXPECT_NE(run_fix.out.find(place), std::string::npos) << run_fix.out;
    EXPECT_NE(run_fix.out.find("[property-missing]\n"), std::string::npos);
    EXPECT_NE(run_fix.out.find(": fixed: no Generic Attribute service"), std::string::npos);
    const result again = run("check --strict " + fixed.string());
    EXPECT_EQ(again.status, 0) << again.out;

    // Without -o the description is the output, and the findings go to standard error.
    const result to_stdout = run("check --fix --from json -",
                                 "{\"services\": [{\"uuid\": \"1826\", \"characteristics\": "
                                 "[{\"uuid\": \"2A38\", \"properties\": 0}]}]}");
    EXPECT_EQ(to_stdout.status, 0);
    EXPECT_EQ(run("build -", to_stdout.out).status, 0) << to_stdout.out;
    EXPECT_NE(to_stdout.err.find("warning: characteristic 2A38 Body Sensor Location has no properties"),
              std::string::npos)
        << to_stdout.err;

    const result json = run("check --fix -f json " + gatt.string() + " -o " + fixed.string());
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.out.rfind("{\n  \"fixed\": [\n    {\n      \"rule\": \"service-changed\",", 0), 0u)
        << json.out;
}
