// A fresh device root in a temporary folder for one test, removed afterwards.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace applist_test {

class TempDevice {
  public:
    // Creates the folder and makes it this process's device root.
    TempDevice();
    ~TempDevice();
    TempDevice(const TempDevice&) = delete;
    TempDevice& operator=(const TempDevice&) = delete;

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path path(const std::string& device_path) const;

  private:
    std::filesystem::path root_;
};

std::vector<char> read_bytes(const std::filesystem::path& file);
void write_bytes(const std::filesystem::path& file, const std::string& bytes);

} // namespace applist_test
