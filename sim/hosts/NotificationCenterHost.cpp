// The NotificationCenter surface of its host process: host classes and commands. Notification
// Center covers the screen while open: the Today list (a date section) above the Notifications
// list (one section per app, newest app first, its bulletins newest first). Bulletins delivered
// while it is open show at once.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/applist/ALApplicationList.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/RunLoop.h"
#include "platform/springboard/BulletinStore.h"
#include "platform/springboard/nc/NotificationCenterClasses.h"
#include "platform/springboard/nc/SBBulletinViewController.h"
#include "platform/springboard/nc/SBBulletinViewSection.h"
#include "platform/springboard/nc/SBNCDateSectionInfo.h"
#include "platform/springboard/nc/SBNCTableViewController.h"
#include "platform/springboard/nc/SBNotificationCenterModeControl.h"
#include "platform/springboard/nc/SBNotificationCenterScrollView.h"
#include "sim/hosts/Screen.h"
#include "sim/hosts/SurfaceControls.h"
#include "sim/hosts/SurfaceHosts.h"

namespace zimtone::sim {

using namespace platform::springboard;
using platform::foundation::CGRect;
using platform::foundation::CGRectMake;
using platform::foundation::ns;
using platform::runtime::make_object;
using platform::runtime::Ref;
using platform::uikit::UIColor;
using platform::uikit::UIView;

namespace {

constexpr double kListGap = 12;

std::string display_name(const std::string& app) {
    auto list = platform::applist::ALApplicationList::sharedApplicationList();
    auto name = list->valueForKeyForDisplayIdentifier(ns("displayName").get(), ns(app).get());
    const std::string* text = platform::foundation::string_of(name.get());
    return text ? *text : app;
}

std::vector<ListSection> sections_by_app(const std::vector<Ref<BBBulletin>>& newest_first) {
    std::vector<ListSection> sections;
    std::vector<std::string> apps;
    for (auto& bulletin : newest_first) {
        std::string app = BBBulletin::text(bulletin->sectionID());
        auto at = std::find(apps.begin(), apps.end(), app);
        if (at == apps.end()) {
            apps.push_back(app);
            sections.push_back({SBBulletinViewSection::make(app), display_name(app), true, {}});
            at = apps.end() - 1;
        }
        sections[static_cast<size_t>(at - apps.begin())].rows.push_back({bulletin, {}});
    }
    return sections;
}

// The part of a row the scroll view's window lets show; empty when none does.
CGRect clipped(const CGRect& row, const CGRect& window) {
    const double top = std::max(row.minY(), window.minY()), bottom = std::min(row.maxY(), window.maxY());
    const double left = std::max(row.minX(), window.minX()), right = std::min(row.maxX(), window.maxX());
    if (bottom <= top || right <= left)
        return {};
    return CGRectMake(left, top, right - left, bottom - top);
}

std::string summary(size_t count) {
    if (count == 0)
        return "No Notifications";
    return std::to_string(count) + (count == 1 ? " Notification" : " Notifications");
}

class NotificationCenter {
  public:
    NotificationCenter()
        : view_(UIView::create<UIView>(CGRectMake(0, 0, kScreenWidth, kScreenHeight))),
          today_(make_object<SBNCTableViewController>()),
          notifications_(make_object<SBBulletinViewController>()) {
        view_->setBackgroundColor(UIColor::colorWithRGBA(0.08, 0.08, 0.1, 0.94).get());
        using Mode = SBNotificationCenterModeControl;
        auto mode = UIView::create<Mode>(
            CGRectMake((kScreenWidth - Mode::kWidth) / 2, Mode::kTop, Mode::kWidth, Mode::kHeight));
        view_->addSubview(mode.get());
        scroll_ = UIView::create<SBNotificationCenterScrollView>(
            CGRectMake(0, Mode::kContentTop, kScreenWidth, kScreenHeight - Mode::kContentTop));
        view_->addSubview(scroll_.get());
        scroll_->contentView()->addSubview(today_->tableView());
        scroll_->contentView()->addSubview(notifications_->tableView());
    }

    double scroll_by(double distance) { return scroll_->scrollBy(distance); }

    bool is_open() const { return view_->superview() != nullptr; }

    void open() {
        screen()->addSubview(view_.get());
        refresh();
    }

    void close() { view_->removeFromSuperview(); }

