#include "dom/xerces/VelXercesDOMWriterInternal.h"
#include "dom/xerces/VelDOMCodePageInternal.h"
#include "roots/VelFile.h"

#include <xercesc/dom/DOM.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/TransService.hpp>

#include <cctype>
#include <cerrno>
#include <iconv.h>
#include <iostream>
#include <memory>
#include <vector>

using namespace xercesc;

namespace
{
bool empty(const XMLCh* s) { return !s || !*s; }

bool canEncode(const std::string& encoding)
{
    try {
        XMLTransService::Codes code;
        std::unique_ptr<XMLTranscoder> t(
            XMLPlatformUtils::fgTransService->makeNewTranscoderFor(encoding.c_str(), code, 1024));
        return t != nullptr;
    } catch (...) {
        return false;
    }
}

// Depth-first walk without recursion: documents may nest deeper than the
// stack. Out::enter writes a node's start and says whether to descend;
// Out::leave closes an element. The open elements are kept here because the
// parser's getParentNode is slow (a dynamic_cast per call).
template <class Out>
void walk(Out& out, DOMNode* root)
{
    std::vector<DOMNode*> open;
    DOMNode* n = root;
    for (;;) {
        if (out.enter(n)) {
            open.push_back(n);
            n = n->getFirstChild();
            continue;
        }
        for (;;) {
            if (open.empty())
                return;  // n is the root
            if (DOMNode* next = n->getNextSibling()) {
                n = next;
                break;
            }
            n = open.back();
            open.pop_back();
            out.leave(n);
        }
    }
}

template <class Out>
void writeDocumentNode(Out& out, const VelXercesDocumentHolder& doc)
{
    if (doc.hasDeclaration) {
        out.declaration(doc);
        out.lf();
        out.flush();
    }
    for (DOMNode* c = doc.document->getFirstChild(); c; c = c->getNextSibling()) {
        walk(out, c);
        out.lf();
        out.flush();
    }
}

// The node writer on the formatter.
class FormattedOut
{
public:
    FormattedOut(XMLFormatter& f, XMLFormatTarget& t, bool newLines, const std::string& encoding)
        : m_f(f), m_t(t), m_newLines(newLines), m_encoding(VelXercesStrings::fromUtf8(encoding.c_str()))
    {
    }

    void lf()
    {
        if (m_newLines)
            raw(u"\n");
    }
    void flush()
    {
        flushPending();
        m_t.flush();
    }

    void declaration(const VelXercesDocumentHolder& doc)
    {
        raw(u"<?xml version=\"");
        raw(doc.version.c_str());
        raw(u"\" encoding=\"");
        raw(m_encoding.c_str());
        if (!doc.standalone.empty()) {
            raw(u"\" standalone=\"");
            raw(doc.standalone.c_str());
        }
        raw(u"\"?>\n");
        lf();
    }

