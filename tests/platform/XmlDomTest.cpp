// Tests of the XML document model: loading, encodings, entities, XPath,
// attributes, building, serialising and node lifetime.
#include "platform/xml/XmlDom.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <chrono>
#include <stdexcept>

namespace zb {
namespace {

std::string Convert(const std::string& text, const char* from, const char* to)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("iconv_open failed");
    std::string in = text;
    std::string out(text.size() * 4 + 16, '\0');
    char* inp = in.data();
    char* outp = out.data();
    size_t inLeft = in.size();
    size_t outLeft = out.size();
    const size_t rc = iconv(cd, &inp, &inLeft, &outp, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1))
        throw std::runtime_error("iconv failed");
    out.resize(out.size() - outLeft);
    return out;
}

TEST(XmlDom, FreshDocumentIsEmpty)
{
    XmlDocument doc;
    EXPECT_TRUE(doc.DocumentElement().IsNull());
    EXPECT_EQ(doc.NodeType(), XmlNodeType::Document);
    EXPECT_EQ(doc.ParseErrorReason(), "");
    EXPECT_TRUE(doc.SelectSingleNode("//a").IsNull());
    EXPECT_EQ(doc.Text(), "");
    EXPECT_EQ(doc.Xml(), "");
}

TEST(XmlDom, ParseErrorsGiveReasonWithLineAndEmptyDocument)
{
    struct Case {
        const char* text;
        int line;
    } cases[] = {
        {"<a>\n<b>\n</a>", 3},
        {"<a x='1' x='2'/>", 1},
        {"<a/><b/>", 1},
        {"<a>&undefined;</a>", 1},
        {"", 0},
        {"   ", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        XmlDocument doc;
        ASSERT_TRUE(doc.LoadXML("<ok/>"));
        EXPECT_FALSE(doc.LoadXML(c.text));
        EXPECT_NE(doc.ParseErrorReason(), "");
        EXPECT_TRUE(doc.DocumentElement().IsNull());
        if (c.line > 0) {
            EXPECT_EQ(doc.ParseErrorLine(), c.line);
            EXPECT_NE(doc.ParseErrorReason().find("line " + std::to_string(c.line)), std::string::npos)
                << doc.ParseErrorReason();
        }
    }
    XmlDocument doc;
    ASSERT_FALSE(doc.LoadXML("<a>\n<b>\n</a>"));
    EXPECT_TRUE(doc.LoadXML("<a/>"));
    EXPECT_EQ(doc.ParseErrorReason(), "");
}

TEST(XmlDom, MissingFileIsAParseErrorWithReason)
{
    XmlDocument doc;
    EXPECT_FALSE(doc.Load("/nonexistent/folder/file.Lng"));
    EXPECT_NE(doc.ParseErrorReason().find("file.Lng"), std::string::npos);
    EXPECT_TRUE(doc.DocumentElement().IsNull());
}

// "中文镕" — the last character is in GBK but not in GB2312 proper.
const std::string kChinese = "\xE4\xB8\xAD\xE6\x96\x87\xE9\x95\x95";

TEST(XmlDom, GbDeclaredFileIsDecodedByItsDeclaration)
{
    const std::string utf8 = "<?xml version=\"1.0\" encoding=\"GB2312\"?><Root Caption=\"" + kChinese + "\">" +
                             kChinese + "</Root>";
    const std::string gbk = Convert(utf8, "UTF-8", "CP936");
    ASSERT_NE(gbk, utf8);
    test::TempDir dir;
    const auto path = dir.Write("TfrmX.Lng", gbk);

    XmlDocument doc;
    ASSERT_TRUE(doc.Load(path)) << doc.ParseErrorReason();
    EXPECT_EQ(doc.DocumentElement().Text(), kChinese);
    EXPECT_EQ(doc.DocumentElement().GetAttribute("Caption"), kChinese);

    XmlDocument fromBytes;
    ASSERT_TRUE(fromBytes.LoadXML(gbk)) << "bytes that are not UTF-8 are decoded as declared";
    EXPECT_EQ(fromBytes.DocumentElement().Text(), kChinese);

    const std::string big5 = Convert("<?xml version=\"1.0\" encoding=\"big5\"?><R>\xE4\xB8\xAD</R>", "UTF-8", "CP950");
    ASSERT_TRUE(fromBytes.LoadBytes(big5)) << fromBytes.ParseErrorReason();
    EXPECT_EQ(fromBytes.DocumentElement().Text(), "\xE4\xB8\xAD");
}

TEST(XmlDom, UnicodeTextIgnoresTheDeclaredEncoding)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadXML("<?xml version=\"1.0\" encoding=\"GB2312\"?><R N=\"" + kChinese + "\"/>"));
    EXPECT_EQ(doc.DocumentElement().GetAttribute("N"), kChinese);
    EXPECT_EQ(doc.Xml(), "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<R N=\"" + kChinese + "\"/>\r\n");
}

