// Property-list files (XML or binary) read into foundation objects and written atomically.
#pragma once

#include <cstddef>
#include <string>

#include "platform/runtime/Runtime.h"

namespace platform::foundation {

class NSDictionary;

enum class PlistFormat { XML, Binary };

// Files larger than this are refused unread; settings files are a few kilobytes.
inline constexpr size_t max_property_list_file_size = size_t{8} << 20;

// Parses XML or binary property-list bytes; nil for anything that is not a whole property list.
// Booleans become NSNumber bools, integers NSNumber integers (unsigned values above INT64_MAX
// saturate), reals NSNumber reals, data and dates NSData. Containers come back mutable.
runtime::Ref<runtime::Object> parse_property_list(const char* bytes, size_t length);
// Reads a device path; nil unless the file is a property list with a dictionary root. A missing,
// unreadable, truncated, oversized or garbage file, or one that is not a regular file, yields nil,
// never a crash or a hang.
runtime::Ref<NSDictionary> read_dictionary_file(const std::string& device_path);

// A dictionary file as a writer must know it: read, missing, an empty regular file (no keys to
// keep), or present but unusable and why.
struct DictionaryFileReading {
    enum class Outcome { Read, Missing, Empty, Unreadable };
    Outcome outcome;
    runtime::Ref<NSDictionary> dictionary; // the file's dictionary when Read
    std::string problem;                   // when Unreadable, e.g. "larger than 8 MiB", "Permission denied"
};
// As read_dictionary_file, telling a missing file from one that is present and cannot be used.
DictionaryFileReading read_dictionary_file_or_problem(const std::string& device_path);
// Serialises a tree of NSDictionary, NSArray, NSString, NSNumber and NSData; empty on failure
// (another kind of object, or nesting deeper than a property list may be, as in a cycle).
// Strings that are not valid UTF-8 are written with U+FFFD in place of the broken bytes.
std::string serialise_property_list(const runtime::Object* root, PlistFormat format);
// Under the file's writers' lock (FileLock), writes to a temporary file in the same directory,
// flushes it and renames it into place, creating missing parent directories. A result larger than
// a reader accepts (max_property_list_file_size) is refused with EFBIG. False (with errno set)
// when any step failed; the old file is then left untouched and no temporary file remains.
bool write_property_list_file(const std::string& device_path, const runtime::Object* root,
                              PlistFormat format = PlistFormat::XML);

} // namespace platform::foundation
