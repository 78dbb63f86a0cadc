// The library's one load-time initialiser: it runs once, on the thread that loads the library.
#include "tweak/Startup.h"

namespace {
__attribute__((constructor)) void zimtone_initialise() {
    zimtone::tweak::start();
}
} // namespace
