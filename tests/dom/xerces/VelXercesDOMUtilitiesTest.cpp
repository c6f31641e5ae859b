#include "dom/DomTestSupport.h"

#include "dom/VelDOMDocument.h"
#include "dom/VelDOMElement.h"
#include "dom/VelDOMNodeList.h"
#include "dom/VelDOMText.h"
#include "dom/VelDOMUtilites.h"
#include "dom/xerces/VelXercesDOMUtilitiesInternal.h"

#include <stdexcept>

using domtest::readFile;
using domtest::scratch;
using domtest::TraceCapture;
using domtest::utilities;
using domtest::writeFile;
using domtest::written;

namespace
{
VelDOMDocument fromText(const char* text) { return utilities()->readDocumentFromText(VelString(text)); }

std::vector<int> childTypes(const VelDOMNode& node)
{
    VelDOMNodeList list;
    node.getChildNodes(list);
    std::vector<int> types;
    for (long i = 0; i < list.length(); ++i) {
        VelDOMNode n;
        list.item(i, n);
        types.push_back(n.getNodeType());
    }
    return types;
}

void failingInitializer() { throw std::runtime_error("platform unavailable"); }
}

TEST(VelDOMUtilitesInstance, OneInstanceUntilReleased)
{
    VelDOMUtilites::releaseUtilities();
    EXPECT_EQ(VelDOMUtilites::Utilities, nullptr);
    EXPECT_EQ(VelDOMUtilites::getUtilities(static_cast<VelDOM::Platform>(1)), nullptr);
    {
        TraceCapture trace;
        VelDOMUtilites* first = VelDOMUtilites::getUtilities(VelDOM::eXerces);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->getErrorStatus(), VelDOM::eNotInitialized);
        EXPECT_EQ(VelDOMUtilites::getUtilities(VelDOM::eXerces), first);
        EXPECT_EQ(VelDOMUtilites::getUtilities(static_cast<VelDOM::Platform>(1)), first);  // whatever p is
        EXPECT_EQ(VelDOMUtilites::Utilities, first);
        VelDOMUtilites::releaseUtilities();
        EXPECT_EQ(VelDOMUtilites::Utilities, nullptr);
        EXPECT_EQ(trace.lines(), (std::vector<std::string>{"VelDOMUtilites::getUtilities(VelDOM::Platform p)",
                                                          "VelDOMUtilites::getUtilities(VelDOM::Platform p)",
                                                          "VelDOMUtilites::getUtilities(VelDOM::Platform p)",
                                                          "VelDOMUtilites::releaseUtilities()"}));
    }
    VelDOMUtilites* second = VelDOMUtilites::getUtilities(VelDOM::eXerces);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(second->createDocument("Root").isNull());  // initialises on first use
    EXPECT_EQ(second->getErrorStatus(), VelDOM::eOk);
}

