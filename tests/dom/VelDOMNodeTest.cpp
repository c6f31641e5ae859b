#include "DomTestSupport.h"

#include "dom/VelDOMDocument.h"
#include "dom/VelDOMElement.h"
#include "dom/VelDOMFiler.h"
#include "dom/VelDOMNodeList.h"
#include "dom/VelDOMText.h"
#include "dom/VelDOMUtilites.h"

using domtest::TraceCapture;
using domtest::utilities;
using domtest::written;

namespace
{
VelDOMDocument parse(const char* text) { return utilities()->readDocumentFromText(VelString(text)); }

VelDOMNode child(const VelDOMNode& parent, long index)
{
    VelDOMNodeList list;
    VelDOMNode out;
    EXPECT_EQ(parent.getChildNodes(list), VelDOM::eOk);
    EXPECT_EQ(list.item(index, out), VelDOM::eOk);
    return out;
}
}

TEST(VelDOMNodeHandles, CopiesSeeOneNodeAndOutliveEachOther)
{
    VelDOMDocument doc = utilities()->createDocument("Root");
    ASSERT_FALSE(doc.isNull());
    VelDOMElement root = doc.getDocumentElement();
    VelDOMElement copy(root);
    VelDOMElement assigned;
    assigned = root;
    EXPECT_NE(copy.getNodeImp(), root.getNodeImp());  // each handle owns its own implementation
    EXPECT_EQ(copy.setAttribute("a", "1"), VelDOM::eOk);
    EXPECT_EQ(root.getAttribute("a"), VelString("1"));
    EXPECT_EQ(assigned.getAttribute("a"), VelString("1"));
    {
        VelDOMElement shortLived(root);
        shortLived.setAttribute("b", "2");
    }  // destroying a handle leaves the node
    EXPECT_EQ(root.getAttribute("b"), VelString("2"));

    // The document lives while a handle on one of its nodes does.
    VelDOMElement survivor = root;
    doc = VelDOMDocument();
    root = VelDOMElement();
    copy = VelDOMElement();
    assigned = VelDOMElement();
    EXPECT_EQ(survivor.getTagName(), VelString("Root"));
    EXPECT_EQ(survivor.getAttribute("b"), VelString("2"));
    VelDOMDocument owner;
    EXPECT_EQ(survivor.getOwnerDocument(owner), VelDOM::eOk);
    EXPECT_EQ(owner.getNodeType(), VelDOM::eDocumentNode);
    EXPECT_EQ(VelDOMElement(owner.getDocumentElement()).getAttribute("a"), VelString("1"));

    VelDOMNode& alias = survivor;
    survivor = VelDOMElement(alias);
    EXPECT_EQ(survivor.getTagName(), VelString("Root"));
    EXPECT_EQ(survivor.getErrorStatus(), VelDOM::eOk);
}

TEST(VelDOMNodeHandles, TypedHandlesOnTheWrongKindOfNode)
{
    VelDOMDocument doc = parse("<r>text<e/></r>");
    ASSERT_FALSE(doc.isNull());
    VelDOMElement root = doc.getDocumentElement();
    VelDOMNode text = child(root, 0);
    VelDOMElement notAnElement(text);
    EXPECT_FALSE(notAnElement.isNull());
    EXPECT_EQ(notAnElement.getNodeType(), VelDOM::eTextNode);
    EXPECT_EQ(notAnElement.setAttribute("a", "b"), VelDOM::eInvalidArgument);
    EXPECT_EQ(notAnElement.getTagName(), VelString());
    VelDOMText notText(root);
    EXPECT_EQ(notText.setValue("x"), VelDOM::eNoImplementation);
    VelDOMDocument notADocument(root);
    EXPECT_TRUE(notADocument.createElement("x").isNull());
    VelString out("untouched");
    EXPECT_EQ(utilities()->writeDocument(notADocument, out, 0, 0, 0), VelDOM::eInvalidArgument);
    EXPECT_EQ(out, VelString("untouched"));
}

