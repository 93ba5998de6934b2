// SPDX-License-Identifier: MIT
#include "core/model/limits.hpp"

#include "core/support/input_error.hpp"

namespace gattdb::tool {

void check_room_for_service(std::size_t services, const std::string &place) {
    if (services >= MAX_SERVICES)
        throw input_error(place, "more than " + std::to_string(MAX_SERVICES) + " services");
}

void check_room_for_characteristic(std::size_t characteristics_in_service, const std::string &place) {
    if (characteristics_in_service >= MAX_CHARACTERISTICS) {
        throw input_error(
            place, "more than " + std::to_string(MAX_CHARACTERISTICS) + " characteristics in one service");
    }
}

void check_value_length(std::size_t length, const std::string &place) {
    if (length > MAX_VALUE_LENGTH) {
        throw input_error(place, "value of " + std::to_string(length) + " bytes, at most " +
                                     std::to_string(MAX_VALUE_LENGTH));
    }
}

void handle_budget::take(unsigned count, const std::string &place) {
    used_ += count;
    if (used_ > MAX_HANDLE) {
        throw input_error(place,
                          "needs more than " + std::to_string(MAX_HANDLE) + " handles, the image's limit");
    }
}

}  // namespace gattdb::tool
