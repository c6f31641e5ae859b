#include "dom/xerces/VelXercesDOMUtilitiesInternal.h"
#include "dom/xerces/VelDOMCodePageInternal.h"
#include "dom/xerces/VelXercesDOMNodeInternal.h"
#include "dom/xerces/VelXercesDOMPrintFormatTargetInternal.h"
#include "dom/xerces/VelXercesDOMTreeErrorReporterInternal.h"
#include "dom/xerces/VelXercesDOMWriterInternal.h"
#include "roots/VelFile.h"

#include <xercesc/dom/DOM.hpp>
#include <xercesc/framework/LocalFileInputSource.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLEntityResolver.hpp>
#include <xercesc/util/XMLResourceIdentifier.hpp>

#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <iostream>

using namespace xercesc;

namespace
{
void initializePlatform() { XMLPlatformUtils::Initialize(); }

// Keeps the XML declaration, which the parser's document does not hold.
class DeclarationParser : public XercesDOMParser
{
public:
    void XMLDecl(const XMLCh* const version, const XMLCh* const encoding, const XMLCh* const standalone,
                 const XMLCh* const actualEncoding) override
    {
        // The document refuses a version it does not know by throwing; an
        // exception through the scanner would leak its state, so it is
        // caught here and fails the parse instead.
        try {
            XercesDOMParser::XMLDecl(version, encoding, standalone, actualEncoding);
        } catch (...) {
            refused = true;
        }
        seen = true;
        this->version = version ? version : u"";
        this->encoding = encoding ? encoding : u"";
        this->standalone = standalone ? standalone : u"";
    }

    bool seen = false;
    bool refused = false;
    VelXString version;
    VelXString encoding;
    VelXString standalone;
};

// Never reach out to the network for a DTD or an external entity: such a
// reference fails the parse like a missing file.
class LocalOnlyResolver : public XMLEntityResolver
{
public:
    InputSource* resolveEntity(XMLResourceIdentifier* id) override
    {
        const XMLCh* system = id ? id->getSystemId() : nullptr;
        if (!system || !isRemote(system))
            return nullptr;
        return new RefusedSource(system);
    }

private:
    class RefusedSource : public InputSource
    {
    public:
        explicit RefusedSource(const XMLCh* systemId) : InputSource(systemId) {}
        BinInputStream* makeStream() const override { return nullptr; }
    };

    // A URL with a scheme other than file:.
    static bool isRemote(const XMLCh* s)
    {
        size_t i = 0;
        while ((s[i] >= u'a' && s[i] <= u'z') || (s[i] >= u'A' && s[i] <= u'Z') || (i > 0 && s[i] >= u'0' && s[i] <= u'9') ||
               (i > 0 && (s[i] == u'+' || s[i] == u'-' || s[i] == u'.')))
            ++i;
        if (i < 2 || s[i] != u':')
            return false;  // no scheme, or a drive letter
        const VelXString scheme(s, i);
        return !(scheme.size() == 4 && (scheme[0] | 0x20) == u'f' && (scheme[1] | 0x20) == u'i' &&
                 (scheme[2] | 0x20) == u'l' && (scheme[3] | 0x20) == u'e');
    }
};

VelXercesDocumentHolder* holderOf(VelDOMDocument& doc)
{
    VelXercesDOMNode* imp = VelXercesDOMNode::of(doc);
    if (!imp || !imp->node() || imp->isDeclaration() || !imp->documentRef() ||
        imp->node() != imp->documentRef()->document)
        return nullptr;
    return imp->documentRef().get();
}
}

void (*VelXercesDOMUtilities::platformInitializer)() = initializePlatform;

VelXercesDOMUtilities::VelXercesDOMUtilities() : m_platformHeld(false) {}

VelXercesDOMUtilities::~VelXercesDOMUtilities()
{
    if (m_errorStatus != VelDOM::eNotInitialized || m_platformHeld)
        terminate();
}

