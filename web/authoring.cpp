// SPDX-License-Identifier: MIT
// The engine's calls for writing databases in the page: the SIG services to pick from and their
// templates, the fixes of check's findings, and values in the short form of a form field. Each
// answers as the rest of the engine does (answers.hpp).
#include <emscripten/bind.h>

#include <cstdint>
#include <string>
#include <vector>

#include "answers.hpp"
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

using namespace web;

database read_description_as(const std::string &contents, const std::string &format,
                             const std::string &name) {
    const input_format &reader = input_format_for(name, format, {input_kind::description}, format);
    return reader.read(name, contents, {});
}

bool blank(const std::string &text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }

// The services of the requirements table with their optional characteristics, for the picker.
val template_services() {
    val services = val::array();
    for (const sig_service &s : sig_services()) {
        val optional = val::array();
        for (const characteristic_requirement &row : service_requirements(s.uuid)) {
            if (row.need != requirement::optional) continue;
            val item = object();
            item.set("uuid", uuid16_text(row.characteristic));
            item.set("name", std::string(row.characteristic_name));
            optional.call<void>("push", item);
        }
        val service = object();
        service.set("uuid", uuid16_text(s.uuid));
        service.set("name", std::string(s.name));
        service.set("id", std::string(s.short_name));
        service.set("optional", optional);
        services.call<void>("push", service);
    }
    return services;
}

// The description with the service's template appended, with the optional characteristics listed
// (an array of UUIDs). An empty description starts as `gattdb new` does.
val add_service(const val &text_in, const std::string &format, const std::string &name,
                const std::string &service_name, const val &optional_uuids) {
    return answer([&] {
        const std::optional<std::uint16_t> uuid = template_service_named(service_name);
        if (!uuid) throw input_error(service_name, "not a service of the requirements table");
        std::vector<std::uint16_t> optional;
        for (const std::string &item : strings_in(optional_uuids)) {
            if (const std::optional<std::uint16_t> number = sig_number(normalise_uuid(item).value_or("")))
                optional.push_back(*number);
        }
        const std::string text = bytes_in(text_in);
        std::vector<std::string> warnings;
        database db = blank(text) ? database_template({}, warnings) : read_description_as(text, format, name);
        append_service_template(db, *uuid, optional, warnings);
        val result = object();
        result.set("description", text_bytes(write_description(db, true)));
        result.set("warnings", array_of(warnings, [](const std::string &w) { return val(w); }));
        return result;
    });
}

// The description with the fix of check's finding number index applied.
val fix_finding(const val &text_in, const std::string &format, const std::string &name, unsigned index) {
    return answer([&] {
        database db = read_description_as(bytes_in(text_in), format, name);
        const std::vector<finding> found = check_database(db);
        if (index >= found.size()) throw input_error(name, "no finding " + std::to_string(index));
        if (!apply_fix(db, found[index])) throw input_error(found[index].rule, "no fix for this finding");
        return with(object(), "description", text_bytes(write_description(db, true)));
    });
}

// The bytes of a value field's short form ("u16 72"), as hex digits.
val value_bytes(const std::string &text) {
    return answer([&] { return with(object(), "hex", hex_text(read_value_text(text), "")); });
}

}  // namespace
}  // namespace gattdb::tool

EMSCRIPTEN_BINDINGS(gattdb_authoring) {
    emscripten::function("templateServices", &gattdb::tool::template_services);
    emscripten::function("addService", &gattdb::tool::add_service);
    emscripten::function("fixFinding", &gattdb::tool::fix_finding);
    emscripten::function("valueBytes", &gattdb::tool::value_bytes);
}