TEST(XmlDom, InternalEntitiesAreExpanded)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadXML("<?xml version=\"1.0\"?><!DOCTYPE SC[<!ENTITY stdd \"&amp;stdd;\">"
                            "<!ENTITY co \"ZEB &amp; Co\">]><R a=\"&co;\">x&stdd;y &co;</R>"))
        << doc.ParseErrorReason();
    EXPECT_EQ(doc.DocumentElement().Text(), "x&stdd;y ZEB & Co");
    EXPECT_EQ(doc.Text(), "x&stdd;y ZEB & Co");
    EXPECT_EQ(doc.DocumentElement().GetAttribute("a"), "ZEB & Co");
    EXPECT_EQ(doc.DocumentElement().Xml(), "<R a=\"ZEB &amp; Co\">x&amp;stdd;y ZEB &amp; Co</R>");
}

TEST(XmlDom, ExternalEntitiesAndDtdsAreNeverLoaded)
{
    test::TempDir dir;
    const auto secret = dir.Write("secret.txt", "TOPSECRET");
    const auto dtd = dir.Write("ext.dtd", "<!ENTITY fromdtd \"TOPSECRET\">");
    const std::string texts[] = {
        "<!DOCTYPE r [<!ENTITY x SYSTEM \"" + secret.string() + "\">]><r>&x;</r>",
        "<!DOCTYPE r [<!ENTITY x SYSTEM \"file://" + secret.string() + "\">]><r a=\"1\">&x;</r>",
        "<!DOCTYPE r SYSTEM \"" + dtd.string() + "\"><r>&fromdtd;</r>",
        "<!DOCTYPE r [<!ENTITY % p SYSTEM \"" + dtd.string() + "\"> %p;]><r>&fromdtd;</r>",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        XmlDocument doc;
        doc.LoadXML(text);
        EXPECT_EQ(doc.Xml().find("TOPSECRET"), std::string::npos);
        EXPECT_EQ(doc.DocumentElement().Text().find("TOPSECRET"), std::string::npos);
    }
}

TEST(XmlDom, EntityAmplificationIsRefusedQuickly)
{
    std::string laughs = "<!DOCTYPE r [<!ENTITY l0 \"lollollollollol\">";
    for (int i = 1; i <= 12; ++i) {
        laughs += "<!ENTITY l" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k)
            laughs += "&l" + std::to_string(i - 1) + ";";
        laughs += "\">";
    }
    laughs += "]><r>&l12;</r>";
    std::string quadratic = "<!DOCTYPE r [<!ENTITY big \"" + std::string(100000, 'x') + "\">]><r>";
    for (int i = 0; i < 100000; ++i)
        quadratic += "&big;";
    quadratic += "</r>";

    for (const std::string* text : {&laughs, &quadratic}) {
        const auto start = std::chrono::steady_clock::now();
        XmlDocument doc;
        EXPECT_FALSE(doc.LoadXML(*text));
        EXPECT_NE(doc.ParseErrorReason(), "");
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    }
}