VelDOM::Error VelXercesDOMUtilities::init()
{
    if (m_platformHeld) {
        m_errorStatus = VelDOM::eOk;
        return VelDOM::eOk;
    }
    try {
        platformInitializer();
        m_platformHeld = true;
        m_errorStatus = VelDOM::eOk;
    } catch (...) {
        m_errorStatus = VelDOM::eInitFailed;
    }
    return VelDOM::eOk;
}

VelDOM::Error VelXercesDOMUtilities::terminate()
{
    if (m_platformHeld) {
        m_platformHeld = false;
        try {
            XMLPlatformUtils::Terminate();
        } catch (...) {
        }
    }
    m_errorStatus = VelDOM::eNotInitialized;
    return VelDOM::eOk;
}

bool VelXercesDOMUtilities::ready()
{
    if (m_errorStatus != VelDOM::eOk)
        init();
    return m_errorStatus == VelDOM::eOk && m_platformHeld;
}

VelDOMDocument VelXercesDOMUtilities::createDocument(const char* rootTag)
{
    if (VelDOM::checkString(rootTag, 0) != VelDOM::eOk || !ready())
        return VelDOMDocument();
    try {
        DOMImplementation* impl = DOMImplementationRegistry::getDOMImplementation(u"Core");
        if (!impl)
            return VelDOMDocument();
        auto holder = std::make_shared<VelXercesDocumentHolder>(impl->createDocument());
        DOMDocument* doc = holder->document;
        doc->appendChild(doc->createElement(VelXercesStrings::fromUtf8(rootTag).c_str()));
        holder->hasDeclaration = true;
        holder->version = u"1.0";
        holder->encoding = u"UTF-8";
        return VelDOMDocument(new VelXercesDOMNode(holder, doc));
    } catch (...) {
        return VelDOMDocument();  // a tag the parser does not accept as a name
    }
}

VelDOMDocument VelXercesDOMUtilities::readDocument(VelString xmlText)
{
    VelDOM::error("VelXercesDOMUtilities::readDocument()", this);
    if (!ready())
        return VelDOMDocument();
    try {
        const std::string text = VelXercesStrings::narrowText(xmlText);
        const MemBufInputSource source(reinterpret_cast<const XMLByte*>(text.data()), text.size(),
                                       "VelDOMMemoryBuffer", false);
        return parse(source);
    } catch (...) {
        return VelDOMDocument();
    }
}

VelDOMDocument VelXercesDOMUtilities::readDocument(const VelString& fileName)
{
    VelDOM::error("VelXercesDOMUtilities::readDocument()", this);
    if (VelDOM::checkString(fileName.getStringA(), 0) != VelDOM::eOk || !ready())
        return VelDOMDocument();
    // Only regular files: the parser leaks when a read fails under it (a
    // folder), and a device or pipe might never end.
    struct stat info;
    if (::stat(fileName.getStringA(), &info) != 0 || !S_ISREG(info.st_mode))
        return VelDOMDocument();
    try {
        const LocalFileInputSource source(VelXercesStrings::fromVelString(fileName).c_str());
        return parse(source);
    } catch (...) {
        return VelDOMDocument();
    }
}

VelDOMDocument VelXercesDOMUtilities::parse(const InputSource& source)
{
    // Declared before the parser, which refers to them until it is gone.
    VelXercesDOMTreeErrorReporter reporter;
    LocalOnlyResolver resolver;
    SecurityManager limits;  // bounds entity expansion ("billion laughs")
    DeclarationParser parser;
    parser.setValidationScheme(XercesDOMParser::Val_Auto);
    parser.setDoNamespaces(false);
    parser.setDoSchema(false);
    parser.setValidationSchemaFullChecking(false);
    parser.setCreateEntityReferenceNodes(false);
    parser.setIncludeIgnorableWhitespace(false);
    parser.setLoadSchema(false);
    parser.setCreateSchemaInfo(false);
    parser.setIdentityConstraintChecking(false);
    parser.setStandardUriConformant(false);
    parser.setCalculateSrcOfs(false);
    parser.setValidationConstraintFatal(false);
    // Comments stay their own nodes, as CDATA sections and processing
    // instructions do.
    parser.setCreateCommentNodes(true);
    // Malformed input fails at the first fatal error; scanning on finds
    // nothing that would change the (null) result.
    parser.setExitOnFirstFatalError(true);
    parser.setErrorHandler(&reporter);
    parser.setXMLEntityResolver(&resolver);
    parser.setSecurityManager(&limits);

    try {
        parser.parse(source);
    } catch (...) {
        std::cerr << "An error occured during parsing\n" << std::endl;
        return VelDOMDocument();
    }
    if (parser.getErrorCount() > 0 || reporter.getSawErrors() || parser.refused)
        return VelDOMDocument();
    DOMDocument* doc = parser.adoptDocument();
    if (!doc)
        return VelDOMDocument();
    VelXercesDocumentRef holder;
    try {
        holder = std::make_shared<VelXercesDocumentHolder>(doc);
    } catch (...) {
        doc->release();
        return VelDOMDocument();
    }
    holder->hasDeclaration = parser.seen;
    holder->version = parser.version;
    holder->encoding = parser.encoding;
    holder->standalone = parser.standalone;
    return VelDOMDocument(new VelXercesDOMNode(holder, doc));
}

