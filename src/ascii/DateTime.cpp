#include "ascii/DateTime.h"

#include <cstdint>

#include "platform/AsciiText.h"

namespace corvane {
namespace {

class CCursor {
 public:
  explicit CCursor(std::string_view text) : m_text(text) {}
  bool AtEnd() const noexcept { return m_pos >= m_text.size(); }
  char Peek() const noexcept { return AtEnd() ? '\0' : m_text[m_pos]; }
  bool Take(char c) noexcept {
    if (Peek() != c) return false;
    ++m_pos;
    return true;
  }
  // Exactly `count` digits (count 0: one or two).
  bool Digits(int count, int& value) noexcept {
    const std::size_t begin = m_pos;
    value = 0;
    const std::size_t most = count == 0 ? 2 : static_cast<std::size_t>(count);
    while (!AtEnd() && IsAsciiDigit(Peek()) && m_pos - begin < most)
      value = value * 10 + (m_text[m_pos++] - '0');
    const std::size_t got = m_pos - begin;
    return count == 0 ? got >= 1 : got == static_cast<std::size_t>(count);
  }
  std::string_view Rest() const noexcept { return m_text.substr(m_pos); }
  std::size_t Position() const noexcept { return m_pos; }

 private:
  std::string_view m_text;
  std::size_t m_pos = 0;
};

bool IsLeapYear(int year) noexcept { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) noexcept {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to the date (proleptic Gregorian calendar).
std::int64_t DaysFromCivil(int year, int month, int day) noexcept {
  const int y = year - (month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int mp = month > 2 ? month - 3 : month + 9;
  const int doy = (153 * mp + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return static_cast<std::int64_t>(era) * 146097 + doe - 719468;
}

void AppendTwo(std::string& out, int value) {
  out.push_back(static_cast<char>('0' + value / 10 % 10));
  out.push_back(static_cast<char>('0' + value % 10));
}

}  // namespace

std::optional<CDateTime> ParseDateTime(std::string_view text) {
  CCursor in(TrimCSpace(text));
  int year = 0;
  int month = 0;
  int day = 0;
  int first = 0;
  // Year first (ISO, or with slashes) or day first.
  if (in.Digits(4, first)) {
    const char mark = in.Peek();
    if ((mark != '-' && mark != '/') || !in.Take(mark) || !in.Digits(2, month) || !in.Take(mark) ||
        !in.Digits(2, day))
      return std::nullopt;
    year = first;
  } else {
    CCursor again(TrimCSpace(text));
    if (!again.Digits(0, day)) return std::nullopt;
    const char mark = again.Peek();
    if ((mark != '/' && mark != '.' && mark != '-') || !again.Take(mark) || !again.Digits(0, month) ||
        !again.Take(mark) || !again.Digits(4, year))
      return std::nullopt;
    in = again;
  }
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return std::nullopt;

  int hour = 0;
  int minute = 0;
  int second = 0;
  std::string_view fraction;
  bool hasTime = false;
  if (in.Peek() == 'T' || in.Peek() == ' ') {
    in.Take(in.Peek());
    while (in.Peek() == ' ') in.Take(' ');
    if (!in.Digits(0, hour) || !in.Take(':') || !in.Digits(2, minute)) return std::nullopt;
    hasTime = true;
    if (in.Take(':')) {
      if (!in.Digits(2, second)) return std::nullopt;
      if (in.Peek() == '.' || in.Peek() == ',') {
        in.Take(in.Peek());
        const std::string_view rest = in.Rest();
        std::size_t n = 0;
        while (n < rest.size() && IsAsciiDigit(rest[n])) ++n;
        if (n == 0) return std::nullopt;
        fraction = rest.substr(0, n);
        for (std::size_t i = 0; i < n; ++i) in.Take(rest[i]);
      }
    }
    if (hour > 23 || minute > 59 || second > 60) return std::nullopt;
  }
  // "Z", or an offset from UTC: +hh, +hhmm or +hh:mm.
  int offsetMinutes = 0;
  std::string zone;
  if (hasTime && in.Take('Z')) {
    zone = "Z";
  } else if (hasTime && (in.Peek() == '+' || in.Peek() == '-')) {
    const bool negative = in.Peek() == '-';
    in.Take(in.Peek());
    int oh = 0;
    int om = 0;
    if (!in.Digits(2, oh)) return std::nullopt;
    // Minutes after a colon, or straight after the hours; none at the end.
    const bool colon = in.Take(':');
    if ((colon || !in.AtEnd()) && !in.Digits(2, om)) return std::nullopt;
    if (oh > 23 || om > 59) return std::nullopt;
    offsetMinutes = (negative ? -1 : 1) * (oh * 60 + om);
    zone.push_back(negative ? '-' : '+');
    AppendTwo(zone, oh);
    zone.push_back(':');
    AppendTwo(zone, om);
  }
  if (!in.AtEnd()) return std::nullopt;

  CDateTime result;
  double fractionValue = 0;
  double scale = 0.1;
  for (char c : fraction) {
    fractionValue += (c - '0') * scale;
    scale /= 10;
  }
  const std::int64_t whole =
      DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second - offsetMinutes * 60;
  result.seconds = static_cast<double>(whole) + fractionValue;

  std::string& iso = result.iso;
  iso.push_back(static_cast<char>('0' + year / 1000 % 10));
  iso.push_back(static_cast<char>('0' + year / 100 % 10));
  AppendTwo(iso, year % 100);
  iso.push_back('-');
  AppendTwo(iso, month);
  iso.push_back('-');
  AppendTwo(iso, day);
  iso.push_back('T');
  AppendTwo(iso, hour);
  iso.push_back(':');
  AppendTwo(iso, minute);
  iso.push_back(':');
  AppendTwo(iso, second);
  if (!fraction.empty()) {
    iso.push_back('.');
    iso.append(fraction);
  }
  iso.append(zone);
  return result;
}

}  // namespace corvane
