// What a run that nobody watches finds worth a look: the reasons of the
// passes it judges at a level, passes dated in the future, and a newest pass
// too old, by a clock the test sets.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "app/lone_console.h"
#include "app/progress_line.h"
#include "app/unattended.h"
#include "text/calendar.h"

using namespace hkcsv;

namespace {

constexpr double kHour = 3600;

double GroundTime(const char* date, const char* time) {
  double seconds = 0;
  EXPECT_TRUE(ParseGroundTime(date, time, seconds));
  return seconds;
}

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
  const double jst = GroundTime("2019/12/31", "08:19:06");
  const std::vector<Reason> alarm_and_notice{{Level::kAlarm, "restarted since the previous pass"},
                                             {Level::kNotice, "cut short"}};
  const std::vector<WeighedFormat> formats{
      {DownlinkFormat::kFM, false, false, {{"pass_20191231_0819.txt", jst, "JST", alarm_and_notice, false}}},
      {DownlinkFormat::kFSK,
       false,
       false,
       {{"undated.txt", std::nullopt, "JST", {{Level::kNotice, "date does not parse"}}, false}}},
  };
  const double now = jst - 9 * kHour + 52.5 * kHour;  // 52 and a half hours later
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
  for (const Case& c : cases) EXPECT_EQ(UnattendedFindings(formats, c.checks, now), c.lines);
}

// Which passes a run judges: with no list yet, the newest by the clock only;
// with one, every pass not on it, whatever it lacks. A pass dated in the
// future is a notice of its own and never the newest for --max-age.
TEST(Unattended, EveryPassNewSinceTheLastRunIsJudgedAndAFutureDateSilencesNothing) {
  const double now = GroundTime("2026/12/08", "12:00:00");  // UTC, as the passes' zone
  const std::vector<Reason> restarted{{Level::kAlarm, "restarted since the previous pass"}};
  const std::vector<Reason> no_frames{{Level::kAlarm, "no frames decoded"}};
  const std::vector<Reason> undated{{Level::kNotice, "date does not parse"}};
  // In listing order: a 100 hours ago; b 30 days ahead; c an hour ago with a
  // restart; d with nothing decoded and a date that does not parse, listed
  // after c: the newest by the clock.
  const WeighedPass a{"a.txt", now - 100 * kHour, "UTC", {}, false};
  const WeighedPass b{"b.txt", now + 720 * kHour, "UTC", {}, false};
  const WeighedPass c{"c.txt", now - kHour, "UTC", restarted, false};
  WeighedPass d{"d.txt", std::nullopt, "", no_frames, false};
  d.why.push_back(undated[0]);
  const auto fm = [](std::vector<WeighedPass> passes, bool judged_before) {
    return std::vector<WeighedFormat>{{DownlinkFormat::kFM, false, judged_before, std::move(passes)}};
  };
  WeighedPass a_judged = a;
  a_judged.judged = true;
  struct Case {
    const char* what;
    std::vector<WeighedFormat> formats;
    UnattendedChecks checks;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"first run: the newest by the clock, not the one dated in the future",
       fm({a, b, c}, false),
       {Level::kAlarm, 48.0},
       {"FM c.txt: restarted since the previous pass"}},
      {"first run: a newest pass with nothing decoded is judged",
       fm({a, b, c, d}, false),
       {Level::kAlarm, 48.0},
       {"FM d.txt: no frames decoded"}},
      {"with the list: every pass not on it, in listing order, and the future date as a notice",
       fm({a_judged, b, c}, true),
       {Level::kNotice, std::nullopt},
       {"FM b.txt: dated 720 hours in the future", "FM c.txt: restarted since the previous pass"}},
      {"with the list: two passes came, both judged",
       fm({a_judged, c, d}, true),
       {Level::kAlarm, std::nullopt},
       {"FM c.txt: restarted since the previous pass", "FM d.txt: no frames decoded"}},
      {"nothing came for 100 hours: the future date hides it not",
       fm({a, b}, false),
       {Level::kAlarm, 48.0},
       {"FM: no pass since 2026-12-04 08:00:00 UTC (100 hours)"}},
      {"an hour ahead is no future", fm({{"e.txt", now + kHour, "UTC", {}, false}}, true), {Level::kNotice, 1.0}, {}},
      {"no pass at all", fm({}, false), {std::nullopt, 48.0}, {"FM: no pass"}},
      {"only a pass dated in the future", fm({b}, false), {std::nullopt, 48.0}, {"FM: no dated pass"}},
      {"its folder went missing",
       {{DownlinkFormat::kFM, true, true, {}}},
       {Level::kAlarm, 48.0},
       {"FM: no pass to check: its folder is missing"}},
  };
  for (const Case& c : cases) EXPECT_EQ(UnattendedFindings(c.formats, c.checks, now), c.lines) << c.what;
}

