#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine/core/TBXML.h"
#include "engine/core/XMLElement.h"
#include "tests/support/DataFileTest.h"

namespace kt {
namespace {

// A compact picture of a parsed tree: name, attributes in order, text in braces, children in brackets,
// e.g. "a(x=1){hi}[b,c]".
std::string describe(const TBXMLElement* element) {
    std::string out(TBXML::elementName(element));
    if (element->firstAttribute) {
        out += '(';
        for (const TBXMLAttribute* a = element->firstAttribute; a; a = a->next) {
            if (a != element->firstAttribute) out += ',';
            out += std::string(TBXML::attributeName(a)) + "=" + std::string(TBXML::attributeValue(a));
        }
        out += ')';
    }
    if (!TBXML::textForElement(element).empty())
        out += "{" + std::string(TBXML::textForElement(element)) + "}";
    if (element->firstChild) {
        out += '[';
        for (const TBXMLElement* child = element->firstChild; child; child = child->nextSibling) {
            if (child != element->firstChild) out += ',';
            out += describe(child);
        }
        out += ']';
    }
    return out;
}

struct ParseCase {
    const char* title;
    const char* xml;
    const char* tree;
};

TEST(XMLParseTest, BuildsTheExpectedTree) {
    const ParseCase cases[] = {
        {"EmptyElementIsNoParent", "<a><b/><c>t</c></a>", "a[b,c{t}]"},
        {"EmptyElementWithAttributes", "<a><b x='1' /><c/></a>", "a[b(x=1),c]"},
        {"TextDroppedWhenChildrenExist", "<a> hi <b>x</b> there </a>", "a[b{x}]"},
        {"TextDroppedAfterEmptyChild", "<a>hi<b/></a>", "a[b]"},
        {"LeafTextTrimmed", "<a>\n\t  hello  world \r\n</a>", "a{hello  world}"},
        {"BothQuoteKinds", "<a x=\"1\" y='2' z='say \"hi\"' w=\"it's\"/>", "a(x=1,y=2,z=say \"hi\",w=it's)"},
        {"SpacesAroundEquals", "<a x = \"1\"\n\ty\t=\t'2'/>", "a(x=1,y=2)"},
        {"AngleBracketsInQuotedValue", "<a t=\"x > y\" u='<b>'/>", "a(t=x > y,u=<b>)"},
        {"CommentBetweenElementsGivesNothing", "<a><b/><!-- <c/> --><d/></a>", "a[b,d]"},
        {"DeclarationsSkipped",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE a>\n<!-- top -->\n<a/>", "a"},
        {"CDataInText", "<a><![CDATA[x<y>]]> and <![CDATA[z]]></a>", "a{x<y> and z}"},
        {"CDataInAttribute", "<a v=\"<![CDATA[1]]>2\"/>", "a(v=12)"},
        {"CDataOutsideText", "<a><b/><![CDATA[<c/>]]><d/></a>", "a[b,d]"},
        {"CDataTextTrimmedLikeText", "<a><![CDATA[ \t x ]]></a>", "a{x}"},
        {"CDataInsideATagSkipped", "<a <![CDATA[>]]> x='1'/>", "a(x=1)"},
        {"EntitiesDecodedInValuesAndTexts",
         "<a t=\"&quot;x&quot; &amp; &lt;y&gt;\" u='&apos;' v=&lt;1>&#233;t&#xE9; &#x1F319;&#65;</a>",
         "a(t=\"x\" & <y>,u=',v=<1){\xC3\xA9t\xC3\xA9 \xF0\x9F\x8C\x99"
         "A}"},
        {"UnknownAndMalformedReferencesStayAsWritten",
         "<a t=\"&nbsp; &#; &#x; &#12a; &#0; &#xD800; &#x110000; &#X41; &amp\">&&#99999999999;&</a>",
         "a(t=&nbsp; &#; &#x; &#12a; &#0; &#xD800; &#x110000; &#X41; &amp){&&#99999999999;&}"},
        {"CDataKeepsItsReferences", "<a v=\"<![CDATA[&lt;]]>&lt;\"><![CDATA[&amp;]]>&amp;</a>",
         "a(v=&lt;<){&amp;&}"},
        {"EndTagNamesNotCompared", "<a><b></c><d/></a>", "a[b,d]"},
        {"SecondTopLevelElementUnreachable", "<a/><b><c/></b>", "a"},
        {"UnquotedValueAndBareName", "<a x=5 checked y=\"2\"/>", "a(x=5,y=2)"},
        {"NameAfterUnquotedValue", "<a x=5 y=\"2\" z=3>t</a>", "a(x=5,y=2,z=3){t}"},
        {"UnclosedQuoteRunsToTheTagEnd", "<a x='1 y=\"2>\"><b/></a>", "a(x=1 y=\"2>\")[b]"},
        {"SlashInsideNamesAndValues", "<a/b='1' c=d/e f/g=2 />", "a(b=1,c=d/e,f/g=2)"},
        {"QuotedStretchStaysInItsValue", "<a x=b=\"c d>\" y=2/>", "a(x=b=\"c d>\",y=2)"},
        {"TagCutShortByNextTag", "<a><b x='1' <c/></b></a>", "a[b(x=1)[c]]"},
        {"Utf8PassesThrough", "<a t=\"\xC3\xA9t\xC3\xA9\">\xE2\x98\x83</a>",
         "a(t=\xC3\xA9t\xC3\xA9){\xE2\x98\x83}"}};
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.title);
        const TBXML document(c.xml);
        ASSERT_NE(document.rootXMLElement(), nullptr);
        EXPECT_EQ(describe(document.rootXMLElement()), c.tree);
        EXPECT_FALSE(document.damaged());
    }
}

// Values are scanned several bytes at a time, so every length around those steps and bytes next to the
// ones that end a value must come through whole.
TEST(XMLParseTest, ValuesOfEveryLengthComeThroughWhole) {
    for (const char* filler : {"x", "\x01", "\xff", "!", ";", "=", "&", "'", "\x80\x7f"}) {
        for (std::size_t length = 0; length < 40; ++length) {
            std::string value;
            while (value.size() < length)
                value += filler;
            const TBXML document("<a v=\"" + value + "\" w=\"1\"/>");
            ASSERT_NE(document.rootXMLElement(), nullptr);
            EXPECT_EQ(TBXML::valueOfAttributeNamed("v", document.rootXMLElement()), value) << value;
            EXPECT_EQ(TBXML::valueOfAttributeNamed("w", document.rootXMLElement()), "1") << value;
        }
    }
}

TEST(XMLQueryTest, FirstAttributeWinsInQueriesAndLastInTheOwnedTree) {
    const TBXML document("<a x='1' x='2'><b/><c n='first'/><b/><c n='second'/></a>");
    const TBXMLElement* root = document.rootXMLElement();
    EXPECT_EQ(TBXML::valueOfAttributeNamed("x", root), "1");
    EXPECT_EQ(TBXML::valueOfAttributeNamed("y", root), std::nullopt);

    const TBXMLElement* firstC = TBXML::childElementNamed("c", root);
    ASSERT_NE(firstC, nullptr);
    EXPECT_EQ(TBXML::valueOfAttributeNamed("n", firstC), "first");
    const TBXMLElement* secondC = TBXML::nextSiblingNamed("c", firstC);
    ASSERT_NE(secondC, nullptr);
    EXPECT_EQ(TBXML::valueOfAttributeNamed("n", secondC), "second");
    EXPECT_EQ(TBXML::nextSiblingNamed("c", secondC), nullptr);
    EXPECT_EQ(TBXML::childElementNamed("zz", root), nullptr);

    const XMLElement tree(*root);
    ASSERT_EQ(tree.attributes().size(), 1u);
    EXPECT_EQ(*tree.attribute("x"), "2");
    ASSERT_EQ(tree.children().size(), 4u);
    EXPECT_EQ(*tree.childNamed("c")->attribute("n"), "first");
}

TEST(XMLQueryTest, MissingPiecesReadAsEmpty) {
    EXPECT_EQ(TBXML::elementName(nullptr), "");
    EXPECT_EQ(TBXML::textForElement(nullptr), "");
    EXPECT_EQ(TBXML::attributeValue(nullptr), "");
    EXPECT_EQ(TBXML::childElementNamed("a", nullptr), nullptr);
    EXPECT_EQ(TBXML::nextSiblingNamed("a", nullptr), nullptr);
}

TEST(XMLRobustnessTest, TextWithoutAnElementOrACDataSectionOpenedInsideATagIsDamaged) {
    for (const char* xml : {"hello", "<a <![CDATA[ >"}) {
        EXPECT_TRUE(TBXML(xml).damaged()) << xml;
        EXPECT_EQ(XMLElement::fromString(xml), nullptr) << xml;
    }
}

TEST(XMLRobustnessTest, AnUnterminatedCommentEndsParsingWithThePartialTree) {
    const TBXML document("<a><b/><!-- never closed <c/></a>");
    EXPECT_TRUE(document.damaged());
    ASSERT_NE(document.rootXMLElement(), nullptr);
    EXPECT_EQ(describe(document.rootXMLElement()), "a[b]");
}

constexpr const char* kSceneLike =
    "<?xml version=\"1.0\"?>\n<!-- menu -->\n<scene w=\"1024\" h=\"768\">\n"
    "  <image name=\"back\" filename=\"data/gfx/back.png\" x='0' y='0'/>\n"
    "  <container name=\"panel\" x=\"100\">\n"
    "    <state name=\"visible\" x=\"200\" color=\"ffffff80\"/>\n"
    "    <text text=\"Play &amp; win\" on_click=\"startGame\">caption<![CDATA[ <raw> ]]></text>\n"
    "  </container>\n</scene>";

// The prefixes include the empty text, the declaration alone, an unclosed root, a tag and a CDATA section cut
// short.
TEST(XMLRobustnessTest, EveryTruncationIsDamagedAndSafe) {
    const std::string full = kSceneLike;
    ASSERT_FALSE(TBXML(full).damaged());
    for (std::size_t length = 0; length < full.size(); ++length) {
        const std::string prefix = full.substr(0, length);
        const TBXML document(prefix);
        EXPECT_TRUE(document.damaged()) << "prefix of length " << length;
        EXPECT_EQ(XMLElement::fromString(prefix), nullptr) << "prefix of length " << length;
        if (document.rootXMLElement()) describe(document.rootXMLElement());
    }
}

TEST(XMLRobustnessTest, DeepNestingIsCutFromTheTree) {
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "<a>";
    for (int i = 0; i < 100000; ++i)
        text += "</a>";
    const TBXML document(text);
    EXPECT_FALSE(document.damaged());
    int depth = 0;
    for (const TBXMLElement* e = document.rootXMLElement(); e; e = e->firstChild)
        ++depth;
    EXPECT_EQ(depth, TBXML::kMaxDepth);
    EXPECT_NE(XMLElement::fromString(text), nullptr);
}

TEST(XMLRobustnessTest, EmbeddedZeroBytesCutNamesButNotTheDocument) {
    const std::string text("<a><b x='1\0z'/><c/></a>", 23);
    const TBXML document(text);
    ASSERT_FALSE(document.damaged());
    EXPECT_EQ(describe(document.rootXMLElement()), "a[b(x=1),c]");
}

class XMLFileTest : public test::DataFileTest {};

TEST_F(XMLFileTest, ReadsAFileAndRejectsMissingOnesFoldersAndDamagedOnesLoggedOnceWithTheirPath) {
    const std::string path = writeFile("menu.xml", kSceneLike);
    const auto tree = XMLElement::fromFile(path);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->name(), "scene");
    ASSERT_EQ(tree->children().size(), 2u);
    EXPECT_EQ(*tree->children()[1].children()[1].attribute("text"), "Play & win");

    EXPECT_EQ(TBXML::fromFile((userDataHome() / "absent.xml").string()), nullptr);
    EXPECT_EQ(XMLElement::fromFile((userDataHome() / "absent.xml").string()), nullptr);
    EXPECT_EQ(TBXML::fromFile(userDataHome().string()), nullptr);

    const std::string broken = writeFile("broken.xml", "<scene><image");
    EXPECT_EQ(XMLElement::fromFile(broken), nullptr);
    EXPECT_EQ(XMLElement::fromFile(broken), nullptr);
    EXPECT_EQ(countInLog(broken), 1);
}

}  // namespace
}  // namespace kt
