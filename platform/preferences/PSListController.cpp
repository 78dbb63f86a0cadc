#include "platform/preferences/PSListController.h"

#include <cstdio>

#include "platform/foundation/NSNumber.h"
#include "platform/foundation/PropertyList.h"
#include "platform/uikit/controllers/UINavigationController.h"

namespace platform::preferences {

using namespace platform::runtime;
using foundation::NSArray;
using foundation::NSDictionary;
using foundation::NSMutableArray;
using foundation::NSString;

Class PSListController::runtime_class() {
    static Class cls =
        ClassBuilder<PSListController>("PSListController", uikit::UIViewController::runtime_class())
            .method<&PSListController::specifiers>("specifiers")
            .method<&PSListController::loadSpecifiersFromPlistNameTarget>(
                "loadSpecifiersFromPlistName:target:")
            .method<&PSListController::readPreferenceValue>("readPreferenceValue:")
            .method<&PSListController::setPreferenceValueSpecifier>("setPreferenceValue:specifier:")
            .method<&PSListController::tableViewCellForRowAtIndexPath>("tableView:cellForRowAtIndexPath:")
            .method<&PSListController::tableViewDidSelectRowAtIndexPath>("tableView:didSelectRowAtIndexPath:")
            .ivar("_specifiers", &PSListController::specifiers_)
            .get();
    return cls;
}

Ref<NSArray> PSListController::specifiers() {
    return specifiers_ ? specifiers_ : NSArray::create({});
}

namespace {

Ref<PSSpecifier> specifier_from_item(const NSDictionary& item, Object* target) {
    const std::string* cell_name = foundation::string_of(item.get("cell").get());
    int64_t cell = PSGroupCell;
    if (cell_name) {
        auto type = cell_type_named(*cell_name);
        if (!type)
            std::fprintf(stderr, "PSListController: unknown cell type '%s' shown as a group\n",
                         cell_name->c_str());
        cell = type.value_or(PSGroupCell);
    }
    auto label = item.get("label");
    Class detail = nullptr;
    if (auto* name = foundation::string_of(item.get("detail").get()))
        detail = objc_getClass(name->c_str());
    bool edits =
        cell == PSSwitchCell || cell == PSSliderCell || cell == PSEditTextCell || cell == PSSegmentCell;
    auto s = PSSpecifier::preferenceSpecifierNamed(
        dynamic_cast<NSString*>(label.get()), target, edits ? "setPreferenceValue:specifier:"_sel : nullptr,
        edits ? "readPreferenceValue:"_sel : nullptr, detail, cell, nullptr);
    for (const auto& key : item.keys())
        s->properties()->set(key, item.get(key));
    if (auto* action = foundation::string_of(item.get("action").get()))
        s->setButtonAction(sel_registerName(*action));
    if (auto* cell_class = foundation::string_of(item.get("cellClass").get())) {
        // The cell class travels as the class object itself, as the platform keeps it.
        Class cls = objc_getClass(cell_class->c_str());
        s->properties()->set("cellClass", Ref<Object>(cls));
    }
    return s;
}

} // namespace

Ref<NSArray> PSListController::loadSpecifiersFromPlistNameTarget(NSString* name, Object* target) {
    auto list = NSMutableArray::create();
    if (!name)
        return list;
    auto resource = foundation::read_dictionary_file(bundle_path_ + "/" + name->str() + ".plist");
    auto* items = resource ? dynamic_cast<NSArray*>(resource->get("items").get()) : nullptr;
    if (!items)
        return list;
    for (const auto& entry : items->items())
        if (auto* item = dynamic_cast<NSDictionary*>(entry.get()))
            list->addObject(specifier_from_item(*item, target));
    return list;
}

Ref<Object> PSListController::readPreferenceValue(PSSpecifier* specifier) {
    return specifier ? specifier->properties()->get("default") : nullptr;
}

Ref<PSSpecifier> PSListController::specifier_at(int64_t row) {
    auto list = msg<Ref<NSArray>>(this, "specifiers"_sel);
    if (!list || row < 0)
        return nullptr;
    return Ref<PSSpecifier>(
        dynamic_cast<PSSpecifier*>(list->objectAtIndex(static_cast<uint64_t>(row)).get()));
}

PSTableCell* PSListController::existing_cell(int64_t row) {
    auto specifier = specifier_at(row);
    for (auto& [s, cell] : cells_)
        if (s == specifier.get())
            return cell.get();
    return nullptr;
}

Ref<Object> PSListController::tableViewCellForRowAtIndexPath(Object*, PSIndexPath* path) {
    if (!path)
        return nullptr;
    auto specifier = specifier_at(path->row());
    if (!specifier)
        return nullptr;
    if (auto* cell = existing_cell(path->row()))
        return Ref<Object>(cell);
    Class cls = PSTableCell::runtime_class();
    Object* named = specifier->properties()->get("cellClass").get();
    if (named && named->isa() && named->isa()->is_metaclass() &&
        class_isSubclassOf(static_cast<Class>(named), PSTableCell::runtime_class()))
        cls = static_cast<Class>(named);
    Ref<Object> instance = class_createInstance(cls);
    Ref<Object> made = msg<Ref<Object>>(instance, "initWithStyle:reuseIdentifier:specifier:"_sel,
                                        int64_t{UITableViewCellStyleDefault}, static_cast<Object*>(nullptr),
                                        static_cast<Object*>(specifier.get()));
    Ref<PSTableCell> cell(dynamic_cast<PSTableCell*>(made.get()));
    if (!cell)
        return nullptr;
    cells_.emplace_back(specifier.get(), cell);
    return cell;
}

void PSListController::tableViewDidSelectRowAtIndexPath(Object*, PSIndexPath* path) {
    if (!path)
        return;
    auto specifier = specifier_at(path->row());
    if (!specifier)
        return;
    if (SEL action = specifier->buttonAction()) {
        Object* target = specifier->target();
        const Method* method = target ? lookup_method(target, action) : nullptr;
        if (!method)
            return;
        if (method->types == encoding_of<void, Object*>())
            msg(target, action, static_cast<Object*>(specifier.get()));
        else if (method->types == encoding_of<void>())
            msg(target, action);
        return;
    }
    if (Class detail = specifier->detailControllerClass())
        push_detail(detail);
}

void PSListController::push_detail(Class page_class) {
    Ref<Object> instance = class_createInstance(page_class);
    Ref<Object> page = msg<Ref<Object>>(instance, "init"_sel);
    auto* list = dynamic_cast<PSListController*>(page.get());
    auto* nav = navigationController();
    if (!list || !nav)
        return;
    list->set_bundle_path(bundle_path_);
    nav->pushViewControllerAnimated(list, true);
}

} // namespace platform::preferences
