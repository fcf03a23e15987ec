#include <iostream>

#include "host/run.h"
#include "host/standard_streams.h"

int main(int argc, char** argv) {
  vt::host::UseBinaryStandardStreams();
  return vt::host::Run(argc, argv, std::cout, std::cerr);
}
