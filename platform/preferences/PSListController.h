// Settings pages: a view controller showing a list of preference items, loaded from a rows
// resource of its bundle, with one cell per row and the platform's handling of a tapped row.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/NSArray.h"
#include "platform/preferences/PSIndexPath.h"
#include "platform/preferences/PSSpecifier.h"
#include "platform/preferences/PSTableCell.h"
#include "platform/uikit/controllers/UIViewController.h"

namespace platform::preferences {

// A page reaches its rows resources through its bundle directory (a device path), which the
// Settings app sets on the principal page and every pushed page inherits. Subclasses override
// `specifiers`, `readPreferenceValue:` and `setPreferenceValue:specifier:` through the runtime.
class PSListController : public uikit::UIViewController {
  public:
    static Class runtime_class();

    // The cached list; empty until a subclass fills it.
    Ref<foundation::NSArray> specifiers();
    // Reads "<bundle>/<name>.plist" and makes one item per entry of its "items" array. A missing
    // or malformed resource gives an empty list; an entry that is not a dictionary is skipped.
    Ref<foundation::NSArray> loadSpecifiersFromPlistNameTarget(foundation::NSString* name, Object* target);
    // The plain platform behaviour: the item's "default", and no storage at all.
    Ref<Object> readPreferenceValue(PSSpecifier* specifier);
    void setPreferenceValueSpecifier(Object*, PSSpecifier*) {}

    // The cell of a row, made on first use through the item's "cellClass" (else PSTableCell)
    // and kept for the life of the page; nil for a row the page does not have.
    Ref<Object> tableViewCellForRowAtIndexPath(Object* table, PSIndexPath* path);
    // The platform's handling of a tap: the row's button action is sent to its target with the
    // item, or else the row's detail page is pushed.
    void tableViewDidSelectRowAtIndexPath(Object* table, PSIndexPath* path);

    const std::string& bundle_path() const { return bundle_path_; }
    void set_bundle_path(std::string path) { bundle_path_ = std::move(path); }
    // The item at a row of the current list (sent through the runtime), nil past the end.
    Ref<PSSpecifier> specifier_at(int64_t row);
    // The cell already made for a row, nil when none was made.
    PSTableCell* existing_cell(int64_t row);

  protected:
    Ref<foundation::NSArray> specifiers_;

  private:
    void push_detail(Class page_class);

    std::string bundle_path_;
    std::vector<std::pair<const PSSpecifier*, Ref<PSTableCell>>> cells_;
};

} // namespace platform::preferences
