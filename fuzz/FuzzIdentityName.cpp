// Identity file names as a folder search gives them: any bytes, at most 259 of them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "crew/ProfessionTable.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool Terminated(const char* text, std::size_t size) {
    return std::memchr(text, 0, size) != nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    char name[260] = {};
    std::memcpy(name, data, size < sizeof name - 1 ? size : sizeof name - 1);
    // Guards beyond each output catch a write past its end.
    struct Outputs {
        char key[kProfessionKeySize];
        char guardKey[8];
        char mesh[kProfessionTextSize];
        char guardMesh[8];
        char profession[kProfessionTextSize];
        char guardProfession[8];
    } out;
    std::memset(&out, 0x5a, sizeof out);
    const bool accepted = ParseIdentityFileName(name, out.key, out.mesh, out.profession);
    for (const char* guard : {out.guardKey, out.guardMesh, out.guardProfession}) {
        for (int i = 0; i < 8; ++i) {
            Require(guard[i] == 0x5a);
        }
    }
    if (accepted) {
        Require(Terminated(out.key, sizeof out.key));
        Require(Terminated(out.mesh, sizeof out.mesh));
        Require(Terminated(out.profession, sizeof out.profession));
        const std::size_t keyLength = std::strlen(out.key);
        Require(keyLength >= 2 && keyLength <= 4);
        Require(std::strncmp(out.mesh, "ckit/", 5) == 0 && std::strlen(out.mesh) <= 23);
        Require(std::strchr(out.key, '.') == nullptr);
        Require(std::strchr(out.profession, '-') == nullptr);
    }
    return 0;
}
