// SPDX-License-Identifier: MIT
#include "core/writers/handle_formats.hpp"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "core/model/attributes.hpp"
#include "core/model/labels.hpp"
#include "core/model/uuid.hpp"
#include "core/support/c_names.hpp"

namespace gattdb::tool {
namespace {

// One #define of the header. No two can share a name: item names are unique within their kind, each
// kind's constants end in their own suffixes (_SERVICE_HANDLE, _END_HANDLE; _DECLARATION_HANDLE,
// _VALUE_HANDLE, _CCCD_HANDLE), none of which ends another, and the totals end in neither.
struct header_define {
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

std::vector<header_define> header_defines(const built_database &built) {
    std::vector<header_define> constants;
    for (const attribute &a : attributes_of(built.db)) {
        if (!a.in_image()) continue;  // generated code serves the image
        const std::string &item = item_name(built.names, a.service, a.characteristic);
        std::string comment;  // on an item's first attribute
        if (a.kind == attribute_kind::service) comment = item_comment("service", a.uuid);
        if (a.kind == attribute_kind::declaration) comment = item_comment("characteristic", a.uuid);
        constants.push_back({comment, handle_constant(item, a.kind), a.handle});
        if (a.kind == attribute_kind::service) constants.push_back({"", item + "_END_HANDLE", a.service_end});
    }
    constants.push_back({"the whole image", "HANDLE_COUNT", handles_used(built.db)});
    constants.push_back({"", "IMAGE_SIZE", built.image.size()});
    return constants;
}

std::string handle_defines(const std::string &prefix, const std::vector<header_define> &constants) {
    std::size_t width = 0;
    for (const header_define &c : constants) width = std::max(width, c.name.size());
    std::string text;
    for (const header_define &c : constants) {
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
           handle_defines(prefix, header_defines(built)) + "\n#endif /* " + guard + " */\n";
}

std::string write_map(const built_database &built) {
    using nlohmann::ordered_json;
    ordered_json services = ordered_json::array();
    for (const attribute &a : attributes_of(built.db)) {
        if (!a.in_image()) continue;  // generated code serves the image
        const std::string &item = item_name(built.names, a.service, a.characteristic);
        switch (a.kind) {
        case attribute_kind::service:
            services.push_back({{"name", item},
                                {"uuid", display_uuid(a.uuid)},
                                {"handle", a.handle},
                                {"end_handle", a.service_end},
                                {"characteristics", ordered_json::array()}});
            break;
        case attribute_kind::declaration:
            services.back()["characteristics"].push_back({{"name", item},
                                                          {"uuid", display_uuid(a.uuid)},
                                                          {"declaration_handle", a.handle},
                                                          {"value_handle", a.value_handle}});
            break;
        case attribute_kind::value: break;  // the declaration's entry gives its handle
        case attribute_kind::descriptor:
            services.back()["characteristics"].back()["cccd_handle"] = a.handle;
            break;
        case attribute_kind::include: break;  // left out above
        }
    }
    const ordered_json map = {{"handle_count", handles_used(built.db)},
                              {"image_size", built.image.size()},
                              {"services", std::move(services)}};
    return map.dump(2) + "\n";
}

}  // namespace gattdb::tool
