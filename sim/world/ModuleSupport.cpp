// What a module calls while it starts: InitLib from its entry routine and Date2Int for its
// version, both counted.
#include <array>
#include <cstring>
#include <string_view>

#include "host/Vapi.h"
#include "sim/world/HostStats.h"

namespace vx {

HostStats& hostStats() {
    static HostStats stats;
    return stats;
}

} // namespace vx

void InitLib(HINSTANCE module) {
    vx::HostStats& stats = vx::hostStats();
    ++stats.initLibCalls;
    stats.lastInitLibModule = module;
}

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

int Date2Int(const char* date) {
    ++vx::hostStats().date2IntCalls;
    if (date == nullptr) {
        return 0;
    }
    // "Mmm dd yyyy"; a day below 10 may also be written with a blank for its first digit.
    const std::string_view text(date);
    if (text.size() != 11 || text[3] != ' ' || text[6] != ' ') {
        return 0;
    }
    static constexpr std::array<std::string_view, 12> months = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    int month = 0;
    for (std::size_t i = 0; i < months.size(); ++i) {
        if (text.substr(0, 3) == months[i]) {
            month = static_cast<int>(i) + 1;
        }
    }
    const char tens = text[4] == ' ' ? '0' : text[4];
    if (month == 0 || !isDigit(tens) || !isDigit(text[5])) {
        return 0;
    }
    const int day = (tens - '0') * 10 + (text[5] - '0');
    int year = 0;
    for (std::size_t i = 7; i < 11; ++i) {
        if (!isDigit(text[i])) {
            return 0;
        }
        year = year * 10 + (text[i] - '0');
    }
    if (day < 1 || day > 31) {
        return 0;
    }
    return year * 10000 + month * 100 + day;
}
