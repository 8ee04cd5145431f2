// Value: the loosely typed value that IsEmptyValue, IsAlpha and IsDigit take,
// in the manner of a classic Basic variant: nothing (no value assigned), null,
// one of the numeric kinds, a string, a date or a flag.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace qw {

struct Nothing {
  bool operator==(const Nothing&) const = default;
};
struct Null {
  bool operator==(const Null&) const = default;
};
// A currency amount in ten-thousandths (the classic fixed-point currency).
struct Currency {
  std::int64_t ten_thousandths = 0;
  bool operator==(const Currency&) const = default;
};
// A calendar date.
struct Date {
  int year = 1899, month = 12, day = 30;
  bool operator==(const Date&) const = default;
};
// A flag; true is -1 in the design's 16-bit form.
struct Flag {
  bool value = false;
  bool operator==(const Flag&) const = default;
};

using Value = std::variant<Nothing, Null, std::int16_t, std::int32_t, float, double, Currency,
                           std::string, Date, Flag>;

// The program's empty date, 1 January 1901.
inline constexpr Date kEmptyDate{1901, 1, 1};

// The string form of a value, as the classic run-time converts it: numbers in
// shortest decimal form ("0", "-2.5"), dates as "M/D/YYYY", flags as "True" or
// "False", nothing and null as the empty string.
std::string ToText(const Value& v);

}  // namespace qw
