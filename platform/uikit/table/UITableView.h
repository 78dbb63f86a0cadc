// Tables: a vertical list of sections, each a header and rows, asked of a data source at the
// layout pass after a reload and reused as a table does. Reloading hands every shown header and cell back to
// the reuse pools; the data source takes them out again with the dequeue messages, and whatever it leaves in
// the pools at the end of the reload is discarded.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/foundation/NSString.h"
#include "platform/uikit/UIView.h"

namespace platform::uikit {

class UITableView : public UIView {
  public:
    static Class runtime_class();

    // The data source answers numberOfSectionsInTableView:, tableView:numberOfRowsInSection:,
    // tableView:viewForHeaderInSection: and tableView:cellForRowAtIndexPath:. It is not retained:
    // its owner clears it before going away.
    runtime::Object* dataSource() const { return data_source_; }
    void setDataSource(runtime::Object* source) { data_source_ = source; }
    // The delegate is told of selections (tableView:didSelectRowAtIndexPath:) when it answers
    // that message. Not retained either, for the same reason.
    runtime::Object* delegate() const { return delegate_; }
    void setDelegate(runtime::Object* delegate) { delegate_ = delegate; }
    double rowHeight() const { return row_height_; }
    void setRowHeight(double height) { row_height_ = height; }
    // Space left below each row.
    void set_row_gap(double gap) { row_gap_ = gap; }
    double sectionHeaderHeight() const { return header_height_; }
    void setSectionHeaderHeight(double height) { header_height_ = height; }

    // Marks the table; the rows are asked for at its next layout pass (layoutIfNeeded).
    void reloadData();
    // Every shown header and cell leaves the table (and dies unless someone else holds it).
    void discard_cells();
    void layoutSubviews();
    // A view handed back under the identifier, or nil when the pool has none.
    Ref<runtime::Object> dequeueReusableCellWithIdentifier(const foundation::NSString* identifier);
    Ref<runtime::Object>
    dequeueReusableHeaderFooterViewWithIdentifier(const foundation::NSString* identifier);

    // The height of everything the last reload placed.
    double content_height() const { return content_height_; }
    const std::vector<Ref<UIView>>& shown_cells() const { return cells_; }
    // The index path of a shown cell, nil for any other view.
    Ref<runtime::Object> indexPathForCell(UIView* cell) const;
    // Tells the delegate the row was selected, as a tap on its cell does; nothing happens for a
    // row the table does not show.
    void select_row(int64_t row, int64_t section);
    const std::vector<Ref<UIView>>& shown_headers() const { return headers_; }

  private:
    void reload_now();
    using Pool = std::multimap<std::string, Ref<UIView>>;
    static void hand_back(std::vector<Ref<UIView>>& shown, Pool& pool);
    static Ref<runtime::Object> take(Pool& pool, const foundation::NSString* identifier);
    // Places a view the data source answered; anything but a view is skipped.
    UIView* place_row_view(runtime::Object* answer, double y, double height, std::vector<Ref<UIView>>& shown);

    struct RowPlace {
        int64_t section;
        int64_t row;
    };

    runtime::Object* data_source_{nullptr};
    runtime::Object* delegate_{nullptr};
    std::vector<RowPlace> cell_places_; // beside cells_, one for one
    double row_height_{64};
    double row_gap_{0};
    bool needs_reload_{true};
    double header_height_{32};
    double content_height_{0};
    std::vector<Ref<UIView>> headers_;
    std::vector<Ref<UIView>> cells_;
    Pool header_pool_;
    Pool cell_pool_;
};

} // namespace platform::uikit
