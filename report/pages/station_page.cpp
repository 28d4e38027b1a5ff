// The station page, the overview's station card and a pass page's sky.
#include "report/pages/station_page.h"

#include <array>

#include "platform/files.h"
#include "report/charts/station_charts.h"
#include "report/pages/html_table.h"
#include "report/pages/page_head.h"
#include "text/html_text.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

constexpr std::array<const char*, 7> kBandColumns{"Max angle [deg]", "Passes",         "Frames expected", "Found",
                                                  "Reception [%]",   "Median S meter", "Band factor"};
constexpr std::array<const char*, 6> kSectorColumns{"Sector", "Passes",        "Frames expected",
                                                    "Found",  "Reception [%]", "Direction factor"};
constexpr std::array<const char*, 6> kNameColumns{"Name",  "Passes",        "Frames expected",
                                                  "Found", "Reception [%]", "Factor"};

std::string Percent(std::optional<double> fraction) { return fraction ? Decimals(100 * *fraction, 0) + "%" : ""; }

void NumberCell(std::string& html, std::optional<double> value, int decimals) {
  html += "<td>";
  if (value) html += Decimals(*value, decimals);
  html += "</td>";
}

void SumCells(std::string& html, const CellSums& cell) {
  CountCell(html, static_cast<std::uint64_t>(cell.passes));
  CountCell(html, static_cast<std::uint64_t>(cell.expected));
  CountCell(html, static_cast<std::uint64_t>(cell.found));
  NumberCell(html, ReceptionPercent(cell), 1);
}

std::string PassHrefFromStation(const PassPageLinks& links, DownlinkFormat format, std::size_t pass) {
  if (!links.written[pass]) return {};
  return PercentEncode(ConstantsOf(format).folder) + "/" + PercentEncode(NarrowToUtf8(links.names[pass]));
}

// "pass_20190110_0915.txt: 85% heard, max angle 45 deg".
std::string TrackTitle(const PassRecord& pass, const PassSky& sky) {
  std::string title = pass.name + ": ";
  title += sky.reception ? Percent(sky.reception) + " heard" : std::string("frames expected unknown");
  return title + ", max angle " + Decimals(sky.geometry.max_angle_deg, 0) + " deg";
}

std::optional<HeardBand> HeardOf(const PassSky& sky) {
  return sky.reception ? std::optional(BandOfHeard(*sky.reception)) : std::nullopt;
}

void AppendHeardLegend(std::string& html) {
  html += "<p class=\"legend\">";
  for (const std::optional<HeardBand> heard :
       {std::optional(HeardBand::kAll), std::optional(HeardBand::kMost), std::optional(HeardBand::kLittle),
        std::optional(HeardBand::kNothing), std::optional<HeardBand>()}) {
    html += "<span class=\"";
    html += HeardClass(heard);
    html += "\">";
    html += HeardWords(heard);
    html += "</span> ";
  }
  html += "</p>\n";
}

void AppendSky(std::string& html, const FormatRecord& format, const PassPageLinks& links) {
  const StationFacts& station = format.station;
  std::vector<SkyTrack> tracks;
  for (const std::size_t pass : station.drawn) {
    const PassSky& sky = *station.passes[pass];
    tracks.push_back({&sky.track, HeardOf(sky), PassHrefFromStation(links, format.format, pass),
                      TrackTitle(format.passes[pass], sky)});
  }
  html +=
      "<p>Each pass's track from AOS to LOS, as its header's max angle and azimuths give it at the altitude "
      "the pass durations imply: ";
  html += Decimals(station.altitude_km, 0);
  html += " km (";
  if (station.altitude_passes == 0) {
    html += "no pass gives one: taken";
  } else {
    html += "the median of ";
    AppendCounted(html, station.altitude_passes, "pass", "passes");
  }
  html += "). North up, east to the right, as on a map; the zenith at the centre, rings at 0, 30 and 60 deg. ";
  AppendCounted(html, tracks.size(), "pass is", "passes are");
  html += " drawn, the newest last";
  if (station.not_drawn > 0) {
    html += "; the ";
    AppendCounted(html, station.not_drawn, "older pass is", "older passes are");
    html += " not";
  }
  html += ".</p>\n<figure>";
  AppendSkyPlot(html, tracks, 420, true);
  html += "</figure>\n";
  AppendHeardLegend(html);
}