VelDOM::Error VelXercesDOMUtilities::writeDocument(VelDOMDocument& doc, VelString& target, int toFile, int newLines,
                                                   int terminate)
{
    VelXercesDOMWriter::Settings& settings = VelXercesDOMWriter::settings();
    settings.newLines = newLines;
    settings.terminate = terminate;
    VelDOM::error("VelXercesDOMUtilities::writeDocument()", this);

    // The document is checked before the target is opened: a refused write
    // leaves an existing file as it was.
    VelXercesDocumentHolder* holder = holderOf(doc);
    if (!holder)
        return VelDOM::eInvalidArgument;

    try {
        if (settings.narrowWriter && toFile) {
            std::FILE* file = nullptr;
            velfopen(&file, target.getStringA(), "w+");
            if (file) {
                VelXercesDOMWriter::writeNarrow(file, *holder, VelDOMCodePage::current());
                velfclose(file);
            }
            settings.narrowWriter = false;
            return VelDOM::eNoImplementation;
        }

        std::string bytes;
        VelXercesDOMPrintFormatTarget formatTarget(bytes);
        const std::string& encoding = VelXercesDOMWriter::settleOutputEncoding(*holder);
        {
            XMLFormatter formatter(encoding.c_str(), &formatTarget, XMLFormatter::NoEscapes,
                                   XMLFormatter::UnRep_CharRef);
            settings.formatter = &formatter;
            VelXercesDOMWriter::writeFormatted(formatter, formatTarget, *holder);
            if (newLines)
                formatter << XMLFormatter::NoEscapes << u"\n";
            settings.formatter = nullptr;
        }
        if (terminate)
            bytes.push_back('\0');

        if (!toFile) {
            // Assigning the bytes converts in place; a VelString temporary
            // would cost one more copy of the whole text.
            if (VelXercesDOMWriter::isUtf8(encoding))
                target = bytes.c_str();
            else
                target = VelXercesDOMWriter::decode(bytes, encoding);
            return VelDOM::eOk;
        }
        std::ofstream file(target.getStringA(), std::ios::binary | std::ios::trunc);
        if (!file)
            return VelDOM::eInvalidArgument;  // the target cannot be opened
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        file.flush();
        return file ? VelDOM::eOk : VelDOM::eInvalidArgument;
    } catch (...) {
        settings.formatter = nullptr;
        settings.narrowWriter = false;
        return VelDOM::eInvalidArgument;
    }
}

VelDOM::Error VelXercesDOMUtilities::writeDocument(VelDOMDocument& doc, const char* fileName)
{
    const VelDOM::Error check = VelDOM::checkString(fileName, 0);
    if (check != VelDOM::eOk)
        return check;
    VelXercesDOMWriter::Settings& settings = VelXercesDOMWriter::settings();
    settings.narrowWriter = VelDOMCodePage::wantsNarrowWriter(VelDOMCodePage::current());
    VelString name(fileName);
    const VelDOM::Error result = writeDocument(doc, name, 1, 1, 0);
    settings.narrowWriter = false;  // also after a refused write
    return result;
}
