#include "platform/uikit/table/UITableView.h"

#include <algorithm>

#include "platform/foundation/NSIndexPath.h"

namespace platform::uikit {

using namespace platform::runtime;
using foundation::NSIndexPath;

namespace {
// Keeps a data source's wrong answer (a negative count) from becoming a huge loop.
int64_t count_or_zero(int64_t n) {
    return n < 0 ? 0 : n;
}

bool answers(Object* receiver, SEL selector) {
    return msg<bool>(receiver, "respondsToSelector:"_sel, selector);
}
} // namespace

Class UITableView::runtime_class() {
    static Class cls =
        ClassBuilder<UITableView>("UITableView", UIView::runtime_class())
            .method<&UITableView::dataSource>("dataSource")
            .method<&UITableView::setDataSource>("setDataSource:")
            .method<&UITableView::delegate>("delegate")
            .method<&UITableView::setDelegate>("setDelegate:")
            .method<&UITableView::indexPathForCell>("indexPathForCell:")
            .method<&UITableView::rowHeight>("rowHeight")
            .method<&UITableView::setRowHeight>("setRowHeight:")
            .method<&UITableView::sectionHeaderHeight>("sectionHeaderHeight")
            .method<&UITableView::setSectionHeaderHeight>("setSectionHeaderHeight:")
            .method<&UITableView::reloadData>("reloadData")
            .method<&UITableView::layoutSubviews>("layoutSubviews")
            .method<&UITableView::dequeueReusableCellWithIdentifier>("dequeueReusableCellWithIdentifier:")
            .method<&UITableView::dequeueReusableHeaderFooterViewWithIdentifier>(
                "dequeueReusableHeaderFooterViewWithIdentifier:")
            .get();
    return cls;
}

void UITableView::hand_back(std::vector<Ref<UIView>>& shown, Pool& pool) {
    for (auto& view : shown) {
        Ref<Object> identifier;
        if (answers(view.get(), "reuseIdentifier"_sel))
            identifier = msg<Ref<Object>>(view.get(), "reuseIdentifier"_sel);
        const std::string* key = foundation::string_of(identifier.get());
        view->removeFromSuperview();
        pool.emplace(key ? *key : std::string(), view);
    }
    shown.clear();
}

Ref<Object> UITableView::take(Pool& pool, const foundation::NSString* identifier) {
    auto it = pool.find(identifier ? identifier->str() : std::string());
    if (it == pool.end())
        return nullptr;
    Ref<Object> view(it->second.get());
    pool.erase(it);
    return view;
}

Ref<Object> UITableView::dequeueReusableCellWithIdentifier(const foundation::NSString* identifier) {
    return take(cell_pool_, identifier);
}

Ref<Object>
UITableView::dequeueReusableHeaderFooterViewWithIdentifier(const foundation::NSString* identifier) {
    return take(header_pool_, identifier);
}

UIView* UITableView::place_row_view(Object* answer, double y, double height,
                                    std::vector<Ref<UIView>>& shown) {
    auto* view = dynamic_cast<UIView*>(answer);
    if (!view)
        return nullptr;
    view->setFrame(foundation::CGRectMake(0, y, bounds().size.width, height));
    addSubview(view);
    shown.emplace_back(view);
    return view;
}

void UITableView::reloadData() {
    // As on the device, rows are asked for at the next layout pass, when the owner has placed things.
    needs_reload_ = true;
    setNeedsLayout();
}

void UITableView::reload_now() {
    needs_reload_ = false;
    hand_back(headers_, header_pool_);
    hand_back(cells_, cell_pool_);
    cell_places_.clear();
    Object* table = this;
    double y = 0;
    // Sections and headers are optional for a data source, as on the device: one section, no headers.
    int64_t sections =
        !data_source_ ? 0
        : answers(data_source_, "numberOfSectionsInTableView:"_sel)
            ? count_or_zero(msg<int64_t>(data_source_, "numberOfSectionsInTableView:"_sel, table))
            : 1;
    const bool has_headers = answers(data_source_, "tableView:viewForHeaderInSection:"_sel);
    for (int64_t section = 0; section < sections; ++section) {
        if (has_headers) {
            auto header =
                msg<Ref<Object>>(data_source_, "tableView:viewForHeaderInSection:"_sel, table, section);
            if (place_row_view(header.get(), y, header_height_, headers_))
                y += header_height_;
        }
        int64_t rows =
            count_or_zero(msg<int64_t>(data_source_, "tableView:numberOfRowsInSection:"_sel, table, section));
        for (int64_t row = 0; row < rows; ++row) {
            auto path = NSIndexPath::indexPathForRow(row, section);
            Object* index_path = path.get();
            auto cell =
                msg<Ref<Object>>(data_source_, "tableView:cellForRowAtIndexPath:"_sel, table, index_path);
            if (place_row_view(cell.get(), y, row_height_, cells_)) {
                cell_places_.push_back({section, row});
                y += row_height_ + row_gap_;
            }
        }
    }
    content_height_ = y;
    // What the data source did not take back is gone, as cells scrolled far away are.
    header_pool_.clear();
    cell_pool_.clear();
}

void UITableView::discard_cells() {
    for (auto* shown : {&headers_, &cells_}) {
        for (auto& view : *shown)
            view->removeFromSuperview();
        shown->clear();
    }
    cell_places_.clear();
    header_pool_.clear();
    cell_pool_.clear();
    content_height_ = 0;
}

Ref<Object> UITableView::indexPathForCell(UIView* cell) const {
    for (size_t i = 0; i < cells_.size() && i < cell_places_.size(); ++i)
        if (cells_[i].get() == cell)
            return NSIndexPath::indexPathForRow(cell_places_[i].row, cell_places_[i].section);
    return nullptr;
}

void UITableView::select_row(int64_t row, int64_t section) {
    const bool shown = std::any_of(cell_places_.begin(), cell_places_.end(), [&](const RowPlace& place) {
        return place.row == row && place.section == section;
    });
    if (!shown || !answers(delegate_, "tableView:didSelectRowAtIndexPath:"_sel))
        return;
    Ref<UITableView> self(this);
    Ref<Object> delegate(delegate_); // the delegate may let go of the table, or itself, meanwhile
    auto path = NSIndexPath::indexPathForRow(row, section);
    Object* table = this;
    Object* index_path = path.get();
    msg(delegate_, "tableView:didSelectRowAtIndexPath:"_sel, table, index_path);
}

void UITableView::layoutSubviews() {
    if (needs_reload_) {
        reload_now();
        return;
    }
    // Rows span the table's width, which its owner may set after the reload.
    for (auto* shown : {&headers_, &cells_})
        for (auto& view : *shown) {
            auto frame = view->frame();
            frame.size.width = bounds().size.width;
            view->setFrame(frame);
        }
}

} // namespace platform::uikit
