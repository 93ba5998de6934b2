// SPDX-License-Identifier: MIT
#include "hex_bytes.hpp"

#include <fstream>
#include <sstream>

namespace gattdb_test {

bytes from_hex(const std::string &text) {
    bytes out;
    std::istringstream words(text);
    std::string word;
    std::size_t repeat = 1;
    while (words >> word) {
        if (word[0] == 'x') {
            repeat = std::stoul(word.substr(1));
            continue;
        }
        for (std::size_t i = 0; i + 1 < word.size(); i += 2) {
            out.insert(out.end(), repeat,
                       static_cast<std::uint8_t>(std::stoul(word.substr(i, 2), nullptr, 16)));
        }
        repeat = 1;
    }
    return out;
}

std::string golden_hex(const std::string &example) {
    std::ifstream file(std::string(GATTDB_GOLDEN_DIR) + "/" + example + ".hex");
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace gattdb_test
