#include "addons/ckit/WalkerIdentity.h"

#include <cstdio>
#include <cstring>

#include "crew/CrewExchange.h"
#include "host/CrewKit.h"
#include "platform/File.h"

namespace ckit {

namespace {

constexpr std::size_t kPrefixLength = sizeof crewkit::kEvaNamePrefix - 1;
constexpr char kNeutralMesh[] = "ckit/ckit";

bool StartsWith(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

std::size_t BoundedLength(const char* text, std::size_t size) {
    std::size_t length = 0;
    while (length < size && text[length] != '\0') {
        ++length;
    }
    return length;
}

} // namespace

WalkerKind ClassifyWalker(const char* name) {
    if (name == nullptr) {
        return WalkerKind::Plain;
    }
    if (StartsWith(name, crewkit::kEvaNamePrefix)) {
        return WalkerKind::Person;
    }
    if (StartsWith(name, crewkit::kTransferNamePrefix)) {
        return WalkerKind::Transfer;
    }
    return WalkerKind::Plain;
}

WalkerIdentity NeutralIdentity(const char* ownName) {
    WalkerIdentity identity{};
    identity.age = 30;
    identity.pulse = 70;
    identity.weight = 70;
    std::snprintf(identity.mesh, sizeof identity.mesh, "%s", kNeutralMesh);
    const std::size_t length = ownName != nullptr ? std::strlen(ownName) : 0;
    identity.labelLength = length > kPrefixLength ? length - kPrefixLength : 0;
    return identity;
}

bool RecordNamesVessel(const char* recordName, std::size_t recordSize, const char* ownName,
                       std::size_t* labelLength) {
    const std::size_t length = BoundedLength(recordName, recordSize);
    // A record without its terminator was not written by a crew manager.
    if (length == recordSize || length <= kPrefixLength || ownName == nullptr) {
        return false;
    }
    std::size_t i = 0;
    for (; i < length; ++i) {
        const char expected = recordName[i] == ' ' ? '_' : recordName[i];
        if (ownName[i] != expected) {
            return false;
        }
    }
    for (std::size_t j = i; ownName[j] != '\0'; ++j) {
        if (ownName[j] < '0' || ownName[j] > '9') {
            return false;
        }
    }
    if (labelLength != nullptr) {
        *labelLength = length - kPrefixLength;
    }
    return true;
}

bool ReadWalkerIdentity(const char* path, const char* ownName, WalkerIdentity& identity) {
    identity = NeutralIdentity(ownName);
    CrewExchangeRecord record{};
    PlatformFile* file = FileOpen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    const std::size_t got = FileRead(file, &record, sizeof record);
    FileClose(file);
    std::size_t labelLength = 0;
    if (got != sizeof record ||
        !RecordNamesVessel(record.vesselName, sizeof record.vesselName, ownName, &labelLength)) {
        return false;
    }
    identity.age = record.age;
    identity.pulse = record.pulse;
    identity.weight = record.weight;
    identity.labelLength = labelLength;
    const std::size_t meshLength = BoundedLength(record.mesh, sizeof record.mesh);
    if (meshLength > 0 && meshLength < sizeof record.mesh) {
        std::snprintf(identity.mesh, sizeof identity.mesh, "%s", record.mesh);
    }
    return true;
}

int FormatWalkerLine(char* out, std::size_t size, const char* ownName, std::size_t labelLength,
                     int age) {
    if (out == nullptr || size == 0) {
        return 0;
    }
    char label[64] = {};
    const char* from =
        ownName != nullptr && std::strlen(ownName) > kPrefixLength ? ownName + kPrefixLength : "";
    std::size_t kept = BoundedLength(from, labelLength);
    if (kept > sizeof label - 1) {
        kept = sizeof label - 1;
    }
    for (std::size_t i = 0; i < kept; ++i) {
        label[i] = from[i] == '_' ? ' ' : from[i];
    }
    const char* hyphen = std::strchr(label, '-');
    int written = 0;
    if (hyphen != nullptr) {
        const int tagLength = static_cast<int>(hyphen - label);
        written = std::snprintf(out, size, "%s (%.*s) aged %d - arrows walk, PgUp/PgDn climb",
                                hyphen + 1, tagLength, label, age);
    } else {
        written = std::snprintf(out, size, "%s aged %d - arrows walk, PgUp/PgDn climb", label, age);
    }
    if (written < 0) {
        out[0] = '\0';
        return 0;
    }
    return written < static_cast<int>(size) ? written : static_cast<int>(size) - 1;
}

} // namespace ckit
