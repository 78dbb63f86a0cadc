// A throw-away device root for one benchmark process: made current, removed at the end.
#pragma once

#include <filesystem>

namespace zimtone::bench {

class BenchDevice {
  public:
    BenchDevice();
    ~BenchDevice();
    BenchDevice(const BenchDevice&) = delete;
    BenchDevice& operator=(const BenchDevice&) = delete;

    const std::filesystem::path& root() const { return root_; }

  private:
    std::filesystem::path root_;
};

} // namespace zimtone::bench
