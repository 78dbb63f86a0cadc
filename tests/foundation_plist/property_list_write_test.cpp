// Writing property-list files: round trips and atomic replacement when a write fails.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <limits>

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "plist_test_support.h"

using namespace platform::foundation;
using namespace platform::runtime;

namespace {

const std::string kDirectory = "/User/Library/Preferences";
const std::string kSettings = kDirectory + "/org.quillhaven.zimtonepro2.plist";
const std::string kLeafName = "org.quillhaven.zimtonepro2.plist";

Ref<NSMutableDictionary> every_kind() {
    auto entry = NSMutableDictionary::create();
    entry->set("com.apple.mobilesafari", ns("FF8800"));
    auto nested = NSMutableArray::create();
    nested->addObject(entry);
    nested->addObject(NSMutableArray::create());
    auto dict = NSMutableDictionary::create();
    dict->set("yes", NSNumber::numberWithBool(true));
    dict->set("no", NSNumber::numberWithBool(false));
    dict->set("zero", NSNumber::numberWithInteger(0));
    dict->set("negative", NSNumber::numberWithInteger(-5));
    dict->set("max", NSNumber::numberWithInteger(std::numeric_limits<int64_t>::max()));
    dict->set("min", NSNumber::numberWithInteger(std::numeric_limits<int64_t>::min()));
    dict->set("third", NSNumber::numberWithDouble(1.0 / 3.0));
    dict->set("tiny", NSNumber::numberWithDouble(-4.9406564584124654e-324));
    dict->set("whole real", NSNumber::numberWithDouble(2.0));
    dict->set("text", ns("z\xC3\xAFm <&> \xF0\x9F\x98\x80"));
    dict->set("empty text", ns(""));
    dict->set("data", NSData::dataWithBytes(std::string("\x00\xFF\x01", 3)));
    dict->set("date", NSData::dateWithSeconds(86400));
    dict->set("Specific_App_Color", nested);
    dict->set("empty dict", NSMutableDictionary::create());
    return dict;
}

// An object with no property-list form.
class Opaque : public NSObject {
  public:
    static Class runtime_class() {
        static Class cls = ClassBuilder<Opaque>("PlistTestOpaque", NSObject::runtime_class()).get();
        return cls;
    }
};

class PropertyListWrite : public plist_test::DeviceRootTest {
  protected:
    void write_old_file() {
        auto old = NSMutableDictionary::create();
        old->set("BannerAlpha", NSNumber::numberWithDouble(0.5));
        ASSERT_TRUE(write_property_list_file(kSettings, old.get()));
        old_bytes_ = read_bytes(kSettings);
    }
    void expect_old_file_whole() {
        EXPECT_EQ(read_bytes(kSettings), old_bytes_);
        EXPECT_EQ(directory_entries(kDirectory), std::vector<std::string>{kLeafName});
    }
    std::string old_bytes_;
};

} // namespace

TEST_F(PropertyListWrite, RoundTripKeepsEveryTypeInBothFormats) {
    auto dict = every_kind();
    for (auto format : {PlistFormat::XML, PlistFormat::Binary}) {
        SCOPED_TRACE(format == PlistFormat::XML ? "XML" : "binary");
        ASSERT_TRUE(write_property_list_file(kSettings, dict.get(), format));
        EXPECT_EQ(read_bytes(kSettings).starts_with("bplist00"), format == PlistFormat::Binary);
        auto back = read_dictionary_file(kSettings);
        ASSERT_TRUE(back);
        EXPECT_TRUE(plist_test::same_tree(dict.get(), back.get()));
    }
}

TEST_F(PropertyListWrite, CreatesMissingDirectoriesAndReplacesTheOldFile) {
    ASSERT_FALSE(std::filesystem::exists(host_path(kDirectory)));
    write_old_file();
    auto replacement = NSMutableDictionary::create();
    replacement->set("BannerAlpha", NSNumber::numberWithDouble(0.25));
    ASSERT_TRUE(write_property_list_file(kSettings, replacement.get()));
    auto back = read_dictionary_file(kSettings);
    ASSERT_TRUE(back);
    EXPECT_EQ(dynamic_cast<NSNumber*>(back->get("BannerAlpha").get())->doubleValue(), 0.25);
    EXPECT_EQ(directory_entries(kDirectory), std::vector<std::string>{kLeafName});
}

