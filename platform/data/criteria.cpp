#include "platform/data/criteria.h"

#include <cmath>

#include "platform/base/trim.h"
#include "platform/data/ado_errors.h"
#include "platform/data/fold.h"

namespace vt::data {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsWildcard(char c) { return c == '*' || c == '%'; }

std::string RTrimBlanks(std::string_view text) { return std::string(base::TrimRight(text)); }

class Parser {
 public:
  Parser(std::string_view text, const Table& table) : text_(text), table_(table) {}

  Criteria Parse() {
    Criteria criteria;
    criteria.text = std::string(text_);
    SkipBlanks();
    const std::string name = FieldName();
    const auto field = table_.FindField(name);
    if (!field) {
      throw ado_errors::ItemNotFound("field '" + name + "' of the filter \"" + criteria.text +
                                     "\"");
    }
    criteria.field = *field;
    SkipBlanks();
    criteria.op = Operator();
    SkipBlanks();
    const FieldDef& def = table_.fields[*field];
    std::string literal;
    if (at_ < text_.size() && text_[at_] == '\'') {
      literal = Quoted();
    } else if (criteria.op == Criteria::Op::Equal && def.type == FieldType::Long) {
      literal = Number();
    } else {
      Fail("a literal in apostrophes expected");
    }
    SkipBlanks();
    if (at_ != text_.size()) Fail("unexpected text after the literal");

    if (criteria.op == Criteria::Op::Like) {
      std::string_view core = literal;
      if (!core.empty() && IsWildcard(core.front())) {
        criteria.any_prefix = true;
        core.remove_prefix(1);
      }
      if (!core.empty() && IsWildcard(core.back())) {
        criteria.any_suffix = true;
        core.remove_suffix(1);
      }
      literal = std::string(core);
    } else if (def.type == FieldType::Long) {
      const automation::Variant value(literal);
      if (!value.IsNumeric() || literal.empty()) {
        Fail("'" + literal + "' is not a number, and field '" + def.name + "' holds numbers");
      }
      criteria.number = value.ToDouble();
    }
    if (def.type == FieldType::FixedText && !criteria.any_suffix) literal = RTrimBlanks(literal);
    criteria.folded = FoldCase(literal);
    return criteria;
  }

 private:
  [[noreturn]] void Fail(const std::string& problem) const {
    throw ado_errors::WrongArguments("filter \"" + std::string(text_) + "\": " + problem +
                                     " at character " + std::to_string(at_ + 1));
  }

  void SkipBlanks() {
    while (at_ < text_.size() && IsBlank(text_[at_])) ++at_;
  }

  std::string FieldName() {
    if (at_ < text_.size() && text_[at_] == '[') {
      const auto close = text_.find(']', at_);
      if (close == std::string_view::npos) Fail("']' missing after the field name");
      std::string name(text_.substr(at_ + 1, close - at_ - 1));
      at_ = close + 1;
      return name;
    }
    const std::size_t start = at_;
    while (at_ < text_.size() && !IsBlank(text_[at_]) && text_[at_] != '=' && text_[at_] != '\'') {
      ++at_;
    }
    if (at_ == start) Fail("a field name expected");
    return std::string(text_.substr(start, at_ - start));
  }

  Criteria::Op Operator() {
    if (at_ < text_.size() && text_[at_] == '=') {
      ++at_;
      return Criteria::Op::Equal;
    }
    const std::string_view rest = text_.substr(at_);
    if (rest.size() >= 4 && EqualIgnoringCase(rest.substr(0, 4), "like") &&
        (rest.size() == 4 || IsBlank(rest[4]) || rest[4] == '\'')) {
      at_ += 4;
      return Criteria::Op::Like;
    }
    Fail("'=' or LIKE expected");
  }

  std::string Quoted() {
    const std::size_t open = at_++;
    std::string literal;
    while (at_ < text_.size()) {
      if (text_[at_] == '\'') {
        if (at_ + 1 < text_.size() && text_[at_ + 1] == '\'') {
          literal += '\'';
          at_ += 2;
          continue;
        }
        ++at_;
        return literal;
      }
      literal += text_[at_++];
    }
    at_ = open;
    Fail("the literal opened here is not closed");
  }

  std::string Number() {
    const std::size_t start = at_;
    while (at_ < text_.size() && !IsBlank(text_[at_])) ++at_;
    return std::string(text_.substr(start, at_ - start));
  }

  std::string_view text_;
  const Table& table_;
  std::size_t at_ = 0;
};

const std::string& Folded(const Cell& cell) {
  if (!cell.folded) cell.folded = FoldCase(cell.value.ToString());
  return *cell.folded;
}

}  // namespace

Criteria ParseCriteria(std::string_view text, const Table& table) {
  return Parser(text, table).Parse();
}

Criteria ContainsCriteria(std::size_t field, std::string_view needle, const Table& table) {
  Criteria criteria;
  criteria.text =
      table.fields.at(field).name + " LIKE " + QuoteLiteral("*" + std::string(needle) + "*");
  criteria.field = field;
  criteria.op = Criteria::Op::Like;
  criteria.any_prefix = true;
  criteria.any_suffix = true;
  criteria.folded = FoldCase(needle);
  return criteria;
}

bool Matches(const Criteria& criteria, const Table& table, const std::vector<Cell>& row) {
  const Cell& cell = row[criteria.field];
  if (cell.value.IsNull()) return false;
  if (criteria.op == Criteria::Op::Equal && table.fields[criteria.field].type == FieldType::Long) {
    return cell.value.ToDouble() == criteria.number;
  }
  const std::string& value = Folded(cell);
  const std::string& wanted = criteria.folded;
  if (criteria.op == Criteria::Op::Equal) return value == wanted;
  if (criteria.any_prefix && criteria.any_suffix) return value.find(wanted) != std::string::npos;
  if (criteria.any_suffix) return value.starts_with(wanted);
  if (criteria.any_prefix) return value.ends_with(wanted);
  return value == wanted;
}

std::string QuoteLiteral(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  quoted += '\'';
  return quoted;
}

}  // namespace vt::data