    bool enter(DOMNode* n)
    {
        switch (n->getNodeType()) {
        case DOMNode::ELEMENT_NODE: {
            lf();
            raw(u"<");
            raw(n->getNodeName());
            DOMNamedNodeMap* attributes = n->getAttributes();
            const XMLSize_t count = attributes ? attributes->getLength() : 0;
            for (XMLSize_t i = 0; i < count; ++i) {
                DOMNode* a = attributes->item(i);
                raw(u" ");
                raw(a->getNodeName());
                raw(u"=\"");
                put(a->getNodeValue(), XMLFormatter::AttrEscapes);
                raw(u"\"");
            }
            if (n->hasChildNodes()) {
                raw(u">");
                return true;
            }
            raw(u"/>");
            return false;
        }
        case DOMNode::TEXT_NODE: put(n->getNodeValue(), XMLFormatter::CharEscapes); break;
        case DOMNode::CDATA_SECTION_NODE:
            raw(u"<![CDATA[");
            raw(n->getNodeValue());
            raw(u"]]>");
            break;
        case DOMNode::ENTITY_REFERENCE_NODE:
            raw(u"&");
            raw(n->getNodeName());
            raw(u";");
            break;
        case DOMNode::ENTITY_NODE: {
            auto* e = static_cast<DOMEntity*>(n);
            raw(u"<!ENTITY ");
            raw(e->getNodeName());
            if (!empty(e->getPublicId())) {
                raw(u"PUBLIC \"");
                raw(e->getPublicId());
                raw(u"\"");
            }
            if (!empty(e->getSystemId())) {
                raw(u"SYSTEM \"");
                raw(e->getSystemId());
                raw(u"\"");
            }
            if (!empty(e->getNotationName())) {
                raw(u"NDATA \"");
                raw(e->getNotationName());
                raw(u"\"");
            }
            raw(u">");
            break;
        }
        case DOMNode::PROCESSING_INSTRUCTION_NODE:
            raw(u"<?");
            raw(n->getNodeName());
            if (!empty(n->getNodeValue())) {
                raw(u" ");
                raw(n->getNodeValue());
            }
            raw(u"?>");
            break;
        case DOMNode::COMMENT_NODE:
            raw(u"<!--");
            raw(n->getNodeValue());
            raw(u"-->");
            break;
        case DOMNode::DOCUMENT_TYPE_NODE: {
            auto* t = static_cast<DOMDocumentType*>(n);
            raw(u"<!DOCTYPE ");
            raw(t->getName());
            if (!empty(t->getPublicId())) {
                raw(u" PUBLIC \"");
                raw(t->getPublicId());
                raw(u"\"");
                if (!empty(t->getSystemId())) {
                    raw(u" \"");
                    raw(t->getSystemId());
                    raw(u"\"");
                }
            } else if (!empty(t->getSystemId())) {
                raw(u" SYSTEM \"");
                raw(t->getSystemId());
                raw(u"\"");
            }
            if (!empty(t->getInternalSubset())) {
                raw(u"[");
                raw(t->getInternalSubset());
                raw(u"]");
            }
            raw(u">");
            break;
        }
        default:
            std::cerr << "Unrecognized node type = " << n->getNodeType() << std::endl;
            break;
        }
        return false;
    }

    void leave(DOMNode* element)
    {
        raw(u"</");
        raw(element->getNodeName());
        raw(u">");
    }

private:
    // Markup without escapes is collected and handed to the formatter in
    // one piece: a formatter call costs far more than the characters.
    void raw(const XMLCh* s)
    {
        if (s)
            m_pending += s;
    }
    void put(const XMLCh* s, XMLFormatter::EscapeFlags escapes)
    {
        if (empty(s))
            return;
        flushPending();
        m_f.formatBuf(s, XMLString::stringLen(s), escapes, XMLFormatter::UnRep_CharRef);
    }
    void flushPending()
    {
        if (m_pending.empty())
            return;
        m_f.formatBuf(m_pending.data(), m_pending.size(), XMLFormatter::NoEscapes, XMLFormatter::UnRep_CharRef);
        m_pending.clear();
    }

    XMLFormatter& m_f;
    XMLFormatTarget& m_t;
    bool m_newLines;
    VelXString m_encoding;
    VelXString m_pending;
};

// UTF-8 to a narrow code set; characters the code set lacks become
// character references.
class NarrowConverter
{
public:
    explicit NarrowConverter(const std::string& codeSet)
        : m_cd(iconv_open(codeSet.c_str(), "UTF-8"))
    {
    }
    ~NarrowConverter()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    NarrowConverter(const NarrowConverter&) = delete;
    NarrowConverter& operator=(const NarrowConverter&) = delete;

    std::string convert(const std::string& utf8)
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            return utf8;
        std::string out;
        std::vector<char> buffer(utf8.size() + 16);
        char* in = const_cast<char*>(utf8.data());
        size_t inLeft = utf8.size();
        while (inLeft > 0) {
            char* dst = buffer.data();
            size_t dstLeft = buffer.size();
            const size_t rc = iconv(m_cd, &in, &inLeft, &dst, &dstLeft);
            out.append(buffer.data(), buffer.size() - dstLeft);
            if (rc != static_cast<size_t>(-1))
                break;
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL: one character the code set cannot hold.
            const unsigned char lead = static_cast<unsigned char>(*in);
            size_t len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            if (len > inLeft)
                len = inLeft;
            const VelString one(std::string(in, len).c_str());
            char ref[16];
            std::snprintf(ref, sizeof ref, "&#x%lX;", one.length() ? static_cast<unsigned long>(one[0]) : 0xFFFDUL);
            out += ref;
            in += len;
            inLeft -= len;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t m_cd;
};

// The narrow writer: the node writer's text through velfprintf.
class NarrowOut
{
public:
    NarrowOut(std::FILE* file, int codePage, bool newLines)
        : m_file(file), m_newLines(newLines), m_codePageName(VelDOMCodePage::name(codePage)),
          m_converter(m_codePageName)
    {
    }

