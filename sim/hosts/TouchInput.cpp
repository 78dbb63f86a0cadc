#include "sim/hosts/TouchInput.h"

#include <cmath>
#include <cstdlib>
#include <memory>

#include "sim/hosts/Screen.h"

namespace zimtone::sim {

using nlohmann::json;
using platform::uikit::TouchOutcome;
using platform::uikit::TouchTracker;

namespace {

// A drag is a few dozen points; a touch held still for minutes is not worth more than this.
constexpr size_t kMaxPathPoints = 4096;

std::optional<double> coordinate(const std::string& text, double limit) {
    if (text.empty() || text.size() > 32)
        return std::nullopt;
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(value) || value < -kTouchOvershoot || value > limit + kTouchOvershoot)
        return std::nullopt;
    return value;
}

// One finger at a time: the points of the touch down so far, and the views' side of it.
class TouchSession {
  public:
    explicit TouchSession(TouchSurface surface) : surface_(std::move(surface)) {}

    CommandResult touch(const std::vector<std::string>& args) {
        auto command = parse_touch(args);
        if (!command)
            return CommandResult::failure(command.error());
        switch (command->phase) {
        case TouchCommand::Phase::Down:
            return CommandResult::success(down(command->point));
        case TouchCommand::Phase::Move:
            return CommandResult::success(move(command->point));
        case TouchCommand::Phase::Up:
            return CommandResult::success(up(command->point));
        }
        return CommandResult::failure("touch takes down, move or up");
    }

    const TouchSurface& surface() const { return surface_; }

  private:
    TouchTracker& tracker() {
        if (!tracker_)
            tracker_ = std::make_unique<TouchTracker>(screen());
        return *tracker_;
    }

    bool asleep() const { return surface_.asleep && surface_.asleep(); }

    json down(CGPoint point) {
        if (asleep()) {
            cancel();
            return {{"nothing", true}, {"asleep", true}};
        }
        path_ = {point};
        touching_ = true;
        return describe(tracker().began(point));
    }

    json move(CGPoint point) {
        if (!touching_)
            return {{"nothing", true}, {"touching", false}};
        if (path_.size() < kMaxPathPoints)
            path_.push_back(point);
        else
            path_.back() = point;
        return describe(tracker().moved(point));
    }

    json up(CGPoint point) {
        if (!touching_)
            return {{"nothing", true}, {"touching", false}};
        // The screen went dark under the finger: the touch ends with nothing done.
        if (asleep()) {
            cancel();
            return {{"nothing", true}, {"asleep", true}};
        }
        move(point);
        touching_ = false;
        std::vector<CGPoint> path = std::move(path_);
        path_.clear();
        RecognisedGesture gesture;
        if (surface_.scene)
            gesture = recognise_gesture(path, surface_.scene());
        if (gesture.gesture != Gesture::None) {
            tracker().cancelled();
            json answer = {{"gesture", gesture_name(gesture.gesture)}};
            if (surface_.perform)
                answer.update(surface_.perform(gesture));
            screen()->layoutIfNeeded();
            return answer;
        }
        TouchOutcome outcome = tracker().ended(point);
        json answer = describe(outcome);
        if (surface_.after_views)
            surface_.after_views(outcome, answer);
        screen()->layoutIfNeeded();
        return answer;
    }

    void cancel() {
        if (touching_)
            tracker().cancelled();
        touching_ = false;
        path_.clear();
    }

    // What the views did with the touch; a touch that fired nothing says so.
    static json describe(const TouchOutcome& outcome) {
        json answer = {{"view", outcome.view_class.empty() ? json(nullptr) : json(outcome.view_class)}};
        if (outcome.fired.empty())
            answer["nothing"] = true;
        else
            answer["fired"] = outcome.fired;
        if (!outcome.detail.empty())
            answer["detail"] = outcome.detail;
        return answer;
    }

    TouchSurface surface_;
    std::unique_ptr<TouchTracker> tracker_;
    std::vector<CGPoint> path_;
    bool touching_{false};
};

bool has_control_character(const std::string& text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7f)
            return true;
    return false;
}

} // namespace

platform::foundation::Result<TouchCommand> parse_touch(const std::vector<std::string>& args) {
    using platform::foundation::Failure;
    if (args.size() != 3)
        return Failure{"touch takes a phase (down, move or up) and the point's x and y in screen points"};
    TouchCommand command;
    if (args[0] == "down")
        command.phase = TouchCommand::Phase::Down;
    else if (args[0] == "move")
        command.phase = TouchCommand::Phase::Move;
    else if (args[0] == "up")
        command.phase = TouchCommand::Phase::Up;
    else
        return Failure{"touch phase must be down, move or up"};
    auto x = coordinate(args[1], kScreenWidth);
    auto y = coordinate(args[2], kScreenHeight);
    if (!x || !y)
        return Failure{"touch x and y must be numbers of screen points within " +
                       std::to_string(int(kTouchOvershoot)) + " of the screen (375 x 667)"};
    command.point = {*x, *y};
    return command;
}

void set_up_touch_input(HostProcess& host, TouchSurface surface) {
    auto session = std::make_shared<TouchSession>(std::move(surface));
    host.add_command("touch", "touch down|move|up X Y  (a finger on the screen, in points)",
                     [session](const std::vector<std::string>& args) { return session->touch(args); });
    host.add_command("key", "key TEXT | key backspace | key enter  (the computer's keyboard)",
                     [session](const std::vector<std::string>& args) {
                         if (args.size() != 1 || args[0].empty())
                             return CommandResult::failure("key takes one text, backspace or enter");
                         if (args[0].size() > kMaxKeyText)
                             return CommandResult::failure("key text is longer than " +
                                                           std::to_string(kMaxKeyText) + " bytes");
                         if (has_control_character(args[0]))
                             return CommandResult::failure(
                                 "key text holds a control character; use backspace or enter");
                         const auto& surface = session->surface();
                         if (surface.asleep && surface.asleep())
                             return CommandResult::success({{"nothing", true}, {"asleep", true}});
                         if (!surface.key)
                             return CommandResult::success({{"nothing", true}});
                         auto result = surface.key(args[0]);
                         screen()->layoutIfNeeded();
                         return result;
                     });
    const auto& registered = session->surface();
    if (registered.home)
        host.add_command("home", "home  (the Home button)", [session](const std::vector<std::string>& args) {
            if (!args.empty())
                return CommandResult::failure("home takes no arguments");
            auto result = session->surface().home();
            screen()->layoutIfNeeded();
            return result;
        });
    if (registered.sleep)
        host.add_command("sleep", "sleep  (the Sleep/Wake button)",
                         [session](const std::vector<std::string>& args) {
                             if (!args.empty())
                                 return CommandResult::failure("sleep takes no arguments");
                             auto result = session->surface().sleep();
                             screen()->layoutIfNeeded();
                             return result;
                         });
}

} // namespace zimtone::sim
