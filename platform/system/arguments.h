#pragma once

#include <string>
#include <vector>

namespace vt::system {

// The program's command line as UTF-8 words, for main() to hand on. Windows
// gives main() its arguments in the ANSI code page ("Übersicht" arrives as
// "?bersicht", "工厂" as "??"); there the words are read from the wide
// command line instead. Elsewhere they are argv as it is.
class Utf8Arguments {
 public:
  Utf8Arguments(int argc, char** argv);
  Utf8Arguments(const Utf8Arguments&) = delete;
  Utf8Arguments& operator=(const Utf8Arguments&) = delete;

  int argc() const { return static_cast<int>(words_.size()); }
  // argv()[argc()] is null, as main's is.
  char** argv() { return pointers_.data(); }

 private:
  std::vector<std::string> words_;
  std::vector<char*> pointers_;
};

}  // namespace vt::system
