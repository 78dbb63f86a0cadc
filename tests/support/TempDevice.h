// A throw-away device root for one test: created empty, made current, removed afterwards.
#pragma once

#include <filesystem>
#include <string>

namespace zimtone::testing {

class TempDevice {
  public:
    TempDevice();
    ~TempDevice();
    TempDevice(const TempDevice&) = delete;
    TempDevice& operator=(const TempDevice&) = delete;

    const std::filesystem::path& root() const { return root_; }
    // The host path of a device path under this root.
    std::filesystem::path path(const std::string& device_path) const;

  private:
    std::filesystem::path root_;
};

} // namespace zimtone::testing
