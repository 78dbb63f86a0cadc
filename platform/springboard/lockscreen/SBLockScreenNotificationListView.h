// The lock screen's notification list: a container holding a one-section table of bulletin
// cells, whose data source it is. Cells are made afresh at each reload; the old ones are
// discarded.
#pragma once

#include "platform/springboard/lockscreen/SBLockScreenNotificationModel.h"
#include "platform/uikit/table/UITableView.h"

namespace platform::springboard {

class SBLockScreenNotificationListView : public uikit::UIView {
  public:
    static Class runtime_class();
    // Where the container starts below the top of the list (the clock sits above it).
    static constexpr double kContainerTop = 200;

    SBLockScreenNotificationListView();
    // A table that outlives its list (someone else holds it) must not ask a dead data source.
    ~SBLockScreenNotificationListView() override;

    SBLockScreenNotificationModel* model() const { return model_.get(); }
    uikit::UIView* containerView() const { return container_.get(); }
    uikit::UITableView* tableView() const { return table_.get(); }
    // Asks for every cell again at the next layout pass.
    void reloadData() { table_->reloadData(); }

    void layoutSubviews();
    int64_t tableViewNumberOfRowsInSection(Object* table, int64_t section) const;
    Ref<Object> tableViewCellForRowAtIndexPath(Object* table, Object* index_path);
    // The host's clean-up before the list leaves the lock screen: its cells are discarded.
    void prepareForRemoval();
    bool prepared_for_removal() const { return removed_; }

  private:
    Ref<SBLockScreenNotificationModel> model_;
    Ref<uikit::UIView> container_;
    Ref<uikit::UITableView> table_;
    bool removed_{false};
};

} // namespace platform::springboard
