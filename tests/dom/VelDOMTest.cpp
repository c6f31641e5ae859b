#include "DomTestSupport.h"

#include "dom/VelDOM.h"
#include "dom/VelDOMDocument.h"
#include "dom/VelDOMElement.h"
#include "dom/VelDOMFiler.h"
#include "dom/VelDOMNodeList.h"
#include "dom/VelDOMText.h"

#include <cstdint>

using domtest::TraceCapture;

TEST(VelDOMCheckString, NullEmptyAndText)
{
    EXPECT_EQ(VelDOM::checkString(nullptr, 0), VelDOM::eInvalidArgument);
    EXPECT_EQ(VelDOM::checkString(nullptr, 1), VelDOM::eInvalidArgument);
    EXPECT_EQ(VelDOM::checkString("", 1), VelDOM::eOk);
    EXPECT_EQ(VelDOM::checkString("", 0), VelDOM::eEmptyOrMissing);
    EXPECT_EQ(VelDOM::checkString("x", 0), VelDOM::eOk);
    EXPECT_EQ(VelDOM::checkString("x", 7), VelDOM::eOk);
}

TEST(VelDOMCodes, NumbersAreFixed)
{
    EXPECT_EQ(VelDOM::eOk, 0);
    EXPECT_EQ(VelDOM::eNotInitialized, 1);
    EXPECT_EQ(VelDOM::eInitFailed, 2);
    EXPECT_EQ(VelDOM::eNullNode, 3);
    EXPECT_EQ(VelDOM::eInvalidArgument, 5);
    EXPECT_EQ(VelDOM::eEmptyOrMissing, 6);
    EXPECT_EQ(VelDOM::eIndexOutOfRange, 7);
    EXPECT_EQ(VelDOM::eNoImplementation, 1000);
    EXPECT_EQ(VelDOM::eXMLDeclNode, 13);
    EXPECT_EQ(VelDOM::eXerces, 0);
}

TEST(VelDOMTraceLog, LevelsDecideWhatIsWritten)
{
    int object = 0;
    const std::string address = std::to_string(reinterpret_cast<std::uintptr_t>(&object));
    {
        TraceCapture trace(1);
        VelDOM::error("with object", &object);
        VelDOM::error("without object", nullptr);
        EXPECT_EQ(trace.text(), "without object\n");
    }
    {
        TraceCapture trace(0);
        VelDOM::error("with object", &object);
        VelDOM::error("without object", nullptr);
        EXPECT_EQ(trace.text(), "");
    }
    {
        TraceCapture trace(2);
        VelDOM::error("with object", &object);
        VelDOM::error("without object", nullptr);
        EXPECT_EQ(trace.text(), address + ":with object\n");
    }
    {
        TraceCapture trace(3);
        VelDOM::error("with object", &object);
        VelDOM::error("without object", nullptr);
        EXPECT_EQ(trace.text(), address + ":with object\n0:without object\n");
    }
}

TEST(VelDOMTraceLog, DefaultLevelIsOneAndHandlesStaySilent)
{
    EXPECT_EQ(VelDOMTrace::level(), 1);
    TraceCapture trace;  // keeps the level
    {
        VelDOMNode a;
        VelDOMNode b(a);
        a = b;
        VelDOMElement e;
        e = VelDOMElement();
    }
    EXPECT_EQ(trace.text(), "");
}

TEST(VelDOMTraceLog, HandleLifecycleMessagesAtLevelTwo)
{
    TraceCapture trace(2);
    {
        VelDOMNode a;
        VelDOMNode b(a);
        b = a;
        VelDOMElement e;
        e = VelDOMElement(a);
        VelDOMText t;
        t = VelDOMText(a);
        VelDOMDocument d;
        d = VelDOMDocument(a);
    }
    std::string messages;
    for (const std::string& line : trace.lines())
        messages += line.substr(line.find(':') + 1) + "|";
    EXPECT_NE(messages.find("VelDOMNode()|VelDOMNode(const VelDOMNode& orig)|VelDOMNodeoperator=(VelDOMNode& rhs)|"),
              std::string::npos)
        << messages;
    EXPECT_NE(messages.find("VelDOMElement operator=(VelDOMElement& rhs)|"), std::string::npos);
    EXPECT_NE(messages.find("VelDOMText operator=(VelDOMText& rhs)|"), std::string::npos);
    EXPECT_NE(messages.find("VelDOMDocument operator=(VelDOMText& rhs)|"), std::string::npos);
    EXPECT_NE(messages.find("~VelDOMNode|"), std::string::npos);
}