    void lf()
    {
        if (m_newLines)
            write("\r\n");
    }
    void flush() { std::fflush(m_file); }

    void declaration(const VelXercesDocumentHolder& doc)
    {
        write("<?xml version=\"");
        write(doc.version.c_str());
        write("\"");
        velfprintf(m_file, " encoding=\"%s\"", m_codePageName.c_str());
        if (!doc.standalone.empty()) {
            write(" standalone=\"");
            write(doc.standalone.c_str());
            write("\"");
        }
        write("?>");
        lf();
    }

    bool enter(DOMNode* n)
    {
        switch (n->getNodeType()) {
        case DOMNode::ELEMENT_NODE: {
            lf();
            std::string tag = "<" + VelXercesStrings::toUtf8(n->getNodeName());
            DOMNamedNodeMap* attributes = n->getAttributes();
            const XMLSize_t count = attributes ? attributes->getLength() : 0;
            for (XMLSize_t i = 0; i < count; ++i) {
                DOMNode* a = attributes->item(i);
                tag += " " + VelXercesStrings::toUtf8(a->getNodeName()) + "=\"";
                escaped(tag, a->getNodeValue(), true);
                tag += "\"";
            }
            const bool children = n->hasChildNodes();
            tag += children ? ">" : "/>";
            write(tag);  // the start tag goes out before the children
            return children;
        }
        case DOMNode::TEXT_NODE: {
            std::string text;
            escaped(text, n->getNodeValue(), false);
            write(text);
            break;
        }
        case DOMNode::CDATA_SECTION_NODE:
            write("<![CDATA[" + VelXercesStrings::toUtf8(n->getNodeValue()) + "]]>");
            break;
        case DOMNode::ENTITY_REFERENCE_NODE: write("&" + VelXercesStrings::toUtf8(n->getNodeName()) + ";"); break;
        case DOMNode::ENTITY_NODE: {
            auto* e = static_cast<DOMEntity*>(n);
            std::string s = "<!ENTITY " + VelXercesStrings::toUtf8(e->getNodeName());
            if (!empty(e->getPublicId()))
                s += "PUBLIC \"" + VelXercesStrings::toUtf8(e->getPublicId()) + "\"";
            if (!empty(e->getSystemId()))
                s += "SYSTEM \"" + VelXercesStrings::toUtf8(e->getSystemId()) + "\"";
            if (!empty(e->getNotationName()))
                s += "NDATA \"" + VelXercesStrings::toUtf8(e->getNotationName()) + "\"";
            write(s + ">");
            break;
        }
        case DOMNode::PROCESSING_INSTRUCTION_NODE: {
            std::string s = "<?" + VelXercesStrings::toUtf8(n->getNodeName());
            if (!empty(n->getNodeValue()))
                s += " " + VelXercesStrings::toUtf8(n->getNodeValue());
            write(s + "?>");
            break;
        }
        case DOMNode::COMMENT_NODE: write("<!--" + VelXercesStrings::toUtf8(n->getNodeValue()) + "-->"); break;
        case DOMNode::DOCUMENT_TYPE_NODE: {
            auto* t = static_cast<DOMDocumentType*>(n);
            std::string s = "<!DOCTYPE " + VelXercesStrings::toUtf8(t->getName());
            if (!empty(t->getPublicId())) {
                s += " PUBLIC \"" + VelXercesStrings::toUtf8(t->getPublicId()) + "\"";
                if (!empty(t->getSystemId()))
                    s += " \"" + VelXercesStrings::toUtf8(t->getSystemId()) + "\"";
            } else if (!empty(t->getSystemId())) {
                s += " SYSTEM \"" + VelXercesStrings::toUtf8(t->getSystemId()) + "\"";
            }
            if (!empty(t->getInternalSubset()))
                s += "[" + VelXercesStrings::toUtf8(t->getInternalSubset()) + "]";
            write(s + ">");
            break;
        }
        default: std::cerr << "Unrecognized node type = " << n->getNodeType() << std::endl; break;
        }
        return false;
    }

