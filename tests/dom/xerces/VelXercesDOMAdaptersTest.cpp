#include "dom/DomTestSupport.h"

#include "dom/VelDOMDocument.h"
#include "dom/VelDOMNodeList.h"
#include "dom/xerces/VelXercesDOMDocumentInternal.h"
#include "dom/xerces/VelXercesDOMElementInternal.h"
#include "dom/xerces/VelXercesDOMNodeInternal.h"
#include "dom/xerces/VelXercesDOMNodeListInternal.h"
#include "dom/xerces/VelXercesDOMTextInternal.h"

#include <cstdint>

using domtest::TraceCapture;
using domtest::utilities;

// Adapters whose owner holds no parser node answer with their error codes.
TEST(VelXercesDOMAdapters, NodeWithoutParserNode)
{
    TraceCapture trace(2);
    VelXercesDOMNode* imp = new VelXercesDOMNode(nullptr, nullptr);
    VelDOMNode handle(imp);
    EXPECT_FALSE(handle.isNull());
    EXPECT_EQ(handle.getNodeType(), VelDOM::eNoNode);
    EXPECT_EQ(handle.getContentImp(), nullptr);
    VelDOMDocument doc;
    VelDOMNode out;
    VelDOMNodeList list;
    EXPECT_EQ(handle.getOwnerDocument(doc), VelDOM::eInvalidArgument);
    EXPECT_EQ(handle.getParentNode(out), VelDOM::eInvalidArgument);
    EXPECT_EQ(handle.getChildNodes(list), VelDOM::eInvalidArgument);
    VelDOMDocument real = utilities()->createDocument("Root");
    VelDOMNode root = real.getDocumentElement();
    EXPECT_EQ(handle.appendChild(root), VelDOM::eInvalidArgument);
    EXPECT_EQ(root.appendChild(handle), VelDOM::eInvalidArgument);
    VelDOMNode copy(handle);
    EXPECT_EQ(copy.getNodeType(), VelDOM::eNoNode);
    const std::string address = std::to_string(reinterpret_cast<std::uintptr_t>(imp));
    EXPECT_NE(trace.text().find(address + ":VelXercesDOMNode::createContentImp(0) failed\n"), std::string::npos);
}

TEST(VelXercesDOMAdapters, ContentOnlyForElementsTextAndDocuments)
{
    VelDOMDocument doc = utilities()->readDocumentFromText(VelString("<r>t<!--c--><![CDATA[d]]></r>"));
    ASSERT_FALSE(doc.isNull());
    EXPECT_NE(dynamic_cast<VelXercesDOMDocument*>(doc.getContentImp()), nullptr);
    VelDOMElement root = doc.getDocumentElement();
    EXPECT_NE(dynamic_cast<VelXercesDOMElement*>(root.getContentImp()), nullptr);
    EXPECT_EQ(root.getContentImp()->getNodeImp(), root.getNodeImp());  // the back pointer
    VelDOMNodeList list;
    root.getChildNodes(list);
    VelDOMNode n;
    TraceCapture trace(2);
    list.item(0, n);
    EXPECT_NE(dynamic_cast<VelXercesDOMText*>(n.getContentImp()), nullptr);
    list.item(1, n);
    EXPECT_EQ(n.getContentImp(), nullptr);
    list.item(2, n);
    EXPECT_EQ(n.getContentImp(), nullptr);
    const std::string text = trace.text();
    EXPECT_NE(text.find(":VelXercesDOMNode::createContentImp(8) failed\n"), std::string::npos);
    EXPECT_NE(text.find(":VelXercesDOMNode::createContentImp(4) failed\n"), std::string::npos);
    // A clone is a new adapter on the same parser node.
    VelDOMNodeImp* clone = root.getNodeImp()->clone();
    EXPECT_EQ(static_cast<VelXercesDOMNode*>(clone)->node(), static_cast<VelXercesDOMNode*>(root.getNodeImp())->node());
    delete clone;
}

TEST(VelXercesDOMAdapters, ElementTextAndDocumentWithoutOwner)
{
    VelXercesDOMElement element;
    VelDOMNodeList list;
    EXPECT_EQ(element.removeAttribute("a"), VelDOM::eNoImplementation);
    EXPECT_EQ(element.removeAttribute(""), VelDOM::eEmptyOrMissing);  // the check comes first
    EXPECT_EQ(element.setAttribute("a", "v"), VelDOM::eNoImplementation);
    EXPECT_EQ(element.setAttribute("", "v"), VelDOM::eEmptyOrMissing);
    EXPECT_EQ(element.setAttribute("a", ""), VelDOM::eNoImplementation);
    EXPECT_EQ(element.appendTextElement("a", "t"), VelDOM::eNoImplementation);
    EXPECT_EQ(element.appendTextElement("", "t"), VelDOM::eEmptyOrMissing);
    EXPECT_EQ(element.getNumAttributes(), 0);
    EXPECT_EQ(element.getAttributeNameAt(0), VelString());
    EXPECT_EQ(element.getAttributeValueAt(0), VelString());
    EXPECT_EQ(element.getTagName(), VelString());
    EXPECT_EQ(element.getAttribute("a"), VelString());
    EXPECT_EQ(element.getElementsByTagName("*", list), 0);

    VelXercesDOMText text;
    EXPECT_EQ(text.setValue("x"), VelDOM::eNoImplementation);
    EXPECT_EQ(text.setValue(nullptr), VelDOM::eInvalidArgument);
    EXPECT_EQ(text.setValue(""), VelDOM::eEmptyOrMissing);
    EXPECT_EQ(text.getValue(), VelString());

    VelXercesDOMDocument document;
    EXPECT_EQ(document.getDocumentElement(), nullptr);
    EXPECT_EQ(document.createElement("a"), nullptr);
    EXPECT_EQ(document.createTextNode("a"), nullptr);

    VelXercesDOMNodeList* empty = VelXercesDOMNodeList::childrenOf(nullptr, nullptr, false);
    VelDOMNode n;
    EXPECT_EQ(empty->length(), 0);
    EXPECT_EQ(empty->item(0, n), VelDOM::eIndexOutOfRange);
    delete empty;
}

TEST(VelXercesStrings, NarrowTextIsTheStringsUtf8)
{
    const wchar_t mixed[] = {L'a', 0x7F, 0x80, 0x7FF, 0x800, 0xFFFD, 0x10000, 0x10FFFF,
                             static_cast<wchar_t>(0x110000), 0xD800, 0xDFFF, L'z', 0};
    const VelString text(mixed);
    EXPECT_EQ(VelXercesStrings::narrowText(text), std::string(text.getStringA()));
    EXPECT_EQ(VelXercesStrings::narrowText(VelString()), "");
    EXPECT_EQ(VelXercesStrings::narrowText(VelString(L"\u00e4<r/>")), "\xC3\xA4<r/>");
    // Back to the parser's UTF-16 and on to a VelString again.
    EXPECT_EQ(VelXercesStrings::toVelString(VelXercesStrings::fromVelString(VelString(L"x\U0001F600y")).c_str()),
              VelString(L"x\U0001F600y"));
}
