#include "library/maintenance/coverage_report.h"

#include <algorithm>
#include <cstdio>

#include "platform/base/utf8.h"

namespace vt::maintenance {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::string LanguageName(std::int16_t language) { return "Language_" + std::to_string(language); }

// Tenths of a percent, rounded to the nearest; but a language shows 100.0
// only when complete and 0.0 only when nothing is translated.
std::size_t Tenths(std::size_t part, std::size_t whole) {
  if (whole == 0) return 0;
  const std::size_t tenths = (part * 2000 + whole) / (2 * whole);
  if (tenths == 1000 && part < whole) return 999;
  if (tenths == 0 && part > 0) return 1;
  return tenths;
}

std::string Percent(std::size_t part, std::size_t whole) {
  if (whole == 0) return "-";
  const std::size_t tenths = Tenths(part, whole);
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "\xC2\xA0%";
}

std::string Plural(std::size_t count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string Ratio(double ratio) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", ratio);
  return text;
}

std::string Joined(const std::vector<std::string>& places) {
  std::string text;
  for (const std::string& place : places) {
    if (!text.empty()) text += "; ";
    text += place;
  }
  return text;
}

const char* const kStyle = R"(
body { font: 14px/1.4 system-ui, "Segoe UI", "DejaVu Sans", Arial, sans-serif; color: #1d2329;
  margin: 24px; }
h1 { font-size: 22px; margin: 0 0 4px; }
h2 { font-size: 18px; margin: 28px 0 8px; border-bottom: 2px solid #1d2329; padding-bottom: 2px; }
h3 { font-size: 15px; margin: 18px 0 6px; }
p.meta { color: #4a545e; margin: 0 0 4px; }
p.failed { color: #a3261b; }
table { border-collapse: collapse; margin-bottom: 8px; }
th, td { text-align: left; padding: 3px 10px 3px 0; vertical-align: top;
  border-bottom: 1px solid #dde1e5; }
th { font-weight: 600; border-bottom: 1px solid #1d2329; }
td.n, th.n { text-align: right; font-variant-numeric: tabular-nums; }
td.text { white-space: pre-wrap; overflow-wrap: anywhere; max-width: 28em; }
td.places { color: #4a545e; font-size: 12px; overflow-wrap: anywhere; max-width: 36em; }
td.cov { white-space: nowrap; }
.bar { display: inline-block; vertical-align: middle; width: 160px; height: 12px;
  background: #f1c6c1; border: 1px solid #b9bec4; }
.bar span { display: block; height: 100%; background: #2e7d32; }
.pct { display: inline-block; width: 5em; text-align: right; font-variant-numeric: tabular-nums; }
.none { color: #4a545e; font-style: italic; }
a { color: inherit; }
@media print {
  body { margin: 0; font-size: 11px; }
  section { break-before: page; }
  tr { break-inside: avoid; }
  .bar, .bar span { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
  a { text-decoration: none; }
}
)";

void Bar(std::string& out, std::size_t part, std::size_t whole) {
  const std::size_t tenths = Tenths(part, whole);
  out += "<td class=\"cov\"><span class=\"bar\"><span style=\"width:";
  out += std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
  out += "%\"></span></span><span class=\"pct\">" + Percent(part, whole) + "</span></td>";
}

void Cell(std::string& out, std::size_t number) {
  out += "<td class=\"n\">" + std::to_string(number) + "</td>";
}

void CountsRow(std::string& out, const std::string& first, const Coverage::Counts& counts) {
  out += "<tr><td>" + first + "</td>";
  Cell(out, counts.texts);
  Cell(out, counts.translated);
  Cell(out, counts.missing());
  Cell(out, counts.too_long);
  Bar(out, counts.translated, counts.texts);
  out += "</tr>\n";
}

void CountsHeader(std::string& out, const char* first) {
  out += "<table><tr><th>";
  out += first;
  out +=
      "</th><th class=\"n\">Texts</th><th class=\"n\">Translated</th><th class=\"n\">Missing</th>"
      "<th class=\"n\">Too long</th><th>Coverage</th></tr>\n";
}

// The cells of a text the lists show, made once for every language that
// lists it: its text and its places, escaped.
struct Listed {
  std::string text;
  std::string places;
};

std::vector<Listed> ListedTexts(const Coverage& coverage) {
  auto listed = [&](std::size_t text) {
    for (const TextState state : coverage.texts[text].states) {
      if (state != TextState::kTranslated) return true;
    }
    return false;
  };
  const std::vector<std::vector<std::string>> places = coverage.PlacesByText(listed);
  std::vector<Listed> cells(coverage.texts.size());
  for (std::size_t text = 0; text < coverage.texts.size(); ++text) {
    if (!listed(text)) continue;
    cells[text].text = "<td class=\"text\">" + EscapeHtml(coverage.texts[text].original) + "</td>";
    cells[text].places = "<td class=\"places\">" + EscapeHtml(Joined(places[text])) + "</td>";
  }
  return cells;
}

void Language(std::string& out, const Coverage& coverage, std::size_t language,
              const std::vector<Listed>& listed) {
  const std::string name = LanguageName(coverage.languages[language]);
  out += "<section id=\"" + name + "\"><h2>" + name + "</h2>\n";
  CountsHeader(out, "Picture");
  for (const Coverage::Picture& picture : coverage.pictures) {
    CountsRow(out, EscapeHtml(picture.name), coverage.CountsOf(picture, language));
  }
  out += "</table>\n";

  const Coverage::Counts totals = coverage.Totals(language);
  out += "<h3>Missing texts (" + std::to_string(totals.missing()) + ")</h3>\n";
  if (totals.missing() == 0) {
    out += "<p class=\"none\">None.</p>\n";
  } else {
    out += "<table><tr><th>Text</th><th>Places</th></tr>\n";
    for (std::size_t text = 0; text < coverage.texts.size(); ++text) {
      if (coverage.StateOf(text, language) != TextState::kMissing) continue;
      out += "<tr>";
      out += listed[text].text;
      out += listed[text].places;
      out += "</tr>\n";
    }
    out += "</table>\n";
  }

  out += "<h3>Longer than " + Ratio(coverage.ratio) + " \xC3\x97 the original (" +
         std::to_string(totals.too_long) + ")</h3>\n";
  if (totals.too_long == 0) {
    out += "<p class=\"none\">None.</p>\n";
  } else {
    out +=
        "<table><tr><th>Text</th><th>Translation</th><th class=\"n\">Characters</th>"
        "<th>Places</th></tr>\n";
    for (std::size_t text = 0; text < coverage.texts.size(); ++text) {
      if (coverage.StateOf(text, language) != TextState::kTooLong) continue;
      const Coverage::Text& t = coverage.texts[text];
      out += "<tr>" + listed[text].text + "<td class=\"text\">" + EscapeHtml(t.longs[language]) +
             "</td><td class=\"n\">" + std::to_string(base::Utf8Length(t.longs[language])) + " / " +
             std::to_string(base::Utf8Length(t.original)) + "</td>" + listed[text].places +
             "</tr>\n";
    }
    out += "</table>\n";
  }
  out += "</section>\n";
}

void CsvField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
  // Printable ASCII without markup, tabs and line ends go out as they are, a
  // run at a time.
  const auto plain = [](char c) {
    return (c >= 0x20 && c < 0x7F && c != '&' && c != '<' && c != '>' && c != '"' && c != '\'') ||
           c == '\t' || c == '\n' || c == '\r';
  };
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = at;
    while (end < text.size() && plain(text[end])) ++end;
    if (end > at) {
      out.append(text.substr(at, end - at));
      at = end;
      continue;
    }
    const base::Utf8Step step = base::Utf8Next(text, at);
    const char c = text[at];
    if (!step.ok) {
      out += kReplacement;
    } else if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (c == '"') {
      out += "&quot;";
    } else if (c == '\'') {
      out += "&#39;";
    } else if ((step.value < 0x20 && c != '\t' && c != '\n' && c != '\r') || step.value == 0x7F) {
      out += kReplacement;
    } else {
      out.append(text.substr(at, step.next - at));
    }
    at = step.next;
  }
  return out;
}

std::string CoverageHtml(const Coverage& coverage) {
  std::string out =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<title>Veltrano \xE2\x80\x93 translation coverage</title>\n<style>";
  out += kStyle;
  out += "</style>\n</head>\n<body>\n<h1>Translation coverage</h1>\n";
  out += "<p class=\"meta\">Dictionary " + EscapeHtml(coverage.dictionary) + "</p>\n";
  const std::size_t pictures = coverage.pictures.size();
  out += "<p class=\"meta\">Update run of " + EscapeHtml(coverage.date) + ", verifying " +
         LanguageName(coverage.verified) + ".</p>\n";
  out += "<p class=\"meta\">Counted: the " + Plural(coverage.texts.size(), "distinct text") +
         " of the " + Plural(pictures, "verified picture") +
         ". Each counts once, however often shown. The dictionary holds " +
         Plural(coverage.dictionary_texts, "text") + " (rows with a " +
         LanguageName(coverage.development) + " text).</p>\n";
  out += "<p class=\"meta\">A translation longer than " + Ratio(coverage.ratio) +
         " \xC3\x97 its original may not fit the object drawn for it.</p>\n";
  if (!coverage.failed.empty()) {
    out += "<p class=\"failed\">Not counted, their analysis failed: " +
           EscapeHtml(Joined(coverage.failed)) + "</p>\n";
  }

  out += "<h2>Summary</h2>\n";
  CountsHeader(out, "Language");
  for (std::size_t language = 0; language < coverage.languages.size(); ++language) {
    const std::string name = LanguageName(coverage.languages[language]);
    CountsRow(out, "<a href=\"#" + name + "\">" + name + "</a>", coverage.Totals(language));
  }
  out += "</table>\n";
  if (coverage.languages.empty()) {
    out += "<p class=\"none\">The dictionary has no column to translate into.</p>\n";
  }

  const std::vector<Coverage::Unreached> unreached = coverage.UnreachedTexts();
  out += "<h2>Not reached by translation (" + std::to_string(unreached.size()) + ")</h2>\n";
  out +=
      "<p class=\"meta\">Texts of objects inside ten or more nested groups: translation does not "
      "go that deep, so they show as drawn in every language.</p>\n";
  if (unreached.empty()) {
    out += "<p class=\"none\">None.</p>\n";
  } else {
    out += "<table><tr><th>Text</th><th>Places</th></tr>\n";
    for (const Coverage::Unreached& text : unreached) {
      out += "<tr><td class=\"text\">" + EscapeHtml(text.text) + "</td><td class=\"places\">" +
             EscapeHtml(Joined(text.places)) + "</td></tr>\n";
    }
    out += "</table>\n";
  }

  const std::vector<Listed> listed = ListedTexts(coverage);
  for (std::size_t language = 0; language < coverage.languages.size(); ++language) {
    Language(out, coverage, language, listed);
  }
  out += "</body>\n</html>\n";
  return out;
}

std::string CoverageCsv(const Coverage& coverage) {
  std::string out = "\xEF\xBB\xBFPicture,Text,Places";
  for (const std::int16_t language : coverage.languages) out += "," + LanguageName(language);
  out += "\r\n";
  for (const Coverage::Picture& picture : coverage.pictures) {
    // Another spelling of the same original (in a picture not in the
    // development language): its places in the same row.
    const bool repeats = std::any_of(picture.uses.begin(), picture.uses.end(),
                                     [](const Coverage::Use& use) { return use.repeat; });
    for (std::size_t at = 0; at < picture.uses.size(); ++at) {
      const Coverage::Use& use = picture.uses[at];
      if (use.repeat) continue;
      std::string places = Joined(use.places);
      for (std::size_t other = at + 1; repeats && other < picture.uses.size(); ++other) {
        if (picture.uses[other].repeat && picture.uses[other].text == use.text) {
          places += "; " + Joined(picture.uses[other].places);
        }
      }
      CsvField(out, picture.name);
      out += ',';
      CsvField(out, coverage.texts[use.text].original);
      out += ',';
      CsvField(out, places);
      for (std::size_t language = 0; language < coverage.languages.size(); ++language) {
        switch (coverage.StateOf(use.text, language)) {
          case TextState::kTranslated:
            out += ",translated";
            break;
          case TextState::kMissing:
            out += ",missing";
            break;
          case TextState::kTooLong:
            out += ",too long";
            break;
        }
      }
      out += "\r\n";
    }
  }
  for (const Coverage::Picture& picture : coverage.pictures) {
    for (const Coverage::Unreached& text : picture.unreached) {
      CsvField(out, picture.name);
      out += ',';
      CsvField(out, text.text);
      out += ',';
      CsvField(out, Joined(text.places));
      for (std::size_t language = 0; language < coverage.languages.size(); ++language) {
        out += ",not reached";
      }
      out += "\r\n";
    }
  }
  return out;
}

}  // namespace vt::maintenance
