// The Darwin notify centre within one process: delivery, bad input, stale sockets, recovery.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/NotifyCenter.h"
#include "platform/foundation/NotifyTransport.h"
#include "platform/foundation/RunLoop.h"
#include "tests/foundation_runloop/NotifySockets.h"
#include "tests/support/TempDevice.h"

using namespace platform::foundation;
using zimtone::testing::notify_directory;
using zimtone::testing::notify_sockets;
using zimtone::testing::TempDevice;

namespace {

struct Delivery {
    CFNotificationCenterRef center;
    void* observer;
    std::string name;
    const void* object;
    CFDictionaryRef user_info;
    int callback; // which of the two callbacks ran
    std::thread::id thread;
};

// Callbacks are plain functions, so what they receive goes to a list the test reads.
std::vector<Delivery> deliveries;

void first_callback(CFNotificationCenterRef center, void* observer, CFStringRef name, const void* object,
                    CFDictionaryRef user_info) {
    deliveries.push_back({center, observer, name, object, user_info, 1, std::this_thread::get_id()});
}
void second_callback(CFNotificationCenterRef center, void* observer, CFStringRef name, const void* object,
                     CFDictionaryRef user_info) {
    deliveries.push_back({center, observer, name, object, user_info, 2, std::this_thread::get_id()});
}

int count_of(const std::string& name) {
    int n = 0;
    for (auto& d : deliveries)
        n += d.name == name;
    return n;
}

CFNotificationCenterRef darwin() {
    return CFNotificationCenterGetDarwinNotifyCenter();
}

void observe(const std::string& name, CFNotificationCallback callback = first_callback,
             const void* observer = nullptr) {
    CFNotificationCenterAddObserver(darwin(), observer, callback, name.c_str(), nullptr,
                                    static_cast<CFNotificationSuspensionBehavior>(0));
}
void post(const std::string& name) {
    CFNotificationCenterPostNotification(darwin(), name.c_str(), nullptr, nullptr, true);
}
bool wait_for(const std::string& name, int count = 1) {
    return RunLoop::main().run_until([&] { return count_of(name) >= count; }, 5.0);
}

// The wire prefix, taken from the encoder rather than restated.
std::string magic() {
    std::string one = *encode_notification("x");
    return one.substr(0, one.size() - 1);
}

// A socket bound in the notification directory by the test itself.
class TestSocket {
  public:
    explicit TestSocket(const std::string& name) {
        fd_ = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::string path = (notify_directory() / name).string();
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        bound_ = bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~TestSocket() { close_now(); }
    bool bound() const { return bound_; }
    void close_now() {
        if (fd_ >= 0)
            close(fd_);
        fd_ = -1;
    }
    std::string receive() const {
        char buffer[2048];
        ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
        return n > 0 ? std::string(buffer, n) : std::string();
    }

  private:
    int fd_{-1};
    bool bound_{false};
};

class NotifyCenterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RunLoop::main().use_real_clock();
        deliveries.clear();
    }
    TempDevice root_;
};

} // namespace

TEST_F(NotifyCenterTest, PostReachesEveryObserverOfTheNameWithoutPayload) {
    int marker = 0;
    observe("test.delivery", first_callback, &marker);
    observe("test.delivery", second_callback);
    observe("test.other");
    int object = 1, info = 2;
    CFNotificationCenterPostNotification(darwin(), "test.delivery", &object, &info, false);
    ASSERT_TRUE(wait_for("test.delivery", 2));

    ASSERT_EQ(deliveries.size(), 2u);
    EXPECT_EQ(deliveries[0].callback, 1) << "observers run in registration order";
    EXPECT_EQ(deliveries[1].callback, 2);
    EXPECT_EQ(deliveries[0].center, darwin());
    EXPECT_EQ(deliveries[0].observer, &marker);
    EXPECT_EQ(deliveries[1].observer, nullptr);
    for (auto& d : deliveries) {
        EXPECT_EQ(d.object, nullptr);
        EXPECT_EQ(d.user_info, nullptr);
    }
    EXPECT_EQ(count_of("test.other"), 0);
}

TEST_F(NotifyCenterTest, RegisteringTheSameObserverTwiceDeliversOnce) {
    observe("test.twice");
    observe("test.twice");
    observe("test.twice.marker");
    post("test.twice");
    post("test.twice.marker"); // arrives after the first, so its delivery means the first was handled
    ASSERT_TRUE(wait_for("test.twice.marker"));
    EXPECT_EQ(count_of("test.twice"), 1);
}

