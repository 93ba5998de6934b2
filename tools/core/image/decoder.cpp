// SPDX-License-Identifier: MIT
#include "core/image/decoder.hpp"

#include "core/image/layout.hpp"
#include "core/model/limits.hpp"
#include "core/model/uuid.hpp"
#include "core/support/hex.hpp"

namespace gattdb::tool {
namespace {

using namespace layout;

std::string byte_text(std::uint8_t byte) { return "0x" + hex_text(std::span(&byte, 1), ""); }

std::string at(std::size_t offset) { return "offset " + std::to_string(offset); }

// Walks the image entry by entry; every read is bounds-checked and every fault names its offset.
class image_reader {
   public:
    explicit image_reader(std::span<const std::uint8_t> image) : image_(image) {}

    bool at_end() const { return position_ == image_.size(); }
    std::size_t position() const { return position_; }
    std::uint8_t peek() const { return image_[position_]; }

    std::span<const std::uint8_t> take(std::size_t count, const char *entry) {
        if (image_.size() - position_ < count) {
            throw input_error(at(position_), std::string(entry) + " cut off by the end of the image (" +
                                                 std::to_string(count) + " bytes needed, " +
                                                 std::to_string(image_.size() - position_) + " left)");
        }
        const std::span<const std::uint8_t> bytes = image_.subspan(position_, count);
        position_ += count;
        return bytes;
    }

    void expect(std::uint8_t expected, const char *what) {
        const std::size_t offset = position_;
        const std::uint8_t found = take(1, what)[0];
        if (found != expected) {
            throw input_error(at(offset), std::string(what) + " is " + byte_text(found) + ", expected " +
                                              byte_text(expected));
        }
    }

   private:
    std::span<const std::uint8_t> image_;
    std::size_t position_ = 0;
};

class image_decoder {
   public:
    explicit image_decoder(std::span<const std::uint8_t> image) : reader_(image) {}

    database decode() {
        if (reader_.at_end()) throw input_error(at(0), "the image is empty");
        while (!reader_.at_end()) {
            switch (reader_.peek()) {
            case SERVICE_MARKER: read_service(); break;
            case DECLARATION_MARKER: read_characteristic(); break;
            case DESCRIPTOR_MARKER:
                throw input_error(at(reader_.position()),
                                  "descriptor entry that follows no characteristic value");
            default:
                throw input_error(at(reader_.position()),
                                  "unknown entry marker " + byte_text(reader_.peek()));
            }
        }
        return std::move(db_);
    }

   private:
    void read_service() {
        const std::size_t offset = reader_.position();
        check_room_for_service(db_.services.size(), at(offset));
        const std::uint8_t field_length = reader_.take(2, "service entry")[1];
        if (field_length != 2 && field_length != 16) {
            throw input_error(at(offset + 1),
                              "service UUID length " + std::to_string(field_length) + " is neither 2 nor 16");
        }
        handles_.take(1, at(offset));
        db_.services.push_back({uuid_from_field(reader_.take(field_length, "service UUID")), {}});
    }

    void read_characteristic() {
        const std::size_t offset = reader_.position();
        if (db_.services.empty())
            throw input_error(at(offset), "characteristic declaration before any service");
        std::vector<characteristic> &characteristics = db_.services.back().characteristics;
        check_room_for_characteristic(characteristics.size(), at(offset));
        const std::uint8_t length = reader_.take(2, "characteristic declaration")[1];
        if (length != DECLARATION_FIXED_BYTES + 2 && length != DECLARATION_FIXED_BYTES + 16) {
            throw input_error(at(offset + 1),
                              "declaration length " + std::to_string(length) + " is neither 5 nor 19");
        }
        const std::size_t field_length = length - DECLARATION_FIXED_BYTES;
        const std::span<const std::uint8_t> declaration = reader_.take(length, "characteristic declaration");
        characteristic c;
        c.properties = declaration[0];
        c.uuid = uuid_from_field(declaration.subspan(DECLARATION_FIXED_BYTES));
        handles_.take(2, at(offset));  // the declaration's and the value's
        check_value_handle(declaration[1] | declaration[2] << 8, offset + 3);

        read_value(c, field_length);
        if (!reader_.at_end() && reader_.peek() == DESCRIPTOR_MARKER) {
            const std::size_t descriptor_offset = reader_.position();
            reader_.take(1, "descriptor entry");
            reader_.expect(0, "second byte of the descriptor entry");
            handles_.take(1, at(descriptor_offset));
            c.cccd = true;
        }
        characteristics.push_back(std::move(c));
    }

    void check_value_handle(unsigned found, std::size_t offset) const {
        if (found != handles_.used()) {
            throw input_error(at(offset), "value handle " + std::to_string(found) +
                                              " breaks the handle sequence, expected " +
                                              std::to_string(handles_.used()));
        }
    }

    void read_value(characteristic &c, std::size_t field_length) {
        const std::size_t offset = reader_.position();
        if (reader_.at_end())
            throw input_error(at(offset), "characteristic value entry missing at the end of the image");
        reader_.expect(VALUE_MARKER, "marker of the characteristic value entry");
        const std::span<const std::uint8_t> header = reader_.take(2, "characteristic value entry");
        const std::uint8_t length = header[1];
        const std::uint8_t expected_flags = value_flags(field_length, length);
        if (header[0] != expected_flags) {
            throw input_error(at(offset + 1), "value flags " + byte_text(header[0]) + " do not fit a " +
                                                  std::to_string(length) + "-byte value of a " +
                                                  std::to_string(field_length) + "-byte UUID, expected " +
                                                  byte_text(expected_flags));
        }
        const std::span<const std::uint8_t> value = reader_.take(length, "characteristic value");
        c.value.assign(value.begin(), value.end());
        if (length % 2 != 0) reader_.expect(0, "filler byte after the odd-length value");
    }

    image_reader reader_;
    database db_;
    handle_budget handles_;  // used() is the handle last assigned
};

}  // namespace

database decode_image(std::span<const std::uint8_t> image) { return image_decoder(image).decode(); }

}  // namespace gattdb::tool
