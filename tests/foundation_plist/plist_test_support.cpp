// Shared helpers of the property-list tests.
#include "plist_test_support.h"

#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"

namespace fs = std::filesystem;
using namespace platform::foundation;
using platform::runtime::Object;

namespace plist_test {

void DeviceRootTest::SetUp() {
    std::string pattern = (fs::temp_directory_path() / "zimtone-plist-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    // Traversable by the unprivileged user that some checks run as.
    fs::permissions(root_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
    set_device_root(root_);
}

void DeviceRootTest::TearDown() {
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(root_, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root_, ignored);
}

fs::path DeviceRootTest::host_path(const std::string& device_path) const {
    return resolve_device_path(device_path);
}

void DeviceRootTest::write_bytes(const std::string& device_path, const std::string& bytes) const {
    auto path = host_path(device_path);
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string DeviceRootTest::read_bytes(const std::string& device_path) const {
    std::ifstream in(host_path(device_path), std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

std::vector<std::string> DeviceRootTest::directory_entries(const std::string& device_directory) const {
    std::vector<std::string> names;
    for (auto& entry : fs::directory_iterator(host_path(device_directory)))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

bool run_in_child(const std::function<bool()>& check) {
    pid_t child = ::fork();
    if (child == 0)
        ::_exit(check() ? 0 : 1);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool run_unprivileged(const std::function<bool()>& check) {
    if (::geteuid() != 0)
        return check();
    return run_in_child([&] {
        constexpr uid_t kNobody = 65534;
        return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 && check();
    });
}

bool same_tree(const Object* a, const Object* b) {
    if (!a || !b)
        return a == b;
    if (auto* x = dynamic_cast<const NSDictionary*>(a)) {
        auto* y = dynamic_cast<const NSDictionary*>(b);
        if (!y || x->keys() != y->keys())
            return false;
        for (auto& key : x->keys())
            if (!same_tree(x->get(key).get(), y->get(key).get()))
                return false;
        return true;
    }
    if (auto* x = dynamic_cast<const NSArray*>(a)) {
        auto* y = dynamic_cast<const NSArray*>(b);
        if (!y || x->count() != y->count())
            return false;
        for (uint64_t i = 0; i < x->count(); ++i)
            if (!same_tree(x->objectAtIndex(i).get(), y->objectAtIndex(i).get()))
                return false;
        return true;
    }
    if (auto* x = string_of(a))
        return string_of(b) && *x == *string_of(b);
    if (auto* x = dynamic_cast<const NSNumber*>(a)) {
        auto* y = dynamic_cast<const NSNumber*>(b);
        if (!y || x->kind() != y->kind())
            return false;
        return x->kind() == NSNumber::Kind::Real ? x->doubleValue() == y->doubleValue()
                                                 : x->integerValue() == y->integerValue();
    }
    if (auto* x = dynamic_cast<const NSData*>(a)) {
        auto* y = dynamic_cast<const NSData*>(b);
        return y && x->kind() == y->kind() && x->bytes() == y->bytes() && x->seconds() == y->seconds() &&
               x->microseconds() == y->microseconds();
    }
    return false;
}

std::string BinaryPlistBuilder::big_endian(uint64_t value, int width) {
    std::string bytes;
    for (int i = width - 1; i >= 0; --i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return bytes;
}

std::string BinaryPlistBuilder::marker(uint8_t kind, uint64_t count) {
    if (count < 15)
        return std::string(1, static_cast<char>((kind << 4) | count));
    return std::string(1, static_cast<char>((kind << 4) | 0xF)) + "\x13" + big_endian(count, 8);
}

size_t BinaryPlistBuilder::add(std::string object_bytes) {
    objects_.push_back(std::move(object_bytes));
    return objects_.size() - 1;
}

size_t BinaryPlistBuilder::ascii(const std::string& text) {
    return add(marker(0x5, text.size()) + text);
}

size_t BinaryPlistBuilder::integer(uint64_t bits, int width) {
    int exponent = 0;
    while ((1 << exponent) < width)
        ++exponent;
    return add(std::string(1, static_cast<char>(0x10 | exponent)) + big_endian(bits, width));
}

size_t BinaryPlistBuilder::array(const std::vector<size_t>& references) {
    std::string bytes = marker(0xA, references.size());
    for (auto r : references)
        bytes += big_endian(r, 4);
    return add(bytes);
}

size_t BinaryPlistBuilder::dictionary(const std::vector<size_t>& keys, const std::vector<size_t>& values) {
    std::string bytes = marker(0xD, keys.size());
    for (auto k : keys)
        bytes += big_endian(k, 4);
    for (auto v : values)
        bytes += big_endian(v, 4);
    return add(bytes);
}

std::string BinaryPlistBuilder::build(size_t root) const {
    std::string bytes = "bplist00";
    std::vector<size_t> offsets;
    for (auto& object : objects_) {
        offsets.push_back(bytes.size());
        bytes += object;
    }
    size_t table = bytes.size();
    for (auto offset : offsets)
        bytes += big_endian(offset, 4);
    bytes += std::string(6, '\0') + "\x04\x04";
    bytes += big_endian(objects_.size(), 8) + big_endian(root, 8) + big_endian(table, 8);
    return bytes;
}

} // namespace plist_test