TEST(XmlDom, XPathSelectsOneOrManyAndToleratesBadExpressions)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadXML("<Answer><Status code=\"0\" Description=\"ok\"/>"
                            "<Record><Field name=\"Id\" value=\"U1\"/><Field name=\"Name\" value=\"Li\"/></Record>"
                            "<Record><Field name=\"Id\" value=\"U2\"/><Field name=\"Name\" value=\"Wang\"/></Record>"
                            "</Answer>"));
    const XmlNodeList records = doc.SelectNodes("//Record");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].SelectSingleNode("Field[@name='Id']").GetAttribute("value"), "U2");
    EXPECT_EQ(records[0].SelectSingleNode("Field[@name='Name']/@value").Text(), "Li");
    EXPECT_EQ(doc.SelectSingleNode("//Status[@code]").GetAttribute("code"), "0");
    const XmlNode attr = doc.DocumentElement().SelectSingleNode("//Status/@Description");
    EXPECT_EQ(attr.NodeType(), XmlNodeType::Attribute);
    EXPECT_EQ(attr.NodeName(), "Description");
    EXPECT_EQ(attr.Text(), "ok");
    EXPECT_EQ(doc.SelectSingleNode("//Field").GetAttribute("value"), "U1") << "first in document order";

    for (const char* bad : {"", "//", "//[", "count(//Record)", "//Record[", "\"text\"", "//@", "]]]"}) {
        SCOPED_TRACE(bad);
        EXPECT_TRUE(doc.SelectSingleNode(bad).IsNull());
        EXPECT_TRUE(doc.SelectNodes(bad).empty());
    }
    EXPECT_TRUE(XmlNode().SelectSingleNode("//Record").IsNull());
}

TEST(XmlDom, AttributesRoundTripCharactersThatNeedEscaping)
{
    const std::string value = "a&b<c>d\"e'f " + kChinese;
    XmlDocument doc;
    XmlNode root = doc.AppendChild(doc.CreateElement("Root"));
    root.SetAttribute("V", value);
    root.SetAttribute("W", "first");
    root.SetAttribute("W", "second");
    root.SetText(value);
    EXPECT_TRUE(root.HasAttribute("V"));
    EXPECT_EQ(root.Attributes().size(), 2u);

    XmlDocument back;
    ASSERT_TRUE(back.LoadXML(doc.DocumentElement().Xml())) << back.ParseErrorReason();
    EXPECT_EQ(back.DocumentElement().GetAttribute("V"), value);
    EXPECT_EQ(back.DocumentElement().GetAttribute("W"), "second");
    EXPECT_EQ(back.DocumentElement().Text(), value);

    EXPECT_TRUE(root.RemoveAttribute("V"));
    EXPECT_FALSE(root.RemoveAttribute("V"));
    EXPECT_FALSE(root.HasAttribute("V"));
    EXPECT_EQ(root.GetAttribute("V"), "");
    EXPECT_THROW(root.SetAttribute("bad name", "x"), EXmlError);
    EXPECT_THROW(root.SetAttribute("", "x"), EXmlError);

    root.SetAttribute("Broken", std::string("a\xFF") + 'b');
    ASSERT_TRUE(back.LoadXML(doc.DocumentElement().Xml())) << "invalid UTF-8 is repaired, not written";
    EXPECT_EQ(back.DocumentElement().GetAttribute("Broken"), "a\xEF\xBF\xBD" "b");
}

TEST(XmlDom, BuildsAndSerialisesADocument)
{
    XmlDocument doc;
    doc.AppendChild(doc.CreateProcessingInstruction("xml", "version=\"1.0\" encoding=\"GB2312\""));
    XmlNode root = doc.AppendChild(doc.CreateElement("Root"));
    XmlNode r1 = root.AppendChild(doc.CreateElement("R1"));
    r1.SetAttribute("ID", "001");
    r1.SetAttribute("Name", "");
    root.AppendChild(doc.CreateTextNode("a"));
    root.AppendChild(doc.CreateTextNode("b"));
    root.AppendChild(doc.CreateComment("note"));

    EXPECT_EQ(root.Xml(), "<Root><R1 ID=\"001\" Name=\"\"/>ab<!--note--></Root>");
    EXPECT_EQ(doc.Xml(), "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<Root><R1 ID=\"001\" Name=\"\"/>ab<!--note--></Root>\r\n");
    EXPECT_EQ(root.ChildNodes().size(), 4u) << "adjacent texts stay separate nodes";
    EXPECT_EQ(root.FirstChild(), r1);
    EXPECT_EQ(r1.ParentNode(), root);
    EXPECT_EQ(root.ParentNode(), XmlNode(doc));
    EXPECT_EQ(r1.NextSibling().Text(), "a");
    EXPECT_EQ(r1.SelectSingleNode("@ID").Xml(), "ID=\"001\"");

    XmlNode removed = root.RemoveChild(r1);
    EXPECT_TRUE(removed.ParentNode().IsNull());
    EXPECT_EQ(root.Xml(), "<Root>ab<!--note--></Root>");
    root.AppendChild(removed);
    EXPECT_EQ(root.Xml(), "<Root>ab<!--note--><R1 ID=\"001\" Name=\"\"/></Root>");
    // Nodes built up outside the tree and never appended go with the document.
    XmlNode outside = doc.CreateElement("Outside");
    for (int i = 0; i < 20; ++i)
        outside = doc.CreateElement("N" + std::to_string(i)).AppendChild(outside).ParentNode();
    EXPECT_EQ(outside.NodeName(), "N19");
    outside.SetAttribute("a", "1");
    outside.RemoveAttribute("a");
}