// Passes logged in mixed zones: the newest is the newest in UTC.
TEST(Unattended, TheNewestPassOfMixedZonesIsTheNewestInUtc) {
  const double now = GroundTime("2026/12/08", "12:00:00");
  // 19:00 JST is 10:00 UTC, two hours ago: older than 11:00 UTC, an hour
  // ago, though later on the clock face. Taken for the newest, it would be
  // too old.
  const std::vector<WeighedFormat> formats{
      {DownlinkFormat::kFM,
       false,
       false,
       {{"utc.txt", now - kHour, "UTC", {}, false}, {"jst.txt", now + 7 * kHour, "JST", {}, false}}}};
  EXPECT_EQ(UnattendedFindings(formats, {std::nullopt, 1.5}, now), std::vector<std::string>{});
  EXPECT_EQ(UnattendedFindings(formats, {std::nullopt, 0.5}, now),
            std::vector<std::string>{"FM: no pass since 2026-12-08 11:00:00 UTC (1 hour)"});
}

// Alone on its console, hkreport.exe was double-clicked only when it has no
// argument: a scheduled task that starts it with its options neither opens a
// browser nor waits for Enter.
TEST(Unattended, AScheduledRunAloneOnItsConsoleNeitherOpensNorWaits) {
  struct Case {
    bool open_requested;
    unsigned console_processes;
    bool with_arguments;
    bool open_page, wait;
  };
  const Case cases[] = {
      {false, 1, false, true, true},    // a double-click
      {false, 1, true, false, false},   // a scheduled task with --fail-on
      {true, 1, true, true, false},     // --open asked, alone
      {false, 2, false, false, false},  // from a prompt
  };
  for (const Case& c : cases) {
    const RunEnding ending = DecideRunEnding(c.open_requested, c.console_processes, c.with_arguments);
    EXPECT_EQ(ending.open_page, c.open_page);
    EXPECT_EQ(ending.wait_for_enter, c.wait);
  }
}

// On a terminal the progress line rewrites itself, longer text blanked, and
// goes before another line; elsewhere nothing of it is written.
TEST(Unattended, TheProgressLineShowsOnlyOnATerminalAndLeavesNothing) {
  for (const bool terminal : {true, false}) {
    std::string written;
    OutputStream errors = OutputToMemory(&written, false);
    ProgressLine line{terminal};
    ShowProgress(line, errors, ProgressText("FM and FSK", RunStage::kReading, 10, 12), true);
    ShowProgress(line, errors, ProgressText("FM", RunStage::kWriting, 2, 12), true);
    ClearProgress(line, errors);
    ClearProgress(line, errors);  // nothing standing: nothing written
    Flush(errors);
    const std::string first = "hkreport: FM and FSK: 10 of 12 files read";
    const std::string second = "hkreport: FM: 2 of 12 pages written";
    EXPECT_EQ(written, terminal ? "\r" + first + "\r" + second + std::string(first.size() - second.size(), ' ') + "\r" +
                                      std::string(second.size(), ' ') + "\r"
                                : "");
  }
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
  // In summer, as the machine's rules have it: 12:00 in Central European
  // Summer Time is 10:00 UTC, not 11:00.
  SetLocalZone("CET-1CEST");  // summer time by the C library's default rules, which hold July
  const double july = GroundTime("2019/07/10", "12:00:00");
  EXPECT_EQ(PassUtc(july, "CEST"), july - 2 * 3600);
  EXPECT_EQ(PassUtc(ground, "CET"), ground - 3600);  // January: standard time
  SetLocalZone(before ? zone.c_str() : nullptr);
}

}  // namespace
