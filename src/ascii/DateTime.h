#pragma once
// Date-times in the cells of a column: ISO 8601 ("2013-12-12T03:00:00", a blank for the
// T, "2013-12-12", an optional fraction of a second and "Z" or an offset) and the
// day/month/year forms ("12/12/2013 03:00", "12.12.2013", "12-12-2013 03:00:00").
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

struct CDateTime {
  double seconds = 0;  // since 1970-01-01 00:00:00, less the offset when one is given
  std::string iso;     // the same instant as written: "2013-12-12T03:00:00" (fraction and offset kept)
};

// The date-time a whole cell holds (blanks around it aside), or none. Month, day and
// time must be real ones (no 31 April, no 25:00; second 60 is a leap second).
std::optional<CDateTime> ParseDateTime(std::string_view text);

}  // namespace corvane
