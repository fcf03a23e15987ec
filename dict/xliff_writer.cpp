#include "dict/xliff_writer.h"

#include <cmath>

#include "dict/cell_text.h"
#include "platform/base/utf8.h"
#include "platform/base/xml_escape.h"

namespace vt::dict {
namespace {

// A note's text with what XML cannot hold replaced: it is a hint only.
std::string NoteText(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const base::Utf8Step step = base::Utf8Next(text, i);
    if (step.ok && IsXmlChar(step.value)) {
      out.append(text.substr(i, step.next - i));
    } else {
      base::AppendUtf8(0xFFFD, out);
    }
    i = step.next;
  }
  return out;
}

// Tools show the notes from the developer beside the source (translate-toolkit
// carries no others into PO).
void AppendNote(std::string_view text, std::string& out) {
  out += "        <note from=\"developer\">";
  base::AppendXmlEscaped(NoteText(text), out);
  out += "</note>\n";
}

}  // namespace

std::string LanguageTag(std::int16_t language) {
  // BCP 47 private use: subtags of letters and digits only.
  return language < 0 ? "x-lang-m" + std::to_string(-language)
                      : "x-lang-" + std::to_string(language);
}

Export WriteXliff(const DictionarySheet& dictionary,
                  const std::unordered_map<std::string_view, Usage>& where_used,
                  const ReusedCells* reused, const ExportOptions& options) {
  const std::size_t source_column = dictionary.Column(options.from);
  const std::size_t target_column = dictionary.Column(options.to);
  Export result;
  std::string& out = result.xml;
  out.reserve(256 * dictionary.RowCount());
  out +=
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">\n"
      "  <file original=\"";
  base::AppendXmlEscaped(options.original, out, true);
  out += "\" datatype=\"plaintext\" source-language=\"" + LanguageTag(options.from) +
         "\" target-language=\"" + LanguageTag(options.to) +
         "\">\n"
         "    <body>\n";
  for (std::size_t row = 1; row < dictionary.RowCount(); ++row) {
    const std::string_view source = dictionary.Text(row, source_column);
    if (source.empty()) continue;
    const std::string_view target = dictionary.Text(row, target_column);
    // Ids are the rows as a spreadsheet numbers them: the header is row 1.
    const std::string id = std::to_string(row + 1);
    if (auto bad = CellRefusal(source)) {
      result.left_out.push_back("row " + id + ": " + ColumnName(options.from) + " " + *bad);
      continue;
    }
    if (auto bad = CellRefusal(target)) {
      result.left_out.push_back("row " + id + ": " + ColumnName(options.to) + " " + *bad);
      continue;
    }
    const auto width = static_cast<std::size_t>(
        std::floor(static_cast<double>(base::Utf8Length(source)) * options.length_ratio));
    out += "      <trans-unit id=\"" + id + "\" resname=\"" + id + "\"";
    if (!target.empty()) out += " approved=\"yes\"";
    out += " maxwidth=\"" + std::to_string(width > 0 ? width : 1) +
           "\" size-unit=\"char\" xml:space=\"preserve\">\n"
           "        <source>";
    base::AppendXmlEscaped(source, out);
    out += "</source>\n";
    if (target.empty()) {
      out += "        <target state=\"needs-translation\"></target>\n";
    } else {
      out += reused != nullptr && reused->Holds(row, options.to, target)
                 ? "        <target state=\"translated\" state-qualifier=\"exact-match\">"
                 : "        <target state=\"translated\">";
      base::AppendXmlEscaped(target, out);
      out += "</target>\n";
    }
    if (const auto found = where_used.find(source); found != where_used.end()) {
      const Usage& usage = found->second;
      if (!usage.places.empty()) {
        AppendNote(usage.pictures.empty() ? "Used at: " + std::string(usage.places)
                                          : "Used in " + std::string(usage.pictures) +
                                                " picture(s) at: " + std::string(usage.places),
                   out);
      }
      if (!usage.was.empty())
        AppendNote("Earlier text at the same place: " + std::string(usage.was), out);
    }
    out += "      </trans-unit>\n";
    ++result.units;
  }
  out +=
      "    </body>\n"
      "  </file>\n"
      "</xliff>\n";
  return result;
}

}  // namespace vt::dict