    void refresh() {
        const auto& bulletins = BulletinStore::shared().newest_first();
        ListSection date{SBNCDateSectionInfo::make(platform::foundation::RunLoop::main().now()),
                         "Today",
                         false,
                         {{nullptr, summary(bulletins.size())}}};
        auto* today_table = today_->tableView();
        today_table->setFrame(CGRectMake(0, 0, kScreenWidth, 0));
        today_->show_sections({date});
        today_table->setFrame(CGRectMake(0, 0, kScreenWidth, today_table->content_height()));

        auto* list = notifications_->tableView();
        double top = today_table->content_height() + kListGap;
        list->setFrame(CGRectMake(0, top, kScreenWidth, 0));
        shown_ = sections_by_app(bulletins);
        notifications_->show_sections(shown_);
        list->setFrame(CGRectMake(0, top, kScreenWidth, list->content_height()));
        scroll_->setContentHeight(top + list->content_height());
    }

    // The cells of the Notifications list that show through the scroll view, in list order.
    std::vector<NotificationCenterRow> rows() const {
        std::vector<NotificationCenterRow> rows;
        if (!is_open())
            return rows;
        const CGRect window = rect_on_screen(scroll_.get());
        auto* table = notifications_->tableView();
        for (const auto& cell : table->shown_cells()) {
            auto path = table->indexPathForCell(cell.get());
            auto* index = dynamic_cast<platform::foundation::NSIndexPath*>(path.get());
            if (!index || index->section() < 0 || static_cast<size_t>(index->section()) >= shown_.size())
                continue;
            const auto& section = shown_[static_cast<size_t>(index->section())];
            if (index->row() < 0 || static_cast<size_t>(index->row()) >= section.rows.size())
                continue;
            const auto& bulletin = section.rows[static_cast<size_t>(index->row())].bulletin;
            const CGRect visible = clipped(rect_on_screen(cell.get()), window);
            if (bulletin && visible.size.width > 0)
                rows.push_back({visible, BBBulletin::text(bulletin->sectionID())});
        }
        return rows;
    }

    nlohmann::json state() const {
        return {{"open", is_open()},
                {"sections", notifications_->tableView()->shown_headers().size()},
                {"cells", notifications_->tableView()->shown_cells().size()},
                {"offset", scroll_->contentOffset()}};
    }

  private:
    Ref<UIView> view_;
    Ref<SBNotificationCenterScrollView> scroll_;
    Ref<SBNCTableViewController> today_;
    Ref<SBBulletinViewController> notifications_;
    std::vector<ListSection> shown_; // what the Notifications list shows, for its rows' bulletins
};

NotificationCenter& notification_center() {
    static auto* nc = new NotificationCenter; // lives as long as its process
    return *nc;
}

} // namespace

bool notification_center_is_open() {
    return notification_center().is_open();
}

void open_notification_center() {
    notification_center().open();
}

void close_notification_center() {
    notification_center().close();
}

std::vector<NotificationCenterRow> notification_center_rows() {
    return notification_center().rows();
}

void set_up_notification_center_host(HostProcess& host) {
    register_notification_center_classes();
    BulletinStore::shared().add_listener([](BBBulletin*) {
        if (notification_center().is_open())
            notification_center().refresh();
    });
    add_screen_refresh([] {
        if (notification_center().is_open())
            notification_center().refresh();
    });
    host.add_command("nc", "nc open|close|scroll DY  (Notification Center)",
                     [](const std::vector<std::string>& args) {
                         if (args.size() == 2 && args[0] == "scroll") {
                             char* end = nullptr;
                             const double distance = std::strtod(args[1].c_str(), &end);
                             if (end == args[1].c_str() || *end || !std::isfinite(distance))
                                 return CommandResult::failure("nc scroll takes a distance in points");
                             notification_center().scroll_by(distance);
                             return CommandResult::success(notification_center().state());
                         }
                         if (args.size() != 1 || (args[0] != "open" && args[0] != "close"))
                             return CommandResult::failure("nc takes open or close");
                         // "wasOpen" lets a caller tell a close that closed something from one that had
                         // nothing to do.
                         bool was_open = notification_center().is_open();
                         if (args[0] == "open")
                             notification_center().open();
                         else
                             notification_center().close();
                         auto state = notification_center().state();
                         state["wasOpen"] = was_open;
                         return CommandResult::success(state);
                     });
}

} // namespace zimtone::sim
