#pragma once
// Cursor for writing a document element by element: new elements and
// attributes go to the current element.

#include "dom/VelDOMDocument.h"
#include "dom/VelDOMElement.h"
#include "dom/VelDOMNode.h"

class VelDOMFiler
{
public:
    // The document is the current node; its root element the current element.
    explicit VelDOMFiler(VelDOMDocument& doc);

    VelDOMDocument& document() { return m_document; }
    VelDOMNode& currentNode() { return m_currentNode; }
    VelDOMElement& currentElement() { return m_currentElement; }

    // An element node also becomes the current element.
    VelDOM::Error setCurrentNode(VelDOMNode& node);

    // Number formats are printf formats with exactly one conversion of the
    // value's kind (d i o u x X with h, hh, l or ll; f F e E g G a A with l
    // or L); null means "%ld" or "%lf". Any other format is eInvalidArgument.
    VelDOM::Error appendElement(const char* name, const char* text);
    VelDOM::Error appendElement(const char* name, long value, const char* format = nullptr);
    VelDOM::Error appendElement(const char* name, double value, const char* format = nullptr);
    VelDOM::Error appendElement(const char* name, int value, const char* format = nullptr)
    {
        return appendElement(name, static_cast<long>(value), format);
    }
    VelDOM::Error setAttribute(const char* name, const char* value);
    VelDOM::Error setAttribute(const char* name, long value, const char* format = nullptr);
    VelDOM::Error setAttribute(const char* name, double value, const char* format = nullptr);
    VelDOM::Error setAttribute(const char* name, int value, const char* format = nullptr)
    {
        return setAttribute(name, static_cast<long>(value), format);
    }

    static VelDOMElement InvalidElement;

private:
    VelDOMDocument m_document;
    VelDOMNode m_currentNode;
    VelDOMElement m_currentElement;
};
