#include <iostream>

#include "wizard/run.h"

int main(int argc, char** argv) { return vt::wizard::Run(argc, argv, std::cout, std::cerr); }
