#include "platform/springboard/nc/NotificationListController.h"

#include "platform/applist/ALApplicationList.h"
#include "platform/foundation/DeviceTime.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/RunLoop.h"
#include "platform/springboard/nc/SBNotificationCenterHeaderView.h"
#include "platform/springboard/nc/SBNotificationsBulletinCell.h"

namespace platform::springboard {

using namespace platform::runtime;
using foundation::ns;

namespace {

constexpr const char* kPlainCellIdentifier = "UITableViewCell";
constexpr double kRowHeight = 56;
// The app icon of a section header, drawn at 20 points from the 29-point small icon.
constexpr uint64_t kSmallIconSize = 29;

template <class T> Ref<T> reused_or_new(Ref<Object> reused) {
    if (auto* view = dynamic_cast<T*>(reused.get()))
        return Ref<T>(view);
    return uikit::UIView::create<T>({});
}

} // namespace

NotificationListController::NotificationListController() : table_(make_object<uikit::UITableView>()) {
    table_->setDataSource(this);
    // Tall enough for a title, a subtitle and a message; a screen then shows about ten rows.
    table_->setRowHeight(kRowHeight);
}

void NotificationListController::will_dealloc() {
    table_->setDataSource(nullptr);
}

void NotificationListController::show_sections(std::vector<ListSection> sections) {
    sections_ = std::move(sections);
    std::vector<Ref<Object>> objects;
    for (auto& s : sections_)
        objects.push_back(s.section_object);
    ordered_sections_ = foundation::NSArray::create(std::move(objects));
    msg(table_.get(), "reloadData"_sel);
    // The sections show at once, as the host's list does when it is handed new sections.
    table_->layoutIfNeeded();
}

const ListSection* NotificationListController::section_at(int64_t section) const {
    if (section < 0 || static_cast<size_t>(section) >= sections_.size())
        return nullptr;
    return &sections_[static_cast<size_t>(section)];
}

int64_t NotificationListController::numberOfSectionsInTableView(uikit::UITableView*) const {
    return static_cast<int64_t>(sections_.size());
}

int64_t NotificationListController::tableView_numberOfRowsInSection(uikit::UITableView*,
                                                                    int64_t section) const {
    auto* s = section_at(section);
    return s ? static_cast<int64_t>(s->rows.size()) : 0;
}

Ref<Object> NotificationListController::tableView_viewForHeaderInSection(uikit::UITableView* table,
                                                                         int64_t section) {
    auto* s = section_at(section);
    if (!s || !table)
        return nullptr;
    auto header =
        reused_or_new<SBNotificationCenterHeaderView>(table->dequeueReusableHeaderFooterViewWithIdentifier(
            ns(SBNotificationCenterHeaderView::kReuseIdentifier).get()));
    header->titleLabel()->setText(ns(s->title).get());
    Ref<uikit::UIImage> icon;
    if (!s->rows.empty() && s->rows.front().bulletin)
        icon = applist::ALApplicationList::sharedApplicationList()->iconOfSizeForDisplayIdentifier(
            kSmallIconSize, s->rows.front().bulletin->sectionID().get());
    header->set_icon(icon.get());
    // Told through the runtime, as the host's table code does.
    msg(header.get(), "setHasClearButton:"_sel, s->clear_button);
    return header;
}

Ref<Object> NotificationListController::tableView_cellForRowAtIndexPath(uikit::UITableView* table,
                                                                        Object* index_path) {
    auto* path = dynamic_cast<foundation::NSIndexPath*>(index_path);
    auto* s = path ? section_at(path->section()) : nullptr;
    if (!s || !table || path->row() < 0 || static_cast<size_t>(path->row()) >= s->rows.size())
        return nullptr;
    const ListRow& row = s->rows[static_cast<size_t>(path->row())];
    if (row.bulletin) {
        auto cell = reused_or_new<SBNotificationsBulletinCell>(table->dequeueReusableCellWithIdentifier(
            ns(SBNotificationsBulletinCell::kReuseIdentifier).get()));
        cell->show(*row.bulletin,
                   foundation::relative_time_text(row.bulletin->date(), foundation::RunLoop::main().now()));
        return cell;
    }
    auto cell = reused_or_new<uikit::UITableViewCell>(
        table->dequeueReusableCellWithIdentifier(ns(kPlainCellIdentifier).get()));
    cell->set_reuse_identifier(kPlainCellIdentifier);
    cell->textLabel()->setText(ns(row.text).get());
    cell->textLabel()->setTextColor(uikit::UIColor::whiteColor().get());
    return cell;
}

} // namespace platform::springboard