void AppendBands(std::string& html, const StationFacts& station) {
  std::array<std::optional<double>, kElevationBands> percents;
  for (std::size_t band = 0; band < kElevationBands; ++band)
    percents[band] = ReceptionPercent(station.sums.bands[band]);
  html += "<figure>";
  AppendBandBars(html, percents);
  html += "</figure>\n<table class=\"bands\">\n";
  AppendHeaderRow(html, {kBandColumns});
  for (std::size_t band = 0; band < kElevationBands; ++band) {
    html += "<tr>";
    TextCell(html, kElevationBandNames[band]);
    SumCells(html, station.sums.bands[band]);
    NumberCell(html, station.sums.band_s_meter[band], 1);
    NumberCell(html, station.fit.band[band], 2);
    html += "</tr>\n";
  }
  AppendTableEnd(html);
}

bool IsWeak(const StationFacts& station, PassSide side, std::size_t sector) {
  for (const WeakSector& weak : station.weak) {
    if (weak.side == side && weak.sector == sector) return true;
  }
  return false;
}

void AppendSectors(std::string& html, const StationFacts& station, PassSide side) {
  const bool rising = side == PassSide::kRising;
  const std::array<CellSums, kSectors>& sums = rising ? station.sums.rising : station.sums.setting;
  const std::array<FitFactor, kSectors>& factors = rising ? station.fit.rising : station.fit.setting;
  html += rising ? "<h4>Rising (by the azimuth at AOS)</h4>\n" : "<h4>Setting (by the azimuth at LOS)</h4>\n";
  html += "<table class=\"sectors\">\n";
  AppendHeaderRow(html, {kSectorColumns});
  for (std::size_t sector = 0; sector < kSectors; ++sector) {
    html += IsWeak(station, side, sector) ? "<tr class=\"weak\">" : "<tr>";
    TextCell(html, kSectorNames[sector]);
    SumCells(html, sums[sector]);
    NumberCell(html, factors[sector], 2);
    html += "</tr>\n";
  }
  AppendTableEnd(html);
}

// The line of each weak sector, as the station page and the overview's card say it.
void AppendWeakLines(std::string& html, const StationFacts& station) {
  for (const WeakSector& weak : station.weak) {
    html += "<p class=\"weak\">";
    AppendHtmlText(html, WeakSectorLine(weak));
    html += "</p>\n";
  }
}

void AppendDirections(std::string& html, const StationFacts& station) {
  html +=
      "<p>A direction factor of 1 is what passes get from a typical direction; 0.5, half of what passes as high "
      "get elsewhere. The factors of the band, the rising and the setting sector";
  if (station.modulations.size() > 1 || station.polarizations.size() > 1) html += ", the modulation and the plane";
  html += " are fitted together (";
  AppendCounted(html, static_cast<std::uint64_t>(station.fit.rounds), "round", "rounds");
  html += station.fit.converged ? "" : ", not converged";
  html += "), as a pass that rises behind an obstruction sets elsewhere. A sector of at least ";
  AppendUnsigned(html, static_cast<std::uint64_t>(kWeakSectorPassesMin));
  html += " passes with a factor of ";
  html += Decimals(kWeakFactor, 2);
  html += " or less is weak.</p>\n";
  AppendWeakLines(html, station);
  html += "<figure>";
  for (const PassSide side : {PassSide::kRising, PassSide::kSetting}) {
    const bool rising = side == PassSide::kRising;
    std::array<RoseSector, kSectors> rose;
    for (std::size_t sector = 0; sector < kSectors; ++sector) {
      const CellSums& cell = rising ? station.sums.rising[sector] : station.sums.setting[sector];
      rose[sector] = {rising ? station.fit.rising[sector] : station.fit.setting[sector], cell.passes,
                      ReceptionPercent(cell), IsWeak(station, side, sector)};
    }
    AppendRose(html, rising ? "Rising" : "Setting", rose);
  }
  html += "</figure>\n";
  AppendSectors(html, station, PassSide::kRising);
  AppendSectors(html, station, PassSide::kSetting);
}

void AppendNames(std::string& html, const char* title, const std::vector<std::string>& names,
                 const std::vector<CellSums>& sums, const std::vector<FitFactor>& factors) {
  html += "<h4>";
  html += title;
  html += "</h4>\n<table class=\"names\">\n";
  AppendHeaderRow(html, {kNameColumns});
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (sums[i].passes == 0) continue;
    html += "<tr>";
    TextCell(html, names[i]);
    SumCells(html, sums[i]);
    NumberCell(html, i < factors.size() ? factors[i] : std::nullopt, 2);
    html += "</tr>\n";
  }
  AppendTableEnd(html);
}

void AppendLeftOut(std::string& html, const StationFacts& station) {
  if (station.left_out.empty()) {
    html += "<p>None: every pass has a usable track and frames expected.</p>\n";
    return;
  }
  html += "<table class=\"left-out\">\n<thead><tr><th>Why</th><th>Passes</th></tr></thead>\n<tbody>\n";
  for (const auto& [reason, passes] : station.left_out) {
    html += "<tr>";
    TextCell(html, reason);
    CountCell(html, passes);
    html += "</tr>\n";
  }
  AppendTableEnd(html);
}

