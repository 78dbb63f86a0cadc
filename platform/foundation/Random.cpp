#include "platform/foundation/Random.h"

#include <cstdlib>
#include <mutex>
#include <random>
#include <string>

namespace platform::foundation {

namespace {
std::mutex lock;
std::mt19937& engine() {
    static std::mt19937 e = [] {
        if (const char* env = std::getenv("ZIMTONE_RANDOM_SEED"); env && *env) {
            try {
                return std::mt19937(static_cast<uint32_t>(std::stoull(env)));
            } catch (...) {
                // An unreadable seed falls back to entropy rather than to a fixed sequence.
            }
        }
        return std::mt19937(std::random_device{}());
    }();
    return e;
}
} // namespace

uint32_t arc4random() {
    std::lock_guard guard(lock);
    return static_cast<uint32_t>(engine()());
}

void seed_random(uint64_t seed) {
    std::lock_guard guard(lock);
    engine().seed(static_cast<uint32_t>(seed));
}

} // namespace platform::foundation
