#include <iostream>

#include "platform/system/arguments.h"
#include "wizard/run.h"
#include "wizard/standard_streams.h"

int main(int argc, char** argv) {
  vt::wizard::UseStartingConsole();
  vt::system::Utf8Arguments args(argc, argv);
  return vt::wizard::Run(args.argc(), args.argv(), std::cout, std::cerr);
}