void AppendFormat(std::string& html, const StationFormat& format) {
  const FormatRecord& record = *format.record;
  const StationFacts& station = record.station;
  const FormatConstants& constants = ConstantsOf(record.format);
  html += "<section id=\"";
  html += constants.id;
  html += "\">\n<h2>";
  html += constants.folder;
  html += ": ";
  html += constants.description;
  html += "</h2>\n<p>";
  AppendCounted(html, station.fitted, "pass", "passes");
  html += " with a usable track and frames expected: ";
  html += Percent(station.whole.expected > 0 ? std::optional(static_cast<double>(station.whole.found) /
                                                             static_cast<double>(station.whole.expected))
                                             : std::nullopt);
  html += " of the frames expected were heard over the archive.</p>\n<h3>Sky plot</h3>\n";
  AppendSky(html, record, *format.pages);
  html += "<h3>By max angle</h3>\n";
  AppendBands(html, station);
  html += "<h3>By direction</h3>\n";
  AppendDirections(html, station);
  html += "<h3>By modulation and plane of polarization</h3>\n";
  AppendNames(html, "Modulation", station.modulations, station.by_modulation, station.fit.modulation);
  AppendNames(html, "Plane of polarization", station.polarizations, station.by_polarization, station.fit.polarization);
  html += "<h3>S meter against max angle</h3>\n<figure>";
  AppendSMeterScatter(html, station.modulations, station.s_meters);
  html += "</figure>\n<h3>Passes left out</h3>\n";
  AppendLeftOut(html, station);
  html += "</section>\n";
}

std::string Reception(const CellSums& cell) {
  const std::optional<double> percent = ReceptionPercent(cell);
  std::string text = percent ? Decimals(*percent, 1) + "%" : std::string("no frames expected");
  text += " (";
  AppendCounted(text, static_cast<std::uint64_t>(cell.passes), "pass", "passes");
  return text + ")";
}

}  // namespace

void RenderStationPage(std::string& html, const StationPageInput& input) {
  AppendPageHead(html, "Station - HK report", input.mark);
  html += "<nav class=\"pass\"><a href=\"";
  AppendHtmlText(html, OverviewHref(*input.layout, PageKind::kStation));
  html +=
      "\">Overview</a></nav>\n<h1>How well the station hears the satellite</h1>\n"
      "<p>Every figure counts against exposure: the frames found (decoded, less repeated ones, at most the "
      "expected) over the frames expected (the packets the header announces times the frames per packet), "
      "summed over the passes of a cell. A pass's track comes from its header alone.</p>\n";
  for (const StationFormat& format : input.formats) AppendFormat(html, format);
  AppendPageEnd(html);
}

void AppendStationCard(std::string& html, const PageLayout& layout, const std::vector<StationFormat>& formats) {
  html += "<section id=\"station\">\n<h2>Station</h2>\n";
  for (const StationFormat& format : formats) {
    const StationFacts& station = format.record->station;
    html += "<div class=\"station\">\n<h3>";
    html += ConstantsOf(format.record->format).folder;
    html += ": ";
    AppendLink(html, StationHref(layout, format.record->format), "how well it is heard");
    html += "</h3>\n<p>Frames heard of those expected: ";
    html += Reception(station.recent);
    html += " in the ";
    AppendUnsigned(html, static_cast<std::uint64_t>(kRecentDays));
    html += " days to the newest pass; ";
    html += Reception(station.whole);
    html += " over the archive.</p>\n";
    AppendWeakLines(html, station);
    html += "</div>\n";
  }
  html += "</section>\n";
}

void AppendPassSky(std::string& html, const FormatRecord& format, std::size_t pass) {
  const std::optional<PassSky>& sky = format.station.passes[pass];
  html += "<h2 id=\"sky\">Sky</h2>\n<div class=\"pass-sky\">";
  if (sky) {
    const SkyTrack track{&sky->track, HeardOf(*sky), {}, TrackTitle(format.passes[pass], *sky)};
    AppendSkyPlot(html, {&track, 1}, 160, false);
  }
  html += "<p>";
  if (!sky) {
    html += "No track: its header gives no usable max angle, azimuths and times.";
  } else if (!sky->reception) {
    html += "Heard: unknown, as the frames expected are.";
  } else {
    html += "Heard " + Percent(sky->reception);
    if (sky->typical) html += " where passes like it give " + Percent(sky->typical);
    html += ".";
  }
  html += " <a href=\"";
  AppendHtmlText(html, StationHref(PageKind::kPass, format.format));
  html += "\">How well the station hears the satellite</a></p></div>\n";
}

}  // namespace hkcsv
