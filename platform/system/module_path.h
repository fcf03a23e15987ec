#pragma once

#include <string>

namespace vt::system {

// The folder (absolute, no trailing separator) of the executable or shared
// library whose code or data holds `address`: a library finds the files
// installed beside it with the address of one of its own objects. Raises
// SystemError when the loader cannot tell.
std::string ModuleFolderOf(const void* address);

}  // namespace vt::system