TEST_F(NotifyCenterTest, ObservedNamesKeepRegistrationOrder) {
    static int run = 0; // a repeated run in one process needs fresh names
    std::string suffix = "." + std::to_string(++run);
    std::vector<std::string> mine{"test.order.c" + suffix, "test.order.a" + suffix, "test.order.b" + suffix};
    for (auto& name : mine)
        observe(name);
    auto names = notify_observed_names();
    ASSERT_GE(names.size(), mine.size());
    EXPECT_EQ(std::vector<std::string>(names.end() - 3, names.end()), mine);
}

TEST_F(NotifyCenterTest, InvalidNamesAreRefusedWithAMessage) {
    auto before = notify_observed_names();
    ::testing::internal::CaptureStderr();
    for (const char* name : {"", "bad\nname", "tab\tname", "caf\xc3\xa9"}) {
        observe(name);
        post(name);
    }
    observe(std::string(2000, 'a'));
    CFNotificationCenterAddObserver(darwin(), nullptr, first_callback, nullptr, nullptr,
                                    CFNotificationSuspensionBehaviorDrop);
    CFNotificationCenterAddObserver(darwin(), nullptr, nullptr, "test.no.callback", nullptr,
                                    CFNotificationSuspensionBehaviorDrop);
    CFNotificationCenterPostNotification(darwin(), nullptr, nullptr, nullptr, true);
    CFNotificationCenterPostNotification(nullptr, "test.no.centre", nullptr, nullptr, true);
    std::string messages = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(notify_observed_names(), before);
    EXPECT_NE(messages.find("invalid notification name"), std::string::npos);
    EXPECT_NE(messages.find("without a callback"), std::string::npos);
    EXPECT_NE(messages.find("only the Darwin notify centre"), std::string::npos);
}

struct DatagramCase {
    const char* name;
    std::string bytes;
    bool accepted;
};

TEST_F(NotifyCenterTest, MalformedDatagramsAreDroppedAtTheReceivePath) {
    const std::string longest(kMaxNotifyDatagram - magic().size(), 'n');
    observe("test.raw");
    observe(longest);
    const std::vector<DatagramCase> cases{
        {"well formed", magic() + "test.raw", true},
        {"longest name that fits", magic() + longest, true},
        {"empty", "", false},
        {"name without prefix", "test.raw", false},
        {"prefix only", magic(), false},
        {"other magic", std::string(magic().size(), 'Q') + "test.raw", false},
        {"truncated prefix", magic().substr(0, 2), false},
        {"control character", magic() + "test\x01raw", false},
        {"embedded NUL", magic() + std::string("test\0raw", 8), false},
        {"byte above ASCII", magic() + "test\xffraw", false},
        {"one byte too long", magic() + longest + "n", false},
        {"huge", magic() + std::string(100000, 'a'), false},
    };
    for (const DatagramCase& c : cases) {
        deliveries.clear();
        EXPECT_EQ(notify_handle_datagram(c.bytes.data(), c.bytes.size()), c.accepted) << c.name;
        EXPECT_EQ(deliveries.size(), c.accepted ? 1u : 0u) << c.name;
    }
    EXPECT_FALSE(notify_handle_datagram(nullptr, 5));
}

TEST_F(NotifyCenterTest, MalformedDatagramsOnTheSocketAreDroppedAndLaterOnesStillArrive) {
    observe("test.socket.raw");
    auto sockets = notify_sockets();
    ASSERT_EQ(sockets.size(), 1u);
    std::string own_path = (notify_directory() / sockets[0]).string();

    int sender = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, own_path.c_str(), sizeof address.sun_path - 1);
    auto send_raw = [&](const std::string& bytes) {
        return sendto(sender, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&address),
                      sizeof address);
    };
    for (const std::string& bytes :
         {std::string(), std::string("garbage"), magic() + std::string(3000, 'q'),
          magic() + "test.socket.raw\n", magic() + "test.socket.raw" + std::string(2000, 'x')})
        EXPECT_GE(send_raw(bytes), 0);
    EXPECT_GE(send_raw(magic() + "test.socket.raw"), 0);
    close(sender);

    ASSERT_TRUE(wait_for("test.socket.raw"));
    EXPECT_EQ(deliveries.size(), 1u);
}

struct DirectoryEntryCase {
    const char* name;
    const char* file_name;
    enum Kind { AbandonedSocket, LiveSocket, RegularFile } kind;
    bool remains;
};

