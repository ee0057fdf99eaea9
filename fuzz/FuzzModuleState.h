// Module-wide state put back as it was just after the module was loaded. The fuzzer counts
// coverage in counters inside each module, so a module loaded while it runs must never be
// unloaded; yet a module keeps tables for the life of its load (crew link records, for one,
// are never handed back). Holding the module open and restoring its writable data between
// inputs gives every input a module as freshly loaded, at the cost of a copy.
#pragma once

#include <dlfcn.h>
#include <elf.h>
#include <link.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace fuzzmodule {

struct Range {
    unsigned char* start;
    std::size_t size;
    std::vector<unsigned char> saved;
};

class Snapshot {
public:
    // Loads the module for good and saves its data and zero-filled data; stops the process on
    // failure.
    explicit Snapshot(const std::string& path) : path_(path) {
        if (dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE) == nullptr) {
            std::abort();
        }
        dl_iterate_phdr(FindBase, this);
        ReadSections();
        if (ranges_.empty()) {
            std::abort();
        }
        for (Range& range : ranges_) {
            range.saved.resize(range.size);
            Copy(range.saved.data(), range.start, range.size);
        }
    }

    // Only while none of the module's objects exist: whatever they pointed at is gone.
    void Restore() {
        for (Range& range : ranges_) {
            Copy(range.start, range.saved.data(), range.size);
        }
    }

private:
    // Unchecked and uncounted: the data holds the sanitizer's red zones between globals, and
    // the copy is no part of what is fuzzed.
    __attribute__((no_sanitize("address", "coverage"))) static void
    Copy(unsigned char* to, const unsigned char* from, std::size_t size) {
        std::size_t i = 0;
        for (; i + sizeof(std::uint64_t) <= size; i += sizeof(std::uint64_t)) {
            std::uint64_t word;
            __builtin_memcpy(&word, from + i, sizeof word);
            *reinterpret_cast<volatile std::uint64_t*>(to + i) = word;
        }
        for (; i < size; ++i) {
            *reinterpret_cast<volatile unsigned char*>(to + i) = from[i];
        }
    }

    static int FindBase(dl_phdr_info* info, std::size_t /*size*/, void* self) {
        Snapshot& snapshot = *static_cast<Snapshot*>(self);
        const std::string name = info->dlpi_name != nullptr ? info->dlpi_name : "";
        const std::string& path = snapshot.path_;
        if (name.size() < path.size() ||
            name.compare(name.size() - path.size(), path.size(), path) != 0) {
            return 0;
        }
        snapshot.base_ = info->dlpi_addr;
        snapshot.found_ = true;
        return 1;
    }

    // The module's own variables live in .data and .bss; the coverage counters, the
    // relocated tables and everything else stay as they are.
    void ReadSections() {
        if (!found_) {
            std::abort();
        }
        std::ifstream in(path_, std::ios::binary | std::ios::ate);
        std::vector<char> file(in ? static_cast<std::size_t>(in.tellg()) : 0);
        in.seekg(0);
        in.read(file.data(), static_cast<std::streamsize>(file.size()));
        if (file.size() < sizeof(ElfW(Ehdr))) {
            std::abort();
        }
        ElfW(Ehdr) header;
        std::memcpy(&header, file.data(), sizeof header);
        const std::size_t tableEnd =
            header.e_shoff + static_cast<std::size_t>(header.e_shnum) * sizeof(ElfW(Shdr));
        if (header.e_shentsize != sizeof(ElfW(Shdr)) || tableEnd > file.size() ||
            header.e_shstrndx >= header.e_shnum) {
            std::abort();
        }
        std::vector<ElfW(Shdr)> sections(header.e_shnum);
        std::memcpy(sections.data(), file.data() + header.e_shoff,
                    sections.size() * sizeof(ElfW(Shdr)));
        const ElfW(Shdr)& names = sections[header.e_shstrndx];
        for (const ElfW(Shdr) & section : sections) {
            if (section.sh_name >= names.sh_size || names.sh_offset + names.sh_size > file.size()) {
                continue;
            }
            const std::string name(file.data() + names.sh_offset + section.sh_name);
            if ((name == ".data" || name == ".bss") && (section.sh_flags & SHF_WRITE) != 0 &&
                section.sh_size > 0) {
                ranges_.push_back(Range{reinterpret_cast<unsigned char*>(base_ + section.sh_addr),
                                        section.sh_size,
                                        {}});
            }
        }
    }

    std::string path_;
    ElfW(Addr) base_ = 0;
    bool found_ = false;
    std::vector<Range> ranges_;
};

} // namespace fuzzmodule
