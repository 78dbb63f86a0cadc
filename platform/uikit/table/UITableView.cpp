#include "platform/uikit/table/UITableView.h"

#include "platform/uikit/table/NSIndexPath.h"

namespace platform::uikit {

using namespace platform::runtime;
using foundation::CGRectMake;

Class UITableView::runtime_class() {
    static Class cls = ClassBuilder<UITableView>("UITableView", UIView::runtime_class())
                           .method<&UITableView::dataSource>("dataSource")
                           .method<&UITableView::setDataSource>("setDataSource:")
                           .method<&UITableView::rowHeight>("rowHeight")
                           .method<&UITableView::setRowHeight>("setRowHeight:")
                           .method<&UITableView::reloadData>("reloadData")
                           .method<&UITableView::layoutSubviews>("layoutSubviews")
                           .get();
    return cls;
}

void UITableView::reloadData() {
    needs_reload_ = true;
    setNeedsLayout();
}

void UITableView::discard_cells() {
    // Back to front, so that each cell dies as it leaves.
    while (!subview_list().empty())
        subview_list().back()->removeFromSuperview();
}

void UITableView::layoutSubviews() {
    if (!needs_reload_)
        return;
    needs_reload_ = false;
    discard_cells();
    int64_t rows = msg<int64_t>(data_source_, "tableView:numberOfRowsInSection:"_sel, this, int64_t{0});
    for (int64_t row = 0; row < rows; ++row) {
        auto path = NSIndexPath::indexPathForRow(row, 0);
        auto cell = msg<Ref<Object>>(data_source_, "tableView:cellForRowAtIndexPath:"_sel, this, path.get());
        auto* view = dynamic_cast<UIView*>(cell.get());
        if (!view)
            continue;
        view->setFrame(CGRectMake(0, row * (row_height_ + row_gap_), bounds().size.width, row_height_));
        addSubview(view);
    }
}

} // namespace platform::uikit
