// SPDX-License-Identifier: MIT
#include "core/readers/gatt_reader.hpp"

#include <algorithm>
#include <array>
#include <filesystem>
#include <vector>

#include "core/model/limits.hpp"
#include "core/model/properties.hpp"
#include "core/readers/gatt_fields.hpp"
#include "core/support/files.hpp"

namespace gattdb::tool {
namespace {

namespace fs = std::filesystem;

using fields = std::vector<std::string_view>;

constexpr std::string_view IMPORT = "#import";
// Some editors start a UTF-8 file with one; it is no part of the first statement.
constexpr std::string_view UTF8_BYTE_ORDER_MARK = "\xEF\xBB\xBF";

// Why each thing the image cannot hold is refused (or, with --lossy, left out).
constexpr std::string_view NO_SECURITY = "the image holds no security or permission flags";
constexpr std::string_view NO_SECONDARY = "the image holds primary services only";
constexpr std::string_view NO_INCLUDES = "the image holds no included services";
constexpr std::string_view NO_DESCRIPTORS =
    "the image holds no descriptors but the client characteristic configuration";
constexpr std::string_view CCCD_NEEDS_NOTIFY =
    "the image gives that descriptor only to a characteristic with NOTIFY or INDICATE";

// Where imported files come from: the file system, whose links and folders give one file many
// paths, or files given by name (tests, the web page), which have one each.
enum class file_source_kind { disk, named };

// The same for every path to one file, so that a cycle of imports is found however it is spelt.
std::string identity_of(const std::string &path, file_source_kind kind) {
    if (kind == file_source_kind::disk) {
        if (std::optional<std::string> canonical = canonical_path(path)) return *canonical;
    }
    return fs::path(path).lexically_normal().string();
}

class gatt_reader {
   public:
    gatt_reader(const read_options &options, const gatt_file_source &files, file_source_kind kind)
        : options_(options), files_(files), kind_(kind) {}

    database read(const std::string &path, std::string_view text) {
        read_file(path, text);
        if (db_.services.empty())
            throw input_error(input_name(path), "no PRIMARY_SERVICE: an image needs at least one service");
        return std::move(db_);
    }

    // One a statement; public so that the table of statements below can name them.
    void primary_service(const fields &line, const std::string &place);
    void secondary_service(const fields &line, const std::string &place);
    void include_service(const fields &line, const std::string &place);
    void add_characteristic(const fields &line, const std::string &place);
    void client_configuration(const fields &line, const std::string &place);

   private:
    struct open_file {
        std::string identity;
        std::string name;
    };

    void read_file(const std::string &path, std::string_view text);
    void read_line(std::string_view line, const std::string &path, const std::string &place);
    void import(std::string_view statement, const std::string &path, const std::string &place);
    void check_not_open(const std::string &identity, const std::string &name, const std::string &place) const;
    void leave_out(const std::string &place, std::string_view what, std::string_view why) const;

