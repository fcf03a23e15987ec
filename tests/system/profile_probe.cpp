// Runs one table of private-profile cases through GetPrivateProfileString and
// WritePrivateProfileString and prints what each gives. Built for Linux (our
// own reader and writer) and for Windows (the Win32 functions); a test
// requires the two outputs to be the same, except for the cases marked "~",
// the differences listed in docs/architecture.md.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/system/private_profile.h"
#include "platform/system/utf8_path.h"
#include "tests/system/probe_output.h"

namespace {

namespace fs = std::filesystem;
using vt::system::probe::Print;

struct Read {
  const char* name;
  const char* file;  // nullptr: no file at all
  const char* section;
  const char* key;
  const char* default_value;
  std::size_t size;
};

struct Write {
  const char* name;
  const char* file;  // nullptr: no file at all
  const char* section;
  const char* key;
  const char* value;
};

const std::string kLong(150, 'x');

const Read kReads[] = {
    {"section and key in any case", "[Users]\r\nOperator=2\r\n", "USERS", "operator", "-", 100},
    {"first section of a name only", "[A]\nk=1\n[a]\nk=2\nj=3\n", "A", "j", "-", 100},
    {"first section wins", "[A]\nk=1\n[a]\nk=2\n", "a", "k", "-", 100},
    {"first key wins", "[A]\nk=1\nK=2\n", "A", "k", "-", 100},
    {"blanks around names and value", "[ A ]\n  k  =   v w  \n", "A", "k", "-", 100},
    {"tabs around names and value", "[A]\n\tk\t=\tv\t\n", "A", "k", "-", 100},
    {"blanks around the names asked", "[A]\nk=1\n", " A ", " k ", "-", 100},
    {"quotes removed once", "[A]\nk=\"  q  \"\n", "A", "k", "-", 100},
    {"one quote kept", "[A]\nk=\"x\n", "A", "k", "-", 100},
    {"empty value", "[A]\nk=\n", "A", "k", "-", 100},
    {"missing key", "[A]\nk=1\n", "A", "j", "fallback", 100},
    {"missing section", "[A]\nk=1\n", "B", "k", "fallback", 100},
    {"missing file", nullptr, "A", "k", "fallback", 100},
    {"default loses trailing blanks", "[A]\n", "A", "k", "def  ", 100},
    {"default keeps leading blanks", "[A]\n", "A", "k", "  def", 100},
    {"comment lines ignored", "[A]\n;k=1\nk=2\n", "A", "k", "-", 100},
    {"~ lines without equals ignored", "[A]\nk\nk=2\n", "A", "k", "-", 100},
    {"keys before any section ignored", "k=0\n[A]\nk=1\n", "A", "k", "-", 100},
    {"value through the 100-character buffer", nullptr, "A", "k", "-", 100},
    {"default through the buffer", "[A]\n", "A", "k", "abcdefghij", 5},
    {"buffer of one", "[A]\nk=abc\n", "A", "k", "-", 1},
    {"CR LF file", "[A]\r\nk=1\r\n\r\n[B]\r\nk=2\r\n", "B", "k", "-", 100},
    {"LF file", "[A]\nk=1\n\n[B]\nk=2\n", "B", "k", "-", 100},
    {"last line without line end", "[A]\nk=last", "A", "k", "-", 100},
    {"equals inside the value", "[A]\nk=a=b\n", "A", "k", "-", 100},
    {"section line with text after it", "[A] comment\nk=1\n", "A", "k", "-", 100},
    {"~ non-ASCII value in a file without byte-order mark", "[A]\nk=Tempérüture ✓\n", "A", "k", "-",
     100},
};

const Write kWrites[] = {
    {"write replaces one value", "; head\r\n[A]\r\nk = old \r\nj=2\r\n", "A", "k", "new"},
    {"write keeps the key's case", "[A]\nKey=1\n", "a", "KEY", "2"},
    {"write adds a key to its section", "[A]\nk=1\n\n[B]\nk=2\n", "A", "j", "3"},
    {"write adds a section at the end", "[A]\r\nk=1\r\n", "B", "k", "2"},
    {"write to a file without a last line end", "[A]\nk=1", "A", "j", "2"},
    {"write creates the file", nullptr, "A", "k", "1"},
    {"write of an empty value", "[A]\nk=1\n", "A", "k", ""},
    {"write leaves comments and blank lines", "[A]\n; note\n\nk=1\n\n", "A", "k", "9"},
};

// Two keys of section A written together (k := "new", j := "added").
const std::pair<const char*, const char*> kWritesTogether[] = {
    {"two keys together", "; head\r\n[A]\r\nk = old \r\nj=1\r\n\r\n[B]\r\nk=2\r\n"},
    {"two keys together, one added", "[a]\nK=1\n"},
    {"two keys together create the file", nullptr},
};

const std::pair<const char*, const char*> kReadBack[] = {{"A", "k"}, {"A", "j"}, {"B", "k"}};

void WriteBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return "(no file)";
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

int main() {
  const fs::path folder = fs::temp_directory_path() / "vt-profile-probe";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const fs::path path = folder / "case.ini";
  const std::string file = vt::system::Utf8FromPath(path);
  for (const Read& c : kReads) {
    fs::remove(path);
    std::string contents = c.file != nullptr ? c.file : "";
    if (std::string(c.name) == "value through the 100-character buffer") {
      contents = "[A]\nk=" + kLong + "\n";
    }
    if (c.file != nullptr || !contents.empty()) WriteBytes(path, contents);
    Print(c.name,
          vt::system::GetPrivateProfileString(c.section, c.key, c.default_value, c.size, file));
  }
  // What the file says afterwards must agree; its bytes may not (Wine
  // rewrites the whole file).
  auto print_after = [&file, &path](const std::string& name, bool ok) {
    std::string values = ok ? "ok" : "failed";
    for (const auto& [section, key] : kReadBack) {
      values += std::string(" ") + section + "." + key + "=" +
                vt::system::GetPrivateProfileString(section, key, "-", 100, file);
    }
    Print(name, values);
    Print("~ bytes after " + name, ReadBytes(path));
  };
  for (const Write& c : kWrites) {
    fs::remove(path);
    if (c.file != nullptr) WriteBytes(path, c.file);
    print_after(c.name, vt::system::WritePrivateProfileString(c.section, c.key, c.value, file));
  }
  const vt::system::ProfileEntry together[] = {{"k", "new"}, {"j", "added"}};
  for (const auto& [name, contents] : kWritesTogether) {
    fs::remove(path);
    if (contents != nullptr) WriteBytes(path, contents);
    print_after(name, vt::system::WritePrivateProfileStrings("A", together, file));
  }
  fs::remove_all(folder);
  return 0;
}
