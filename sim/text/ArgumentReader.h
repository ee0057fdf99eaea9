// The arguments of one scenario statement or script command, read left to right. A refusal
// names the statement and, unless it takes a single value, which argument was bad; the
// scenario and script readers word their refusals alike because users meet both.
#pragma once

#include <string>
#include <string_view>

#include "sim/text/Bounds.h"
#include "sim/text/NumberText.h"
#include "sim/text/TextWords.h"

namespace vx::text {

class ArgumentReader {
public:
    // single: the statement's one value needs no name in a refusal ("TIME: 'x' is not...").
    ArgumentReader(std::string_view statement, WordReader& words, bool single, std::string& reason)
        : statement_(statement), words_(words), single_(single), reason_(reason) {}

    bool word(std::string_view field, std::string& value) {
        const std::string_view w = words_.next();
        if (w.empty())
            return missing(field);
        value = w;
        return took(field, w);
    }

    bool number(std::string_view field, double& value, const bounds::Range& range) {
        const std::string_view w = words_.next();
        if (w.empty())
            return missing(field);
        const NumberRead read = readNumber(w, value);
        if (read == NumberRead::NotANumber)
            return bad(field, w, "is not a number");
        if (read == NumberRead::OutOfRange || !bounds::within(range, value))
            return bad(field, w, std::string("is out of range, ") + range.text);
        return took(field, w);
    }

    bool whole(std::string_view field, long long& value, const bounds::Range& range) {
        const std::string_view w = words_.next();
        if (w.empty())
            return missing(field);
        const NumberRead read = readInteger(w, value);
        if (read == NumberRead::NotANumber)
            return bad(field, w, "is not a whole number");
        if (read == NumberRead::OutOfRange || !bounds::within(range, static_cast<double>(value)))
            return bad(field, w, std::string("is out of range, ") + range.text);
        return took(field, w);
    }

    // For a check after number(): quotes the value as it was written.
    bool badLast(std::string_view field, const std::string& what) {
        return bad(field, lastWord_, what);
    }

    bool end() {
        if (words_.empty())
            return true;
        std::string what = "unexpected " + quoted(words_.next());
        if (!last_.empty()) {
            what += " after ";
            what += last_;
        }
        return fail(what);
    }

    bool fail(const std::string& what) {
        reason_ = statement_;
        reason_ += ": ";
        reason_ += what;
        return false;
    }

protected:
    bool missing(std::string_view field) { return fail("missing " + std::string(field)); }

    bool bad(std::string_view field, std::string_view w, const std::string& what) {
        std::string text;
        if (!single_) {
            text = field;
            text += ' ';
        }
        text += quoted(w);
        text += ' ';
        text += what;
        return fail(text);
    }

    bool took(std::string_view field, std::string_view w) {
        last_ = field;
        lastWord_ = w;
        return true;
    }

    std::string_view statement_; // the key or command a refusal starts with
    WordReader& words_;          // the words not yet read
    bool single_;                // refusals leave the field's name out
    std::string& reason_;        // where a refusal is written
    std::string_view last_;      // the field read last, for "unexpected X after FIELD"
    std::string_view lastWord_;  // its word as written
};

} // namespace vx::text
