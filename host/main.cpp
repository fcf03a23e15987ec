#include <iostream>

#include "host/run.h"
#include "host/standard_streams.h"
#include "platform/system/arguments.h"

int main(int argc, char** argv) {
  vt::host::UseBinaryStandardStreams();
  vt::system::Utf8Arguments args(argc, argv);
  return vt::host::Run(args.argc(), args.argv(), std::cout, std::cerr);
}
