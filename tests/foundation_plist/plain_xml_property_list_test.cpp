// The direct reader of plain XML property lists: what it takes must come out exactly as libplist
// reads the same bytes, what it is not sure of it hands back, and parse_property_list gives the
// same answers as before either way.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PlainXmlPropertyList.h"
#include "platform/foundation/PropertyList.h"
#include "settings/Keys.h"
#include "tree_difference.h"

using namespace platform::foundation;
using namespace platform::runtime;
using plist_test::first_difference;
using namespace std::string_literals;

namespace {

struct Row {
    const char* name;
    std::string xml;
};

const std::string kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                          "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                          "<plist version=\"1.0\">\n";

std::string doc(const std::string& value) {
    return kHead + value + "\n</plist>\n";
}

std::string in_dict(const std::string& entries) {
    return doc("<dict>\n" + entries + "</dict>");
}

std::string nested_arrays(int depth) {
    std::string body;
    for (int i = 0; i < depth; ++i)
        body += "<array>";
    for (int i = 0; i < depth; ++i)
        body += "</array>";
    return doc(body);
}

// More entries than libplist keeps in a plain list (it switches to a hash table past 250), with
// a key repeated at the end.
std::string large_dict_with_duplicate() {
    std::string entries;
    for (int i = 0; i < 300; ++i)
        entries += "<key>k" + std::to_string(i) + "</key><integer>" + std::to_string(i) + "</integer>\n";
    entries += "<key>k7</key><string>last</string>\n<key>k299</key><true/>\n";
    return in_dict(entries);
}

Ref<Object> plain(const std::string& xml) {
    auto read = read_plain_xml_property_list(xml.data(), xml.size());
    return read ? *read : nullptr;
}

Ref<Object> libplist(const std::string& xml) {
    return parse_xml_property_list_with_libplist(xml.data(), xml.size());
}

Ref<Object> parsed(const std::string& xml) {
    return parse_property_list(xml.data(), xml.size());
}

// A dictionary holding every settings key away from its default, with integers and reals among
// the numbers, and a few per-app colours.
Ref<NSMutableDictionary> every_settings_key() {
    auto settings = NSMutableDictionary::create();
    int index = 0;
    for (const auto& info : zimtone::settings::kKeys) {
        std::string key(info.key);
        if (info.type == zimtone::settings::KeyType::Bool)
            settings->set(key, NSNumber::numberWithBool(info.default_value == 0));
        else if (index++ % 2 == 0)
            settings->set(key, NSNumber::numberWithDouble(0.7));
        else
            settings->set(key, NSNumber::numberWithInteger(0));
    }
    auto colours = NSMutableArray::create();
    for (const char* app : {"com.apple.mobilesafari", "com.apple.MobileSMS", "net.whatsapp.WhatsApp"}) {
        auto entry = NSMutableDictionary::create();
        entry->set(app, ns("FF8800"));
        colours->addObject(entry.get());
    }
    settings->set(zimtone::settings::kPerAppColoursKey, colours);
    return settings;
}

TEST(PlainXmlPropertyList, TakesTheSettingsFileOurWriterProduces) {
    auto settings = every_settings_key();
    std::string xml = serialise_property_list(settings.get(), PlistFormat::XML);
    ASSERT_FALSE(xml.empty());
    auto read = plain(xml);
    ASSERT_TRUE(read) << "the plain reader handed a writer's settings file back:\n" << xml;
    EXPECT_EQ(first_difference(read.get(), libplist(xml).get()), "");
    EXPECT_EQ(first_difference(read.get(), settings.get()), "");
}

// Each row must be taken, and come out identical to the libplist path's reading.
TEST(PlainXmlPropertyList, TakenInputsMatchLibplist) {
    const std::string max = std::to_string(std::numeric_limits<int64_t>::max());
    const std::string min = std::to_string(std::numeric_limits<int64_t>::min());
    const std::vector<Row> rows = {
        {"empty_dict_root", doc("<dict/>")},
        {"empty_array_root", doc("<array/>")},
        {"open_and_closed_empty_dict", doc("<dict></dict>")},
        {"string_root", doc("<string>hello</string>")},
        {"true_root", doc("<true/>")},
        {"false_root", doc("<false/>")},
        {"integer_root", doc("<integer>42</integer>")},
        {"real_root", doc("<real>0.5</real>")},
        {"no_declaration_no_doctype", "<plist version=\"1.0\"><dict><key>a</key><true/></dict></plist>"},
        {"plist_without_version", "<plist><array><false/></array></plist>"},
        {"blanks_around_everything",
         " \r\n\t" + kHead + " <dict> <key>a</key> <true/> </dict> \r\n</plist> \n\t"},
        {"crlf_lines", "<?xml version=\"1.0\"?>\r\n<plist version=\"1.0\">\r\n<dict>\r\n\t<key>a</key>\r\n\t"
                       "<string>b</string>\r\n</dict>\r\n</plist>\r\n"},
        {"no_blanks_between_elements", doc("<dict><key>a</key><array><integer>1</integer><string>x</string>"
                                           "</array><key>b</key><dict/></dict>")},
        {"blanks_inside_key_and_string_kept",
         in_dict("<key> a key </key><string>\n\t two\r\n lines \n</string>")},
        {"five_entities", in_dict("<key>&lt;k&gt;</key><string>&amp;&lt;&gt;&quot;&apos;</string>")},
        {"entity_text_not_decoded_twice", in_dict("<key>a</key><string>&amp;amp; &amp;lt;</string>")},
        {"raw_quotes_and_greater_than", in_dict("<key>\"q\" 'a' b></key><string>x > y \"z\"</string>")},
        {"empty_key_and_empty_strings", in_dict("<key></key><string></string><key>e</key><string/>")},
        {"duplicate_key_keeps_first_place_last_value",
         in_dict("<key>a</key><integer>1</integer><key>b</key><integer>2</integer><key>a</key><string>x</"
                 "string>")},
        {"duplicate_key_in_a_large_dict", large_dict_with_duplicate()},
        {"integer_zero_and_minus_zero", doc("<array><integer>0</integer><integer>-0</integer></array>")},
        {"integer_extremes",
         doc("<array><integer>" + max + "</integer><integer>" + min + "</integer></array>")},
        {"integer_with_blanks", doc("<array><integer> 7 </integer><integer>\n\t-12\r\n</integer></array>")},
        {"reals_of_every_spelling", doc("<array><real>-0.0</real><real>1e10</real><real>1E-5</real>"
                                        "<real>2.5e+3</real><real>7</real><real>0.69999999999999996</real>"
                                        "<real>-123.456e-7</real></array>")},
        {"real_with_blanks", doc("<real>\n  0.25\t</real>")},
        {"real_extremes",
         doc("<array><real>1.7976931348623157e308</real><real>4.9e-324</real><real>1e-320</real>"
             "<real>1e400</real><real>1e-400</real></array>")},
        {"real_many_digits", doc("<real>3.14159265358979323846264338327950288419716939937510</real>")},
        {"non_utf8_bytes_kept", in_dict("<key>\xff\xfek</key><string>\xc3\x28 \xed\xa0\x80</string>")},
        {"utf8_text", in_dict("<key>caf\xc3\xa9</key><string>\xe2\x9c\x93 \xf0\x9f\x8e\xa8</string>")},
        {"nested_containers",
         in_dict("<key>Specific_App_Color</key><array><dict><key>com.a</key><string>FF0000</string></dict>"
                 "<dict/><array><array/><dict><key>x</key><array><true/></array></dict></array></array>")},
        {"nesting_at_the_depth_limit", nested_arrays(256)},
        {"declaration_with_quoted_question_mark",
         "<?xml version=\"1.0\" note=\"why?\"?><plist><true/></plist>"},
        {"doctype_without_identifiers", "<!DOCTYPE plist><plist><true/></plist>"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto read = plain(row.xml);
        ASSERT_TRUE(read) << "handed back";
        auto reference = libplist(row.xml);
        ASSERT_TRUE(reference) << "libplist cannot read the row itself";
        EXPECT_EQ(first_difference(read.get(), reference.get()), "");
        EXPECT_EQ(first_difference(parsed(row.xml).get(), reference.get()), "");
    }
}

// The kinds themselves, so that the comparison above is not between two equally wrong readings.
TEST(PlainXmlPropertyList, ValuesComeOutAsTheirKinds) {
    auto read = plain(in_dict("<key>b</key><true/><key>i</key><integer>-9223372036854775808</integer>"
                              "<key>r</key><real>0.1</real><key>s</key><string>a &amp; b</string>"
                              "<key>a</key><array><false/></array><key>b</key><false/>"));
    auto* dict = dynamic_cast<NSDictionary*>(read.get());
    ASSERT_NE(dict, nullptr);
    EXPECT_EQ(dict->keys(), (std::vector<std::string>{"b", "i", "r", "s", "a"}));

    auto* flag = dynamic_cast<NSNumber*>(dict->get("b").get());
    ASSERT_NE(flag, nullptr);
    EXPECT_EQ(flag->kind(), NSNumber::Kind::Bool);
    EXPECT_FALSE(flag->boolValue());

    auto* integer = dynamic_cast<NSNumber*>(dict->get("i").get());
    ASSERT_NE(integer, nullptr);
    EXPECT_EQ(integer->kind(), NSNumber::Kind::Integer);
    EXPECT_EQ(integer->integerValue(), std::numeric_limits<int64_t>::min());

    auto* real = dynamic_cast<NSNumber*>(dict->get("r").get());
    ASSERT_NE(real, nullptr);
    EXPECT_EQ(real->kind(), NSNumber::Kind::Real);
    EXPECT_EQ(std::bit_cast<uint64_t>(real->doubleValue()), uint64_t{0x3FB999999999999A});

    ASSERT_NE(string_of(dict->get("s").get()), nullptr);
    EXPECT_EQ(*string_of(dict->get("s").get()), "a & b");

    EXPECT_NE(dynamic_cast<NSMutableArray*>(dict->get("a").get()), nullptr);
    EXPECT_NE(dynamic_cast<NSMutableDictionary*>(read.get()), nullptr);
}

// Each row must be handed back: the reason is in its name.
TEST(PlainXmlPropertyList, HandsBackWhatItIsNotSureOf) {
    const std::vector<Row> rows = {
        {"comment_before_root", doc("<!-- note --><dict/>")},
        {"comment_inside_string", in_dict("<key>a</key><string>x<!-- c -->y</string>")},
        {"comment_before_declaration", "<!-- c --><?xml version=\"1.0\"?><plist><true/></plist>"},
        {"cdata_in_string", in_dict("<key>a</key><string><![CDATA[<b>]]></string>")},
        {"decimal_character_reference", in_dict("<key>a</key><string>&#65;</string>")},
        {"hex_character_reference", in_dict("<key>&#x41;</key><string>a</string>")},
        {"unknown_entity", in_dict("<key>a</key><string>&nbsp;</string>")},
        {"entity_matched_only_by_prefix", in_dict("<key>a</key><string>&ampx;</string>")},
        {"bare_ampersand_at_end", in_dict("<key>a</key><string>a&</string>")},
        {"ampersand_without_semicolon", in_dict("<key>a</key><string>a & b</string>")},
        {"data_value", in_dict("<key>a</key><data>AAEC</data>")},
        {"date_value", in_dict("<key>a</key><date>2020-01-01T00:00:00Z</date>")},
        {"attribute_on_dict", doc("<dict id=\"x\"></dict>")},
        {"blank_before_closing_bracket", doc("<dict ></dict>")},
        {"other_plist_version", "<plist version=\"2.0\"><true/></plist>"},
        {"other_plist_attribute", "<plist lang=\"en\"><true/></plist>"},
        {"hex_integer", doc("<integer>0x10</integer>")},
        {"octal_integer", doc("<integer>010</integer>")},
        {"plus_signed_integer", doc("<integer>+5</integer>")},
        {"double_minus_integer", doc("<integer>--5</integer>")},
        {"minus_then_blank_integer", doc("<integer>- 5</integer>")},
        {"integer_above_int64", doc("<integer>9223372036854775808</integer>")},
        {"integer_below_int64", doc("<integer>-9223372036854775809</integer>")},
        {"integer_above_uint64", doc("<integer>18446744073709551616</integer>")},
        {"empty_integer", doc("<integer></integer>")},
        {"self_closed_integer", doc("<integer/>")},
        {"two_numbers_in_integer", doc("<integer>5 6</integer>")},
        {"fraction_in_integer", doc("<integer>1.0</integer>")},
        {"real_without_integer_part", doc("<real>.5</real>")},
        {"real_without_fraction_digits", doc("<real>5.</real>")},
        {"plus_signed_real", doc("<real>+1.5</real>")},
        {"infinity_real", doc("<real>inf</real>")},
        {"nan_real", doc("<real>nan</real>")},
        {"hex_real", doc("<real>0x1p3</real>")},
        {"exponent_without_digits", doc("<real>1e</real>")},
        {"comma_decimal_real", doc("<real>1,5</real>")},
        {"self_closed_real", doc("<real/>")},
        {"real_longer_than_any_writer_makes", doc("<real>" + std::string(80, '1') + "</real>")},
        {"key_without_value", in_dict("<key>a</key><true/><key>b</key>")},
        {"two_keys_in_a_row", in_dict("<key>a</key><key>b</key>")},
        {"value_without_key", in_dict("<true/>")},
        {"self_closed_key", in_dict("<key>a</key><key/>")},
        {"key_in_array", doc("<array><key>a</key></array>")},
        {"nesting_past_the_depth_limit", nested_arrays(257)},
        {"nul_in_string", in_dict("<key>a</key><string>x\0y</string>"s)},
        {"nul_in_key", in_dict("<key>a\0b</key><true/>"s)},
        {"byte_order_mark", "\xEF\xBB\xBF" + doc("<true/>")},
        {"text_between_elements", in_dict("x<key>a</key><true/>")},
        {"second_plist", doc("<true/>") + "<plist><false/></plist>"},
        {"odd_quotes_before_declaration_end", "<?xml version=\"1.0\" a=\"?>\"?><plist><true/></plist>"},
        {"doctype_internal_subset", "<!DOCTYPE plist [<!ENTITY e \"x\">]><plist><true/></plist>"},
        {"processing_instruction", "<?xml-stylesheet href=\"a\"?><plist><true/></plist>"},
        {"upper_case_tag", doc("<Dict/>")},
        {"true_with_closing_tag", doc("<true></true>")},
        {"blank_in_closing_tag", in_dict("<key>a</key><string>x</string >")},
        {"mismatched_closing_tag", in_dict("<key>a</key><string>x</key>")},
        {"missing_closing_tag", kHead + "<dict><key>a</key><string>x"},
        {"nested_plist", doc("<array><plist><true/></plist></array>")},
        {"empty_plist", "<plist></plist>"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(read_plain_xml_property_list(row.xml.data(), row.xml.size()).has_value());
    }
}

// Through parse_property_list, handed-back and broken inputs read as libplist reads them.
TEST(PlainXmlPropertyList, HandedBackInputsStillReadAsBefore) {
    const std::string comment = in_dict("<!-- c --><key>a</key><integer>3</integer>");
    auto with_comment_root = parsed(comment);
    auto* with_comment = dynamic_cast<NSDictionary*>(with_comment_root.get());
    ASSERT_NE(with_comment, nullptr);
    auto* three = dynamic_cast<NSNumber*>(with_comment->get("a").get());
    ASSERT_NE(three, nullptr);
    EXPECT_EQ(three->integerValue(), 3);

    const std::string reference = in_dict("<key>a</key><string>&#x41;&#66;</string>");
    auto with_reference_root = parsed(reference);
    auto* with_reference = dynamic_cast<NSDictionary*>(with_reference_root.get());
    ASSERT_NE(with_reference, nullptr);
    ASSERT_NE(string_of(with_reference->get("a").get()), nullptr);
    EXPECT_EQ(*string_of(with_reference->get("a").get()), "AB");

    const std::string data = in_dict("<key>a</key><data>AAEC</data>");
    auto with_data_root = parsed(data);
    auto* with_data = dynamic_cast<NSDictionary*>(with_data_root.get());
    ASSERT_NE(with_data, nullptr);
    auto* bytes = dynamic_cast<NSData*>(with_data->get("a").get());
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes->bytes(), std::string("\0\1\2", 3));

    const std::vector<Row> nil_rows = {
        {"truncated_file", kHead + "<dict><key>a</key><string>x"},
        {"truncated_inside_closing_tag", in_dict("<key>a</key><true/>").substr(0, kHead.size() + 20)},
        {"nesting_past_the_depth_limit", nested_arrays(257)},
        {"byte_order_mark", "\xEF\xBB\xBF" + doc("<true/>")},
        {"missing_end_of_comment", doc("<!-- never closed <true/>")},
        {"bad_entity", in_dict("<key>a</key><string>&bogus;</string>")},
        {"garbage", "not a property list </plist>"},
    };
    for (const auto& row : nil_rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(parsed(row.xml), nullptr);
    }
}

// The handed-back rows that libplist can read give the same trees through parse_property_list as
// through libplist alone: the fallback is wired for every reason the reader has.
TEST(PlainXmlPropertyList, FallbackGivesLibplistsReading) {
    const std::vector<Row> rows = {
        {"integer_above_int64_saturates", doc("<integer>18446744073709551615</integer>")},
        {"octal_integer", doc("<integer>010</integer>")},
        {"hex_integer", doc("<integer>0x1F</integer>")},
        {"two_keys_in_a_row", in_dict("<key>a</key><key>b</key>")},
        {"key_without_value_dropped", in_dict("<key>a</key><true/><key>b</key>")},
        {"cdata", in_dict("<key>a</key><string><![CDATA[<b>]]></string>")},
        {"infinity", doc("<real>+infinity</real>")},
        {"blank_before_closing_bracket", doc("<dict ><key>a</key><true/></dict >")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_FALSE(read_plain_xml_property_list(row.xml.data(), row.xml.size()).has_value());
        auto reference = libplist(row.xml);
        ASSERT_TRUE(reference);
        EXPECT_EQ(first_difference(parsed(row.xml).get(), reference.get()), "");
    }
}

} // namespace
