// veltrano-dict: statistics of a dictionary workbook, and XLIFF out and in.
#include <iostream>

#include "dict/run.h"
#include "platform/system/arguments.h"

int main(int raw_argc, char** raw_argv) {
  vt::system::Utf8Arguments args(raw_argc, raw_argv);
  return vt::dict::Run(args.argc(), args.argv(), std::cout, std::cerr);
}
