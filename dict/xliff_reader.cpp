#include "dict/xliff_reader.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <pugixml.hpp>
#include <utility>

#include "dict/cell_text.h"
#include "dict/failure.h"
#include "dict/language_number.h"
#include "platform/base/ascii.h"
#include "platform/base/utf8.h"

namespace vt::dict {
namespace {

constexpr std::string_view kNamespaces = "urn:oasis:names:tc:xliff:document:";
constexpr std::string_view kNamespace = "urn:oasis:names:tc:xliff:document:1.2";

// A reference the document may not hold, and where in the text it stands.
struct BadReference {
  std::size_t at;
  std::string what;
};

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-' || c == '.' || c == ':' || c == '#' || static_cast<unsigned char>(c) >= 0x80;
}

std::optional<char32_t> CharacterOf(std::string_view digits) {
  const bool hex = !digits.empty() && digits.front() == 'x';
  if (hex) digits.remove_prefix(1);
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  char32_t value = 0;
  for (const char c : digits) {
    unsigned digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    value = value * (hex ? 16 : 10) + digit;
  }
  return value;
}

// Replaces XML's five entities and the character references of `raw` (text
// as the parser left it), appending to `out` unless it is null. No document
// type is allowed, so any other entity is undeclared; a reference to a
// character XML 1.0 does not allow is refused as that character would be.
std::optional<BadReference> Decode(std::string_view raw, std::string* out) {
  static constexpr std::pair<std::string_view, char> kOwn[] = {
      {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"apos", '\''}, {"quot", '"'}};
  for (std::size_t at = 0;;) {
    const std::size_t amp = raw.find('&', at);
    if (out != nullptr) out->append(raw.substr(at, amp - at));
    if (amp == std::string_view::npos) return std::nullopt;
    std::size_t end = amp + 1;
    while (end < raw.size() && end - amp <= 64 && IsNameChar(raw[end])) ++end;
    if (end == raw.size() || raw[end] != ';' || end == amp + 1) {
      return BadReference{amp, "an & that begins no reference (a literal & is written &amp;)"};
    }
    const std::string_view name = raw.substr(amp + 1, end - amp - 1);
    const std::string reference = "&" + std::string(name) + ";";
    if (name.front() == '#') {
      const auto c = CharacterOf(name.substr(1));
      if (!c) return BadReference{amp, "a malformed character reference " + Quoted(reference)};
      if (!IsXmlChar(*c)) {
        return BadReference{amp, "a reference to a character XML 1.0 does not allow (" +
                                     CodePointName(*c) + ", " + reference + ")"};
      }
      if (out != nullptr) base::AppendUtf8(*c, *out);
    } else {
      const auto own = std::find_if(std::begin(kOwn), std::end(kOwn),
                                    [&](const auto& entry) { return entry.first == name; });
      if (own == std::end(kOwn)) {
        return BadReference{amp, "the entity reference " + reference +
                                     " is not one of XML's own (&lt; &gt; &amp; &apos; &quot;)"};
      }
      if (out != nullptr) *out += own->second;
    }
    at = end + 1;
  }
}

class Reader {
 public:
  Reader(std::string_view bytes, const std::string& name) : bytes_(bytes), name_(name) {}

  std::vector<XliffFile> Read() {
    // Lines are counted in the bytes as given, so the file must be UTF-8,
    // which is what XLIFF tools write unless told otherwise.
    if (bytes_.size() >= 2 && ((bytes_[0] == '\xFF' && bytes_[1] == '\xFE') ||
                               (bytes_[0] == '\xFE' && bytes_[1] == '\xFF'))) {
      throw Failure(name_ + ": the file is UTF-16; save it as UTF-8");
    }
    CheckCharacters();
    // References are ours to resolve (Decode), so that none but XML's own
    // passes as text.
    const pugi::xml_parse_result parsed = document_.load_buffer(
        bytes_.data(), bytes_.size(),
        (pugi::parse_default & ~pugi::parse_escapes) | pugi::parse_ws_pcdata | pugi::parse_doctype,
        pugi::encoding_utf8);
    if (!parsed) {
      throw Failure(At(static_cast<std::size_t>(parsed.offset)) + "not well-formed XML (" +
                    parsed.description() + ")");
    }
    for (const pugi::xml_node node : document_.children()) {
      if (node.type() == pugi::node_doctype) {
        throw Failure(At(node) + "a document type declaration is not allowed");
      }
    }
    CheckReferences(document_);
    const pugi::xml_node root = document_.document_element();
    CheckVersion(root);
    std::vector<XliffFile> files;
    for (const pugi::xml_node file : root.children("file")) files.push_back(File(file));
    if (files.empty()) throw Failure(At(root) + "the document has no file element");
    return files;
  }

