#include "platform/springboard/lockscreen/SBLockScreenNotificationListView.h"

#include <algorithm>

#include "platform/springboard/lockscreen/SBLockScreenBulletinCell.h"

namespace platform::springboard {

using namespace platform::runtime;
using foundation::CGRect;
using foundation::CGRectMake;
using uikit::UITableView;
using uikit::UIView;

namespace {
constexpr double kBottomMargin = 70; // the "slide to unlock" strip
// Rows run the screen's width, one under the other, parted by their hairlines.
constexpr double kCellInset = 0;
constexpr double kCellGap = 0;
} // namespace

Class SBLockScreenNotificationListView::runtime_class() {
    static Class cls = ClassBuilder<SBLockScreenNotificationListView>("SBLockScreenNotificationListView",
                                                                      UIView::runtime_class())
                           .method<&SBLockScreenNotificationListView::model>("model")
                           .method<&SBLockScreenNotificationListView::layoutSubviews>("layoutSubviews")
                           .method<&SBLockScreenNotificationListView::tableViewNumberOfRowsInSection>(
                               "tableView:numberOfRowsInSection:")
                           .method<&SBLockScreenNotificationListView::tableViewCellForRowAtIndexPath>(
                               "tableView:cellForRowAtIndexPath:")
                           .method<&SBLockScreenNotificationListView::prepareForRemoval>("prepareForRemoval")
                           .ivar("_containerView", &SBLockScreenNotificationListView::container_)
                           .ivar("_tableView", &SBLockScreenNotificationListView::table_)
                           .get();
    return cls;
}

SBLockScreenNotificationListView::SBLockScreenNotificationListView()
    : model_(SBLockScreenNotificationModel::create()), container_(UIView::create<UIView>(CGRect{})),
      table_(UIView::create<UITableView>(CGRect{})) {
    table_->setDataSource(this);
    table_->setRowHeight(SBLockScreenBulletinCell::kHeight);
    table_->set_row_gap(kCellGap);
    addSubview(container_);
    container_->addSubview(table_);
}

SBLockScreenNotificationListView::~SBLockScreenNotificationListView() {
    table_->setDataSource(nullptr);
}

void SBLockScreenNotificationListView::layoutSubviews() {
    double width = bounds().size.width;
    double height = std::max(0.0, bounds().size.height - kContainerTop - kBottomMargin);
    container_->setFrame(CGRectMake(0, kContainerTop, width, height));
    table_->setFrame(CGRectMake(kCellInset, 0, std::max(0.0, width - 2 * kCellInset), height));
}

int64_t SBLockScreenNotificationListView::tableViewNumberOfRowsInSection(Object*, int64_t section) const {
    return section == 0 ? int64_t(model_->count()) : 0;
}

Ref<Object> SBLockScreenNotificationListView::tableViewCellForRowAtIndexPath(Object*, Object* index_path) {
    auto* item = model_->listItemAtIndexPath(index_path);
    auto cell = UIView::create<SBLockScreenBulletinCell>(
        CGRectMake(0, 0, table_->bounds().size.width, SBLockScreenBulletinCell::kHeight));
    cell->setClipsToBounds(true);
    if (item)
        cell->configure(item->activeBulletin(), item->iconImage());
    return cell;
}

void SBLockScreenNotificationListView::prepareForRemoval() {
    removed_ = true;
    table_->discard_cells();
}

} // namespace platform::springboard
