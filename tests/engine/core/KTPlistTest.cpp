#include <gtest/gtest.h>

#include <filesystem>

#include "engine/core/KTPlist.h"
#include "tests/support/DataFileTest.h"

namespace kt {
namespace {

using namespace std::chrono_literals;

KTPlist everyKind() {
    KTPlist profile;
    profile["name"] = "Zoë <&> \"quoted\"";
    profile["tokens"] = 1234567890123;
    profile["debt"] = -42;
    profile["volume"] = 0.1;
    profile["fullscreen"] = true;
    profile["muted"] = false;
    profile["created"] =
        KTPlist::Date(std::chrono::sys_days(std::chrono::year(2024) / 2 / 29) + 13h + 5min + 7s);
    profile["thumbnail"] = KTPlist::Data{0, 1, 2, 254, 255};
    profile["levels"].append("level_01");
    profile["levels"].append(3);
    profile["levels"].append(KTPlist::emptyDictionary());
    profile["tutorials"]["map"] = 1;
    profile["tutorials"]["shop"] = 0;
    profile["empty"] = KTPlist::emptyArray();
    return profile;
}

TEST(PlistTest, EveryKindIsWrittenAsAnXMLPropertyListAndSurvivesTheRoundTrip) {
    const KTPlist original = everyKind();
    const std::optional<KTPlist> copy = KTPlist::fromXML(original.toXML());
    ASSERT_TRUE(copy);
    EXPECT_EQ(*copy, original);
    EXPECT_EQ(copy->keys(), original.keys());

    // Written as an XML property list of version one.
    const std::string xml = original.toXML();
    EXPECT_NE(xml.find("<plist version=\"1.0\">"), std::string::npos);
    EXPECT_NE(xml.find("<key>tokens</key>"), std::string::npos);
    EXPECT_NE(xml.find("<integer>-42</integer>"), std::string::npos);
    EXPECT_NE(xml.find("<date>2024-02-29T13:05:07Z</date>"), std::string::npos);
}

TEST(PlistTest, DictionariesKeepFileOrderAndALaterDuplicateWins) {
    const auto value = KTPlist::fromXML(
        "<plist version=\"1.0\"><dict><key>z</key><integer>1</integer><key>a</key><integer>2</integer>"
        "<key>m</key><integer>3</integer><key>a</key><integer>4</integer></dict></plist>");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->keys(), (std::vector<std::string>{"z", "a", "m"}));
    EXPECT_EQ((*value)["a"].intValue(), 4);
}

// Locale tables are written by hand: references in keys and strings are decoded, and a malformed one makes
// the file damaged (refused whole, as any other damage) rather than crashing the reader.
TEST(PlistTest, CharacterReferencesAreDecodedInKeysAndStrings) {
    const auto value = KTPlist::fromXML(
        "<plist version=\"1.0\"><dict><key>Say &quot;hi&quot; &amp; go</key>"
        "<string>caf&#233; &#xE9; &lt;&gt;&apos;</string></dict></plist>");
    ASSERT_TRUE(value);
    EXPECT_EQ((*value)["Say \"hi\" & go"].stringValue(), "caf\xC3\xA9 \xC3\xA9 <>'");
    for (const char* malformed : {"&bogus;", "&#xZZ;", "&#;", "&#0;", "&#x110000;", "&amp"}) {
        const std::optional<KTPlist> read =
            KTPlist::fromXML(std::string("<plist version=\"1.0\"><dict><key>k</key><string>") + malformed +
                             "</string></dict></plist>");
        EXPECT_FALSE(read) << malformed;
    }
}

TEST(PlistTest, ContainersAreMutableValuesAndLookupsThatFindNothingAnswerNone) {
    KTPlist levels = KTPlist::emptyArray();
    levels.append("a");
    KTPlist copy = levels;
    copy.append("b");
    EXPECT_EQ(levels.size(), 1u);
    EXPECT_EQ(copy.size(), 2u);

    KTPlist user;
    user["resources"]["tokens"] = 5;
    user["resources"]["tokens"] = user["resources"]["tokens"].intValue() + 10;
    EXPECT_EQ(user["resources"]["tokens"], KTPlist(15));
    user.erase("resources");
    EXPECT_FALSE(user.contains("resources"));
    EXPECT_TRUE(user.isDictionary());

    // Reading, unlike writing, makes nothing: lookups that find nothing answer none.
    const KTPlist profile = everyKind();
    EXPECT_TRUE(profile["missing"].isNone());
    EXPECT_TRUE(profile["name"]["deeper"].isNone());
    EXPECT_TRUE(profile["levels"].at(99).isNone());
    EXPECT_TRUE(profile["missing"].arrayValue().empty());
    EXPECT_FALSE(profile["name"].dateValue());
}

struct ConversionCase {
    const char* title;
    KTPlist value;
    std::int64_t integer;
    double real;
    bool flag;
    const char* text;
};

TEST(PlistTest, ValuesReadLenientlyAsEveryKind) {
    const ConversionCase cases[] = {{"integer", KTPlist(7), 7, 7.0, true, "7"},
                                    {"zero", KTPlist(0), 0, 0.0, false, "0"},
                                    {"real", KTPlist(2.75), 2, 2.75, true, "2.75"},
                                    {"negative real", KTPlist(-2.75), -2, -2.75, true, "-2.75"},
                                    {"huge real", KTPlist(1e300), INT64_MAX, 1e300, true, "1e+300"},
                                    {"true", KTPlist(true), 1, 1.0, true, "1"},
                                    {"number text", KTPlist(" 12.5xyz"), 12, 12.5, true, " 12.5xyz"},
                                    {"yes text", KTPlist("YES"), 0, 0.0, true, "YES"},
                                    {"no text", KTPlist("no"), 0, 0.0, false, "no"},
                                    {"none", KTPlist(), 0, 0.0, false, ""}};
    for (const ConversionCase& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(c.value.intValue(), c.integer);
        EXPECT_DOUBLE_EQ(c.value.realValue(), c.real);
        EXPECT_EQ(c.value.boolValue(), c.flag);
        EXPECT_EQ(c.value.stringValue(), c.text);
    }
}

std::string nestedArrays(int depth) {
    std::string xml = "<plist version=\"1.0\">";
    for (int i = 0; i < depth; ++i)
        xml += "<array>";
    for (int i = 0; i < depth; ++i)
        xml += "</array>";
    return xml + "</plist>";
}

TEST(PlistRobustnessTest, DamagedTextsAndNestingTooDeepGiveNoneButReasonableNestingReads) {
    for (const std::string& xml :
         {std::string(), std::string("garbage"), std::string("<plist version=\"1.0\"><dict><key>a</key>"),
          std::string("<plist><dict>"), nestedArrays(100000)}) {
        EXPECT_FALSE(KTPlist::fromXML(xml)) << xml.substr(0, 60);
    }
    EXPECT_TRUE(KTPlist::fromXML(nestedArrays(200)));
}

using PlistFileTest = test::DataFileTest;

TEST_F(PlistFileTest, AWriteReplacesTheFileWholeOrFailsLeavingTheOldOne) {
    const std::string path = writeFile("users.xml", "old contents");
    ASSERT_TRUE(everyKind().writeFile(path));
    EXPECT_EQ(KTPlist::readFile(path), everyKind());
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    writeFile("users.xml", "old contents");
    // The temporary file cannot be created where a folder of its name stands.
    std::filesystem::create_directories(path + ".tmp");
    EXPECT_FALSE(everyKind().writeFile(path));
    EXPECT_EQ(test::readFile(path), "old contents");
    EXPECT_FALSE(KTPlist().writeFile(path));
    EXPECT_EQ(test::readFile(path), "old contents");
}

TEST_F(PlistFileTest, AMissingFileIsSilentAndADamagedOneLoggedOnce) {
    EXPECT_FALSE(KTPlist::readFile(dataRoot() + "absent.plist"));
    EXPECT_EQ(countInLog("absent.plist"), 0);

    const std::string path = writeFile("broken.plist", "<plist version=\"1.0\"><dict><key>a");
    EXPECT_FALSE(KTPlist::readFile(path));
    EXPECT_FALSE(KTPlist::readFile(path));
    EXPECT_EQ(countInLog(path), 1);
}

}  // namespace
}  // namespace kt
