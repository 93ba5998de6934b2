// SPDX-License-Identifier: MIT
#include "core/readers/capture_reader.hpp"

#include <cstdio>

#include "core/model/labels.hpp"
#include "core/readers/capture/att_discovery.hpp"
#include "core/readers/capture/btsnoop.hpp"
#include "core/readers/capture/hci_reassembly.hpp"
#ifndef __EMSCRIPTEN__
#include "core/readers/capture/pcap_capture.hpp"
#endif
#include "core/readers/capture/served_database.hpp"
#include "core/support/files.hpp"

namespace gattdb::tool {
namespace {

std::span<const std::uint8_t> bytes_of(std::string_view contents) {
    return {reinterpret_cast<const std::uint8_t *>(contents.data()), contents.size()};
}

std::string hex4(unsigned number) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", number & 0xFFFF);
    return text;
}

void warn_all(const read_options &options, const std::string &name,
              const std::vector<capture_warning> &warnings) {
    if (!options.warn) return;
    for (const capture_warning &w : warnings)
        options.warn(name + ": record " + std::to_string(w.record) + ": warning: " + w.text);
}

// The packets of a capture in one format; its errors name the file.
hci_capture packets_of(const std::string &path, const std::string &contents,
                       hci_capture (*read)(std::span<const std::uint8_t>)) {
    try {
        return read(bytes_of(contents));
    } catch (const input_error &error) {
        throw input_error(input_name(path), error.what());
    }
}

}  // namespace

database read_capture(const std::string &path, const hci_capture &capture, const read_options &options) {
    const std::string name = input_name(path);
    warn_all(options, name, capture.warnings);
    const capture_connections split = split_connections(capture);
    warn_all(options, name, split.warnings);
    if (split.connections.empty())
        throw input_error(name,
                          "no attribute protocol traffic in " + std::to_string(capture.records) + " records");
    std::vector<discovery> found;
    for (const capture_connection &c : split.connections) found.push_back(discover(c.att, options.local));
    std::size_t chosen = 0;
    if (options.connection) {
        if (*options.connection < 1 || *options.connection > found.size()) {
            throw input_error(name, "no connection " + std::to_string(*options.connection) +
                                        ": the capture holds " + std::to_string(found.size()));
        }
        chosen = *options.connection - 1;
    } else {
        for (std::size_t i = 1; i < found.size(); ++i) {
            if (found[i].attribute_count() > found[chosen].attribute_count()) chosen = i;
        }
    }
    const capture_connection &connection = split.connections[chosen];
    if (found.size() > 1 && options.warn) {
        options.warn(name + ": reading connection " + std::to_string(chosen + 1) + " of " +
                     std::to_string(found.size()) + " (handle " + hex4(connection.handle) +
                     (connection.peer.empty() ? "" : ", peer " + connection.peer) + ", from record " +
                     std::to_string(connection.first_record) + "), " +
                     count_of(found[chosen].attribute_count(), "attribute") +
                     " discovered; --connection N reads another");
    }
    warn_all(options, name, found[chosen].warnings);
    return served_database(found[chosen], options, name);
}

database read_btsnoop_file(const std::string &path, const std::string &contents,
                           const read_options &options) {
    return read_capture(path, packets_of(path, contents, read_btsnoop), options);
}

bool looks_like_btsnoop(std::string_view contents) { return is_btsnoop(bytes_of(contents)); }

#ifndef __EMSCRIPTEN__
database read_pcap_file(const std::string &path, const std::string &contents, const read_options &options) {
    return read_capture(path, packets_of(path, contents, read_pcap), options);
}

bool looks_like_pcap(std::string_view contents) { return is_pcap(bytes_of(contents)); }
#endif

}  // namespace gattdb::tool
