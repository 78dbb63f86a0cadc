// Shared pieces of the property-list tests: a private device root per test, raw file access,
// running a check as an unprivileged user, deep comparison of values, and a builder for
// hand-made binary property lists.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/runtime/Runtime.h"

namespace plist_test {

// Gives every test a fresh device root under the temporary directory, removed afterwards.
class DeviceRootTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path host_path(const std::string& device_path) const;
    void write_bytes(const std::string& device_path, const std::string& bytes) const;
    std::string read_bytes(const std::string& device_path) const;
    // Names in the directory of a device path, to see that no temporary file was left behind.
    std::vector<std::string> directory_entries(const std::string& device_directory) const;

    std::filesystem::path root_;
};

// Runs `check` as the user "nobody" when the test runs as root, whom file permissions do not
// stop, and directly otherwise. True when `check` returned true.
bool run_unprivileged(const std::function<bool()>& check);
// Runs `check` in a child process (for limits that must not touch the test process).
bool run_in_child(const std::function<bool()>& check);

// True when two trees hold the same kinds of value with the same contents and key order.
bool same_tree(const platform::runtime::Object* a, const platform::runtime::Object* b);

// Builds a binary property list object by object, with 4-byte references and offsets.
class BinaryPlistBuilder {
  public:
    size_t add(std::string object_bytes);
    size_t ascii(const std::string& text);
    size_t integer(uint64_t bits, int width);
    size_t array(const std::vector<size_t>& references);
    size_t dictionary(const std::vector<size_t>& keys, const std::vector<size_t>& values);
    std::string build(size_t root) const;

    static std::string big_endian(uint64_t value, int width);
    // A marker with its count: in the low nibble, or as a following integer object.
    static std::string marker(uint8_t kind, uint64_t count);

  private:
    std::vector<std::string> objects_;
};

} // namespace plist_test
