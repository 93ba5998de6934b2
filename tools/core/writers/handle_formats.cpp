// SPDX-License-Identifier: MIT
#include "core/writers/handle_formats.hpp"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "core/model/labels.hpp"
#include "core/model/uuid.hpp"
#include "core/support/c_names.hpp"

namespace gattdb::tool {
namespace {

// One #define of the header. No two can share a name: item names are unique within their kind, each
// kind's constants end in their own suffixes (_SERVICE_HANDLE, _END_HANDLE; _DECLARATION_HANDLE,
// _VALUE_HANDLE, _CCCD_HANDLE), none of which ends another, and the totals end in neither.
struct handle_constant {
    std::string item;  // on an item's first constant: the comment that introduces it
    std::string name;  // after the prefix
    std::size_t value;
};

// "service 180D Heart Rate", safe inside a C comment whatever the UUID table's names hold.
std::string item_comment(std::string_view kind, const std::string &uuid) {
    std::string text = std::string(kind) + " " + uuid_label(uuid);
    for (std::size_t end = text.find("*/"); end != std::string::npos; end = text.find("*/")) text[end] = '.';
    return text;
}

std::vector<handle_constant> handle_constants(const built_database &built) {
    const std::vector<service_handles> handles = assign_handles(built.db);
    std::vector<handle_constant> constants;
    for (std::size_t i = 0; i < handles.size(); ++i) {
        const service &s = built.db.services[i];
        const std::string &service_name = built.names[i].name;
        constants.push_back(
            {item_comment("service", s.uuid), service_name + "_SERVICE_HANDLE", handles[i].declaration});
        constants.push_back({"", service_name + "_END_HANDLE", handles[i].last});
        for (std::size_t j = 0; j < s.characteristics.size(); ++j) {
            const characteristic_handles &h = handles[i].characteristics[j];
            const std::string &name = built.names[i].characteristics[j];
            constants.push_back({item_comment("characteristic", s.characteristics[j].uuid),
                                 name + "_DECLARATION_HANDLE", h.declaration});
            constants.push_back({"", name + "_VALUE_HANDLE", h.value});
            if (s.characteristics[j].cccd) constants.push_back({"", name + "_CCCD_HANDLE", h.descriptor});
        }
    }
    constants.push_back({"the whole image", "HANDLE_COUNT", handles_used(built.db)});
    constants.push_back({"", "IMAGE_SIZE", built.image.size()});
    return constants;
}

std::string handle_defines(const std::string &prefix, const std::vector<handle_constant> &constants) {
    std::size_t width = 0;
    for (const handle_constant &c : constants) width = std::max(width, c.name.size());
    std::string text;
    for (const handle_constant &c : constants) {
        if (!c.item.empty()) text += "\n/* " + c.item + " */\n";
        text += "#define " + prefix + "_" + c.name + std::string(width - c.name.size() + 1, ' ') +
                std::to_string(c.value) + "\n";
    }
    return text;
}

}  // namespace

std::string write_header(const built_database &built) {
    const std::string symbol(built.symbol);
    const std::string prefix = upper_case(symbol);
    const std::string guard = prefix + "_H";
    return "/* The attribute handles of the database image " + symbol +
           ", written by gattdb build -f header.\n"
           " * gattdb build -f c writes the image itself. Generated from the description: do not edit. */\n"
           "#ifndef " +
           guard + "\n#define " + guard +
           "\n\n#include <stdint.h>\n\n"
           "#ifdef __cplusplus\nextern \"C\" {\n#endif\n\n"
           "extern const uint8_t " +
           symbol + "[];\nextern const uint16_t " + symbol +
           "_length;\n\n"
           "#ifdef __cplusplus\n}\n#endif\n" +
           handle_defines(prefix, handle_constants(built)) + "\n#endif /* " + guard + " */\n";
}

std::string write_map(const built_database &built) {
    using nlohmann::ordered_json;
    const std::vector<service_handles> handles = assign_handles(built.db);
    ordered_json services = ordered_json::array();
    for (std::size_t i = 0; i < handles.size(); ++i) {
        const service &s = built.db.services[i];
        ordered_json characteristics = ordered_json::array();
        for (std::size_t j = 0; j < s.characteristics.size(); ++j) {
            const characteristic_handles &h = handles[i].characteristics[j];
            ordered_json item = {{"name", built.names[i].characteristics[j]},
                                 {"uuid", display_uuid(s.characteristics[j].uuid)},
                                 {"declaration_handle", h.declaration},
                                 {"value_handle", h.value}};
            if (s.characteristics[j].cccd) item["cccd_handle"] = h.descriptor;
            characteristics.push_back(std::move(item));
        }
        services.push_back({{"name", built.names[i].name},
                            {"uuid", display_uuid(s.uuid)},
                            {"handle", handles[i].declaration},
                            {"end_handle", handles[i].last},
                            {"characteristics", std::move(characteristics)}});
    }
    const ordered_json map = {{"handle_count", handles_used(built.db)},
                              {"image_size", built.image.size()},
                              {"services", std::move(services)}};
    return map.dump(2) + "\n";
}

}  // namespace gattdb::tool
