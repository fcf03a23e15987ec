#include "dict/xliff_reader.h"

#include <algorithm>
#include <cstring>
#include <pugixml.hpp>

#include "dict/failure.h"
#include "dict/language_number.h"
#include "platform/base/ascii.h"
#include "platform/base/utf8.h"

namespace vt::dict {
namespace {

constexpr std::string_view kNamespace = "urn:oasis:names:tc:xliff:document:1.2";

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
    if (const auto bad = base::FindInvalidUtf8(bytes_)) {
      throw Failure(At(*bad) + "a byte that is not UTF-8");
    }
    const pugi::xml_parse_result parsed =
        document_.load_buffer(bytes_.data(), bytes_.size(),
                              pugi::parse_default | pugi::parse_ws_pcdata, pugi::encoding_utf8);
    if (!parsed) {
      throw Failure(At(static_cast<std::size_t>(parsed.offset)) + "not well-formed XML (" +
                    parsed.description() + ")");
    }
    const pugi::xml_node root = document_.document_element();
    if (std::strcmp(root.name(), "xliff") != 0 || kNamespace != root.attribute("xmlns").value()) {
      throw Failure(At(root) + "the document is not XLIFF (an element xliff in the namespace " +
                    std::string(kNamespace) + ")");
    }
    if (std::strcmp(root.attribute("version").value(), "1.2") != 0) {
      throw Failure(At(root) + "XLIFF version \"" + root.attribute("version").value() +
                    "\", not 1.2");
    }
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
  std::string At(const pugi::xml_node node) const {
    return At(static_cast<std::size_t>(std::max<std::ptrdiff_t>(node.offset_debug(), 0)));
  }

  std::int16_t Language(const pugi::xml_node file, const char* attribute) const {
    const char* tag = file.attribute(attribute).value();
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
      if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
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
      unit.id = child.attribute("id").value();
      if (unit.id.empty()) throw Failure(At(child) + "a trans-unit without id");
      const pugi::xml_node source = child.child("source");
      if (!source) throw Failure(At(child) + "trans-unit \"" + unit.id + "\" has no source");
      unit.source = Text(source, nullptr);
      if (const pugi::xml_node target = child.child("target")) {
        unit.target = Text(target, &unit.markup);
        unit.state = target.attribute("state").value();
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