    void leave(DOMNode* element) { write("</" + VelXercesStrings::toUtf8(element->getNodeName()) + ">"); }

private:
    void write(const XMLCh* s) { write(VelXercesStrings::toUtf8(s)); }
    void write(const std::string& utf8) { velfprintf(m_file, "%s", m_converter.convert(utf8).c_str()); }

    // The formatter's escapes: & < > in text, & < " in attribute values.
    static void escaped(std::string& out, const XMLCh* s, bool attribute)
    {
        if (empty(s))
            return;
        VelXString buffer;
        for (const XMLCh* p = s; *p; ++p) {
            switch (*p) {
            case u'&': buffer += u"&amp;"; break;
            case u'<': buffer += u"&lt;"; break;
            case u'>':
                if (attribute)
                    buffer += *p;
                else
                    buffer += u"&gt;";
                break;
            case u'"':
                if (attribute)
                    buffer += u"&quot;";
                else
                    buffer += *p;
                break;
            default: buffer += *p; break;
            }
        }
        VelXercesStrings::appendUtf8(out, buffer.data(), buffer.size());
    }

    std::FILE* m_file;
    bool m_newLines;
    std::string m_codePageName;
    NarrowConverter m_converter;
};
}

VelXercesDOMWriter::Settings& VelXercesDOMWriter::settings()
{
    static Settings s;
    return s;
}

const std::string& VelXercesDOMWriter::settleOutputEncoding(const VelXercesDocumentHolder& doc)
{
    std::string& settled = settings().outputEncoding;
    if (settled.empty()) {
        settled = "UTF-8";
        if (doc.hasDeclaration && !doc.encoding.empty()) {
            const std::string declared = VelXercesStrings::toUtf8(doc.encoding.c_str());
            if (canEncode(declared))
                settled = declared;
        }
    }
    return settled;
}

void VelXercesDOMWriter::resetOutputEncoding() { settings().outputEncoding.clear(); }

void VelXercesDOMWriter::writeFormatted(XMLFormatter& formatter, XMLFormatTarget& target,
                                        const VelXercesDocumentHolder& doc)
{
    FormattedOut out(formatter, target, settings().newLines != 0, settings().outputEncoding);
    writeDocumentNode(out, doc);
    out.flush();
}

void VelXercesDOMWriter::writeNarrow(std::FILE* file, const VelXercesDocumentHolder& doc, int codePage)
{
    NarrowOut out(file, codePage, settings().newLines != 0);
    writeDocumentNode(out, doc);
}

bool VelXercesDOMWriter::isUtf8(const std::string& encoding)
{
    std::string e;
    for (char c : encoding)
        if (c != '-' && c != '_')
            e.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    return e == "UTF8";
}

VelString VelXercesDOMWriter::decode(const std::string& bytes, const std::string& encoding)
{
    if (isUtf8(encoding))
        return VelString(bytes.c_str());
    XMLTransService::Codes code;
    std::unique_ptr<XMLTranscoder> t(
        XMLPlatformUtils::fgTransService->makeNewTranscoderFor(encoding.c_str(), code, 16 * 1024));
    if (!t)
        return VelString(bytes.c_str());
    VelXString text;
    std::vector<XMLCh> chunk(16 * 1024);
    std::vector<unsigned char> sizes(chunk.size());
    const XMLByte* src = reinterpret_cast<const XMLByte*>(bytes.data());
    XMLSize_t left = bytes.size();
    while (left > 0) {
        XMLSize_t eaten = 0;
        const XMLSize_t made = t->transcodeFrom(src, left, chunk.data(), chunk.size(), eaten, sizes.data());
        if (eaten == 0)
            break;
        text.append(chunk.data(), made);
        src += eaten;
        left -= eaten;
    }
    const size_t end = text.find(XMLCh(0));  // a terminating NUL ends the text
    return VelXercesStrings::toVelString(text.data(), end == VelXString::npos ? text.size() : end);
}