TEST_F(NotifyCenterTest, PostRemovesSocketsNobodyListensOnAndNothingElse) {
    post("test.stale.setup"); // creates the directory
    const std::vector<DirectoryEntryCase> cases{
        {"abandoned socket", "4242-deadbeef.sock", DirectoryEntryCase::AbandonedSocket, false},
        {"live socket", "4343-cafebabe.sock", DirectoryEntryCase::LiveSocket, true},
        {"regular file named like a socket", "4444-00000000.sock", DirectoryEntryCase::RegularFile, true},
        {"unrelated file", "README", DirectoryEntryCase::RegularFile, true},
    };
    std::vector<std::unique_ptr<TestSocket>> sockets;
    for (const auto& c : cases) {
        if (c.kind == DirectoryEntryCase::RegularFile) {
            std::ofstream(notify_directory() / c.file_name) << "not a socket";
            continue;
        }
        sockets.push_back(std::make_unique<TestSocket>(c.file_name));
        ASSERT_TRUE(sockets.back()->bound()) << c.name;
        if (c.kind == DirectoryEntryCase::AbandonedSocket)
            sockets.back()->close_now();
    }

    post("test.stale");

    for (const auto& c : cases)
        EXPECT_EQ(std::filesystem::exists(notify_directory() / c.file_name), c.remains) << c.name;
    EXPECT_EQ(sockets[1]->receive(), magic() + "test.stale") << "every socket in the directory gets the post";
}

TEST_F(NotifyCenterTest, RemovedDirectoryIsRecreatedAndTheSocketBoundAgain) {
    observe("test.recover");
    post("test.recover");
    ASSERT_TRUE(wait_for("test.recover", 1));

    std::filesystem::remove_all(notify_directory());
    post("test.recover");
    ASSERT_TRUE(wait_for("test.recover", 2));
    EXPECT_EQ(notify_sockets().size(), 1u);

    // Only the socket file removed: the next post binds it again as well.
    std::filesystem::remove(notify_directory() / notify_sockets().at(0));
    post("test.recover");
    ASSERT_TRUE(wait_for("test.recover", 3));
}

TEST_F(NotifyCenterTest, UnusableDirectoryIsReportedOnceAndRecoveredFrom) {
    std::filesystem::path blocked = root_.root() / "blocked";
    std::ofstream(blocked) << "a file where a directory should be";
    set_device_root(blocked);

    ::testing::internal::CaptureStderr();
    observe("test.blocked");
    post("test.blocked");
    post("test.blocked");
    std::string messages = ::testing::internal::GetCapturedStderr();
    const std::string report = "cannot create the notification directory";
    EXPECT_NE(messages.find(report), std::string::npos);
    EXPECT_EQ(messages.find(report), messages.rfind(report));

    set_device_root(root_.root());
    post("test.blocked");
    EXPECT_TRUE(wait_for("test.blocked"));
}

TEST_F(NotifyCenterTest, ShutdownRemovesTheOwnSocket) {
    observe("test.shutdown");
    ASSERT_EQ(notify_sockets().size(), 1u);
    notify_shutdown();
    EXPECT_TRUE(notify_sockets().empty());
    notify_shutdown(); // a second call finds nothing to do
    EXPECT_TRUE(notify_sockets().empty());
}

TEST_F(NotifyCenterTest, PostFromAnotherThreadIsDeliveredOnTheMainLoop) {
    observe("test.thread");
    const auto main_thread = std::this_thread::get_id();
    std::thread([] { post("test.thread"); }).join();
    ASSERT_TRUE(wait_for("test.thread"));
    EXPECT_EQ(deliveries.at(0).thread, main_thread);
}

class NotifyLongPaths : public ::testing::TestWithParam<size_t> {};

TEST_P(NotifyLongPaths, DeliversWhateverTheLengthOfTheSocketPath) {
    RunLoop::main().use_real_clock();
    deliveries.clear();
    TempDevice device;
    // A nested folder as the root makes the socket paths as long as the case needs.
    const auto root = device.root() / std::string(GetParam(), 'd');
    std::filesystem::create_directories(root);
    platform::foundation::set_device_root(root);
    std::string name = "test.long." + std::to_string(GetParam());
    observe(name);
    auto sockets = notify_sockets();
    ASSERT_EQ(sockets.size(), 1u);
    size_t path_length = (notify_directory() / sockets[0]).string().size();
    EXPECT_EQ(path_length >= sizeof(sockaddr_un::sun_path), GetParam() > 100) << path_length;
    post(name);
    EXPECT_TRUE(wait_for(name));
}

INSTANTIATE_TEST_SUITE_P(RootLengths, NotifyLongPaths, ::testing::Values(size_t{1}, size_t{150}));
