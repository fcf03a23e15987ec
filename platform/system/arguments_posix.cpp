#include "platform/system/arguments.h"

namespace vt::system {

Utf8Arguments::Utf8Arguments(int argc, char** argv) : words_(argv, argv + argc) {
  for (std::string& word : words_) pointers_.push_back(word.data());
  pointers_.push_back(nullptr);
}

}  // namespace vt::system
