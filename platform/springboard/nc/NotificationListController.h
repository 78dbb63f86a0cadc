// What the two Notification Center table controllers share: a table, the ordered sections it
// shows (instance variable "_orderedSections"), and the headers and cells made for them. A row
// with a bulletin gets a bulletin cell; any other row a plain cell with its text.
#pragma once

#include <string>
#include <vector>

#include "platform/foundation/NSArray.h"
#include "platform/springboard/BBBulletin.h"
#include "platform/uikit/table/UITableView.h"

namespace platform::springboard {

using runtime::Object;

struct ListRow {
    Ref<BBBulletin> bulletin;
    std::string text;
};

struct ListSection {
    Ref<Object> section_object;
    std::string title;
    bool clear_button{false};
    std::vector<ListRow> rows;
};

class NotificationListController : public runtime::NSObject {
  public:
    NotificationListController();

    uikit::UITableView* tableView() const { return table_.get(); }
    // Replaces the sections and reloads the table.
    void show_sections(std::vector<ListSection> sections);

    int64_t numberOfSectionsInTableView(uikit::UITableView* table) const;
    int64_t tableView_numberOfRowsInSection(uikit::UITableView* table, int64_t section) const;
    Ref<Object> tableView_viewForHeaderInSection(uikit::UITableView* table, int64_t section);
    Ref<Object> tableView_cellForRowAtIndexPath(uikit::UITableView* table, Object* index_path);

  protected:
    void will_dealloc() override;
    // Registers the members above on a concrete controller class.
    template <class C> static runtime::ClassBuilder<C> describe(const char* name);

    Ref<foundation::NSArray> ordered_sections_;

  private:
    const ListSection* section_at(int64_t section) const;

    Ref<uikit::UITableView> table_;
    std::vector<ListSection> sections_;
};

template <class C> runtime::ClassBuilder<C> NotificationListController::describe(const char* name) {
    runtime::ClassBuilder<C> builder(name, runtime::NSObject::runtime_class());
    builder.template method<&NotificationListController::tableView>("tableView")
        .template method<&NotificationListController::numberOfSectionsInTableView>(
            "numberOfSectionsInTableView:")
        .template method<&NotificationListController::tableView_numberOfRowsInSection>(
            "tableView:numberOfRowsInSection:")
        .template method<&NotificationListController::tableView_viewForHeaderInSection>(
            "tableView:viewForHeaderInSection:")
        .template method<&NotificationListController::tableView_cellForRowAtIndexPath>(
            "tableView:cellForRowAtIndexPath:")
        .ivar("_orderedSections", &NotificationListController::ordered_sections_);
    return builder;
}

} // namespace platform::springboard
