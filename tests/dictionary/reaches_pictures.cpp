// Compiled as the dictionary is: its own headers and those below it are
// fine, a header of the pictures above it must refuse it.
#include "library/dictionary/dictionary.h"
#include "library/interpreter/session.h"
#include "library/pictures/picture_translator.h"