TEST(VelDOMTraceLog, UnopenableLogIsSkippedSilently)
{
    const int old = VelDOMTrace::level();
    VelDOMTrace::redirect("/nonexistent-folder-for-veldom/VelDOMErrorLog.txt");
    VelDOMTrace::setLevel(3);
    VelDOM::error("goes nowhere", nullptr);
    VelDOMNode n;
    n.dump(0);
    VelDOMTrace::setLevel(old);
    VelDOMTrace::redirect(std::string());
    SUCCEED();
}

TEST(VelDOMTraceLog, DefaultPlaceFollowsTheEnvironment)
{
    const char* old = std::getenv("VELDOM_LOG_DIR");
    const std::string saved = old ? old : "";
    setenv("VELDOM_LOG_DIR", "/some/where", 1);
    EXPECT_EQ(VelDOMTrace::logPath(), "/some/where/VelDOMErrorLog.txt");
    if (old)
        setenv("VELDOM_LOG_DIR", saved.c_str(), 1);
    else
        unsetenv("VELDOM_LOG_DIR");
    const std::string path = VelDOMTrace::logPath();
    EXPECT_EQ(path.substr(path.size() - 19), "/VelDOMErrorLog.txt");
}

TEST(VelDOMHandles, WithoutImplementation)
{
    VelDOMNode node;
    EXPECT_TRUE(node.isNull());
    EXPECT_EQ(node.getNodeType(), 0);
    EXPECT_EQ(node.getErrorStatus(), VelDOM::eNullNode);
    EXPECT_EQ(node.getNodeImp(), nullptr);
    EXPECT_EQ(node.getContentImp(), nullptr);
    VelDOMNode other;
    VelDOMNodeList list;
    VelDOMDocument doc;
    EXPECT_EQ(node.appendChild(other), VelDOM::eInvalidArgument);
    EXPECT_EQ(node.getParentNode(other), VelDOM::eInvalidArgument);
    EXPECT_EQ(node.getChildNodes(list), VelDOM::eInvalidArgument);
    EXPECT_EQ(node.getOwnerDocument(doc), VelDOM::eInvalidArgument);

    VelDOMElement e;
    EXPECT_EQ(e.setAttribute("a", "b"), VelDOM::eInvalidArgument);
    EXPECT_EQ(e.appendTextElement("a", "b"), VelDOM::eInvalidArgument);
    EXPECT_EQ(e.removeAttribute("a"), VelDOM::eEmptyOrMissing);
    EXPECT_EQ(e.getNumAttributes(), 0);
    EXPECT_EQ(e.getElementsByTagName("*", list), 0);
    EXPECT_EQ(e.getTagName(), VelString());
    EXPECT_EQ(e.getAttribute("a"), VelString());
    EXPECT_EQ(e.getAttributeNameAt(0), VelString());
    EXPECT_EQ(e.getAttributeValueAt(0), VelString());
    VelString s("kept");
    EXPECT_EQ(e.getAttribute("a", s), VelDOM::eOk);
    EXPECT_EQ(s, VelString());
    double d = 4.0;
    long l = 4;
    EXPECT_EQ(e.getAttribute("a", d), VelDOM::eEmptyOrMissing);
    EXPECT_EQ(e.getAttribute("a", l), VelDOM::eEmptyOrMissing);
    EXPECT_EQ(d, 4.0);
    EXPECT_EQ(l, 4);
    s = "kept";
    EXPECT_EQ(e.getChildTextValue(s), VelDOM::eEmptyOrMissing);
    EXPECT_EQ(s, VelString("kept"));

    VelDOMText t;
    EXPECT_EQ(t.setValue("x"), VelDOM::eNoImplementation);
    EXPECT_EQ(t.getValue(), VelString());

    EXPECT_TRUE(doc.createElement("a").isNull());
    EXPECT_TRUE(doc.createTextNode("a").isNull());
    EXPECT_TRUE(doc.getDocumentElement().isNull());

    EXPECT_EQ(list.length(), 0);
    EXPECT_EQ(list.item(0, node), VelDOM::eInvalidArgument);

    EXPECT_TRUE(VelDOMFiler::InvalidElement.isNull());
    VelDOMFiler filer(doc);
    EXPECT_TRUE(filer.currentElement().isNull());
    EXPECT_EQ(filer.appendElement("a", "b"), VelDOM::eInvalidArgument);
    EXPECT_EQ(filer.setAttribute("a", "b"), VelDOM::eInvalidArgument);
}

TEST(VelDOMHandles, SelfAssignmentChangesNothing)
{
    VelDOMNode n;
    VelDOMNode& alias = n;
    n = alias;
    EXPECT_TRUE(n.isNull());
    EXPECT_EQ(n.getErrorStatus(), VelDOM::eNullNode);
}
