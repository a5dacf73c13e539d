// Dates and times as a format shows a serial number: days since the workbook's epoch, the time as
// the fraction of a day.
#include <array>
#include <cmath>
#include <cstdint>

#include "xlsx/format/format_sections.h"

namespace tongqiu::table::format {
namespace {

// The last day a spreadsheet shows, 9999-12-31; beyond it (either way) no date is shown.
constexpr double kLastSerial = 2'958'466;
constexpr std::int64_t kSecondsPerDay = 86'400;
// Days from 1970-01-01 to the days the two systems count from: 1899-12-30 (so that 1900-03-01 is
// 61, as in a spreadsheet) and 1904-01-01.
constexpr std::int64_t kEpoch1900 = -25'569;
constexpr std::int64_t kEpoch1904 = -24'107;

constexpr std::array<std::string_view, 7> kWeekdays{"日", "一", "二", "三", "四", "五", "六"};

struct Civil {
    std::int64_t year = 0;
    int month = 0;
    int day = 0;
    int weekday = 0;  // 0 Sunday
};

// The civil date of a day counted from 1970-01-01 (Howard Hinnant's algorithm).
Civil FromDays(std::int64_t days) {
    const std::int64_t z = days + 719'468;
    const std::int64_t era = (z >= 0 ? z : z - 146'096) / 146'097;
    const auto doe = static_cast<unsigned>(z - era * 146'097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36'524 - doe / 146'096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const auto month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const auto weekday = static_cast<int>(days >= -4 ? (days + 4) % 7 : (days + 5) % 7 + 6);
    return {static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2 ? 1 : 0), month,
            static_cast<int>(doy - (153 * mp + 2) / 5 + 1), weekday};
}

// The 1900 system counts 29 February 1900, a day that never was, as Lotus 1-2-3 did: its days 1
// to 59 are one later than the calendar's, and day 60 is that day.
Civil DateOf(std::int64_t days, bool date1904) {
    if (date1904) return FromDays(kEpoch1904 + days);
    if (days < 1 || days > 60) return FromDays(kEpoch1900 + days);
    Civil civil = days == 60 ? Civil{1900, 2, 29, 0} : FromDays(kEpoch1900 + days + 1);
    civil.weekday = static_cast<int>((days + 6) % 7);
    return civil;
}

std::string Padded(std::int64_t number, int width) {
    std::string text = std::to_string(number);
    if (static_cast<int>(text.size()) < width) {
        text.insert(0, static_cast<std::size_t>(width - static_cast<int>(text.size())), '0');
    }
    return text;
}

}  // namespace

std::string ShowDateTime(const Section& section, double value, bool date1904) {
    if (!(std::fabs(value) < kLastSerial)) return "#####";
    // The value rounded to the smallest unit shown, then cut into days, hours, ...
    int places = std::min(section.secondDigits, 3);
    std::int64_t unitsPerSecond = 1;
    for (int i = 0; i < places; ++i) unitsPerSecond *= 10;
    const std::int64_t unitsPerDay = kSecondsPerDay * unitsPerSecond;
    std::int64_t units = std::llround(value * static_cast<double>(unitsPerDay));
    const bool elapsed =
        std::any_of(section.items.begin(), section.items.end(), [](const Item& item) {
            return item.token == Token::ElapsedHours || item.token == Token::ElapsedMinutes ||
                   item.token == Token::ElapsedSeconds;
        });
    // An elapsed time below zero is shown as its length with a minus.
    const bool negative = elapsed && units < 0;
    if (negative) units = -units;
    std::int64_t days = units / unitsPerDay;
    std::int64_t rest = units % unitsPerDay;
    if (rest < 0) {
        rest += unitsPerDay;
        --days;
    }
    const std::int64_t fraction = rest % unitsPerSecond;
    const std::int64_t second = rest / unitsPerSecond;
    const std::int64_t seconds = units / unitsPerSecond;
    const Civil date = DateOf(days, date1904);
    const auto number = [&](std::int64_t n, int width, bool digitByDigit = false) {
        std::string text = Padded(n, width);
        if (section.numerals == 0) return text;
        if (section.numerals == 3) return Numerals(text, 3, false);
        return Numerals(digitByDigit ? text : std::to_string(n), section.numerals, !digitByDigit,
                        false);
    };
    std::string text = negative ? "-" : "";
    for (const Item& item : section.items) {
        const int hour = static_cast<int>(second / 3600);
        const int twelve = hour % 12 == 0 ? 12 : hour % 12;
        switch (item.token) {
            case Token::Year2:
                text += number(((date.year % 100) + 100) % 100, 2);
                break;
            case Token::Year4:
                text += number(date.year, 4, true);
                break;
            case Token::Month:
            case Token::Month2:
                text += number(date.month, item.token == Token::Month ? 1 : 2);
                break;
            case Token::MonthShort:
                text += number(date.month, 1) + "月";
                break;
            case Token::MonthLong:
            case Token::MonthLetter: {
                const std::string name = Numerals(std::to_string(date.month), 1, true, false);
                text += item.token == Token::MonthLong ? name + "月" : name.substr(0, 3);
                break;
            }
            case Token::Day:
            case Token::Day2:
                text += number(date.day, item.token == Token::Day ? 1 : 2);
                break;
            case Token::WeekdayShort:
            case Token::WeekdayLong:
                if (item.token == Token::WeekdayLong) text += "星期";
                text += kWeekdays[static_cast<std::size_t>(date.weekday)];
                break;
            case Token::Hour:
            case Token::Hour2:
                text +=
                    number(section.twelveHour ? twelve : hour, item.token == Token::Hour ? 1 : 2);
                break;
            case Token::Minute:
            case Token::Minute2:
                text += number(second / 60 % 60, item.token == Token::Minute ? 1 : 2);
                break;
            case Token::Second:
            case Token::Second2:
                text += number(second % 60, item.token == Token::Second ? 1 : 2);
                break;
            case Token::ElapsedHours:
                text += number(seconds / 3600, item.width);
                break;
            case Token::ElapsedMinutes:
                text += number(seconds / 60, item.width);
                break;
            case Token::ElapsedSeconds:
                text += number(seconds, item.width);
                break;
            case Token::SecondFraction:
                text += '.';
                text += Padded(fraction, places).substr(0, static_cast<std::size_t>(item.width));
                break;
            case Token::AmPm:
                text +=
                    item.text == "A/P" ? (hour < 12 ? "A" : "P") : (hour < 12 ? "上午" : "下午");
                break;
            default:
                text += item.text;
        }
    }
    return text;
}

std::string Numerals(std::string_view digits, int style, bool count, bool leadingTen) {
    static constexpr std::array<std::string_view, 10> kLower{"〇", "一", "二", "三", "四",
                                                             "五", "六", "七", "八", "九"};
    static constexpr std::array<std::string_view, 10> kUpper{"零", "壹", "贰", "叁", "肆",
                                                             "伍", "陆", "柒", "捌", "玖"};
    static constexpr std::array<std::string_view, 4> kLowerUnits{"", "十", "百", "千"};
    static constexpr std::array<std::string_view, 4> kUpperUnits{"", "拾", "佰", "仟"};
    static constexpr std::array<std::string_view, 4> kGroups{"", "万", "亿", "兆"};
    const auto& names = style == 2 ? kUpper : kLower;
    const auto& units = style == 2 ? kUpperUnits : kLowerUnits;
    std::string text;
    const auto digit = [](char c) { return static_cast<std::size_t>(c - '0'); };
    if (count && style != 3) {
        digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
    }
    if (style == 3 || !count || digits.size() > 16) {
        for (const char c : digits) {
            if (c < '0' || c > '9') {
                text += c;
            } else if (style == 3) {
                text += "\xEF\xBC";  // the full-width digits, U+FF10 on
                text += static_cast<char>(0x90 + (c - '0'));
            } else {
                text += names[digit(c)];
            }
        }
        return text.empty() && count ? std::string(names[0]) : text;
    }
    if (digits.empty()) return std::string(names[0]);
    bool zero = false;  // a zero to write before the next digit
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const std::size_t place = digits.size() - 1 - i;
        const std::size_t d = digit(digits[i]);
        if (d == 0) {
            zero = true;
        } else {
            if (zero && !text.empty()) text += names[0];
            zero = false;
            if (!(d == 1 && place % 4 == 1 && text.empty() && !leadingTen)) text += names[d];
            text += units[place % 4];
        }
        if (place % 4 == 0 && place > 0) {
            // A group's name after a group with digits; a zero carried over a group that ends in
            // zeros is dropped, one that starts with them is written.
            const std::size_t start = i >= 3 ? i - 3 : 0;
            if (digits.substr(start, i - start + 1).find_first_not_of('0') !=
                std::string_view::npos) {
                text += kGroups[place / 4];
                zero = false;
            }
        }
    }
    return text;
}

}  // namespace tongqiu::table::format

namespace tongqiu::table {

double DateSerial(int year, int month, int day, bool date1904) {
    // Days from 1970-01-01 (Howard Hinnant's days_from_civil), the inverse of FromDays.
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const std::int64_t days = era * 146'097 + doe - 719'468;
    std::int64_t serial = days - (date1904 ? format::kEpoch1904 : format::kEpoch1900);
    if (!date1904 && serial < 61) --serial;  // before the 29 February 1900 that 1900 counts
    return static_cast<double>(serial);
}

}  // namespace tongqiu::table
