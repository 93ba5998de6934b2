// The web configurator's engine: the library and the tool core, compiled to WebAssembly, behind a few
// calls that take text and answer JSON text, so that the page's JavaScript only shows what they say.
// Every answer holds "errors": empty on success, otherwise the one line the command-line tool prints.
#include <emscripten/bind.h>

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "core/database_diff.hpp"
#include "core/description.hpp"
#include "core/image_builder.hpp"
#include "core/image_formats.hpp"
#include "core/image_layout.hpp"
#include "core/input_formats.hpp"
#include "core/naming.hpp"
#include "core/properties.hpp"
#include "core/uuid.hpp"
#include "core/uuid_table.hpp"

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

std::vector<std::uint8_t> image_of(const database &db, const std::string &name) {
    try {
        return build_image(db);
    } catch (const input_error &error) {
        throw input_error(name, error.what());
    }
}

// Each attribute with its handle, what it is, and where its entry lies in the image: what the page
// needs to draw the byte map and the handle table.
json attributes(const database &db) {
    json rows = json::array();
    std::size_t offset = 0;
    const auto add = [&](unsigned handle, const char *type, const std::string &uuid, std::size_t length,
                         std::size_t service, json characteristic) {
        rows.push_back({{"handle", handle},
                        {"type", type},
                        {"uuid", display_uuid(uuid)},
                        {"label", uuid_label(uuid)},
                        {"offset", offset},
                        {"length", length},
                        {"service", service},
                        {"characteristic", characteristic}});
        offset += length;
    };
    const std::vector<service_handles> handles = assign_handles(db);
    for (std::size_t i = 0; i < db.services.size(); ++i) {
        const service &s = db.services[i];
        add(handles[i].declaration, "service", s.uuid, layout::service_entry_size(s), i, nullptr);
        for (std::size_t j = 0; j < s.characteristics.size(); ++j) {
            const characteristic &c = s.characteristics[j];
            const characteristic_handles &h = handles[i].characteristics[j];
            add(h.declaration, "declaration", c.uuid, layout::declaration_entry_size(c), i, j);
            add(h.value, "value", c.uuid, layout::value_entry_size(c), i, j);
            if (c.cccd) add(h.descriptor, "descriptor", CCCD_UUID, layout::DESCRIPTOR_ENTRY_SIZE, i, j);
        }
    }
    return rows;
}

std::string build(const std::string &text, const std::string &format, const std::string &name) {
    return answer([&] {
        const database db = read_as(text, format, name);
        const std::vector<std::uint8_t> image = image_of(db, name);
        return json{{"image", image},
                    {"hex", format_image(image, image_format::hex, "")},
                    {"attributes", attributes(db)}};
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
        const std::optional<image_format> chosen = image_format_named(kind);
        // Bytes do not survive text; the page saves build's image for them.
        if (!chosen || *chosen == image_format::bin) throw input_error(kind, "not a text output format");
        if (!is_c_identifier(symbol)) throw input_error(symbol, "not a C identifier");
        return json{{"text", format_image(image_of(read_as(text, format, name), name), *chosen, symbol)}};
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
        formats.push_back({{"name", format.name},
                           {"kind", format.kind == input_kind::description ? "description" : "image"},
                           {"extension", format.extension}});
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
