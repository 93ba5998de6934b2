// SPDX-License-Identifier: MIT
// Captures of a client discovering a device's GATT database, as one more input: the capture's
// connections are split out, the one whose discovery covers the most attributes is read (or the one
// read_options names), and its discovery becomes the model.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/model/database.hpp"
#include "core/readers/capture/hci_packet.hpp"
#include "core/readers/read_options.hpp"

namespace gattdb::tool {

// From the capture's packets, which came from path, to the database its chosen connection served.
database read_capture(const std::string &path, const hci_capture &capture, const read_options &options);

database read_btsnoop_file(const std::string &path, const std::string &contents, const read_options &options);

bool looks_like_btsnoop(std::string_view contents);

#ifndef __EMSCRIPTEN__
database read_pcap_file(const std::string &path, const std::string &contents, const read_options &options);

bool looks_like_pcap(std::string_view contents);
#endif

}  // namespace gattdb::tool