TEST(XmlDom, RefusesAppendsThatBreakTheTree)
{
    XmlDocument doc;
    XmlDocument other;
    XmlNode root = doc.AppendChild(doc.CreateElement("Root"));
    XmlNode child = root.AppendChild(doc.CreateElement("Child"));
    EXPECT_THROW(child.AppendChild(root), EXmlError);
    EXPECT_THROW(child.AppendChild(child), EXmlError);
    EXPECT_THROW(root.AppendChild(other.CreateElement("Foreign")), EXmlError);
    EXPECT_THROW(doc.AppendChild(doc.CreateElement("Second")), EXmlError);
    EXPECT_THROW(doc.AppendChild(doc.CreateTextNode("top")), EXmlError);
    EXPECT_THROW(root.AppendChild(doc.CreateProcessingInstruction("xml", "version=\"1.0\"")), EXmlError);
    EXPECT_THROW(doc.CreateElement("//Record"), EXmlError);
    EXPECT_THROW(doc.CreateComment("a--b"), EXmlError);
    EXPECT_THROW(doc.CreateComment("ok").SetText("a--b"), EXmlError);
    EXPECT_THROW(doc.CreateProcessingInstruction("pi", "a?>b"), EXmlError);
    EXPECT_THROW(root.RemoveChild(doc.CreateElement("Stranger")), EXmlError);
    EXPECT_THROW(XmlNode().SetText("x"), EXmlError);
    EXPECT_EQ(doc.Xml(), "<Root><Child/></Root>\r\n");
}

TEST(XmlDom, SetTextReplacesChildrenAndOldHandlesStaySafe)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadXML("<R><a>1</a><b>2</b></R>"));
    XmlNode a = doc.SelectSingleNode("//a");
    doc.DocumentElement().SetText("<new> & text");
    EXPECT_EQ(doc.DocumentElement().Xml(), "<R>&lt;new&gt; &amp; text</R>");
    EXPECT_EQ(a.Xml(), "<a>1</a>");
    EXPECT_TRUE(a.ParentNode().IsNull());

    XmlNode attr = doc.DocumentElement().AppendChild(doc.CreateElement("c"));
    attr.SetAttribute("k", "v");
    XmlNode k = attr.SelectSingleNode("@k");
    attr.RemoveAttribute("k");
    EXPECT_EQ(k.Text(), "v");
}

TEST(XmlDom, NodesOutliveTheirDocumentObjectAndReloads)
{
    XmlNode kept;
    XmlNodeList list;
    {
        XmlDocument doc;
        ASSERT_TRUE(doc.LoadXML("<R><x v=\"1\"/><x v=\"2\"/></R>"));
        kept = doc.SelectSingleNode("//x[@v='2']");
        list = doc.SelectNodes("//x");
        XmlDocument copy = doc;
        ASSERT_TRUE(copy.LoadXML("<Other/>"));
        EXPECT_EQ(doc.DocumentElement().NodeName(), "Other") << "copies share one document";
    }
    EXPECT_EQ(kept.GetAttribute("v"), "2");
    EXPECT_EQ(list.size(), 2u);
    kept.SetAttribute("v", "3");
    EXPECT_EQ(kept.ParentNode().Xml(), "<R><x v=\"1\"/><x v=\"3\"/></R>");
    XmlNode created = kept.OwnerDocument().CreateElement("y");
    EXPECT_EQ(created.Xml(), "<y/>");
}

}  // namespace
}  // namespace zb
