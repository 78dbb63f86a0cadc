// A host's command channels deliver every reply whole however slowly a client reads, without
// holding up the host, and a line that is too long is answered and skipped, not the end. A client
// outlives a host that is gone.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "sim/hosts/CommandLine.h"
#include "sim/hosts/HostProcess.h"
#include "tests/support/HostUnderTest.h"
#include "tests/support/TempDevice.h"

using namespace zimtone::testing;
using nlohmann::json;
namespace fs = std::filesystem;

namespace {

// Bounds a wait for something that should take well under a second.
constexpr int kWaitMs = 20000;

void set_up_device(const TempDevice& device) {
    std::string command = (build_bin_dir() / "zimtone").string() + " --root " + device.root().string() +
                          " device init > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
}

// A second client of a host, on its control socket.
class ControlClient {
  public:
    ControlClient(const fs::path& root, const std::string& role) {
        fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::string path = (root / "var/run/zimtone-hosts" / (role + ".sock")).string();
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
        if (connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            close(fd_);
            fd_ = -1;
        }
    }
    ~ControlClient() {
        if (fd_ >= 0)
            close(fd_);
    }
    bool connected() const { return fd_ >= 0; }
    bool send(const std::string& text) {
        for (size_t done = 0; done < text.size();) {
            ssize_t n = write(fd_, text.data() + done, text.size() - done);
            if (n <= 0)
                return false;
            done += static_cast<size_t>(n);
        }
        return true;
    }
    // The next line, or what came before the connection ended or the wait ran out.
    std::string read_line() {
        while (true) {
            if (auto end = buffer_.find('\n'); end != std::string::npos) {
                std::string line = buffer_.substr(0, end + 1);
                buffer_.erase(0, end + 1);
                return line;
            }
            if (!read_some())
                return std::exchange(buffer_, {});
        }
    }
    // Reads until the host ends the connection; false if it never does.
    bool read_to_end(size_t* bytes) {
        *bytes = buffer_.size();
        buffer_.clear();
        while (read_some()) {
            *bytes += buffer_.size();
            buffer_.clear();
        }
        return ended_;
    }

  private:
    bool read_some() {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, kWaitMs) <= 0)
            return false;
        char chunk[65536];
        ssize_t n = read(fd_, chunk, sizeof chunk);
        ended_ = n <= 0;
        if (n <= 0)
            return false;
        buffer_.append(chunk, static_cast<size_t>(n));
        return true;
    }
    int fd_{-1};
    std::string buffer_;
    bool ended_{false};
};

// A screen crowded enough that its dump is far larger than a socket's buffer.
void crowd_the_screen(HostUnderTest& host) {
    for (int i = 0; i < 500; ++i)
        ASSERT_EQ(
            host.command("bulletin com.apple.MobileSMS Anna \"Message " + std::to_string(i) + "\"")["ok"],
            true);
    ASSERT_EQ(host.command("advance 120")["ok"], true);
    ASSERT_EQ(host.command("nc open")["ok"], true);
}

} // namespace

TEST(ControlChannel, SlowReaderGetsTheWholeReplyWhileTheHostAnswersOthers) {
    TempDevice device;
    set_up_device(device);
    HostUnderTest host("springboard", device.root(), true);
    crowd_the_screen(host);
    const json expected = host.command("dump");
    ASSERT_EQ(expected.value("ok", false), true);
    ASSERT_GT(expected.dump().size(), 500000u);

    ControlClient slow(device.root(), "springboard");
    ASSERT_TRUE(slow.connected());
    ASSERT_TRUE(slow.send("dump\nping\n"));
    // While the slow client reads nothing, the host goes on answering on its other channel.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(host.command("ping", 5)["ok"], true) << "the host waited for a client that was not reading";

    std::string line = slow.read_line();
    json dump = json::parse(line, nullptr, false);
    ASSERT_FALSE(dump.is_discarded()) << "a reply of " << line.size() << " bytes was cut short";
    EXPECT_EQ(dump, expected);
    EXPECT_EQ(json::parse(slow.read_line(), nullptr, false).value("ok", false), true)
        << "the command after the long reply was answered too";
    EXPECT_EQ(host.finish(), 0);
}

TEST(ControlChannel, ClientThatLeavesTooMuchUnreadIsDisconnectedAndTheHostGoesOn) {
    TempDevice device;
    set_up_device(device);
    HostUnderTest host("springboard", device.root(), true);
    crowd_the_screen(host);
    const size_t dump_size = host.command("dump").dump().size();
    const size_t dumps = zimtone::sim::kMaxUnreadReplies / dump_size + 4;

    ControlClient greedy(device.root(), "springboard");
    ASSERT_TRUE(greedy.connected());
    std::string lines;
    for (size_t i = 0; i < dumps; ++i)
        lines += "dump\n";
    ASSERT_TRUE(greedy.send(lines));
    // The host takes all those lines in one read and runs them before it reads stdin again, so
    // once it answers there every dump has been made while the client read nothing.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(host.command("ping", 30)["ok"], true);
    size_t received = 0;
    EXPECT_TRUE(greedy.read_to_end(&received)) << "the host kept a client that was not reading";
    EXPECT_LT(received, dumps * (dump_size + 1));
    EXPECT_EQ(host.command("ping")["ok"], true);
    EXPECT_EQ(host.finish(), 0);
}

TEST(ControlChannel, TooLongLineIsAnsweredAndTheNextLineRuns) {
    TempDevice device;
    HostUnderTest host("springboard", device.root(), true);
    ControlClient client(device.root(), "springboard");
    ASSERT_TRUE(client.connected());
    const size_t lengths[] = {zimtone::sim::kMaxCommandLine + 1, 5000, 200000};
    for (size_t length : lengths) {
        SCOPED_TRACE(length);
        const std::string long_line = "ping " + std::string(length, 'x');
        json on_stdin = host.command(long_line);
        EXPECT_EQ(on_stdin.value("error", ""), "command line too long") << on_stdin;
        EXPECT_EQ(host.command("ping")["ok"], true) << "the host stopped after a long line on stdin";

        ASSERT_TRUE(client.send(long_line + "\nping\n"));
        json on_socket = json::parse(client.read_line(), nullptr, false);
        EXPECT_EQ(on_socket.value("error", ""), "command line too long") << on_socket;
        EXPECT_EQ(json::parse(client.read_line(), nullptr, false).value("ok", false), true)
            << "the line after a long one was not answered on the socket";
    }
    EXPECT_EQ(host.finish(), 0);
}

TEST(ControlChannel, CommandToAHostThatIsGoneAnswersNullAndTheClientLivesOn) {
    TempDevice device;
    HostUnderTest host("springboard", device.root(), true);
    const pid_t pid = host.pid();
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    // Dead, its end of the pipe closed, and not yet reaped.
    auto is_zombie = [pid] {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string line;
        std::getline(stat, line);
        return line.find(") Z ") != std::string::npos;
    };
    for (int i = 0; i < 2000 && !is_zombie(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(is_zombie());
    EXPECT_TRUE(host.command("ping").is_null());
}