TEST_F(PropertyListWrite, BrokenUtf8IsWrittenAsReplacementCharacters) {
    auto dict = NSMutableDictionary::create();
    dict->set("k\xFF", ns("a\xC3"));
    for (auto format : {PlistFormat::XML, PlistFormat::Binary}) {
        ASSERT_TRUE(write_property_list_file(kSettings, dict.get(), format));
        auto back = read_dictionary_file(kSettings);
        ASSERT_TRUE(back);
        auto value = back->get("k\xEF\xBF\xBD");
        ASSERT_TRUE(value);
        EXPECT_EQ(*string_of(value.get()), "a\xEF\xBF\xBD");
    }
}

TEST_F(PropertyListWrite, ObjectsWithoutAPlistFormAreNotWritten) {
    write_old_file();
    auto with_opaque = NSMutableDictionary::create();
    with_opaque->set("x", make_object<Opaque>());
    auto holding_itself = NSMutableArray::create();
    holding_itself->addObject(holding_itself.get());
    auto outer = NSMutableDictionary::create();
    outer->set("loop", holding_itself);
    for (const Object* root :
         {static_cast<const Object*>(with_opaque.get()), static_cast<const Object*>(outer.get()),
          static_cast<const Object*>(nullptr)}) {
        EXPECT_TRUE(serialise_property_list(root, PlistFormat::XML).empty());
        errno = 0;
        EXPECT_FALSE(write_property_list_file(kSettings, root));
        EXPECT_EQ(errno, EINVAL);
    }
    holding_itself->removeAllObjects(); // break the cycle so the array can be freed
    expect_old_file_whole();
}

TEST_F(PropertyListWrite, ParentThatIsAFileFailsWithNotADirectory) {
    write_bytes(kDirectory, "a regular file");
    errno = 0;
    EXPECT_FALSE(write_property_list_file(kSettings, every_kind().get()));
    EXPECT_EQ(errno, ENOTDIR);
    EXPECT_EQ(read_bytes(kDirectory), "a regular file");
}

TEST_F(PropertyListWrite, TargetThatIsADirectoryIsLeftAlone) {
    std::filesystem::create_directories(host_path(kSettings));
    EXPECT_FALSE(write_property_list_file(kSettings, every_kind().get()));
    EXPECT_EQ(errno, EISDIR);
    EXPECT_TRUE(std::filesystem::is_directory(host_path(kSettings)));
    EXPECT_EQ(directory_entries(kDirectory), std::vector<std::string>{kLeafName});
}

TEST_F(PropertyListWrite, UnwritableDirectoryLeavesTheOldFile) {
    write_old_file();
    namespace fs = std::filesystem;
    fs::permissions(host_path(kDirectory), fs::perms::owner_read | fs::perms::owner_exec |
                                               fs::perms::group_read | fs::perms::group_exec |
                                               fs::perms::others_read | fs::perms::others_exec);
    EXPECT_TRUE(plist_test::run_unprivileged([&] {
        errno = 0;
        return !write_property_list_file(kSettings, every_kind().get()) && errno == EACCES;
    }));
    expect_old_file_whole();
}

// A write that fails half-way (here: the file-size limit) removes its temporary file.
TEST_F(PropertyListWrite, FailureMidWriteLeavesTheOldFile) {
    write_old_file();
    EXPECT_TRUE(plist_test::run_in_child([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{16, 16};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return false;
        errno = 0;
        return !write_property_list_file(kSettings, every_kind().get()) && errno == EFBIG;
    }));
    expect_old_file_whole();
}

// What a reader would refuse as too large is not written, in either format.
TEST_F(PropertyListWrite, AResultLargerThanAReaderAcceptsIsRefused) {
    write_old_file();
    auto huge = every_kind();
    huge->set("Padding", ns(std::string(max_property_list_file_size, 'x')));
    for (auto format : {PlistFormat::XML, PlistFormat::Binary}) {
        SCOPED_TRACE(format == PlistFormat::XML ? "XML" : "binary");
        errno = 0;
        EXPECT_FALSE(write_property_list_file(kSettings, huge.get(), format));
        EXPECT_EQ(errno, EFBIG);
        expect_old_file_whole();
    }
}
