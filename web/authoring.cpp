// SPDX-License-Identifier: MIT
// The engine's calls for writing databases in the page: the SIG services to pick from and their
// templates, the fixes of check's findings, and values in the short form of a form field. Like the
// rest of the engine, each takes text and answers JSON text with "errors".
#include <emscripten/bind.h>

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "core/analysis/checks.hpp"
#include "core/model/service_requirements.hpp"
#include "core/model/uuid.hpp"
#include "core/readers/input_formats.hpp"
#include "core/readers/value_parts.hpp"
#include "core/support/hex.hpp"
#include "core/writers/description_writer.hpp"
#include "core/writers/service_template.hpp"

namespace gattdb::tool {
namespace {

using nlohmann::json;

template <typename Work>
std::string answer(Work work) {
    json result;
    try {
        result = work();
        result["errors"] = json::array();
    } catch (const std::exception &error) {
        result = {{"errors", {std::string("gattdb: ") + error.what()}}};
    }
    return result.dump(-1, ' ', false, json::error_handler_t::replace);
}

database read_description_as(const std::string &contents, const std::string &format,
                             const std::string &name) {
    const input_format &reader = input_format_for(name, format, {input_kind::description}, format);
    return reader.read(name, contents, {});
}

bool blank(const std::string &text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }

// The services of the requirements table with their optional characteristics, for the picker.
std::string template_services() {
    json services = json::array();
    for (const sig_service &s : sig_services()) {
        json optional = json::array();
        for (const characteristic_requirement &row : service_requirements(s.uuid)) {
            if (row.need != requirement::optional) continue;
            optional.push_back(
                {{"uuid", uuid16_text(row.characteristic)}, {"name", row.characteristic_name}});
        }
        services.push_back(
            {{"uuid", uuid16_text(s.uuid)}, {"name", s.name}, {"id", s.short_name}, {"optional", optional}});
    }
    return services.dump();
}

// The description with the service's template appended, with the optional characteristics listed
// (a JSON array of UUIDs). An empty description starts as `gattdb new` does.
std::string add_service(const std::string &text, const std::string &format, const std::string &name,
                        const std::string &service_name, const std::string &optional_json) {
    return answer([&] {
        const std::optional<std::uint16_t> uuid = template_service_named(service_name);
        if (!uuid) throw input_error(service_name, "not a service of the requirements table");
        std::vector<std::uint16_t> optional;
        for (const json &item : json::parse(optional_json)) {
            const std::optional<std::uint16_t> number =
                sig_number(normalise_uuid(item.get<std::string>()).value_or(""));
            if (number) optional.push_back(*number);
        }
        std::vector<std::string> warnings;
        database db = blank(text) ? database_template({}, warnings) : read_description_as(text, format, name);
        append_service_template(db, *uuid, optional, warnings);
        return json{{"description", write_description(db, true)}, {"warnings", warnings}};
    });
}

// The description with the fix of check's finding number index applied.
std::string fix_finding(const std::string &text, const std::string &format, const std::string &name,
                        unsigned index) {
    return answer([&] {
        database db = read_description_as(text, format, name);
        const std::vector<finding> found = check_database(db);
        if (index >= found.size()) throw input_error(name, "no finding " + std::to_string(index));
        if (!apply_fix(db, found[index])) throw input_error(found[index].rule, "no fix for this finding");
        return json{{"description", write_description(db, true)}};
    });
}

// The bytes of a value field's short form ("u16 72"), as hex digits.
std::string value_bytes(const std::string &text) {
    return answer([&] { return json{{"hex", hex_text(read_value_text(text), "")}}; });
}

}  // namespace
}  // namespace gattdb::tool

EMSCRIPTEN_BINDINGS(gattdb_authoring) {
    emscripten::function("templateServices", &gattdb::tool::template_services);
    emscripten::function("addService", &gattdb::tool::add_service);
    emscripten::function("fixFinding", &gattdb::tool::fix_finding);
    emscripten::function("valueBytes", &gattdb::tool::value_bytes);
}
