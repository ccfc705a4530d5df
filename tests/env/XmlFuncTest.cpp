// Tests of the XML helpers: header normalisation, loading from texts, child
// lookup and creation, attributes.
#include "env/XmlFunc.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"GB2312\"?>";
const std::string kDoctype = "<!DOCTYPE SC[<!ENTITY stdd \"&amp;stdd;\">]>";

TEST(XmlFunc, NormalizeXmlHeader)
{
    struct Case {
        std::string text;
        std::string expected;
    } cases[] = {
        {"<Root/>", kDecl + kDoctype + "<Root/>"},
        {"<?xml version=\"1.0\"?><a/>", kDecl + kDoctype + "<a/>"},
        {kDecl + "<!DOCTYPE a><a/>", kDecl + "<!DOCTYPE a><a/>"},
        {"<!-- list -->\r\n<!DOCTYPE a><a/>", kDecl + "<!-- list -->\r\n<!DOCTYPE a><a/>"},
        {"<?XML version=\"1.0\" Encoding=\"UTF-8\"?><a/>", "<?XML version=\"1.0\" Encoding=\"UTF-8\"?>" + kDoctype + "<a/>"},
        // Blanks before the declaration are dropped so the positions fit.
        {"\r\n  <?xml version=\"1.0\"?><a/>", kDecl + kDoctype + "<a/>"},
        // A DOCTYPE beyond the first 100 characters is not seen.
        {"<a>" + std::string(100, 'x') + "<!DOCTYPE</a>", kDecl + kDoctype + "<a>" + std::string(100, 'x') + "<!DOCTYPE</a>"},
        {"", kDecl + kDoctype},
        {"<?xml version=\"1.0\"", "<?xml version=\"1.0\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(NormalizeXmlHeader(c.text), c.expected);
    }
}

TEST(XmlFunc, HeadIsCountedInCharactersNotBytes)
{
    // 60 Chinese characters are 180 bytes, still within the first 100 characters.
    std::string chinese;
    for (int i = 0; i < 60; ++i)
        chinese += "\xE4\xB8\xAD";
    const std::string text = "<!--" + chinese + "--><!DOCTYPE a><a/>";
    EXPECT_EQ(NormalizeXmlHeader(text), kDecl + text);
}

TEST(XmlFunc, NormalizedTextsWithTheEntityParse)
{
    XmlDocument doc = LoadXmlTextNormalized("<Answer><Status code=\"0\"/><Record>A&stdd;B</Record></Answer>");
    ASSERT_FALSE(doc.DocumentElement().IsNull()) << doc.ParseErrorReason();
    EXPECT_EQ(doc.SelectSingleNode("//Record").Text(), "A&stdd;B");
    EXPECT_TRUE(LoadXmlText("<Answer>&stdd;</Answer>").DocumentElement().IsNull());

    doc = LoadXmlTextNormalized("<?xml version=\"1.0\"?>\n<R v=\"\xE4\xB8\xAD\"/>");
    EXPECT_EQ(doc.DocumentElement().GetAttribute("v"), "\xE4\xB8\xAD");
}

TEST(XmlFunc, LoadXmlTextThatDoesNotParseHasNoRoot)
{
    for (const char* text : {"N", "", "<Root>", "<?xml version=\"1.0\" encoding=\"GB2312\"?><Root/><Root/>"}) {
        SCOPED_TRACE(text);
        XmlDocument doc = LoadXmlText(text);
        EXPECT_TRUE(doc.DocumentElement().IsNull());
        EXPECT_TRUE(FindChild(doc.DocumentElement(), "R1", false).IsNull());
    }
    EXPECT_TRUE(NewXmlDocument().DocumentElement().IsNull());
}

TEST(XmlFunc, FindChildFindsOrCreatesOnce)
{
    XmlDocument doc = LoadXmlText(kDecl + "<Root/>");
    XmlNode root = doc.DocumentElement();
    EXPECT_TRUE(FindChild(root, "R1", false).IsNull());

    XmlNode created = FindChild(root, "R1", true);
    ASSERT_FALSE(created.IsNull());
    EXPECT_EQ(FindChild(root, "R1", true), created);
    EXPECT_EQ(root.ChildNodes().size(), 1u);

    EXPECT_EQ(FindChild(doc, "//R1", false), created) << "a path is an XPath";
    EXPECT_TRUE(FindChild(root, "//Record", true).IsNull()) << "a path is not an element name";
    EXPECT_EQ(root.ChildNodes().size(), 1u);
    EXPECT_TRUE(FindChild(XmlNode(), "R1", true).IsNull());
}

TEST(XmlFunc, AttributesAndTheReceiverListText)
{
    XmlDocument doc = LoadXmlText(kDecl + "<Root/>");
    XmlNode r1 = FindChild(doc.DocumentElement(), "R1", true);
    SetAttr(r1, "ID", "A&B");
    SetAttr(r1, "Name", "\"\xE6\x9D\x8E\" <x>");
    SetAttr(r1, "Type", "1");
    SetAttr(r1, "Msg", "YNN");
    SetAttr(r1, "Type", "5");
    EXPECT_EQ(GetAttr(r1, "Mob"), "");
    EXPECT_EQ(GetAttr(r1, "Name"), "\"\xE6\x9D\x8E\" <x>");

    const std::string text = kDecl + doc.DocumentElement().Xml();
    EXPECT_EQ(text, kDecl + "<Root><R1 ID=\"A&amp;B\" Name=\"&quot;\xE6\x9D\x8E&quot; &lt;x&gt;\" Type=\"5\" "
                            "Msg=\"YNN\"/></Root>");
    XmlDocument back = LoadXmlText(text);
    EXPECT_EQ(GetAttr(FindChild(back.DocumentElement(), "R1", false), "ID"), "A&B");
    EXPECT_EQ(GetAttr(XmlNode(), "ID"), "");
}

}  // namespace
}  // namespace zb
