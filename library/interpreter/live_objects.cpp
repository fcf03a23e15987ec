#include "library/interpreter/server.h"

namespace vt::interpreter {

automation::ObjectCounter& LiveObjects() {
  static automation::ObjectCounter counter;
  return counter;
}

}  // namespace vt::interpreter
