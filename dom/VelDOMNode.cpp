#include "dom/VelDOMNode.h"
#include "dom/VelDOMDocument.h"
#include "dom/VelDOMElement.h"
#include "dom/VelDOMNodeImp.h"
#include "dom/VelDOMNodeList.h"
#include "dom/VelDOMText.h"
#include "dom/VelDOMTraceInternal.h"
#include "roots/VelString.h"

#include <string>
#include <vector>

VelDOMNode::VelDOMNode() : m_imp(nullptr), m_errorStatus(VelDOM::eNullNode)
{
    VelDOM::error("VelDOMNode()", this);
}

VelDOMNode::VelDOMNode(VelDOMNodeImp* imp)
    : m_imp(imp), m_errorStatus(imp ? VelDOM::eOk : VelDOM::eNullNode)
{
    VelDOM::error("VelDOMNode()", this);
}

VelDOMNode::VelDOMNode(const VelDOMNode& orig)
    : m_imp(orig.m_imp ? orig.m_imp->clone() : nullptr), m_errorStatus(orig.m_errorStatus)
{
    VelDOM::error("VelDOMNode(const VelDOMNode& orig)", this);
}

VelDOMNode::~VelDOMNode()
{
    VelDOM::error("~VelDOMNode", this);
    delete m_imp;
}

VelDOMNode& VelDOMNode::operator=(const VelDOMNode& rhs)
{
    VelDOM::error("VelDOMNodeoperator=(VelDOMNode& rhs)", this);
    assign(rhs);
    return *this;
}

void VelDOMNode::assign(const VelDOMNode& rhs)
{
    if (this == &rhs)
        return;
    // Clone first: rhs may be reachable only through our own implementation.
    VelDOMNodeImp* copy = rhs.m_imp ? rhs.m_imp->clone() : nullptr;
    delete m_imp;
    m_imp = copy;
    m_errorStatus = rhs.m_errorStatus;
}

int VelDOMNode::getNodeType() const { return m_imp ? m_imp->getNodeType() : VelDOM::eNoNode; }

VelDOM::Error VelDOMNode::appendChild(VelDOMNode& child)
{
    return m_imp ? m_imp->appendChild(child) : VelDOM::eInvalidArgument;
}

VelDOM::Error VelDOMNode::getParentNode(VelDOMNode& out) const
{
    return m_imp ? m_imp->getParentNode(out) : VelDOM::eInvalidArgument;
}

VelDOM::Error VelDOMNode::getChildNodes(VelDOMNodeList& out) const
{
    return m_imp ? m_imp->getChildNodes(out) : VelDOM::eInvalidArgument;
}

VelDOM::Error VelDOMNode::getOwnerDocument(VelDOMDocument& out) const
{
    return m_imp ? m_imp->getOwnerDocument(out) : VelDOM::eInvalidArgument;
}

VelDOMNodeContentImp* VelDOMNode::getContentImp() const
{
    return m_imp ? m_imp->getContentImp() : nullptr;
}

void VelDOMNode::dump(long level) { dumpTree(level, false); }

void VelDOMNode::dumpParseLevel(long level) { dumpTree(level, true); }

namespace
{
std::string indentOf(long level) { return std::string(level > 0 ? static_cast<size_t>(level) * 2 : 0, ' '); }

void trace(const VelString& line) { VelDOM::error(line.getStringA(), nullptr); }

// Lines of the dump carry no object; when the trace level drops them, they
// are not even formatted (their indent grows with the depth).
bool traceWritesLines()
{
    const int level = VelDOMTrace::level();
    return level == 1 || level == 3;
}

// Layout whitespace between elements is not worth a line of the dump.
bool isLayoutText(const VelString& text)
{
    bool lineBreak = false;
    for (int i = 0; i < text.length(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\n' || c == L'\r')
            lineBreak = true;
        else if (c != L' ')
            return false;
    }
    return lineBreak;
}

// Writes the node's own lines; false when the node is skipped.
bool dumpOne(VelDOMNode& node, long level, bool markLevels, bool lines)
{
    const std::string indent = lines ? indentOf(level) : std::string();
    VelString line;
    switch (node.getNodeType()) {
    case VelDOM::eElementNode: {
        VelDOMElement element(node);
        if (lines)
            trace(line.format("%sElement(%s)", indent.c_str(), element.getTagName().getStringA()));
        const long count = lines ? element.getNumAttributes() : 0;
        for (long i = 0; i < count; ++i)
            trace(line.format("%s - %s=\"%s\"", indent.c_str(), element.getAttributeNameAt(i).getStringA(),
                              element.getAttributeValueAt(i).getStringA()));
        if (markLevels)
            element.setAttribute(VelString("PARSELEVEL"), VelString().format("%ld", level));
        return true;
    }
    case VelDOM::eTextNode: {
        const VelString text = VelDOMText(node).getValue();
        if (isLayoutText(text))
            return false;
        if (lines)
            trace(line.format("%sText(\"%s\")", indent.c_str(), text.getStringA()));
        return true;
    }
    default:
        if (lines)
            trace(line.format("%sNode(type=%d)", indent.c_str(), node.getNodeType()));
        return true;
    }
}

struct DumpFrame
{
    VelDOMNodeList children;
    long next;
    long count;
    long level;
};
}

void VelDOMNode::dumpTree(long level, bool markLevels)
{
    // Iterative: documents may nest far deeper than the stack allows.
    std::vector<DumpFrame> stack;
    const bool lines = traceWritesLines();
    if (!lines && !markLevels)
        return;
    auto enter = [&](VelDOMNode& node, long nodeLevel) {
        if (!dumpOne(node, nodeLevel, markLevels, lines))
            return;
        VelDOMNodeList children;
        if (node.getChildNodes(children) != VelDOM::eOk)
            return;
        const long count = children.length();
        if (count <= 0)
            return;
        if (lines)
            trace(VelString((indentOf(nodeLevel) + "(").c_str()));
        stack.push_back(DumpFrame{children, 0, count, nodeLevel});
    };
    enter(*this, level);
    while (!stack.empty()) {
        DumpFrame& top = stack.back();
        if (top.next < top.count) {
            VelDOMNode child;
            const long childLevel = top.level + 1;
            if (top.children.item(top.next++, child) == VelDOM::eOk)
                enter(child, childLevel);  // may grow the stack: `top` is not used after this
            continue;
        }
        if (lines)
            trace(VelString((indentOf(top.level) + ")").c_str()));
        stack.pop_back();
    }
}
