// A helper program started for a test, its standard output collected through a source of the
// main run loop, so the test can wait for a line while the loop also delivers notifications.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace zimtone::testing {

class OutputProcess {
  public:
    OutputProcess(const std::string& program, const std::vector<std::string>& arguments);
    ~OutputProcess();
    OutputProcess(const OutputProcess&) = delete;
    OutputProcess& operator=(const OutputProcess&) = delete;

    bool started() const { return pid_ > 0; }
    bool alive() const;
    const std::string& output() const { return output_; }
    // Runs the main loop until the output holds the text, or the wait ends (false).
    bool wait_for_output(const std::string& text, double timeout_seconds = 10);
    void send_signal(int signal) const;
    // Waits for the program to close its output and end; kills it if it does not. Answers the wait status.
    int wait_for_exit(double timeout_seconds = 10);

  private:
    void read_output();
    void close_output();

    pid_t pid_{-1};
    int out_fd_{-1};
    std::string output_;
};

} // namespace zimtone::testing