TEST(VelDOMUtilitesInstance, DocumentsOutliveTheUtilities)
{
    VelDOMDocument doc = utilities()->createDocument("Root");
    VelDOMDocument parsed = fromText("<p><q/></p>");
    VelDOMUtilites::releaseUtilities();
    VelDOMElement root = doc.getDocumentElement();
    EXPECT_EQ(root.appendTextElement("after", "release"), VelDOM::eOk);
    EXPECT_EQ(VelDOMElement(parsed.getDocumentElement()).getTagName(), VelString("p"));
    EXPECT_EQ(written(doc), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Root><after>release</after></Root>");
}

TEST(VelXercesDOMUtilitiesStatus, InitTerminateAndFailedInit)
{
    VelXercesDOMUtilities u;
    EXPECT_EQ(u.getErrorStatus(), VelDOM::eNotInitialized);
    EXPECT_EQ(u.init(), VelDOM::eOk);
    EXPECT_EQ(u.getErrorStatus(), VelDOM::eOk);
    EXPECT_EQ(u.init(), VelDOM::eOk);  // a second init holds nothing more
    EXPECT_EQ(u.terminate(), VelDOM::eOk);
    EXPECT_EQ(u.getErrorStatus(), VelDOM::eNotInitialized);
    EXPECT_EQ(u.terminate(), VelDOM::eOk);

    // Document operations initialise when needed.
    EXPECT_FALSE(u.createDocument("Root").isNull());
    EXPECT_EQ(u.getErrorStatus(), VelDOM::eOk);
    u.terminate();

    void (*const original)() = VelXercesDOMUtilities::platformInitializer;
    VelXercesDOMUtilities::platformInitializer = failingInitializer;
    EXPECT_EQ(u.init(), VelDOM::eOk);  // the status tells
    EXPECT_EQ(u.getErrorStatus(), VelDOM::eInitFailed);
    EXPECT_TRUE(u.createDocument("Root").isNull());
    EXPECT_TRUE(u.readDocumentFromText("<r/>").isNull());
    EXPECT_TRUE(u.readDocumentFromFile(VelString(KIV_SOURCE_DIR "/README.md")).isNull());
    EXPECT_EQ(u.getErrorStatus(), VelDOM::eInitFailed);
    VelXercesDOMUtilities::platformInitializer = original;
    EXPECT_FALSE(u.readDocumentFromText("<r/>").isNull());  // retried, and now it works
    EXPECT_EQ(u.getErrorStatus(), VelDOM::eOk);
}

TEST(VelXercesDOMUtilitiesCreate, RootTagsAndDeclaration)
{
    EXPECT_TRUE(utilities()->createDocument(nullptr).isNull());
    EXPECT_TRUE(utilities()->createDocument("").isNull());
    EXPECT_TRUE(utilities()->createDocument("1abc").isNull());
    EXPECT_TRUE(utilities()->createDocument("a b").isNull());
    VelDOMDocument doc = utilities()->createDocument("Root");
    ASSERT_FALSE(doc.isNull());
    EXPECT_EQ(doc.getErrorStatus(), VelDOM::eOk);
    EXPECT_EQ(doc.getNodeType(), VelDOM::eDocumentNode);
    EXPECT_EQ(childTypes(doc), (std::vector<int>{VelDOM::eXMLDeclNode, VelDOM::eElementNode}));
    EXPECT_EQ(doc.getDocumentElement().getTagName(), VelString("Root"));
    VelDOMElement e = doc.createElement("x");
    EXPECT_TRUE(doc.createElement("").isNull());
    EXPECT_TRUE(doc.createElement(nullptr).isNull());
    EXPECT_TRUE(doc.createElement("<").isNull());
    EXPECT_TRUE(doc.createTextNode(nullptr).isNull());
    EXPECT_TRUE(doc.createTextNode("\x01").isNull());
    EXPECT_FALSE(doc.createTextNode("").isNull());
    EXPECT_EQ(e.getTagName(), VelString("x"));
}

TEST(VelXercesDOMUtilitiesRead, BothFormsFromMemoryAndFile)
{
    const char* text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r a=\"1\"><b>\xC3\xA4</b></r>";
    const std::string path = scratch("in.xml");
    writeFile(path, text);

    // The named helpers, and the slots reached by naming their form.
    VelDOMDocument fromMemory = utilities()->readDocumentFromText(VelString(text));
    VelDOMDocument fromFile = utilities()->readDocumentFromFile(VelString(path.c_str()));
    using TextForm = VelDOMDocument (VelDOMUtilites::*)(VelString);
    using FileForm = VelDOMDocument (VelDOMUtilites::*)(const VelString&);
    VelDOMUtilites* u = utilities();
    VelDOMDocument viaTextSlot = (u->*static_cast<TextForm>(&VelDOMUtilites::readDocument))(VelString(text));
    VelDOMDocument viaFileSlot = (u->*static_cast<FileForm>(&VelDOMUtilites::readDocument))(VelString(path.c_str()));
    for (VelDOMDocument* d : {&fromMemory, &fromFile, &viaTextSlot, &viaFileSlot}) {
        ASSERT_FALSE(d->isNull());
        EXPECT_EQ(childTypes(*d), (std::vector<int>{VelDOM::eXMLDeclNode, VelDOM::eElementNode}));
        VelDOMElement root = d->getDocumentElement();
        EXPECT_EQ(root.getAttribute("a"), VelString("1"));
        VelDOMNodeList list;
        VelDOMNode b;
        ASSERT_EQ(root.getElementsByTagName("b", list), 1);
        list.item(0, b);
        VelString value;
        EXPECT_EQ(VelDOMElement(b).getChildTextValue(value), VelDOM::eOk);
        EXPECT_EQ(value, VelString(L"\u00e4"));
    }
    // The forms are not interchangeable: text is not a file name and back.
    EXPECT_TRUE(utilities()->readDocumentFromFile(VelString(text)).isNull());
    EXPECT_TRUE(utilities()->readDocumentFromText(VelString(path.c_str())).isNull());

    EXPECT_TRUE(utilities()->readDocumentFromFile(VelString()).isNull());
    EXPECT_TRUE(utilities()->readDocumentFromFile(VelString("/nonexistent/in.xml")).isNull());
    EXPECT_TRUE(utilities()->readDocumentFromFile(VelString(KIV_TEST_TMPDIR)).isNull());  // a folder
    EXPECT_TRUE(utilities()->readDocumentFromText(VelString()).isNull());

    TraceCapture trace(2);
    utilities()->readDocumentFromText(VelString("<r/>"));
    EXPECT_NE(trace.text().find(":VelXercesDOMUtilities::readDocument()\n"), std::string::npos);
}

TEST(VelXercesDOMUtilitiesRead, NonAsciiFileName)
{
    const std::string path = scratch("\xC3\xA4\xE2\x82\xAC.xml");
    writeFile(path, "<u/>");
    VelDOMDocument doc = utilities()->readDocumentFromFile(VelString(path.c_str()));
    ASSERT_FALSE(doc.isNull());
    EXPECT_EQ(doc.getDocumentElement().getTagName(), VelString("u"));
}

TEST(VelXercesDOMUtilitiesRead, MalformedInputGivesNullAndLeavesTheUtilitiesUsable)
{
    const char* bad[] = {"", "<", "<r>", "<r></s>", "<r a=1/>", "<r a='1' a='2'/>", "text", "<r/><r/>",
                         "<r>&undefined;</r>", "<r>\x01</r>", "<?xml version=\"1.0\" encoding=\"no-such-code\"?><r/>",
                         "<r><![CDATA[x]]</r>", "<!-- -- --><r/>", "<r/>trailing"};
    for (const char* text : bad) {
        VelDOMDocument doc = fromText(text);
        EXPECT_TRUE(doc.isNull()) << text;
        EXPECT_EQ(doc.getErrorStatus(), VelDOM::eNullNode);
        EXPECT_EQ(utilities()->getErrorStatus(), VelDOM::eOk);
        EXPECT_FALSE(fromText("<ok/>").isNull()) << "after " << text;
    }
    const std::string path = scratch("bad.xml");
    writeFile(path, "<r><unclosed></r>");
    EXPECT_TRUE(utilities()->readDocumentFromFile(VelString(path.c_str())).isNull());
    EXPECT_FALSE(utilities()->createDocument("Root").isNull());
}

TEST(VelXercesDOMUtilitiesRead, CommentsCDataAndInstructionsKeepTheirNodes)
{
    VelDOMDocument doc = fromText("<!--before--><?pi data?><r><!--c--><![CDATA[a<b]]><?inner?>t&amp;&#65;</r>");
    ASSERT_FALSE(doc.isNull());
    EXPECT_EQ(childTypes(doc), (std::vector<int>{VelDOM::eCommentNode, VelDOM::eProcessingInstructionNode,
                                                 VelDOM::eElementNode}));  // no declaration in the text
    EXPECT_EQ(childTypes(doc.getDocumentElement()),
              (std::vector<int>{VelDOM::eCommentNode, VelDOM::eCDATASectionNode, VelDOM::eProcessingInstructionNode,
                                VelDOM::eTextNode}));
    VelDOMNodeList list;
    VelDOMNode text;
    doc.getDocumentElement().getChildNodes(list);
    list.item(3, text);
    EXPECT_EQ(VelDOMText(text).getValue(), VelString("t&A"));
}

TEST(VelXercesDOMUtilitiesRead, DocumentTypesEntitiesAndValidation)
{
    // Internal entities are expanded into the text.
    VelDOMDocument doc = fromText("<!DOCTYPE r [<!ELEMENT r (#PCDATA)><!ENTITY e \"expanded\">]><r>&e;!</r>");
    ASSERT_FALSE(doc.isNull());
    EXPECT_EQ(childTypes(doc), (std::vector<int>{VelDOM::eDocumentTypeNode, VelDOM::eElementNode}));
    VelString value;
    EXPECT_EQ(doc.getDocumentElement().getChildTextValue(value), VelDOM::eOk);
    EXPECT_EQ(value, VelString("expanded!"));

    // A document type switches validation on; a violation is an error.
    EXPECT_TRUE(fromText("<!DOCTYPE r [<!ELEMENT r EMPTY>]><r><x/></r>").isNull());
    EXPECT_TRUE(fromText("<!DOCTYPE r [<!ELEMENT r EMPTY>]><r a=\"1\"/>").isNull());
    // Warnings pass (an attribute declared twice).
    EXPECT_FALSE(
        fromText("<!DOCTYPE r [<!ELEMENT r EMPTY><!ATTLIST r a CDATA #IMPLIED a CDATA #IMPLIED>]><r a=\"1\"/>").isNull());

    // An external DTD next to the file is read; one on the network is not fetched.
    const std::string dtd = scratch("doc.dtd");
    writeFile(dtd, "<!ELEMENT r (x*)><!ELEMENT x EMPTY>");
    const std::string dtdName = dtd.substr(dtd.rfind('/') + 1);
    const std::string good = scratch("valid.xml");
    writeFile(good, "<!DOCTYPE r SYSTEM \"" + dtdName + "\"><r><x/></r>");
    EXPECT_FALSE(utilities()->readDocumentFromFile(VelString(good.c_str())).isNull());
    const std::string invalid = scratch("invalid.xml");
    writeFile(invalid, "<!DOCTYPE r SYSTEM \"" + dtdName + "\"><r><y/></r>");
    EXPECT_TRUE(utilities()->readDocumentFromFile(VelString(invalid.c_str())).isNull());
    EXPECT_TRUE(fromText("<!DOCTYPE r SYSTEM \"http://127.0.0.1:9/r.dtd\"><r/>").isNull());
    EXPECT_TRUE(fromText("<!DOCTYPE r [<!ENTITY x SYSTEM \"https://example.invalid/x\">]><r>&x;</r>").isNull());

    // Exponential entity expansion is cut off.
    std::string bomb = "<!DOCTYPE r [<!ELEMENT r (#PCDATA)><!ENTITY e0 \"xxxxxxxxxx\">";
    for (int i = 1; i < 10; ++i) {
        bomb += "<!ENTITY e" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k)
            bomb += "&e" + std::to_string(i - 1) + ";";
        bomb += "\">";
    }
    bomb += "]><r>&e9;</r>";
    EXPECT_TRUE(fromText(bomb.c_str()).isNull());
}

TEST(VelXercesDOMUtilitiesRead, DeclarationIsPresentedAsTheFirstChild)
{
    VelDOMDocument with = fromText("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\"?><r/>");
    VelDOMDocument without = fromText("<r/>");
    ASSERT_FALSE(with.isNull());
    ASSERT_FALSE(without.isNull());
    EXPECT_EQ(childTypes(with), (std::vector<int>{VelDOM::eXMLDeclNode, VelDOM::eElementNode}));
    EXPECT_EQ(childTypes(without), (std::vector<int>{VelDOM::eElementNode}));
    VelDOMNodeList list;
    VelDOMNode decl;
    with.getChildNodes(list);
    list.item(0, decl);
    VelDOMDocument owner;
    EXPECT_EQ(decl.getOwnerDocument(owner), VelDOM::eOk);
    EXPECT_EQ(owner.getNodeType(), VelDOM::eDocumentNode);
    EXPECT_EQ(childTypes(decl), std::vector<int>());
    VelDOMNode root = with.getDocumentElement();
    EXPECT_EQ(decl.appendChild(root), VelDOM::eInvalidArgument);
    EXPECT_EQ(root.appendChild(decl), VelDOM::eInvalidArgument);
}
