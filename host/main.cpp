#include <iostream>

#include "host/run.h"

int main(int argc, char** argv) { return vt::host::Run(argc, argv, std::cout, std::cerr); }
