// SPDX-License-Identifier: MIT
// The web configurator's engine: the library and the tool core, compiled to WebAssembly, behind a few
// calls that answer JavaScript objects, so that the page's JavaScript only shows what they say.
// Every answer holds "error": null on success, otherwise {message, place, file, line}, with line the
// one line the command-line tool prints. Bytes cross as Uint8Array; the attribute rows, of which the
// largest database has hundreds, cross as columns (numbers in one Uint32Array, texts in one string)
// that page/gattdb.js turns into objects, since one call into JavaScript per field would cost more
// than the whole build.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "answers.hpp"
#include "core/analysis/checks.hpp"
#include "core/analysis/diff.hpp"
#include "core/analysis/hash_input.hpp"
#include "core/model/labels.hpp"
#include "core/model/properties.hpp"
#include "core/model/uuid.hpp"
#include "core/model/uuid_table.hpp"
#include "core/readers/input_formats.hpp"
#include "core/reports/attribute_rows.hpp"
#include "core/reports/check_output.hpp"
#include "core/support/c_names.hpp"
#include "core/writers/built_database.hpp"
#include "core/writers/description_writer.hpp"
#include "core/writers/handle_names.hpp"
#include "core/writers/output_formats.hpp"

namespace gattdb::tool {
namespace {

using namespace web;

constexpr unsigned PROPERTY_BITS = 8;

// The files the page was given, by name: where a description's imports are looked for. The page
// has no file system; a file's folder is that of the description importing it.
std::map<std::string, std::string> &kept_files() {
    static std::map<std::string, std::string> files;
    return files;
}

void keep(const std::string &name, const val &contents) { kept_files()[name] = bytes_in(contents); }

std::optional<std::string> kept_file(const std::string &path) {
    std::string name = std::filesystem::path(path).lexically_normal().string();
    if (name.starts_with("./")) name.erase(0, 2);
    const auto found = kept_files().find(name);
    if (found == kept_files().end()) return std::nullopt;
    return found->second;
}

constexpr std::initializer_list<input_kind> ANY_INPUT = {input_kind::description, input_kind::image,
                                                         input_kind::capture};

// How a capture is read: as `import` takes it into the editor (what the image can hold, the rest
// refused or, lossy, left out), or as the device served it, as `diff` compares it.
enum class capture_reading { importing, as_served };

// Reads contents in the named format; errors name the input as name, as the tool names a file.
// Warnings (a capture's, and with lossy what is left out) are added to warnings, each as the line
// the tool prints.
database read_as(const std::string &contents, const std::string &format, const std::string &name,
                 bool lossy = false, std::vector<std::string> *warnings = nullptr,
                 capture_reading capture = capture_reading::importing) {
    const input_format &reader = input_format_for(name, format, ANY_INPUT, format);
    read_options options;
    options.lossy = lossy;
    options.files = kept_file;
    options.as_served = capture == capture_reading::as_served;
    options.warn = [&](const std::string &line) {
        if (warnings) warnings->push_back(std::string(PROGRAM) + ": " + line);
    };
    return reader.read(name, contents, options);
}

// A description read, its items named and its image built: what every output is written from.
struct built {
    database db;
    named_image named;

    built_database writing(std::string_view symbol) const { return {db, named.image, named.names, symbol}; }
};

built build_named(const std::string &contents, const std::string &format, const std::string &name) {
    database db = read_as(contents, format, name);
    named_image named = name_and_build(db, name);
    return {std::move(db), std::move(named)};
}

// The symbol of generated code, refused as `--name` refuses it.
const std::string &checked_symbol(const std::string &symbol) {
    if (const std::optional<std::string> problem = symbol_problem(symbol))
        throw input_error("--name", *problem);
    return symbol;
}

// Rows of numbers and texts as columns: the numbers in one Uint32Array, the texts, each ended by a
// NUL (which none holds), in one Uint8Array of UTF-8 that the page decodes at once.
class columns {
   public:
    columns(std::initializer_list<const char *> numbers, std::initializer_list<const char *> texts)
        : number_names_(numbers), text_names_(texts) {}

    void number(std::uint32_t n) { numbers_.push_back(n); }
    void text(std::string_view t) {
        texts_ += t;
        texts_ += '\0';
    }
    void end_row() { ++count_; }

