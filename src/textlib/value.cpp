#include "textlib/value.h"

#include <charconv>
#include <cstdio>

namespace qw {
namespace {

template <typename F>
std::string FloatText(F f) {
  char buf[64];
  // The shortest form that reads back the same value, as the classic run-time prints it.
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, f);
  return ec == std::errc() ? std::string(buf, end) : std::string();
}

struct TextOf {
  std::string operator()(const Nothing&) const { return {}; }
  std::string operator()(const Null&) const { return {}; }
  std::string operator()(std::int16_t v) const { return std::to_string(v); }
  std::string operator()(std::int32_t v) const { return std::to_string(v); }
  std::string operator()(float v) const { return FloatText(v); }
  std::string operator()(double v) const { return FloatText(v); }
  std::string operator()(const Currency& c) const {
    return FloatText(static_cast<double>(c.ten_thousandths) / 10000.0);
  }
  std::string operator()(const std::string& s) const { return s; }
  std::string operator()(const Date& d) const {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d/%d/%d", d.month, d.day, d.year);
    return buf;
  }
  std::string operator()(const Flag& f) const { return f.value ? "True" : "False"; }
};

}  // namespace

std::string ToText(const Value& v) { return std::visit(TextOf{}, v); }

}  // namespace qw