TEST(VelDOMNodeTree, ParentsChildrenAndAppending)
{
    VelDOMDocument doc = utilities()->createDocument("Root");
    VelDOMElement root = doc.getDocumentElement();
    VelDOMElement a = doc.createElement("a");
    VelDOMText t = doc.createTextNode("hello");
    ASSERT_FALSE(a.isNull());
    ASSERT_FALSE(t.isNull());
    VelDOMNode noParent;
    EXPECT_EQ(a.getParentNode(noParent), VelDOM::eOk);
    EXPECT_TRUE(noParent.isNull());  // not in the tree yet

    EXPECT_EQ(a.appendChild(t), VelDOM::eOk);
    EXPECT_EQ(root.appendChild(a), VelDOM::eOk);
    VelDOMNode parent;
    EXPECT_EQ(a.getParentNode(parent), VelDOM::eOk);
    EXPECT_EQ(VelDOMElement(parent).getTagName(), VelString("Root"));
    VelString value;
    EXPECT_EQ(a.getChildTextValue(value), VelDOM::eOk);
    EXPECT_EQ(value, VelString("hello"));

    // Refusals leave the tree as it was.
    VelDOMNode nothing;
    EXPECT_EQ(root.appendChild(nothing), VelDOM::eInvalidArgument);
    EXPECT_EQ(a.appendChild(root), VelDOM::eInvalidArgument);   // into its own subtree
    EXPECT_EQ(doc.appendChild(a), VelDOM::eInvalidArgument);    // a second root element
    VelDOMDocument other = utilities()->createDocument("Other");
    VelDOMElement foreign = other.createElement("f");
    EXPECT_EQ(root.appendChild(foreign), VelDOM::eInvalidArgument);  // another document's node
    EXPECT_EQ(written(doc), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Root><a>hello</a></Root>");

    // The document's children begin with the XML declaration.
    VelDOMNodeList children;
    EXPECT_EQ(doc.getChildNodes(children), VelDOM::eOk);
    ASSERT_EQ(children.length(), 2);
    VelDOMNode decl;
    EXPECT_EQ(children.item(0, decl), VelDOM::eOk);
    EXPECT_EQ(decl.getNodeType(), VelDOM::eXMLDeclNode);
    EXPECT_EQ(decl.getParentNode(parent), VelDOM::eOk);
    EXPECT_EQ(parent.getNodeType(), VelDOM::eDocumentNode);
    EXPECT_EQ(children.item(2, decl), VelDOM::eIndexOutOfRange);
    EXPECT_EQ(children.item(-1, decl), VelDOM::eIndexOutOfRange);
    EXPECT_EQ(decl.getNodeType(), VelDOM::eXMLDeclNode);  // untouched by the refusals
    EXPECT_EQ(doc.getParentNode(parent), VelDOM::eOk);
    EXPECT_TRUE(parent.isNull());
}

TEST(VelDOMNodeTree, ChildListsFollowTheTreeAndWalkLinearly)
{
    VelDOMDocument doc = utilities()->createDocument("Root");
    VelDOMElement root = doc.getDocumentElement();
    VelDOMNodeList list;
    ASSERT_EQ(root.getChildNodes(list), VelDOM::eOk);
    EXPECT_EQ(list.length(), 0);
    const int n = 20000;
    for (int i = 0; i < n; ++i)
        ASSERT_EQ(root.appendTextElement("i", VelString().format("%d", i)), VelDOM::eOk);
    EXPECT_EQ(list.length(), n);  // live
    VelDOMNode item;
    // Forward, backward and random access agree with the content.
    for (long i = 0; i < n; i += 7) {
        ASSERT_EQ(list.item(i, item), VelDOM::eOk);
        VelString v;
        ASSERT_EQ(VelDOMElement(item).getChildTextValue(v), VelDOM::eOk);
        ASSERT_EQ(v, VelString().format("%ld", i));
    }
    for (long i = n - 1; i >= 0; i -= 1013) {
        ASSERT_EQ(list.item(i, item), VelDOM::eOk);
        VelString v;
        VelDOMElement(item).getChildTextValue(v);
        ASSERT_EQ(v, VelString().format("%ld", i));
    }
    VelDOMNodeList copy(list);
    ASSERT_EQ(copy.item(n - 1, item), VelDOM::eOk);
    VelDOMNodeList found;
    EXPECT_EQ(root.getElementsByTagName("i", found), n);
    EXPECT_EQ(found.length(), n);
    EXPECT_EQ(root.getElementsByTagName("none", found), 0);
    EXPECT_EQ(found.length(), 0);
}

TEST(VelDOMElementAttributes, SetReadRemoveAndNumbers)
{
    VelDOMDocument doc = utilities()->createDocument("Root");
    VelDOMElement root = doc.getDocumentElement();
    EXPECT_EQ(root.setAttribute("n", "12abc"), VelDOM::eOk);
    EXPECT_EQ(root.setAttribute("x", "2.5e1"), VelDOM::eOk);
    EXPECT_EQ(root.setAttribute("w", "letters"), VelDOM::eOk);
    EXPECT_EQ(root.setAttribute("empty", ""), VelDOM::eOk);
    long l = -1;
    double d = -1;
    EXPECT_EQ(root.getAttribute("n", l), VelDOM::eOk);
    EXPECT_EQ(l, 12);
    EXPECT_EQ(root.getAttribute("n", d), VelDOM::eOk);
    EXPECT_EQ(d, 12.0);
    EXPECT_EQ(root.getAttribute("x", d), VelDOM::eOk);
    EXPECT_EQ(d, 25.0);
    l = 7;
    d = 7;
    EXPECT_EQ(root.getAttribute("w", l), VelDOM::eEmptyOrMissing);
    EXPECT_EQ(root.getAttribute("w", d), VelDOM::eEmptyOrMissing);
    EXPECT_EQ(root.getAttribute("empty", l), VelDOM::eEmptyOrMissing);
    EXPECT_EQ(root.getAttribute("absent", d), VelDOM::eEmptyOrMissing);
    EXPECT_EQ(l, 7);
    EXPECT_EQ(d, 7);

    EXPECT_EQ(root.getNumAttributes(), 4);
    // Attribute order is the parser's map order, here by name.
    EXPECT_EQ(root.getAttributeNameAt(0), VelString("empty"));
    EXPECT_EQ(root.getAttributeNameAt(3), VelString("x"));
    EXPECT_EQ(root.getAttributeValueAt(3), VelString("2.5e1"));
    EXPECT_EQ(root.getAttributeNameAt(4), VelString());
    EXPECT_EQ(root.getAttributeValueAt(-1), VelString());

    EXPECT_EQ(root.setAttribute("", "v"), VelDOM::eEmptyOrMissing);
    EXPECT_EQ(root.setAttribute("bad name", "v"), VelDOM::eInvalidArgument);
    EXPECT_EQ(root.setAttribute("c", "bell\x07"), VelDOM::eInvalidArgument);  // XML cannot hold it
    EXPECT_EQ(root.removeAttribute(""), VelDOM::eEmptyOrMissing);
    EXPECT_EQ(root.removeAttribute("w"), VelDOM::eOk);
    EXPECT_EQ(root.removeAttribute("w"), VelDOM::eOk);
    EXPECT_EQ(root.getNumAttributes(), 3);
    EXPECT_EQ(root.getAttribute("w"), VelString());

    EXPECT_EQ(root.appendTextElement("", "t"), VelDOM::eEmptyOrMissing);
    EXPECT_EQ(root.appendTextElement("a b", "t"), VelDOM::eInvalidArgument);
    EXPECT_EQ(root.appendTextElement("ok", "t\x01"), VelDOM::eInvalidArgument);
    VelDOMNodeList children;
    root.getChildNodes(children);
    EXPECT_EQ(children.length(), 0);  // the refusals appended nothing
}

TEST(VelDOMElementText, ChildTextValueNeedsExactlyOneTextChild)
{
    VelDOMDocument doc = parse("<r><one>v</one><two>v<!--c--></two><none/><sub><x/></sub><cd><![CDATA[c]]></cd></r>");
    ASSERT_FALSE(doc.isNull());
    VelDOMElement root = doc.getDocumentElement();
    VelDOMNodeList list;
    VelDOMNode n;
    const char* names[] = {"one", "two", "none", "sub", "cd"};
    const VelDOM::Error expected[] = {VelDOM::eOk, VelDOM::eEmptyOrMissing, VelDOM::eEmptyOrMissing,
                                      VelDOM::eEmptyOrMissing, VelDOM::eEmptyOrMissing};
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(root.getElementsByTagName(names[i], list), 1);
        ASSERT_EQ(list.item(0, n), VelDOM::eOk);
        VelString value("kept");
        EXPECT_EQ(VelDOMElement(n).getChildTextValue(value), expected[i]) << names[i];
        EXPECT_EQ(value, VelString(i == 0 ? "v" : "kept"));
    }

    VelDOMText text(child(VelDOMElement(n = child(root, 0)), 0));
    EXPECT_EQ(text.getValue(), VelString("v"));
    EXPECT_EQ(text.setValue(nullptr), VelDOM::eInvalidArgument);
    EXPECT_EQ(text.setValue(""), VelDOM::eEmptyOrMissing);
    EXPECT_EQ(text.setValue("a\x02"), VelDOM::eInvalidArgument);
    EXPECT_EQ(text.getValue(), VelString("v"));
    EXPECT_EQ(text.setValue("w \xC3\xA4"), VelDOM::eOk);
    EXPECT_EQ(text.getValue(), VelString(L"w \u00e4"));
}

