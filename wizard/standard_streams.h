#pragma once

namespace vt::wizard {

// Gives the program's standard streams to the console it was started from,
// when one started it. A Windows program with windows gets no console of its
// own: its streams reach a file or a pipe they were redirected to, and nothing
// else, until it joins its starter's console. Streams already redirected stay
// as they are.
void UseStartingConsole();

}  // namespace vt::wizard
