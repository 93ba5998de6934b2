// SPDX-License-Identifier: MIT
// Loads the built shared library as a host does (dlopen and dlsym only) and reads its dynamic
// symbol table and needed libraries from the file itself.
#include <dlfcn.h>
#include <elf.h>
#include <gtest/gtest.h>
#include <link.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "gattdb.h"
#include "hex_bytes.hpp"

namespace {

struct Library {
    void *handle = dlopen(GATTDB_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ~Library() {
        if (handle != nullptr) dlclose(handle);
    }
    template <typename Function>
    Function *call(const char *name) {
        return reinterpret_cast<Function *>(dlsym(handle, name));
    }
};

TEST(HostLoading, BuildsTheHeartRateImageThroughDlsymOnly) {
    Library library;
    ASSERT_NE(library.handle, nullptr) << dlerror();
    auto *init = library.call<decltype(init_db)>("init_db");
    auto *add_service = library.call<decltype(add_primary_service)>("add_primary_service");
    auto *add_char = library.call<decltype(add_characteristic)>("add_characteristic");
    auto *size = library.call<decltype(get_db_size)>("get_db_size");
    auto *generate = library.call<decltype(generate_db)>("generate_db");
    ASSERT_TRUE(init && add_service && add_char && size && generate);

    EXPECT_EQ(size(), 0) << "a freshly loaded library starts with an empty table";
    const uint8_t measurement[] = {0x00, 0x48}, location[] = {0x01};
    EXPECT_EQ(add_service("180D"), 1);
    EXPECT_EQ(add_char("2A37", 0x10, 2, measurement, 1), 1);
    EXPECT_EQ(add_char("2A38", 0x02, 1, location, 0), 1);
    ASSERT_EQ(size(), 30);
    std::vector<uint8_t> image(30);
    ASSERT_EQ(generate(image.data()), 1);
    EXPECT_EQ(image, gattdb_test::from_hex(gattdb_test::golden_hex("heart-rate")));
    init();
}

// The ELF types of the host's class.
using Elf_Ehdr = ElfW(Ehdr);
using Elf_Shdr = ElfW(Shdr);
using Elf_Sym = ElfW(Sym);
using Elf_Dyn = ElfW(Dyn);

// A minimal reader of the sections of an ELF file of the host's own class (32 or 64 bits) and byte
// order, which the library built for it has.
class ElfFile {
   public:
    explicit ElfFile(const char *path) {
        std::ifstream file(path, std::ios::binary);
        data_.assign(std::istreambuf_iterator<char>(file), {});
        if (!valid()) return;
        const auto &header = at<Elf_Ehdr>(0);
        for (unsigned i = 0; i < header.e_shnum; ++i)
            sections_.push_back(at<Elf_Shdr>(header.e_shoff + i * header.e_shentsize));
    }
    bool valid() const {
        return data_.size() >= sizeof(Elf_Ehdr) && std::memcmp(data_.data(), ELFMAG, SELFMAG) == 0 &&
               data_[EI_CLASS] == (__ELF_NATIVE_CLASS == 64 ? ELFCLASS64 : ELFCLASS32);
    }
    const std::vector<Elf_Shdr> &sections() const { return sections_; }
    const Elf_Shdr *section(std::uint32_t type) const {
        for (const Elf_Shdr &s : sections_)
            if (s.sh_type == type) return &s;
        return nullptr;
    }
    template <typename T>
    const T &at(std::size_t offset) const {
        return *reinterpret_cast<const T *>(data_.data() + offset);
    }
    // The string at `offset` of the string table that section `table` links to.
    std::string linked_string(const Elf_Shdr &table, std::size_t offset) const {
        return data_.data() + sections_[table.sh_link].sh_offset + offset;
    }

   private:
    std::vector<char> data_;
    std::vector<Elf_Shdr> sections_;
};

TEST(HostLoading, ExportsExactlyTheFiveCallsAndNeedsOnlyTheCLibrary) {
    ElfFile elf(GATTDB_LIBRARY_PATH);
    ASSERT_TRUE(elf.valid());

    const Elf_Shdr *dynsym = elf.section(SHT_DYNSYM);
    ASSERT_NE(dynsym, nullptr);
    std::set<std::string> exported;
    for (std::size_t offset = sizeof(Elf_Sym); offset < dynsym->sh_size; offset += sizeof(Elf_Sym)) {
        const auto &symbol = elf.at<Elf_Sym>(dynsym->sh_offset + offset);
        const bool defined = symbol.st_shndx != SHN_UNDEF;
        const bool visible = ELF64_ST_BIND(symbol.st_info) != STB_LOCAL;  // the same for 32-bit files
        if (defined && visible) exported.insert(elf.linked_string(*dynsym, symbol.st_name));
    }
    EXPECT_EQ(exported, (std::set<std::string>{"add_characteristic", "add_primary_service", "generate_db",
                                               "get_db_size", "init_db"}));

#ifdef GATTDB_SANITIZED
    GTEST_SKIP() << "a sanitized library needs the sanitizer runtime and registers its globals when loaded";
#endif

    const Elf_Shdr *dynamic = elf.section(SHT_DYNAMIC);
    ASSERT_NE(dynamic, nullptr);
    std::set<std::string> needed;
    for (std::size_t offset = 0; offset < dynamic->sh_size; offset += sizeof(Elf_Dyn)) {
        const auto &entry = elf.at<Elf_Dyn>(dynamic->sh_offset + offset);
        if (entry.d_tag == DT_NEEDED) needed.insert(elf.linked_string(*dynamic, entry.d_un.d_val));
    }
    EXPECT_EQ(needed, std::set<std::string>{"libc.so.6"});

    // Loading runs nothing of the library's own: the only start-up and tear-down entries are the C
    // runtime's one each.
    for (const Elf_Shdr &s : elf.sections()) {
        if (s.sh_type == SHT_INIT_ARRAY || s.sh_type == SHT_FINI_ARRAY) {
            EXPECT_LE(s.sh_size, sizeof(void *));
        }
    }
}

}  // namespace
