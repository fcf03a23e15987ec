#include "platform/data/csv.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>

#include "platform/system/env.h"
#include "tests/support/temp_dir.h"

namespace vt::data {
namespace {

using automation::Variant;
using vt::testing::ReadFile;
using vt::testing::TempDir;
using vt::testing::WriteFile;

const std::vector<std::vector<std::string>> kRows = {
    {"Time", "Text", "Area"},
    {"2024-03-05 14:07", "Pump \"P1\" failed, restart", "Boiler"},
    {"2024-03-05 14:08", "line one\nline two", ""},
    {"2024-03-05 14:09", "Überdruck 50% — Kessel ✓", " blanks kept "},
    {"2024-03-05 14:10", "it's CR LF\r\ninside", "\"quoted\""},
};

std::shared_ptr<Recordset> Sample() {
  std::vector<FieldDef> fields;
  for (const auto& name : kRows[0]) fields.push_back(FieldDef::Text(name));
  auto rs = Recordset::Create(fields);
  for (std::size_t r = 1; r < kRows.size(); ++r) {
    rs->AddNew();
    for (std::size_t i = 0; i < kRows[r].size(); ++i) rs->SetValue(i, Variant(kRows[r][i]));
    rs->Update();
  }
  return rs;
}

std::vector<std::vector<std::string>> Rows(Recordset& rs) {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> header;
  for (const auto& field : rs.Fields()) header.push_back(field.name);
  rows.push_back(header);
  for (std::size_t r = 0; r < static_cast<std::size_t>(rs.RecordCount()); ++r) {
    std::vector<std::string> row;
    for (std::size_t i = 0; i < rs.Fields().size(); ++i) row.push_back(rs.ValueAt(r, i).ToString());
    rows.push_back(row);
  }
  return rows;
}

// Reads a CSV file with Python's csv module, printing one field per line with
// its characters escaped, for an independent check of what we wrote.
std::string ReadWithPython(const std::string& path) {
  const std::string command =
      "/usr/bin/python3 -c \"import csv,sys\n"
      "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
      "  for row in csv.reader(f):\n"
      "    print(len(row), *[repr(x) for x in row], sep='|')\" '" +
      path + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), &::pclose);
  std::string out;
  std::array<char, 4096> buffer{};
  while (std::fgets(buffer.data(), buffer.size(), pipe.get()) != nullptr) out += buffer.data();
  return out;
}

TEST(Csv, RoundTripThroughAFileKeepsEveryCharacter) {
  TempDir dir;
  const std::string path = dir / "alarms.csv";
  SaveCsv(*Sample(), path);
  auto loaded = LoadCsv(path);
  EXPECT_EQ(Rows(*loaded), kRows);
  EXPECT_EQ(loaded->GetValue("Time"), Variant("2024-03-05 14:07"));  // on the first row
  EXPECT_EQ(FormatCsv(*loaded), ReadFile(path));
}

TEST(Csv, WrittenFileReadsTheSameInAnIndependentReader) {
  TempDir dir;
  const std::string path = dir / "alarms.csv";
  SaveCsv(*Sample(), path);
  std::string expected;
  for (const auto& row : kRows) {
    expected += std::to_string(row.size());
    for (const auto& field : row) {
      // Python's repr of these strings: single quotes unless the text has one.
      std::string repr;
      const bool has_apostrophe = field.find('\'') != std::string::npos;
      const char quote = has_apostrophe ? '"' : '\'';
      repr += quote;
      for (char c : field) {
        if (c == '\n') {
          repr += "\\n";
        } else if (c == '\r') {
          repr += "\\r";
        } else if (c == quote) {
          repr += std::string("\\") + c;
        } else {
          repr += c;
        }
      }
      repr += quote;
      expected += "|" + repr;
    }
    expected += "\n";
  }
  EXPECT_EQ(ReadWithPython(path), expected);
}

TEST(Csv, QuotesOnlyWhatNeedsIt) {
  auto rs = Recordset::Create({FieldDef::Text("a"), FieldDef::Long("n"), FieldDef::Text("b")});
  rs->AddNew();
  rs->SetValue("a", Variant("plain text"));
  rs->SetValue("n", Variant(std::int32_t{-5}));
  rs->Update();
  rs->AddNew();
  rs->SetValue("b", Variant("x,y"));
  rs->Update();
  EXPECT_EQ(FormatCsv(*rs), "a,n,b\r\nplain text,-5,\r\n,,\"x,y\"\r\n");
  rs->SetFilter("a = 'plain text'");
  EXPECT_EQ(FormatCsv(*rs), "a,n,b\r\nplain text,-5,\r\n");
}

TEST(Csv, AcceptsLfBomMissingFinalLineEndAndEmptyLines) {
  auto rs = ParseCsv("\xEF\xBB\xBFid,text\n\n1,\"a\"\"b\"\n2,\n3,last", "mem");
  EXPECT_EQ(Rows(*rs), (std::vector<std::vector<std::string>>{
                           {"id", "text"}, {"1", "a\"b"}, {"2", ""}, {"3", "last"}}));
  EXPECT_EQ(Rows(*ParseCsv("only\r\n", "mem")).size(), 1U);
}

TEST(Csv, BadFilesNameTheLine) {
  struct Case {
    const char* text;
    std::size_t line;
    const char* mentions;
  };
  for (const Case& c : {
           Case{"", 1, "no header"},
           Case{"a,b\r\n1,2\r\n3\r\n", 3, "1 fields where the header has 2"},
           Case{"a,b\n1,\"open\n\nstill open", 2, "never closed"},
           Case{"a,b\n1,\"x\"y\n", 2, "after the closing quote"},
           Case{"a,b\n\"multi\nline\",2\n1,ab\"c\n", 4, "quote inside"},
           Case{"a,,c\n", 1, "column 2"},
           Case{"a,A\n", 1, "twice"},
           Case{"a\nok\nbad \xC3\x28\n", 3, "not UTF-8"},
       }) {
    try {
      ParseCsv(c.text, "/data/alarms.csv");
      ADD_FAILURE() << c.text;
    } catch (const CsvError& error) {
      EXPECT_EQ(error.line(), c.line) << c.text;
      const std::string what = error.what();
      EXPECT_NE(what.find("/data/alarms.csv: line " + std::to_string(c.line)), std::string::npos)
          << what;
      EXPECT_NE(what.find(c.mentions), std::string::npos) << what;
    }
  }
}

TEST(Csv, MissingFileIsASystemErrorNamingIt) {
  TempDir dir;
  try {
    LoadCsv(dir / "none.csv");
    FAIL();
  } catch (const system::SystemError& error) {
    EXPECT_NE(std::string(error.what()).find("none.csv"), std::string::npos);
  }
}

}  // namespace
}  // namespace vt::data