TEST(VelDOMFiler, CursorNumbersAndFormats)
{
    VelDOMDocument doc = utilities()->createDocument("Root");
    VelDOMFiler filer(doc);
    EXPECT_EQ(filer.currentNode().getNodeType(), VelDOM::eDocumentNode);
    EXPECT_EQ(filer.currentElement().getTagName(), VelString("Root"));
    EXPECT_EQ(filer.appendElement("d", 2.5), VelDOM::eOk);
    EXPECT_EQ(filer.appendElement("l", 42L), VelDOM::eOk);
    EXPECT_EQ(filer.appendElement("i", 7), VelDOM::eOk);
    EXPECT_EQ(filer.appendElement("f", 2.5, "%.2f"), VelDOM::eOk);
    EXPECT_EQ(filer.appendElement("h", 255L, "0x%04lx"), VelDOM::eOk);
    EXPECT_EQ(filer.appendElement("t", "text"), VelDOM::eOk);
    EXPECT_EQ(filer.setAttribute("sd", 0.125), VelDOM::eOk);
    EXPECT_EQ(filer.setAttribute("sl", -3L, "%+ld"), VelDOM::eOk);
    EXPECT_EQ(filer.setAttribute("ss", "v"), VelDOM::eOk);
    // Formats that would make printf misread the value are refused.
    EXPECT_EQ(filer.appendElement("bad", 1L, "%s"), VelDOM::eInvalidArgument);
    EXPECT_EQ(filer.appendElement("bad", 1.0, "%d"), VelDOM::eInvalidArgument);
    EXPECT_EQ(filer.appendElement("bad", 1L, "%ld %ld"), VelDOM::eInvalidArgument);
    EXPECT_EQ(filer.appendElement("bad", 1L, "%n"), VelDOM::eInvalidArgument);
    EXPECT_EQ(filer.setAttribute("bad", 1.0, "%*f"), VelDOM::eInvalidArgument);
    EXPECT_EQ(filer.setAttribute("bad", 1L, "no conversion"), VelDOM::eInvalidArgument);
    EXPECT_EQ(filer.appendElement(nullptr, "x"), VelDOM::eInvalidArgument);
    EXPECT_EQ(filer.appendElement("x", static_cast<const char*>(nullptr)), VelDOM::eInvalidArgument);
    EXPECT_EQ(filer.setAttribute("", "x"), VelDOM::eEmptyOrMissing);
    EXPECT_EQ(written(doc), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<Root sd=\"0.125000\" sl=\"-3\" ss=\"v\"><d>2.500000</d><l>42</l><i>7</i>"
                            "<f>2.50</f><h>0x00ff</h><t>text</t></Root>");

    // Moving the cursor: an element becomes the current element, other nodes do not.
    VelDOMNodeList found;
    ASSERT_EQ(filer.currentElement().getElementsByTagName("t", found), 1);
    VelDOMNode t;
    found.item(0, t);
    EXPECT_EQ(filer.setCurrentNode(t), VelDOM::eOk);
    EXPECT_EQ(filer.currentElement().getTagName(), VelString("t"));
    EXPECT_EQ(filer.appendElement("inner", 1L), VelDOM::eOk);
    VelDOMNode text = child(t, 0);
    EXPECT_EQ(filer.setCurrentNode(text), VelDOM::eOk);
    EXPECT_EQ(filer.currentNode().getNodeType(), VelDOM::eTextNode);
    EXPECT_EQ(filer.currentElement().getTagName(), VelString("t"));
    EXPECT_EQ(filer.document().getNodeType(), VelDOM::eDocumentNode);
}

