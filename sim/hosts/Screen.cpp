#include "sim/hosts/Screen.h"

#include <cmath>
#include <string>

#include "platform/foundation/RunLoop.h"
#include "platform/render/ViewRenderer.h"
#include "platform/uikit/ViewDump.h"

namespace zimtone::sim {

using namespace platform::uikit;
using platform::foundation::RunLoop;

UIWindow* screen() {
    static UIWindow* window = [] {
        auto w = UIView::create<UIWindow>(platform::foundation::CGRectMake(0, 0, kScreenWidth, kScreenHeight));
        return w.leak(); // the screen lives as long as its process
    }();
    return window;
}

void set_up_screen(HostProcess& host) {
    UIWindow::runtime_class();
    host.add_command("dump", "dump  (the view tree of the screen as JSON)", [](auto&) {
        screen()->layoutIfNeeded();
        return CommandResult::success({ { "screen", dump_view(screen()) } });
    });
    host.add_command("screenshot", "screenshot PATH.png", [](const std::vector<std::string>& args) {
        if (args.size() != 1) return CommandResult::failure("screenshot takes one file name");
        screen()->layoutIfNeeded();
        std::string error;
        if (!platform::render::render_view_png(screen(), args[0], {}, &error)) return CommandResult::failure(error);
        return CommandResult::success({ { "path", args[0] } });
    });
    host.add_command("advance", "advance SECONDS  (virtual clock only)", [](const std::vector<std::string>& args) {
        double seconds = args.size() == 1 ? std::strtod(args[0].c_str(), nullptr) : -1;
        if (!(seconds >= 0 && std::isfinite(seconds) && seconds <= 86400))
            return CommandResult::failure("advance takes a number of seconds between 0 and 86400");
        if (!RunLoop::main().clock_is_virtual()) return CommandResult::failure("the host runs on the real clock");
        RunLoop::main().advance(seconds);
        screen()->layoutIfNeeded();
        return CommandResult::success({ { "now", RunLoop::main().now() } });
    });
}

} // namespace zimtone::sim