    val to_val() const {
        val c = object();
        c.set("count", count_);
        c.set("numberColumns", array_of(number_names_, [](const char *n) { return val(n); }));
        c.set("textColumns", array_of(text_names_, [](const char *n) { return val(n); }));
        c.set("numbers", web::numbers(numbers_));
        c.set("texts", text_bytes(texts_));
        return c;
    }

   private:
    std::vector<const char *> number_names_;
    std::vector<const char *> text_names_;
    std::vector<std::uint32_t> numbers_;
    std::string texts_;
    std::size_t count_ = 0;
};

// Each attribute as dump's rows give it, with its header constant (those of `build -f header`), its
// item's resolved name, and the indices of its service and characteristic (characteristic + 1, 0 for
// the service's own).
val attributes(const built &b, std::string_view symbol) {
    const std::string prefix = upper_case(std::string(symbol)) + "_";
    columns out({"handle", "offset", "length", "service", "characteristic"},
                {"type", "uuid", "label", "uuidName", "constant", "name"});
    for (const attribute_row &row : attribute_rows(b.db, row_details::left_out)) {
        const std::string &item = item_name(b.named.names, row.service, row.characteristic);
        out.number(row.handle);
        out.number(static_cast<std::uint32_t>(row.offset));
        out.number(static_cast<std::uint32_t>(row.size));
        out.number(static_cast<std::uint32_t>(row.service));
        out.number(row.characteristic ? static_cast<std::uint32_t>(*row.characteristic + 1) : 0U);
        out.text(row.type);
        out.text(display_uuid(row.uuid));
        out.text(uuid_label(row.uuid));
        out.text(uuid_name(row.uuid));
        out.text(prefix + handle_constant(item, row.kind));
        out.text(item);
        out.end_row();
    }
    return out.to_val();
}

// What `gattdb check` finds, as its -f json gives each finding (handle 0 for the database as a
// whole), with the line it prints for it.
val findings(const database &db, const std::string &name) {
    columns out({"handle", "fixable"}, {"rule", "severity", "place", "message", "line"});
    for (const finding &f : check_database(db)) {
        std::string line = finding_lines(name, {f});
        line.pop_back();  // its newline
        out.number(f.handle);
        out.number(f.target.fixable ? 1 : 0);
        out.text(f.rule);
        out.text(severity_name(f.level));
        out.text(f.place);
        out.text(f.message);
        out.text(line);
        out.end_row();
    }
    return out.to_val();
}

// How much of the image's room the database takes, as `dump --summary` totals it.
val usage(const database &db) {
    val u = object();
    u.set("text", usage_text(db));
    u.set("handles", handles_used(db));
    u.set("services", db.services.size());
    return u;
}

val build(const val &text, const std::string &format, const std::string &name, const std::string &symbol) {
    return answer([&] {
        checked_symbol(symbol);
        const built b = build_named(bytes_in(text), format, name);
        val result = object();
        result.set("image", bytes(b.named.image));
        result.set("hashInput", bytes(database_hash_input(b.db)));
        result.set("findings", findings(b.db, name));
        result.set("attributes", attributes(b, symbol));
        result.set("usage", usage(b.db));
        return result;
    });
}

// Any input, description or image, as a description, with the warnings --lossy gives: what the
// page's editor loads. The description keeps the items' names.
val read(const val &contents, const std::string &format, const std::string &name, bool lossy) {
    return answer([&] {
        std::vector<std::string> warnings;
        const database db = read_as(bytes_in(contents), format, name, lossy, &warnings);
        val result = object();
        result.set("description", text_bytes(write_description(db, true)));
        result.set("warnings", array_of(warnings, [](const std::string &w) { return val(w); }));
        return result;
    });
}

const char *change_name(change_kind kind) {
    switch (kind) {
    case change_kind::moved: return "moved";
    case change_kind::removed: return "removed";
    case change_kind::added: return "added";
    case change_kind::changed: return "changed";
    }
    return "";
}

val difference_object(const difference &d) {
    val o = object();
    o.set("kind", std::string(change_name(d.kind)));
    o.set("item", d.subject);
    o.set("detail", d.detail);
    o.set("oldHandle", d.old_handle);
    o.set("newHandle", d.new_handle);
    o.set("place", d.new_place);
    o.set("moves", array_of(d.moves, [](const handle_move &m) {
              val move = object();
              move.set("attribute", std::string(m.attribute));
              move.set("oldHandle", m.old_handle);
              move.set("newHandle", m.new_handle);
              return move;
          }));
    o.set("line", difference_line(d));
    return o;
}

val diff(const val &old_contents, const std::string &old_format, const std::string &old_name,
         const val &new_contents, const std::string &new_format, const std::string &new_name) {
    return answer([&] {
        const std::vector<difference> found = database_differences(
            read_as(bytes_in(old_contents), old_format, old_name, false, nullptr, capture_reading::as_served),
            read_as(bytes_in(new_contents), new_format, new_name, false, nullptr,
                    capture_reading::as_served));
        return with(object(), "differences", array_of(found, difference_object));
    });
}

// What `gattdb build -f KIND --name SYMBOL` writes for the description, or for KIND "description"
// the description as the page saves it.
val output(const val &text_in, const std::string &format, const std::string &name, const std::string &kind,
           const std::string &symbol) {
    return answer([&] {
        const std::string text = bytes_in(text_in);
        if (kind == "description")
            return with(object(), "text", text_bytes(write_description(read_as(text, format, name), true)));
        // Bytes do not survive text; the page saves build's image for them.
        const output_format *writer = output_format_named(kind);
        if (!writer || kind == "bin") throw input_error(kind, "not a text output format");
        checked_symbol(symbol);
        return with(object(), "text",
                    text_bytes(writer->write(build_named(text, format, name).writing(symbol))));
    });
}

// The reader the tool would choose for a file of that name and contents.
std::string format_for(const std::string &name, const val &bytes) {
    const std::string contents = bytes_in(bytes);
    const std::string_view fallback = looks_like_hex_text(contents) ? "hex" : "bin";
    return std::string(input_format_for(name, std::nullopt, ANY_INPUT, fallback, &contents).name);
}

// The UUID table, as columns: the editor's suggestions, asked for when a UUID field is first used.
val uuid_table() {
    columns uuids({"sig"}, {"uuid", "role", "name"});
    for (const known_uuid &entry : KNOWN_UUIDS) {
        uuids.number(entry.sig_assigned ? 1 : 0);
        uuids.text(display_uuid(std::string(entry.uuid)));
        uuids.text(role_name(entry.role));
        uuids.text(entry.name);
        uuids.end_row();
    }
    return uuids.to_val();
}

// The property names, the input formats and the limits: the editor's checkboxes and bounds.
val vocabulary() {
    val properties = val::array();
    for (unsigned bit = 0; bit < PROPERTY_BITS; ++bit) {
        val p = object();
        p.set("name", property_names(static_cast<std::uint8_t>(1U << bit)).front());
        p.set("bit", 1U << bit);
        properties.call<void>("push", p);
    }
    val formats = val::array();
    for (const input_format &format : input_formats()) {
        static constexpr const char *KINDS[] = {"description", "image", "capture"};
        val f = object();
        f.set("name", std::string(format.name));
        f.set("kind", std::string(KINDS[static_cast<int>(format.kind)]));
        f.set("extension", std::string(format.extensions[0]));
        formats.call<void>("push", f);
    }
    val limits = object();
    limits.set("services", MAX_SERVICES);
    limits.set("characteristics", MAX_CHARACTERISTICS);
    limits.set("value_length", MAX_VALUE_LENGTH);
    limits.set("handle", MAX_HANDLE);
    val result = object();
    result.set("formats", formats);
    result.set("properties", properties);
    result.set("limits", limits);
    return result;
}

}  // namespace
}  // namespace gattdb::tool

EMSCRIPTEN_BINDINGS(gattdb_engine) {
    emscripten::function("build", &gattdb::tool::build);
    emscripten::function("read", &gattdb::tool::read);
    emscripten::function("diff", &gattdb::tool::diff);
    emscripten::function("output", &gattdb::tool::output);
    emscripten::function("formatFor", &gattdb::tool::format_for);
    emscripten::function("vocabulary", &gattdb::tool::vocabulary);
    emscripten::function("keep", &gattdb::tool::keep);
    emscripten::function("uuidTable", &gattdb::tool::uuid_table);
}
