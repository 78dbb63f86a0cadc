// Absolute URLs: a scheme, a colon and the rest, checked for characters a URL may hold.
#pragma once

#include <optional>
#include <string>

#include "platform/runtime/Runtime.h"

namespace platform::foundation {

using platform::runtime::Class;
using platform::runtime::Object;
using platform::runtime::Ref;
class NSString;

// Only what opening and probing apps needs: the text and its scheme.
class NSURL : public runtime::NSObject {
  public:
    static Class runtime_class();
    // nil for text that is not an absolute URL or holds characters a URL may not carry.
    static Ref<NSURL> URLWithString(const std::string& text);
    // The scheme of valid absolute URL text, as written.
    static std::optional<std::string> scheme_of(const std::string& text);

    NSURL() = default;

    const std::string& absolute_string() const { return text_; }
    const std::string& scheme_name() const { return scheme_; }
    Ref<NSString> absoluteString() const;
    Ref<NSString> scheme() const;

  private:
    std::string text_;
    std::string scheme_;
};

} // namespace platform::foundation