    const read_options &options_;
    const gatt_file_source &files_;
    file_source_kind kind_;
    database db_;
    handle_budget handles_;
    std::vector<open_file> open_files_;  // the importing chain, outermost first
    // Where the SECONDARY_SERVICE whose characteristics are being left out is; empty when none.
    std::string left_out_service_;
    // Whether the current service's last characteristic takes the descriptor; none before its first.
    std::optional<bool> last_takes_cccd_;
};

struct statement {
    std::string_view keyword;
    void (gatt_reader::*read)(const fields &, const std::string &);
};

constexpr std::array<statement, 5> STATEMENTS = {{
    {"PRIMARY_SERVICE", &gatt_reader::primary_service},
    {"SECONDARY_SERVICE", &gatt_reader::secondary_service},
    {"INCLUDE_SERVICE", &gatt_reader::include_service},
    {"CHARACTERISTIC", &gatt_reader::add_characteristic},
    {"CLIENT_CHARACTERISTIC_CONFIGURATION", &gatt_reader::client_configuration},
}};

void expect_fields(const fields &line, std::size_t least, std::size_t most, std::string_view form,
                   const std::string &place) {
    if (line.size() < least || line.size() > most) throw input_error(place, "expected " + quoted_input(form));
}

void gatt_reader::read_file(const std::string &path, std::string_view text) {
    if (text.starts_with(UTF8_BYTE_ORDER_MARK)) text.remove_prefix(UTF8_BYTE_ORDER_MARK.size());
    open_files_.push_back({path == "-" ? path : identity_of(path, kind_), input_name(path)});
    std::size_t number = 0;
    for (std::size_t start = 0; start <= text.size(); ++number) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        read_line(text.substr(start, end - start), path,
                  open_files_.back().name + ":" + std::to_string(number + 1));
        start = end + 1;
    }
    open_files_.pop_back();
}

void gatt_reader::read_line(std::string_view line, const std::string &path, const std::string &place) {
    const std::string_view text = trimmed(without_comment(line));
    if (text.empty()) return;
    if (text.starts_with('#')) return import(text, path, place);
    const fields line_fields = split_fields(text);
    const std::string_view keyword = line_fields.front();
    const auto known = std::find_if(STATEMENTS.begin(), STATEMENTS.end(),
                                    [&](const statement &s) { return s.keyword == keyword; });
    if (known != STATEMENTS.end()) return (this->*known->read)(line_fields, place);
    if (is_descriptor_statement(keyword)) return leave_out(place, keyword, NO_DESCRIPTORS);
    throw input_error(place, "unknown statement " + quoted_input(keyword));
}

void gatt_reader::primary_service(const fields &line, const std::string &place) {
    expect_fields(line, 2, 2, "PRIMARY_SERVICE, UUID", place);
    check_room_for_service(db_.services.size(), place);
    db_.services.push_back({read_gatt_uuid(line[1], place), {}, {place, {}}});
    handles_.take(1, place);
    left_out_service_.clear();
    last_takes_cccd_.reset();
}

// Read like a primary service, so that an unknown symbol is an error even where the service is left out.
void gatt_reader::secondary_service(const fields &line, const std::string &place) {
    expect_fields(line, 2, 2, "SECONDARY_SERVICE, UUID", place);
    read_gatt_uuid(line[1], place);
    leave_out(place, "SECONDARY_SERVICE and its characteristics", NO_SECONDARY);
    left_out_service_ = place;
    last_takes_cccd_.reset();
}

void gatt_reader::include_service(const fields &, const std::string &place) {
    leave_out(place, "INCLUDE_SERVICE", NO_INCLUDES);
}

void gatt_reader::add_characteristic(const fields &line, const std::string &place) {
    expect_fields(line, 3, 4, "CHARACTERISTIC, UUID, PROPERTIES, VALUE", place);
    if (db_.services.empty() && left_out_service_.empty())
        throw input_error(place, "CHARACTERISTIC before any PRIMARY_SERVICE");
    characteristic c;
    c.uuid = read_gatt_uuid(line[1], place);
    const gatt_properties properties = read_gatt_properties(line[2], place);
    for (const std::string_view flag : properties.unkept) leave_out(place, flag, NO_SECURITY);
    c.properties = properties.bits;
    if (line.size() > 3) c.value = read_gatt_value(line[3], place);
    c.cccd = needs_cccd(c.properties);
    c.from.place = place;
    last_takes_cccd_ = c.cccd;
    if (!left_out_service_.empty()) {
        return leave_out(place, "CHARACTERISTIC",
                         "it belongs to the SECONDARY_SERVICE at " + left_out_service_);
    }
    std::vector<characteristic> &characteristics = db_.services.back().characteristics;
    check_room_for_characteristic(characteristics.size(), place);
    handles_.take(handle_count(c), place);
    characteristics.push_back(std::move(c));
}

// The descriptor follows from the characteristic's properties, so the line adds nothing of its own.
void gatt_reader::client_configuration(const fields &, const std::string &place) {
    if (!last_takes_cccd_)
        throw input_error(place, "CLIENT_CHARACTERISTIC_CONFIGURATION follows no CHARACTERISTIC");
    if (!*last_takes_cccd_) leave_out(place, "CLIENT_CHARACTERISTIC_CONFIGURATION", CCCD_NEEDS_NOTIFY);
}

// #import <name> or #import "name": the named file's lines in place of this one.
void gatt_reader::import(std::string_view statement, const std::string &path, const std::string &place) {
    const std::string_view target = trimmed(statement.substr(std::min(IMPORT.size(), statement.size())));
    const bool delimited = target.size() > 2 && ((target.front() == '<' && target.back() == '>') ||
                                                 (target.front() == '"' && target.back() == '"'));
    if (!statement.starts_with(IMPORT) || !delimited)
        throw input_error(place,
                          "expected #import <FILE> or #import \"FILE\"; got " + quoted_input(statement));
    const std::string name(target.substr(1, target.size() - 2));
    std::vector<std::string> candidates;
    if (path != "-") candidates.push_back((fs::path(path).parent_path() / name).string());
    for (const std::string &dir : options_.include_dirs)
        candidates.push_back((fs::path(dir) / name).string());
    for (const std::string &candidate : candidates) {
        if (const std::optional<std::string> text = files_(candidate)) {
            check_not_open(identity_of(candidate, kind_), candidate, place);
            return read_file(candidate, *text);
        }
    }
    std::string dirs;
    for (const std::string &dir : options_.include_dirs) dirs += (dirs.empty() ? "" : ", ") + dir;
    const std::string looked =
        path == "-"
            ? (dirs.empty() ? ": standard input imports from -I folders only, and none is given"
                            : " in " + dirs)
            : " beside " + input_name(path) + (dirs.empty() ? " (no -I folder given)" : " nor in " + dirs);
    throw input_error(place, "cannot find " + quoted_input(name) + looked);
}

void gatt_reader::check_not_open(const std::string &identity, const std::string &name,
                                 const std::string &place) const {
    const auto open = std::find_if(open_files_.begin(), open_files_.end(),
                                   [&](const open_file &f) { return f.identity == identity; });
    if (open == open_files_.end()) return;
    std::string chain;
    for (auto f = open; f != open_files_.end(); ++f) chain += f->name + " -> ";
    throw input_error(place, "import cycle: " + chain + name);
}

void gatt_reader::leave_out(const std::string &place, std::string_view what, std::string_view why) const {
    tool::leave_out(options_, place, what, why);
}

}  // namespace

database read_gatt_text(const std::string &path, std::string_view text, const read_options &options,
                        const gatt_file_source &files) {
    return gatt_reader(options, files, file_source_kind::named).read(path, text);
}

database read_gatt(const std::string &path, const std::string &contents, const read_options &options) {
    if (options.files) return read_gatt_text(path, contents, options, options.files);
    return gatt_reader(options, read_regular_file, file_source_kind::disk).read(path, contents);
}

}  // namespace gattdb::tool
