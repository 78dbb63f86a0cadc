// Reading property-list files: both formats, broken and hostile inputs, value kinds.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <limits>
#include <random>

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/PropertyListShape.h"
#include "plist_test_support.h"

using namespace platform::foundation;
using namespace platform::runtime;
using plist_test::BinaryPlistBuilder;

namespace {

const std::string kSettings = "/User/Library/Preferences/org.quillhaven.zimtonepro2.plist";

const std::string kSettingsXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>BannersEnabled</key>
	<false/>
	<key>BannerAlpha</key>
	<real>0.3</real>
	<key>Count</key>
	<integer>-5</integer>
	<key>Name</key>
	<string>z&#xEF;m &amp; co</string>
	<key>Specific_App_Color</key>
	<array>
		<dict>
			<key>com.apple.mobilesafari</key>
			<string>FF8800</string>
		</dict>
	</array>
</dict>
</plist>
)";

std::string xml_settings_as_binary() {
    auto parsed = parse_property_list(kSettingsXml.data(), kSettingsXml.size());
    return serialise_property_list(parsed.get(), PlistFormat::Binary);
}

Ref<Object> parse(const std::string& bytes) {
    return parse_property_list(bytes.data(), bytes.size());
}

std::string xml_document(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body + "\n</plist>\n";
}

std::string nested_xml_arrays(size_t depth) {
    std::string body;
    body.reserve(depth * 15);
    for (size_t i = 0; i < depth; ++i)
        body += "<array>";
    for (size_t i = 0; i < depth; ++i)
        body += "</array>";
    return xml_document(body);
}

// A chain of one-element arrays, each holding the next.
std::string nested_binary_arrays(size_t depth) {
    BinaryPlistBuilder plist;
    for (size_t i = 0; i + 1 < depth; ++i)
        plist.array({i + 1});
    plist.array({});
    return plist.build(0);
}

class PropertyListRead : public plist_test::DeviceRootTest {};

} // namespace

TEST_F(PropertyListRead, XmlAndBinaryFilesReadAlike) {
    std::string binary = xml_settings_as_binary();
    ASSERT_TRUE(binary.starts_with("bplist00"));
    write_bytes(kSettings, kSettingsXml);
    auto from_xml = read_dictionary_file(kSettings);
    write_bytes(kSettings, binary);
    auto from_binary = read_dictionary_file(kSettings);
    ASSERT_TRUE(from_xml);
    ASSERT_TRUE(from_binary);
    EXPECT_TRUE(plist_test::same_tree(from_xml.get(), from_binary.get()));

    EXPECT_EQ(from_xml->keys(), (std::vector<std::string>{"BannersEnabled", "BannerAlpha", "Count", "Name",
                                                          "Specific_App_Color"}));
    auto enabled = Ref<NSNumber>(dynamic_cast<NSNumber*>(from_xml->get("BannersEnabled").get()));
    ASSERT_TRUE(enabled);
    EXPECT_EQ(enabled->kind(), NSNumber::Kind::Bool);
    EXPECT_FALSE(enabled->boolValue());
    EXPECT_EQ(*string_of(from_xml->get("Name").get()), "z\xC3\xAFm & co");
    auto entry = Ref<NSDictionary>(dynamic_cast<NSDictionary*>(
        dynamic_cast<NSArray*>(from_binary->get("Specific_App_Color").get())->firstObject().get()));
    ASSERT_TRUE(entry);
    EXPECT_EQ(*string_of(entry->get("com.apple.mobilesafari").get()), "FF8800");
}

