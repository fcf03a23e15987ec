#include "library/interpreter/module_state.h"

#include <memory>
#include <mutex>
#include <vector>

#include "platform/data/recordset.h"

namespace vt::interpreter {
namespace {

// Every thread's state, freed when the library unloads. A thread_local object
// with a destructor would pin the library in memory (the C library holds it
// until the thread ends), so each thread keeps only a plain pointer.
struct AllStates {
  std::mutex mutex;
  std::vector<std::unique_ptr<Session>> states;
};

AllStates& States() {
  static AllStates all;
  return all;
}

thread_local Session* this_thread_state = nullptr;

}  // namespace

Session& ThreadSession() {
  if (this_thread_state == nullptr) {
    AllStates& all = States();
    const std::lock_guard lock(all.mutex);
    all.states.push_back(std::make_unique<Session>());
    this_thread_state = all.states.back().get();
  }
  return *this_thread_state;
}

}  // namespace vt::interpreter
