// SPDX-License-Identifier: MIT
// The web configurator's engine: the library and the tool core, compiled to WebAssembly, behind a few
// calls that take text and answer JSON text, so that the page's JavaScript only shows what they say.
// Every answer holds "errors": empty on success, otherwise the one line the command-line tool prints.
#include <emscripten/bind.h>

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "core/analysis/checks.hpp"
#include "core/analysis/diff.hpp"
#include "core/image/layout.hpp"
#include "core/model/labels.hpp"
#include "core/model/properties.hpp"
#include "core/model/uuid.hpp"
#include "core/model/uuid_table.hpp"
#include "core/readers/input_formats.hpp"
#include "core/reports/check_output.hpp"
#include "core/support/c_names.hpp"
#include "core/writers/description_writer.hpp"
#include "core/writers/handle_names.hpp"
#include "core/writers/output_formats.hpp"

namespace gattdb::tool {
namespace {

using nlohmann::json;

constexpr const char *PROGRAM = "gattdb";
constexpr const char *CCCD_UUID = "2902";
constexpr unsigned PROPERTY_BITS = 8;

// Runs work and answers its result, or the error line the command-line tool would print for it.
template <typename Work>
std::string answer(Work work) {
    json result;
    try {
        result = work();
        result["errors"] = json::array();
    } catch (const std::exception &error) {
        result = {{"errors", {std::string(PROGRAM) + ": " + error.what()}}};
    }
    // Input may hold bytes that are not UTF-8 (a quoted .gatt string, say); they must not stop the answer.
    return result.dump(-1, ' ', false, json::error_handler_t::replace);
}

constexpr std::initializer_list<input_kind> ANY_INPUT = {input_kind::description, input_kind::image};

// Reads contents in the named format; errors name the input as name, as the tool names a file.
database read_as(const std::string &contents, const std::string &format, const std::string &name) {
    const input_format &reader = input_format_for(name, format, ANY_INPUT, format);
    return reader.read(name, contents, {});
}

// A description read, its items named and its image built: what every output is written from.
struct built {
    database db;
    std::vector<service_names> names;
    std::vector<std::uint8_t> image;
};

built build_named(const std::string &contents, const std::string &format, const std::string &name) {
    database db = read_as(contents, format, name);
    named_image named = name_and_build(db, name);
    return {std::move(db), std::move(named.names), std::move(named.image)};
}

// The symbol of generated code, refused as `--name` refuses it.
const std::string &checked_symbol(const std::string &symbol) {
    if (const std::optional<std::string> problem = symbol_problem(symbol))
        throw input_error("--name", *problem);
    return symbol;
}

std::string write(const built &b, std::string_view kind, std::string_view symbol) {
    return output_format_named(kind)->write({b.db, b.image, b.names, symbol});
}

// Each attribute with its handle, what it is, its header constant, and where its entry lies in the
// image: what the page needs to draw the byte map and the handle table. The constants are those of
// `build -f header` (tools/core/handle_formats.hpp): the item's name and a suffix per attribute.
json attributes(const built &b, const std::string &symbol) {
    const std::string prefix = upper_case(symbol) + "_";
    json rows = json::array();
    std::size_t offset = 0;
    const auto add = [&](unsigned handle, const char *type, const std::string &uuid, std::size_t length,
                         const std::string &constant, std::size_t service, json characteristic) {
        rows.push_back({{"handle", handle},
                        {"type", type},
                        {"uuid", display_uuid(uuid)},
                        {"label", uuid_label(uuid)},
                        {"constant", prefix + constant},
                        {"offset", offset},
                        {"length", length},
                        {"service", service},
                        {"characteristic", characteristic}});
        offset += length;
    };
    const std::vector<service_handles> handles = assign_handles(b.db);
    for (std::size_t i = 0; i < b.db.services.size(); ++i) {
        const service &s = b.db.services[i];
        add(handles[i].declaration, "service", s.uuid, layout::service_entry_size(s),
            b.names[i].name + "_SERVICE_HANDLE", i, nullptr);
        for (std::size_t j = 0; j < s.characteristics.size(); ++j) {
            const characteristic &c = s.characteristics[j];
            const characteristic_handles &h = handles[i].characteristics[j];
            const std::string &item = b.names[i].characteristics[j];
            add(h.declaration, "declaration", c.uuid, layout::declaration_entry_size(c),
                item + "_DECLARATION_HANDLE", i, j);
            add(h.value, "value", c.uuid, layout::value_entry_size(c), item + "_VALUE_HANDLE", i, j);
            if (c.cccd) {
                add(h.descriptor, "descriptor", CCCD_UUID, layout::DESCRIPTOR_ENTRY_SIZE,
                    item + "_CCCD_HANDLE", i, j);
            }
        }
    }
    return rows;
}

// What `gattdb check` finds, as its -f json gives each finding, with the line it prints for it.
json findings(const database &db, const std::string &name) {
    const std::vector<finding> found = check_database(db);
    json list = json::parse(finding_json(found));
    for (std::size_t i = 0; i < found.size(); ++i) {
        std::string line = finding_lines(name, {found[i]});
        line.pop_back();  // its newline
        list[i]["line"] = line;
    }
    return list;
}

std::string build(const std::string &text, const std::string &format, const std::string &name,
                  const std::string &symbol) {
    return answer([&] {
        checked_symbol(symbol);
        const built b = build_named(text, format, name);
        return json{{"image", b.image},
                    {"findings", findings(b.db, name)},
                    {"hex", write(b, "hex", symbol)},
                    {"map", json::parse(write(b, "map", symbol))},
                    {"attributes", attributes(b, symbol)}};
    });
}

// Any input, description or image, as a description: what the page's editor loads.
std::string read(const std::string &contents, const std::string &format, const std::string &name) {
    return answer([&] { return json{{"description", write_description(read_as(contents, format, name))}}; });
}

std::string diff(const std::string &old_contents, const std::string &old_format, const std::string &old_name,
                 const std::string &new_contents, const std::string &new_format,
                 const std::string &new_name) {
    return answer([&] {
        return json{{"lines", compare_databases(read_as(old_contents, old_format, old_name),
                                                read_as(new_contents, new_format, new_name))}};
    });
}

// What `gattdb build -f KIND --name SYMBOL` writes for the description.
std::string output(const std::string &text, const std::string &format, const std::string &name,
                   const std::string &kind, const std::string &symbol) {
    return answer([&] {
        // Bytes do not survive text; the page saves build's image for them.
        if (!output_format_named(kind) || kind == "bin") throw input_error(kind, "not a text output format");
        return json{{"text", write(build_named(text, format, name), kind, checked_symbol(symbol))}};
    });
}

// The UUID table, the property names and the input formats: the editor's suggestions and checkboxes,
// and how the page chooses a reader for a file.
std::string vocabulary() {
    json uuids = json::array();
    for (const known_uuid &entry : KNOWN_UUIDS) {
        uuids.push_back({{"uuid", display_uuid(std::string(entry.uuid))},
                         {"role", role_name(entry.role)},
                         {"name", entry.name},
                         {"sig", entry.sig_assigned}});
    }
    json properties = json::array();
    for (unsigned bit = 0; bit < PROPERTY_BITS; ++bit) {
        properties.push_back(
            {{"name", property_names(static_cast<std::uint8_t>(1U << bit)).front()}, {"bit", 1U << bit}});
    }
    json formats = json::array();
    for (const input_format &format : input_formats()) {
        if (format.kind == input_kind::capture) continue;  // the page reads no captures yet
        formats.push_back({{"name", format.name},
                           {"kind", format.kind == input_kind::description ? "description" : "image"},
                           {"extension", format.extensions[0]}});
    }
    return json{{"uuids", uuids},
                {"formats", formats},
                {"properties", properties},
                {"limits",
                 {{"services", MAX_SERVICES},
                  {"characteristics", MAX_CHARACTERISTICS},
                  {"value_length", MAX_VALUE_LENGTH},
                  {"handle", MAX_HANDLE}}}}
        .dump();
}

}  // namespace
}  // namespace gattdb::tool

EMSCRIPTEN_BINDINGS(gattdb_engine) {
    emscripten::function("build", &gattdb::tool::build);
    emscripten::function("read", &gattdb::tool::read);
    emscripten::function("diff", &gattdb::tool::diff);
    emscripten::function("output", &gattdb::tool::output);
    emscripten::function("vocabulary", &gattdb::tool::vocabulary);
}