// Every way a settings file can be broken reads as "no file".
TEST_F(PropertyListRead, BrokenFilesReadAsNil) {
    std::string binary = xml_settings_as_binary();
    std::mt19937 random(7);
    std::string garbage(4096, '\0');
    for (auto& c : garbage)
        c = static_cast<char>(random());
    struct Case {
        const char* name;
        std::function<void()> make;
    };
    const std::vector<Case> cases = {
        {"missing", [] {}},
        {"empty", [&] { write_bytes(kSettings, ""); }},
        {"truncated XML", [&] { write_bytes(kSettings, kSettingsXml.substr(0, kSettingsXml.size() / 2)); }},
        {"XML cut inside a value",
         [&] { write_bytes(kSettings, kSettingsXml.substr(0, kSettingsXml.find("0.3") + 2)); }},
        {"truncated binary", [&] { write_bytes(kSettings, binary.substr(0, binary.size() - 10)); }},
        {"garbage bytes", [&] { write_bytes(kSettings, garbage); }},
        {"binary magic then garbage", [&] { write_bytes(kSettings, "bplist00" + garbage); }},
        {"array root", [&] { write_bytes(kSettings, xml_document("<array><true/></array>")); }},
        {"string root", [&] { write_bytes(kSettings, xml_document("<string>x</string>")); }},
        {"directory at the path", [&] { std::filesystem::create_directories(host_path(kSettings)); }},
        {"fifo at the path",
         [&] {
             std::filesystem::create_directories(host_path(kSettings).parent_path());
             ASSERT_EQ(::mkfifo(host_path(kSettings).c_str(), 0644), 0);
         }},
        {"9 MiB file",
         [&] {
             std::string big =
                 xml_document("<dict><key>k</key><string>" + std::string(9 << 20, 'a') + "</string></dict>");
             write_bytes(kSettings, big);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(host_path(kSettings));
        c.make();
        EXPECT_FALSE(read_dictionary_file(kSettings));
    }
}

TEST_F(PropertyListRead, FileAtTheSizeLimitIsStillRead) {
    std::string head = "<dict><key>k</key><string>";
    std::string tail = "</string></dict>";
    size_t frame = xml_document(head + tail).size();
    write_bytes(kSettings, xml_document(head + std::string(max_property_list_file_size - frame, 'a') + tail));
    ASSERT_EQ(std::filesystem::file_size(host_path(kSettings)), max_property_list_file_size);
    auto dict = read_dictionary_file(kSettings);
    ASSERT_TRUE(dict);
    EXPECT_EQ(string_of(dict->get("k").get())->size(), max_property_list_file_size - frame);
}

TEST_F(PropertyListRead, UnreadableFileReadsAsNil) {
    write_bytes(kSettings, kSettingsXml);
    ASSERT_TRUE(read_dictionary_file(kSettings));
    std::filesystem::permissions(host_path(kSettings), std::filesystem::perms::none);
    EXPECT_TRUE(plist_test::run_unprivileged([&] { return !read_dictionary_file(kSettings); }));
}

// A file cut off anywhere is never taken for a whole one, in either format.
TEST(PropertyListParse, EveryProperPrefixIsRefused) {
    for (const std::string& whole : {kSettingsXml, xml_settings_as_binary()}) {
        ASSERT_TRUE(parse(whole));
        std::string trimmed = whole;
        while (!trimmed.empty() && std::isspace(static_cast<unsigned char>(trimmed.back())))
            trimmed.pop_back();
        for (size_t length = 0; length < trimmed.size(); ++length) {
            SCOPED_TRACE(length);
            EXPECT_FALSE(parse(whole.substr(0, length)));
        }
    }
}

TEST(PropertyListParse, ScalarKindsMapToTheirObjects) {
    auto dict = parse(xml_document(R"(<dict>
        <key>yes</key><true/>
        <key>int</key><integer>42</integer>
        <key>real</key><real>2.5</real>
        <key>text</key><string>hi</string>
        <key>data</key><data>AAFi</data>
        <key>date</key><date>2001-01-01T00:01:00Z</date>
        </dict>)"));
    auto* d = dynamic_cast<NSDictionary*>(dict.get());
    ASSERT_NE(d, nullptr);
    auto number = [&](const char* key) { return dynamic_cast<NSNumber*>(d->get(key).get()); };
    ASSERT_NE(number("yes"), nullptr);
    EXPECT_EQ(number("yes")->kind(), NSNumber::Kind::Bool);
    ASSERT_NE(number("int"), nullptr);
    EXPECT_EQ(number("int")->kind(), NSNumber::Kind::Integer);
    EXPECT_EQ(number("int")->integerValue(), 42);
    ASSERT_NE(number("real"), nullptr);
    EXPECT_EQ(number("real")->kind(), NSNumber::Kind::Real);
    EXPECT_EQ(*string_of(d->get("text").get()), "hi");
    auto* data = dynamic_cast<NSData*>(d->get("data").get());
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->kind(), NSData::Kind::Bytes);
    EXPECT_EQ(data->bytes(), std::string("\x00\x01\x62", 3));
    auto* date = dynamic_cast<NSData*>(d->get("date").get());
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->kind(), NSData::Kind::Date);
    EXPECT_EQ(date->seconds(), 60);
}

// Integers are signed 64-bit; the unsigned values above that range saturate.
TEST(PropertyListParse, IntegersKeepTheirSignAndSaturateAboveInt64) {
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    struct Case {
        const char* text;
        int64_t expected;
    };
    const Case cases[] = {
        {"-5", -5},
        {"-1", -1},
        {"9223372036854775807", kMax},
        {"-9223372036854775808", kMin},
        {"9223372036854775808", kMax},
        {"18446744073709551615", kMax},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto xml = parse(xml_document(std::string("<integer>") + c.text + "</integer>"));
        auto* number = dynamic_cast<NSNumber*>(xml.get());
        ASSERT_NE(number, nullptr);
        EXPECT_EQ(number->integerValue(), c.expected);
    }

    // In binary files an 8-byte integer is signed and a 16-byte one unsigned.
    BinaryPlistBuilder plist;
    size_t minus_one = plist.integer(~uint64_t{0}, 8);
    size_t huge = plist.add(std::string("\x14", 1) + std::string(8, '\0') +
                            BinaryPlistBuilder::big_endian(~uint64_t{0}, 8));
    size_t root = plist.array({minus_one, huge});
    auto parsed = parse(plist.build(root));
    auto* array = dynamic_cast<NSArray*>(parsed.get());
    ASSERT_NE(array, nullptr);
    ASSERT_EQ(array->count(), 2u);
    EXPECT_EQ(dynamic_cast<NSNumber*>(array->objectAtIndex(0).get())->integerValue(), -1);
    EXPECT_EQ(dynamic_cast<NSNumber*>(array->objectAtIndex(1).get())->integerValue(), kMax);
}

TEST(PropertyListParse, HandBuiltBinaryDictionaryReads) {
    BinaryPlistBuilder plist;
    size_t key = plist.ascii("BannerAlpha");
    size_t value = plist.integer(7, 1);
    auto parsed = parse(plist.build(plist.dictionary({key}, {value})));
    auto* dict = dynamic_cast<NSDictionary*>(parsed.get());
    ASSERT_NE(dict, nullptr);
    EXPECT_EQ(dynamic_cast<NSNumber*>(dict->get("BannerAlpha").get())->integerValue(), 7);
}

// Binary files whose structure would send the parser out of bounds, around in circles, into a
// deep recursion or into an exponentially large tree are refused before the parser sees them.
TEST(PropertyListParse, HostileBinaryShapesAreRefused) {
    auto self_holding = [] {
        BinaryPlistBuilder plist;
        plist.array({0});
        return plist.build(0);
    };
    auto mutual_cycle = [] {
        BinaryPlistBuilder plist;
        plist.array({1});
        plist.array({0});
        return plist.build(0);
    };
    // 40 levels of [next, next]: 2^40 values once expanded, from a file of a few hundred bytes.
    auto doubling = [] {
        BinaryPlistBuilder plist;
        for (size_t i = 0; i < 40; ++i)
            plist.array({i + 1, i + 1});
        plist.array({});
        return plist.build(0);
    };
    auto huge_count = [] {
        BinaryPlistBuilder plist;
        plist.add(BinaryPlistBuilder::marker(0xA, uint64_t{1} << 40));
        return plist.build(0);
    };
    auto string_past_the_end = [] {
        BinaryPlistBuilder plist;
        plist.add(BinaryPlistBuilder::marker(0x5, 100000) + "abc");
        return plist.build(0);
    };
    auto reference_past_the_objects = [] {
        BinaryPlistBuilder plist;
        plist.array({5});
        return plist.build(0);
    };
    auto root_past_the_objects = [] {
        BinaryPlistBuilder plist;
        plist.array({});
        return plist.build(3);
    };
    auto number_as_key = [] {
        BinaryPlistBuilder plist;
        size_t key = plist.integer(1, 1);
        return plist.build(plist.dictionary({key}, {key}));
    };
    auto key_with_nul = [](const std::string& key_object) {
        BinaryPlistBuilder plist;
        size_t key = plist.add(key_object);
        return plist.build(plist.dictionary({key}, {key}));
    };
    auto offset_into_trailer = [] {
        BinaryPlistBuilder plist;
        plist.array({});
        std::string bytes = plist.build(0);
        size_t table = bytes.size() - 32 - 4;
        bytes.replace(table, 4, BinaryPlistBuilder::big_endian(bytes.size() - 2, 4));
        return bytes;
    };
    const std::pair<const char*, std::string> cases[] = {
        {"array holding itself", self_holding()},
        {"two arrays holding each other", mutual_cycle()},
        {"shared objects doubling 40 times", doubling()},
        {"count of 2^40", huge_count()},
        {"string longer than the file", string_past_the_end()},
        {"reference past the objects", reference_past_the_objects()},
        {"root past the objects", root_past_the_objects()},
        {"number as dictionary key", number_as_key()},
        {"object offset in the trailer", offset_into_trailer()},
        {"ASCII key with a NUL inside", key_with_nul(std::string("\x53"
                                                                 "a\0b",
                                                                 4))},
        {"UTF-16 key with a NUL inside", key_with_nul(std::string("\x62"
                                                                  "\0a\0\0",
                                                                  5))},
        {"nested deeper than allowed", nested_binary_arrays(max_property_list_depth + 1)},
        {"nested 500000 deep", nested_binary_arrays(500000)},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(parse(bytes));
    }
    EXPECT_TRUE(parse(nested_binary_arrays(max_property_list_depth)));
}

// The deepest XML an 8 MiB file can hold is refused without exhausting the stack on the way.
TEST(PropertyListParse, DeepXmlIsRefusedWithoutCrashing) {
    EXPECT_TRUE(parse(nested_xml_arrays(max_property_list_depth)));
    EXPECT_FALSE(parse(nested_xml_arrays(max_property_list_depth + 1)));
    std::string deepest = nested_xml_arrays(max_property_list_file_size / 15 - 100);
    ASSERT_LE(deepest.size(), max_property_list_file_size);
    EXPECT_FALSE(parse(deepest));
}

// Random damage to a valid file, in either format, never crashes the reader.
TEST(PropertyListParse, DamagedFilesNeverCrash) {
    std::mt19937 random(2024);
    for (const std::string& whole : {kSettingsXml, xml_settings_as_binary()}) {
        for (int round = 0; round < 3000; ++round) {
            std::string bytes = whole;
            for (int edits = 1 + random() % 4; edits > 0 && !bytes.empty(); --edits) {
                size_t at = random() % bytes.size();
                switch (random() % 3) {
                case 0:
                    bytes[at] = static_cast<char>(random());
                    break;
                case 1:
                    bytes.erase(at, 1 + random() % 8);
                    break;
                default:
                    bytes.insert(at, bytes.substr(random() % bytes.size(), 1 + random() % 16));
                    break;
                }
            }
            auto parsed = parse(bytes);
            if (parsed) {
                EXPECT_FALSE(serialise_property_list(parsed.get(), PlistFormat::Binary).empty());
            }
        }
    }
}
