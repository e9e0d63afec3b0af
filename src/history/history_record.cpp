#include "history/history_record.h"

#include <charconv>
#include <cstdio>
#include <limits>
#include <map>
#include <variant>

#include <nlohmann/json.hpp>

namespace tapster {

namespace {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t days_from_civil(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t year_of_era = year - era * 400;
    const int shifted_month = month > 2 ? month - 3 : month + 9;
    const std::int64_t day_of_year = (153 * shifted_month + 2) / 5 + day - 1;
    const std::int64_t day_of_era =
        year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

bool leap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int days_in_month(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leap(year) ? 29 : kDays[month - 1];
}

// Reads exactly `digits` decimal digits at `at`.
bool digits_at(std::string_view text, std::size_t at, std::size_t digits, int& out) {
    if (at + digits > text.size()) {
        return false;
    }
    out = 0;
    for (std::size_t index = at; index < at + digits; ++index) {
        if (text[index] < '0' || text[index] > '9') {
            return false;
        }
        out = out * 10 + (text[index] - '0');
    }
    return true;
}

using Value = std::variant<std::string, bool, std::int64_t>;

// Takes one flat JSON object apart, refusing anything nested: no line, however it was made,
// can then cost more than its length.
class FlatObject : public nlohmann::json_sax<nlohmann::json> {
  public:
    std::map<std::string, Value, std::less<>> fields;

    bool null() override { return skip(); }
    bool boolean(bool value) override { return keep(value); }
    bool number_integer(number_integer_t value) override {
        return keep(static_cast<std::int64_t>(value));
    }
    bool number_unsigned(number_unsigned_t value) override {
        return value <= static_cast<number_unsigned_t>(std::numeric_limits<std::int64_t>::max())
                   ? keep(static_cast<std::int64_t>(value))
                   : skip();
    }
    bool number_float(number_float_t, const string_t&) override { return skip(); }
    bool string(string_t& value) override { return keep(std::move(value)); }
    bool binary(binary_t&) override { return false; }
    bool start_object(std::size_t) override { return !std::exchange(opened_, true); }
    bool key(string_t& name) override {
        key_ = std::move(name);
        return true;
    }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return false; }
    bool end_array() override { return false; }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

  private:
    bool keep(Value value) {
        fields.insert_or_assign(key_, std::move(value));
        return true;
    }
    bool skip() { return true; }

    std::string key_;
    bool opened_ = false;
};

template <typename T>
const T* field(const FlatObject& object, std::string_view name) {
    const auto found = object.fields.find(name);
    return found == object.fields.end() ? nullptr : std::get_if<T>(&found->second);
}

}  // namespace

std::int64_t utc_seconds(const platform::LocalTime& time) {
    return days_from_civil(time.year, time.month, time.day) * 86400 + time.hour * 3600 +
           time.minute * 60 + time.second - std::int64_t{time.utc_offset_minutes} * 60;
}

std::string iso_text(const platform::LocalTime& time) {
    const int offset = time.utc_offset_minutes;
    const int magnitude = offset < 0 ? -offset : offset;
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", time.year,
                  time.month, time.day, time.hour, time.minute, time.second, offset < 0 ? '-' : '+',
                  magnitude / 60, magnitude % 60);
    return text;
}

std::optional<platform::LocalTime> parse_iso_text(std::string_view text) {
    // yyyy-mm-ddThh:mm:ss+hh:mm, or Z for UTC
    platform::LocalTime time;
    if (!digits_at(text, 0, 4, time.year) || text.substr(4, 1) != "-" ||
        !digits_at(text, 5, 2, time.month) || text.substr(7, 1) != "-" ||
        !digits_at(text, 8, 2, time.day) || text.substr(10, 1) != "T" ||
        !digits_at(text, 11, 2, time.hour) || text.substr(13, 1) != ":" ||
        !digits_at(text, 14, 2, time.minute) || text.substr(16, 1) != ":" ||
        !digits_at(text, 17, 2, time.second)) {
        return std::nullopt;
    }
    if (time.month < 1 || time.month > 12 || time.day < 1 ||
        time.day > days_in_month(time.year, time.month) || time.hour > 23 || time.minute > 59 ||
        time.second > 59) {
        return std::nullopt;
    }
    const std::string_view zone = text.substr(19);
    if (zone == "Z") {
        return time;
    }
    int hours = 0;
    int minutes = 0;
    if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || !digits_at(zone, 1, 2, hours) ||
        zone[3] != ':' || !digits_at(zone, 4, 2, minutes) || hours > 18 || minutes > 59) {
        return std::nullopt;
    }
    time.utc_offset_minutes = (zone[0] == '-' ? -1 : 1) * (hours * 60 + minutes);
    return time;
}

std::string history_line(const HistoryRecord& record) {
    const PressReport& press = record.press;
    nlohmann::ordered_json line;
    line["time"] = iso_text(record.time);
    if (record.count > 1) {
        line["last"] = iso_text(record.last);
    }
    line["count"] = record.count;
    line["outcome"] = press.refused ? "refused" : "pressed";
    line["program"] = press.program;
    line["title"] = press.title;
    line["button"] = press.button;
    line["kind"] = press.drawn ? "drawn" : "classic";
    line["forced"] = press.forced;
    line["set_by"] = press.managed ? "administrator" : "user";
    line["target"] = press.entry;
    // A text that is not UTF-8 has its bad bytes replaced rather than the record lost.
    return line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<HistoryRecord> parse_history_line(std::string_view line) {
    FlatObject object;
    if (!nlohmann::json::sax_parse(line.begin(), line.end(), &object)) {
        return std::nullopt;
    }
    const auto* time = field<std::string>(object, "time");
    const auto* outcome = field<std::string>(object, "outcome");
    if (time == nullptr || outcome == nullptr || (*outcome != "pressed" && *outcome != "refused")) {
        return std::nullopt;
    }
    HistoryRecord record;
    const auto first = parse_iso_text(*time);
    if (!first) {
        return std::nullopt;
    }
    record.time = *first;
    record.last = *first;
    if (const auto* last = field<std::string>(object, "last")) {
        const auto parsed = parse_iso_text(*last);
        if (!parsed) {
            return std::nullopt;
        }
        record.last = *parsed;
    }
    if (const auto* count = field<std::int64_t>(object, "count")) {
        if (*count < 1 || *count > std::numeric_limits<int>::max()) {
            return std::nullopt;
        }
        record.count = static_cast<int>(*count);
    }
    if (record.count == 1) {
        record.last = record.time;  // a single press has no run to end
    }
    PressReport& press = record.press;
    press.refused = *outcome == "refused";
    for (const auto& [name, text] :
         {std::pair{"program", &press.program}, std::pair{"title", &press.title},
          std::pair{"button", &press.button}, std::pair{"target", &press.entry}}) {
        if (const auto* value = field<std::string>(object, name)) {
            *text = *value;
        }
    }
    if (const auto* kind = field<std::string>(object, "kind")) {
        press.drawn = *kind == "drawn";
    }
    if (const auto* forced = field<bool>(object, "forced")) {
        press.forced = *forced;
    }
    if (const auto* set_by = field<std::string>(object, "set_by")) {
        press.managed = *set_by == "administrator";
    }
    return record;
}

}  // namespace tapster
