// The shared behaviour of the pane's pages: rows from a rows resource, values read straight from
// the settings file, each change merged into it under the writers' lock and written atomically,
// the restart prompt for the page's restart keys, then the row's reload notification.
#pragma once

#include <functional>
#include <string>

#include "platform/preferences/PSListController.h"
#include "prefs/preference_values.h"

namespace zimtone::prefs {

using platform::foundation::NSArray;
using platform::preferences::PSListController;
using platform::preferences::PSSpecifier;
using platform::runtime::Class;

class SettingsPage : public PSListController {
  public:
    // Loads the rows once per page instance; later calls answer the same list.
    Ref<NSArray> specifiers();
    Ref<Object> readPreferenceValue(PSSpecifier* specifier);
    void setPreferenceValueSpecifier(Object* value, PSSpecifier* specifier);
    // Asks the page directly below this one (the root page) to show its "Respring" button.
    void respringNeeded();

    Page page() const { return page_; }

    // Registers the methods every page has on a page class.
    template <class T>
    static platform::runtime::ClassBuilder<T>& add_page_methods(platform::runtime::ClassBuilder<T>& builder) {
        return builder.template method<&SettingsPage::specifiers>("specifiers")
            .template method<&SettingsPage::readPreferenceValue>("readPreferenceValue:")
            .template method<&SettingsPage::setPreferenceValueSpecifier>("setPreferenceValue:specifier:")
            .template method<&SettingsPage::respringNeeded>("respringNeeded");
    }

  protected:
    SettingsPage(Page page, const char* resource) : page_(page), resource_(resource) {}
    // A write that failed: the user sees why and what the file really holds (`describe_stored` of
    // its dictionary), or that the file cannot be read and was left as it is.
    void show_write_failure(const std::string& what, const std::string& error,
                            const std::function<std::string(const NSDictionary&)>& describe_stored);

  private:
    Page page_;
    const char* resource_;
};

// Posts a Darwin notification of that name, with nothing attached.
void post_darwin_notification(const std::string& name);

} // namespace zimtone::prefs