TEST(VelDOMDump, TreeLinesAndParseLevels)
{
    VelDOMDocument doc = parse("<r a=\"1\" b=\"x y\">\n  <e>text</e>\n  <!--note--><f/>\n</r>");
    ASSERT_FALSE(doc.isNull());
    const std::vector<std::string> expected = {
        "Node(type=9)", "(", "  Element(r)", "   - a=\"1\"", "   - b=\"x y\"", "  (", "    Element(e)", "    (",
        "      Text(\"text\")", "    )", "    Node(type=8)", "    Element(f)", "  )", ")"};
    {
        TraceCapture trace;
        doc.dump(0);
        EXPECT_EQ(trace.lines(), expected);
    }
    {
        TraceCapture trace;
        doc.dumpParseLevel(0);
        EXPECT_EQ(trace.lines(), expected);  // the same lines ...
    }
    VelDOMElement root = doc.getDocumentElement();
    EXPECT_EQ(root.getAttribute("PARSELEVEL"), VelString("1"));  // ... and the levels set
    VelDOMNodeList list;
    VelDOMNode f;
    root.getElementsByTagName("f", list);
    list.item(0, f);
    EXPECT_EQ(VelDOMElement(f).getAttribute("PARSELEVEL"), VelString("2"));

    // A created document shows its XML declaration as node type 13.
    VelDOMDocument created = utilities()->createDocument("Root");
    TraceCapture trace;
    created.dump(1);
    EXPECT_EQ(trace.lines(), (std::vector<std::string>{"  Node(type=9)", "  (", "    Node(type=13)",
                                                       "    Element(Root)", "  )"}));
}

