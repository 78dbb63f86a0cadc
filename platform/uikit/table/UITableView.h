// A one-section table: at its layout pass after reloadData it discards its cells and asks its
// data source, through the runtime, for the row count (tableView:numberOfRowsInSection:) and
// for each row's cell (tableView:cellForRowAtIndexPath:), stacking them top to bottom.
#pragma once

#include "platform/uikit/UIView.h"

namespace platform::uikit {

class UITableView : public UIView {
  public:
    static Class runtime_class();

    // Not retained: the data source owns the table, as on the device.
    Object* dataSource() const { return data_source_; }
    void setDataSource(Object* source) { data_source_ = source; }
    double rowHeight() const { return row_height_; }
    void setRowHeight(double height) { row_height_ = height; }
    // Space left between two rows.
    void set_row_gap(double gap) { row_gap_ = gap; }

    void reloadData();
    // Cells leave the table (and die unless someone else holds them).
    void discard_cells();
    void layoutSubviews();

  private:
    Object* data_source_{nullptr};
    double row_height_{44};
    double row_gap_{0};
    bool needs_reload_{true};
};

} // namespace platform::uikit
