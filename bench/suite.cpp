#include "bench/suite.h"

#include <cstdio>
#include <sstream>

namespace vt::bench {
namespace {

std::string Format(const char* format, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

std::string Amount(double value, const std::string& unit) {
  if (unit == "s") {
    if (value < 0.01) return Format("%.2f ms", value * 1e3);
    return Format("%.3f s", value);
  }
  if (unit == "ns") return Format("%.0f ns", value);
  return Format("%.1f ", value) + unit;
}

std::string Ratio(double ours, double peer) {
  if (peer <= 0) return "-";
  const double r = ours / peer;
  return r < 0.1 ? Format("%.3f", r) : Format("%.2f", r);
}

std::string Pad(std::string text, std::size_t width) {
  // Widths count characters, not bytes: the table is ASCII but for "x".
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

}  // namespace

Goal AtLeastTimesFaster(double times) {
  return {1.0 / times, true, Format("<= %.2g", 1.0 / times) + Format(" (%gx faster)", times)};
}

Goal Faster() { return {1, false, "< 1 (faster)"}; }

Goal UnderTimes(double times) { return {times, false, Format("< %g", times)}; }

Goal AtMostTimes(double times) { return {times, true, Format("<= %g", times)}; }

Goal AtMostTimesOnCpu(double times) { return {times, true, Format("<= %g cpu", times), true}; }

bool Passes(const Row& row) {
  if (!row.goal) return true;
  const double ours = row.goal->on_cpu ? row.ours.cpu : row.ours.wall;
  const double peer = row.goal->on_cpu ? row.peer.cpu : row.peer.wall;
  if (peer <= 0) return true;
  const double ratio = ours / peer;
  return row.goal->inclusive ? ratio <= row.goal->limit : ratio < row.goal->limit;
}

std::vector<Case> AllCases() {
  return {
      {"load", "1 load of a 65,535-row, 8-language dictionary made by LibreOffice", RunLoadCase},
      {"creation", "2 creation with 10 % padded cells", RunCreationCase},
      {"lookups", "3 100,000 lookups, 90 % found", RunLookupsCase},
      {"picture", "4 a 5,000-object picture translated and saved", RunPictureCase},
      {"new-texts", "5 20 new texts in 20 calls on a 60,000-row dictionary", RunNewTextsCase},
      {"update", "6 UpdateAndVerifyDictionary over 500 pictures", RunUpdateCase},
      {"memory", "7 peak memory of creation", RunMemoryCase},
      {"windows", "8 creation by the Windows builds under Wine beside the Linux build's",
       RunWindowsCase},
      {"dict", "9 veltrano-dict stats, export and fill on a 65,535-row dictionary", RunDictCase},
  };
}

void PrintTable(const std::vector<Row>& rows) {
  const std::vector<std::string> headers = {
      "case", "ours", "ours, wall", "peer", "peer, wall", "ratio", "cpu ratio", "goal", "result"};
  std::vector<std::vector<std::string>> cells;
  for (const Row& row : rows) {
    const bool timed = row.unit == "s" || row.unit == "ns";
    cells.push_back({row.case_name, row.ours_what, Amount(row.ours.wall, row.unit), row.peer_what,
                     Amount(row.peer.wall, row.unit), Ratio(row.ours.wall, row.peer.wall),
                     timed ? Ratio(row.ours.cpu, row.peer.cpu) : "-",
                     row.goal ? row.goal->text : "-",
                     row.goal ? (Passes(row) ? "pass" : "FAIL") : "-"});
  }
  std::vector<std::size_t> widths;
  for (const std::string& h : headers) widths.push_back(h.size());
  for (const auto& line : cells) {
    for (std::size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], line[i].size());
  }
  auto print = [&](const std::vector<std::string>& line) {
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i) {
      text += (i ? "  " : "") + Pad(line[i], widths[i]);
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    std::printf("%s\n", text.c_str());
  };
  print(headers);
  std::vector<std::string> rule;
  for (std::size_t w : widths) rule.push_back(std::string(w, '-'));
  print(rule);
  for (const auto& line : cells) print(line);
  std::printf(
      "\nratio = ours / peer (lower is better), medians of wall-clock time; cpu ratio: "
      "the same on CPU time.\n");
  for (const Row& row : rows) {
    if (!row.note.empty()) std::printf("%s: %s\n", row.case_name.c_str(), row.note.c_str());
  }
}

}  // namespace vt::bench