TEST(VelDOMDump, DeepDocumentsDoNotExhaustTheStack)
{
    auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "<a>";
        for (int i = 0; i < depth; ++i)
            text += "</a>";
        return text;
    };
    {
        // The dump's indent makes its text quadratic in the depth: keep it modest.
        const int depth = 2000;
        VelDOMDocument doc = parse(nested(depth).c_str());
        ASSERT_FALSE(doc.isNull());
        TraceCapture trace;
        doc.dump(0);
        const std::vector<std::string> lines = trace.lines();
        ASSERT_EQ(lines.size(), 3u + depth + 2u * (depth - 1));
        const size_t innermost = 2 + 2 * (depth - 1);
        EXPECT_EQ(lines[innermost], std::string(2 * depth, ' ') + "Element(a)");
        EXPECT_EQ(lines[innermost + 1], std::string(2 * (depth - 1), ' ') + ")");
        EXPECT_EQ(lines[lines.size() - 2], "  )");
    }
    const int depth = 100000;
    VelDOMDocument doc = parse(nested(depth).c_str());
    ASSERT_FALSE(doc.isNull());
    {
        TraceCapture silent(0);  // levels are set although no line is written
        doc.dumpParseLevel(0);
    }
    VelDOMNodeList all;
    VelDOMNode innermost;
    ASSERT_EQ(doc.getDocumentElement().getElementsByTagName("a", all), depth - 1);
    ASSERT_EQ(all.item(depth - 2, innermost), VelDOM::eOk);
    EXPECT_EQ(VelDOMElement(innermost).getAttribute("PARSELEVEL"), VelString().format("%d", depth));
    doc = parse(nested(depth).c_str());
    std::string expected;
    for (int i = 1; i < depth; ++i)
        expected += "<a>";
    expected += "<a/>";
    for (int i = 1; i < depth; ++i)
        expected += "</a>";
    EXPECT_EQ(written(doc), expected);  // no declaration in, none out
}
