// What a run that nobody watches finds worth a look: the newest pass's
// reasons at a level, and a newest pass too old, by a clock the test sets.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "app/unattended.h"
#include "report/model/calendar.h"

using namespace hkcsv;

namespace {

// Sets the C library's local time zone to `zone`, or with nullptr back to
// the machine's own.
void SetLocalZone(const char* zone) {
#ifdef _WIN32
  ::_putenv_s("TZ", zone ? zone : "");  // an empty value removes it
  ::_tzset();
#else
  if (zone) {
    ::setenv("TZ", zone, 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
#endif
}

TEST(Unattended, ReasonsAtTheLevelAskedAndPassesTooOld) {
  // 2019-12-31 08:19:06 JST is 2019-12-30 23:19:06 UTC.
  double jst = 0;
  ASSERT_TRUE(ParseGroundTime("2019/12/31", "08:19:06", jst));
  const std::vector<LatestPass> latest{
      {DownlinkFormat::kFM,
       "pass_20191231_0819.txt",
       jst,
       "JST",
       {{Level::kAlarm, "restarted since the previous pass"}, {Level::kNotice, "cut short"}}},
      {DownlinkFormat::kFSK, "undated.txt", std::nullopt, "JST", {{Level::kNotice, "date does not parse"}}},
  };
  const double now = jst - 9 * 3600 + 52.5 * 3600;  // 52 and a half hours later
  struct Case {
    UnattendedChecks checks;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {{}, {}},
      {{Level::kAlarm, std::nullopt}, {"FM pass_20191231_0819.txt: restarted since the previous pass"}},
      {{Level::kNotice, std::nullopt},
       {"FM pass_20191231_0819.txt: restarted since the previous pass", "FM pass_20191231_0819.txt: cut short",
        "FSK undated.txt: date does not parse"}},
      {{std::nullopt, 53.0}, {"FSK: no dated pass"}},
      {{std::nullopt, 52.0}, {"FM: no pass since 2019-12-31 08:19:06 JST (52 hours)", "FSK: no dated pass"}},
  };
  for (const Case& c : cases) EXPECT_EQ(UnattendedFindings(latest, c.checks, now), c.lines);
}

TEST(Unattended, APassTimeIsReadInItsZoneOrInLocalTime) {
  const double ground = 1547111730;  // 2019-01-10 09:15:30
  EXPECT_EQ(PassUtc(ground, "JST"), ground - 9 * 3600);
  EXPECT_EQ(PassUtc(ground, "-05:30"), ground + 5.5 * 3600);
  EXPECT_EQ(PassUtc(ground + 0.5, "UTC"), ground + 0.5);
  // A zone it does not know is read in the machine's local time.
  const char* const before = std::getenv("TZ");
  const std::string zone = before ? before : "";
  SetLocalZone("UTC-3");  // three hours east of Greenwich, as both C libraries read TZ
  EXPECT_EQ(PassUtc(ground, "MSK"), ground - 3 * 3600);
  SetLocalZone(before ? zone.c_str() : nullptr);
}

}  // namespace
