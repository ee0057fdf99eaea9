#include "sim/text/HostLine.h"

#include <climits>

#include "sim/text/Bounds.h"
#include "sim/text/NumberText.h"
#include "sim/text/TextWords.h"

namespace vx {

namespace {

using text::quoted;
using text::WordReader;

struct KeyName {
    HostLineKind kind;
    const char* key;
    const bounds::Range* range; // of each number of a vector
};

constexpr KeyName keyNames[] = {
    {HostLineKind::Pos, "POS", &bounds::kPosition}, {HostLineKind::Vel, "VEL", &bounds::kVelocity},
    {HostLineKind::Ori, "ORI", &bounds::kAngle},    {HostLineKind::Avel, "AVEL", &bounds::kSpin},
    {HostLineKind::Status, "STATUS", nullptr},      {HostLineKind::Dock, "DOCK", nullptr},
};

class ValueReader {
public:
    ValueReader(const char* key, WordReader& words, std::string& reason)
        : key_(key), words_(words), reason_(reason) {}

    bool vector(VECTOR3& v, const bounds::Range& range) {
        double* const parts[] = {&v.x, &v.y, &v.z};
        for (int i = 0; i < 3; ++i) {
            const std::string_view word = words_.next();
            if (word.empty())
                return fail("needs 3 numbers, got " + std::to_string(i));
            const NumberRead read = readNumber(word, *parts[i]);
            if (read == NumberRead::NotANumber)
                return fail(quoted(word) + " is not a number");
            if (read == NumberRead::OutOfRange || !bounds::within(range, *parts[i]))
                return fail(quoted(word) + " is out of range, " + range.text);
        }
        return end("the 3 numbers");
    }

    bool port(const char* which, int& value) {
        const std::string_view word = words_.next();
        if (word.empty())
            return fail(std::string("missing ") + which + " port");
        long long parsed = 0;
        const NumberRead read = readInteger(word, parsed);
        if (read == NumberRead::NotANumber)
            return fail(std::string(which) + " port " + quoted(word) + " is not a whole number");
        if (read == NumberRead::OutOfRange || parsed < 0 || parsed > INT_MAX)
            return fail(std::string(which) + " port " + quoted(word) +
                        " is out of range, 0 .. 2147483647");
        value = static_cast<int>(parsed);
        return true;
    }

    bool status(int& value) {
        const std::string_view word = words_.next();
        if (word.empty())
            return fail("missing FLIGHT or LANDED");
        if (word == "FLIGHT")
            value = 0;
        else if (word == "LANDED")
            value = 1;
        else
            return fail(quoted(word) + " is neither FLIGHT nor LANDED");
        return end(word);
    }

    bool end(std::string_view after) {
        if (words_.empty())
            return true;
        return fail("unexpected " + quoted(words_.next()) + " after " + std::string(after));
    }

    bool fail(const std::string& what) {
        reason_ = std::string(key_) + ": " + what;
        return false;
    }

private:
    const char* key_;
    WordReader& words_;
    std::string& reason_;
};

} // namespace

HostLineResult parseHostLine(std::string_view line, HostLine& out, std::string& reason) {
    WordReader words(line);
    const std::string_view key = words.next();
    const KeyName* found = nullptr;
    for (const KeyName& k : keyNames) {
        if (key == k.key)
            found = &k;
    }
    if (found == nullptr)
        return HostLineResult::NotHost;

    HostLine parsed;
    parsed.kind = found->kind;
    ValueReader values(found->key, words, reason);
    bool ok = false;
    switch (found->kind) {
    case HostLineKind::Pos:
    case HostLineKind::Vel:
    case HostLineKind::Ori:
    case HostLineKind::Avel:
        ok = values.vector(parsed.value, *found->range);
        break;
    case HostLineKind::Status:
        ok = values.status(parsed.status);
        break;
    case HostLineKind::Dock:
        ok = values.port("own", parsed.ownPort) && values.port("other", parsed.otherPort);
        if (ok && words.empty())
            ok = values.fail("missing the other vessel's name");
        if (ok)
            parsed.otherName = words.rest();
        break;
    }
    if (!ok)
        return HostLineResult::Bad;
    out = std::move(parsed);
    return HostLineResult::Parsed;
}

std::string formatHostValue(const HostLine& line) {
    std::string out;
    switch (line.kind) {
    case HostLineKind::Pos:
    case HostLineKind::Vel:
    case HostLineKind::Ori:
    case HostLineKind::Avel:
        appendVector(out, line.value);
        break;
    case HostLineKind::Status:
        out = line.status == 0 ? "FLIGHT" : "LANDED";
        break;
    case HostLineKind::Dock:
        out = std::to_string(line.ownPort) + ' ' + std::to_string(line.otherPort) + ' ' +
              line.otherName;
        break;
    }
    return out;
}

const char* hostLineKey(HostLineKind kind) {
    for (const KeyName& k : keyNames) {
        if (k.kind == kind)
            return k.key;
    }
    return "";
}

} // namespace vx