 private:
  // Units come in document order, so the count goes on from the last place
  // asked for rather than from the start.
  std::size_t LineOf(std::size_t offset) const {
    offset = std::min(offset, bytes_.size());
    if (offset < counted_to_) {
      counted_to_ = 0;
      line_ = 1;
    }
    line_ += static_cast<std::size_t>(
        std::count(bytes_.begin() + static_cast<std::ptrdiff_t>(counted_to_),
                   bytes_.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
    counted_to_ = offset;
    return line_;
  }
  std::string At(std::size_t offset) const {
    return name_ + ":" + std::to_string(LineOf(offset)) + ": ";
  }
  std::string At(const pugi::xml_node node) const { return At(Offset(node)); }
  static std::size_t Offset(const pugi::xml_node node) {
    return static_cast<std::size_t>(std::max<std::ptrdiff_t>(node.offset_debug(), 0));
  }

  // A literal character XML 1.0 does not allow makes the document ill-formed,
  // though the parser takes it.
  void CheckCharacters() const {
    for (std::size_t i = 0; i < bytes_.size();) {
      const base::Utf8Step step = base::Utf8Next(bytes_, i);
      if (!step.ok) throw Failure(At(i) + "a byte that is not UTF-8");
      if (!IsXmlChar(step.value)) {
        throw Failure(At(i) + "a character XML 1.0 does not allow (" + CodePointName(step.value) +
                      ")");
      }
      i = step.next;
    }
  }

  // Every text and attribute value of the document, read or not.
  void CheckReferences(const pugi::xml_node parent) const {
    for (const pugi::xml_node node : parent.children()) {
      if (node.type() == pugi::node_pcdata) {
        if (auto bad = Decode(node.value(), nullptr)) {
          throw Failure(At(Offset(node) + bad->at) + bad->what);
        }
      } else if (node.type() == pugi::node_element) {
        for (const pugi::xml_attribute attribute : node.attributes()) {
          if (auto bad = Decode(attribute.value(), nullptr)) {
            throw Failure(At(node) + "attribute " + attribute.name() + ": " + bad->what);
          }
        }
        CheckReferences(node);
      }
    }
  }

  // Checked: its references resolve.
  static std::string Attribute(const pugi::xml_node node, const char* name) {
    std::string value;
    Decode(node.attribute(name).value(), &value);
    return value;
  }

  void CheckVersion(const pugi::xml_node root) const {
    const std::string space = Attribute(root, "xmlns");
    const std::string version = Attribute(root, "version");
    if (std::strcmp(root.name(), "xliff") == 0 && space == kNamespace && version == "1.2") return;
    // XLIFF 1.0 has no namespace; 1.1 and 2.x have their own.
    const bool xliff = std::strcmp(root.name(), "xliff") == 0 &&
                       (space.rfind(kNamespaces, 0) == 0 || (space.empty() && !version.empty()));
    if (!xliff) {
      throw Failure(At(root) + "the document is not XLIFF (an element xliff in the namespace " +
                    std::string(kNamespace) + ")");
    }
    const std::string named = version.empty() ? space.substr(kNamespaces.size()) : version;
    throw Failure(At(root) + "XLIFF version \"" + named +
                  "\": version not supported (only 1.2 is read; translation tools can save "
                  "XLIFF 1.2)");
  }

  std::int16_t Language(const pugi::xml_node file, const char* attribute) const {
    const std::string tag = Attribute(file, attribute);
    const auto language = LanguageOfTag(tag);
    if (!language) {
      throw Failure(At(file) + attribute + " \"" + tag +
                    "\" names no dictionary column (x-lang-N for Language_N)");
    }
    return *language;
  }

  // The text of an element that holds text alone.
  std::string Text(const pugi::xml_node element, std::string* markup) const {
    std::string text;
    for (const pugi::xml_node child : element.children()) {
      if (child.type() == pugi::node_pcdata) {
        Decode(child.value(), &text);
      } else if (child.type() == pugi::node_cdata) {
        text += child.value();
      } else if (child.type() == pugi::node_element && markup != nullptr && markup->empty()) {
        *markup = child.name();
      }
    }
    return text;
  }

  XliffFile File(const pugi::xml_node file) {
    XliffFile result;
    result.line =
        LineOf(static_cast<std::size_t>(std::max<std::ptrdiff_t>(file.offset_debug(), 0)));
    result.from = Language(file, "source-language");
    result.to = Language(file, "target-language");
    const pugi::xml_node body = file.child("body");
    if (!body) throw Failure(At(file) + "the file element has no body");
    Units(body, result.units);
    return result;
  }

  // Units stand in the body or in groups, at any depth.
  void Units(const pugi::xml_node parent, std::vector<Unit>& units) {
    for (const pugi::xml_node child : parent.children()) {
      if (std::strcmp(child.name(), "group") == 0) {
        Units(child, units);
        continue;
      }
      if (std::strcmp(child.name(), "trans-unit") != 0) continue;
      Unit unit;
      unit.line =
          LineOf(static_cast<std::size_t>(std::max<std::ptrdiff_t>(child.offset_debug(), 0)));
      unit.id = Attribute(child, "id");
      if (unit.id.empty()) throw Failure(At(child) + "a trans-unit without id");
      const pugi::xml_node source = child.child("source");
      if (!source) throw Failure(At(child) + "trans-unit \"" + unit.id + "\" has no source");
      unit.source = Text(source, nullptr);
      if (const pugi::xml_node target = child.child("target")) {
        unit.target = Text(target, &unit.markup);
        unit.state = Attribute(target, "state");
      }
      units.push_back(std::move(unit));
    }
  }

  std::string_view bytes_;
  const std::string& name_;
  pugi::xml_document document_;
  mutable std::size_t counted_to_ = 0;
  mutable std::size_t line_ = 1;
};

}  // namespace

std::optional<std::int16_t> LanguageOfTag(std::string_view tag) {
  constexpr std::string_view kPrefix = "x-lang-";
  if (tag.size() <= kPrefix.size() ||
      !base::EqualsIgnoringAsciiCase(tag.substr(0, kPrefix.size()), kPrefix)) {
    return std::nullopt;
  }
  const std::string_view number = tag.substr(kPrefix.size());
  // A minus cannot stand in a tag: "m5" is -5.
  if (number.front() == 'm' || number.front() == 'M') {
    std::string negative(1, '-');
    negative.append(number.substr(1));
    return ParseLanguageNumber(negative);
  }
  if (number.front() == '-') return std::nullopt;
  return ParseLanguageNumber(number);
}

std::vector<XliffFile> ReadXliff(std::string_view bytes, const std::string& name) {
  return Reader(bytes, name).Read();
}

}  // namespace vt::dict
