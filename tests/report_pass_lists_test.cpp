// Which passes the overview's tables and the year pages list.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "report/model/pass_lists.h"

using namespace hkcsv;

namespace {

TEST(PassLists, RecentAlarmsNewestFirstAndAPageForEachYearOfAnOlderPass) {
  // 2019-03-01 is day 17956 since 1970, 2021-12-31 day 18992, 2022-01-01 day 18993.
  constexpr double kDay = 86400;
  FormatRecord format;
  const auto add = [&](std::optional<double> start, std::optional<Level> level) {
    PassRecord& pass = format.passes.emplace_back();
    pass.start = start;
    pass.worst = level;
  };
  add(17956 * kDay, Level::kAlarm);              // 0: 2019
  add(17956 * kDay + 3600, Level::kNotice);      // 1: 2019
  add(std::nullopt, std::nullopt);               // 2: no date, older
  add(18992 * kDay + kDay - 1, Level::kNotice);  // 3: 2021, its last second; no pass in 2020
  for (int i = 0; i < 99; ++i)
    add(18993 * kDay + i * kDay, i % 2 ? Level::kAlarm : Level::kNotice);  // 4-102: 4 is older
  add(std::nullopt, Level::kAlarm);                                        // 103: no date, recent
  add(18992 * kDay, std::nullopt);                                         // 104: 2021 again, recent

  const PassLists lists = ListPasses(format);
  std::vector<std::size_t> recent;
  for (std::size_t i = 5; i < 105; ++i) recent.push_back(i);
  EXPECT_EQ(lists.recent, recent);
  // 49 alarms in 2022 and two more: the newest 50, the last listed first.
  EXPECT_EQ(lists.alarm_count, 51u);
  std::vector<std::size_t> alarms{103};
  for (std::size_t i = 101; i >= 5; i -= 2) alarms.push_back(i);
  EXPECT_EQ(lists.alarms, alarms);

  struct Year {
    std::optional<std::int64_t> year;
    std::vector<std::size_t> passes;
    std::size_t alarms, notices;
  };
  std::vector<std::size_t> of_2022;
  for (std::size_t i = 4; i < 103; ++i) of_2022.push_back(i);
  const std::vector<Year> years{
      {2019, {0, 1}, 1, 1}, {2021, {3, 104}, 0, 1}, {2022, of_2022, 49, 50}, {std::nullopt, {2, 103}, 1, 0}};
  ASSERT_EQ(lists.years.size(), years.size());
  for (std::size_t i = 0; i < years.size(); ++i) {
    EXPECT_EQ(lists.years[i].year, years[i].year) << i;
    EXPECT_EQ(lists.years[i].passes, years[i].passes) << i;
    EXPECT_EQ(lists.years[i].alarms, years[i].alarms) << i;
    EXPECT_EQ(lists.years[i].notices, years[i].notices) << i;
  }

  // Up to 100 passes the recent table holds them all and no year has a page.
  format.passes.resize(100);
  const PassLists few = ListPasses(format);
  EXPECT_EQ(few.recent.size(), 100u);
  EXPECT_TRUE(few.years.empty());
  EXPECT_EQ(few.alarm_count, 49u);
}

}  // namespace
