// Reading and writing a 10 MB document through veldom against the same work
// done with Xerces-C directly. Each iteration times both on the same input
// and reports veldom's time (as the benchmark's time) and the ratio
// veldom / Xerces ("ratio" counter; 1.0 means equal speed). Times are the
// thread's CPU time, so that other processes on a shared machine do not
// tilt the ratio; the work is single-threaded either way.
//
// Read: veldom parses a VelString (as its callers hold text); Xerces parses
// the same UTF-8 bytes from a memory buffer with the same parser settings.
// Both release the document afterwards.
// Write: veldom writes the document to a VelString; Xerces serialises the
// same tree to a memory buffer, once with its DOMLSSerializer and once with
// a minimal walk over XMLFormatter (the cheapest way to the same text).
#include "dom/VelDOMDocument.h"
#include "dom/VelDOMUtilites.h"

#include <benchmark/benchmark.h>
#include <xercesc/dom/DOM.hpp>
#include <xercesc/framework/MemBufFormatTarget.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/framework/XMLFormatter.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/sax/HandlerBase.hpp>
#include <xercesc/util/PlatformUtils.hpp>

#include <ctime>
#include <cstdio>
#include <string>

using namespace xercesc;

namespace
{
double cpuSeconds()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

struct Pair
{
    double kiv = 0, peer = 0;
    template <class F, class G>
    void time(benchmark::State& state, F&& kivWork, G&& peerWork)
    {
        const double t0 = cpuSeconds();
        kivWork();
        const double t1 = cpuSeconds();
        peerWork();
        const double t2 = cpuSeconds();
        kiv += t1 - t0;
        peer += t2 - t1;
        state.SetIterationTime(t1 - t0);
    }
    void report(benchmark::State& state) { state.counters["ratio"] = peer > 0 ? kiv / peer : 0; }
};

// A steel model of about 10 MB: parts with attributes, text and escapes.
const std::string& documentText()
{
    static const std::string text = [] {
        std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<model name=\"hall &amp; annex\">\n";
        char line[512];
        for (int i = 0; s.size() < 10u * 1024 * 1024; ++i) {
            std::snprintf(line, sizeof line,
                          "  <part id=\"P%d\" profile=\"HEA %d\" x=\"%.3f\" y=\"%.3f\" z=\"%.3f\">"
                          "<name>Column %d &lt;grid %c&gt;</name><mark>C-%d</mark>"
                          "<note>cut &amp; weld, see \"detail %d\"</note><!-- rev %d --></part>\n",
                          i, 100 + i % 30 * 20, i * 1.25, i * 0.5, i % 7 * 3000.0, i, 'A' + i % 26, i, i % 50,
                          i % 9);
            s += line;
        }
        return s + "</model>\n";
    }();
    return text;
}

class Reporter : public HandlerBase
{
public:
    void error(const SAXParseException&) override { failed = true; }
    void fatalError(const SAXParseException&) override { failed = true; }
    bool failed = false;
};

// Xerces used directly, set up as veldom sets up its parser.
DOMDocument* xercesParse(const std::string& bytes)
{
    Reporter reporter;
    XercesDOMParser parser;
    parser.setValidationScheme(XercesDOMParser::Val_Auto);
    parser.setDoNamespaces(false);
    parser.setDoSchema(false);
    parser.setCreateEntityReferenceNodes(false);
    parser.setIncludeIgnorableWhitespace(false);
    parser.setCreateCommentNodes(true);
    parser.setErrorHandler(&reporter);
    MemBufInputSource source(reinterpret_cast<const XMLByte*>(bytes.data()), bytes.size(), "bench", false);
    parser.parse(source);
    return reporter.failed ? nullptr : parser.adoptDocument();
}

size_t serializerWrite(DOMDocument* doc)
{
    DOMImplementation* impl = DOMImplementationRegistry::getDOMImplementation(u"LS");
    DOMLSSerializer* serializer = static_cast<DOMImplementationLS*>(impl)->createLSSerializer();
    DOMLSOutput* output = static_cast<DOMImplementationLS*>(impl)->createLSOutput();
    MemBufFormatTarget target(1 << 20);
    output->setByteStream(&target);
    output->setEncoding(u"UTF-8");
    serializer->write(doc, output);
    std::string text(reinterpret_cast<const char*>(target.getRawBuffer()), target.getLen());
    output->release();
    serializer->release();
    return text.size();
}

// The least a direct Xerces user writes to serialise elements, attributes,
// text and comments through the formatter.
size_t formatterWrite(DOMDocument* doc)
{
    MemBufFormatTarget target(1 << 20);
    XMLFormatter f("UTF-8", &target, XMLFormatter::NoEscapes, XMLFormatter::UnRep_CharRef);
    auto raw = [&](const XMLCh* s) { f.formatBuf(s, XMLString::stringLen(s), XMLFormatter::NoEscapes); };
    f << u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    DOMNode* root = doc->getDocumentElement();
    DOMNode* n = root;
    for (;;) {
        bool down = false;
        switch (n->getNodeType()) {
        case DOMNode::ELEMENT_NODE: {
            raw(u"<");
            raw(n->getNodeName());
            DOMNamedNodeMap* a = n->getAttributes();
            for (XMLSize_t i = 0; i < a->getLength(); ++i) {
                raw(u" ");
                raw(a->item(i)->getNodeName());
                raw(u"=\"");
                const XMLCh* v = a->item(i)->getNodeValue();
                f.formatBuf(v, XMLString::stringLen(v), XMLFormatter::AttrEscapes);
                raw(u"\"");
            }
            down = n->hasChildNodes();
            raw(down ? u">" : u"/>");
            break;
        }
        case DOMNode::TEXT_NODE: {
            const XMLCh* v = n->getNodeValue();
            f.formatBuf(v, XMLString::stringLen(v), XMLFormatter::CharEscapes);
            break;
        }
        case DOMNode::COMMENT_NODE:
            raw(u"<!--");
            raw(n->getNodeValue());
            raw(u"-->");
            break;
        default: break;
        }
        if (down) {
            n = n->getFirstChild();
            continue;
        }
        for (;;) {
            if (n == root) {
                std::string text(reinterpret_cast<const char*>(target.getRawBuffer()), target.getLen());
                return text.size();
            }
            if (DOMNode* next = n->getNextSibling()) {
                n = next;
                break;
            }
            n = n->getParentNode();
            raw(u"</");
            raw(n->getNodeName());
            raw(u">");
        }
    }
}

VelDOMUtilites* utilities()
{
    VelDOMUtilites* u = VelDOMUtilites::getUtilities(VelDOM::eXerces);
    u->init();
    return u;
}

void BM_Read(benchmark::State& state)
{
    const std::string& bytes = documentText();
    const VelString text(bytes.c_str());
    Pair p;
    for (auto _ : state) {
        p.time(
            state,
            [&] {
                VelDOMDocument doc = utilities()->readDocumentFromText(text);
                if (doc.isNull())
                    state.SkipWithError("veldom did not parse");
            },
            [&] {
                DOMDocument* doc = xercesParse(bytes);
                if (!doc)
                    state.SkipWithError("Xerces did not parse");
                else
                    doc->release();
            });
    }
    p.report(state);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

template <size_t (*Peer)(DOMDocument*)>
void BM_Write(benchmark::State& state)
{
    const std::string& bytes = documentText();
    VelDOMDocument doc = utilities()->readDocumentFromText(VelString(bytes.c_str()));
    DOMDocument* peerDoc = xercesParse(bytes);
    if (doc.isNull() || !peerDoc) {
        state.SkipWithError("document did not parse");
        return;
    }
    Pair p;
    size_t kivSize = 0, peerSize = 0;
    for (auto _ : state) {
        p.time(
            state,
            [&] {
                VelString out;
                utilities()->writeDocument(doc, out, 0, 0, 0);
                kivSize = static_cast<size_t>(out.length());
            },
            [&] { peerSize = Peer(peerDoc); });
    }
    p.report(state);
    state.counters["kiv_chars"] = static_cast<double>(kivSize);
    state.counters["peer_bytes"] = static_cast<double>(peerSize);
    peerDoc->release();
}

void BM_ReadWrite(benchmark::State& state)
{
    const std::string& bytes = documentText();
    const VelString text(bytes.c_str());
    Pair p;
    for (auto _ : state) {
        p.time(
            state,
            [&] {
                VelDOMDocument doc = utilities()->readDocumentFromText(text);
                VelString out;
                utilities()->writeDocument(doc, out, 0, 0, 0);
            },
            [&] {
                DOMDocument* doc = xercesParse(bytes);
                if (doc) {
                    serializerWrite(doc);
                    doc->release();
                }
            });
    }
    p.report(state);
}
}

BENCHMARK(BM_Read)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_TEMPLATE(BM_Write, serializerWrite)->Name("BM_Write/vs_DOMLSSerializer")->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_TEMPLATE(BM_Write, formatterWrite)->Name("BM_Write/vs_XMLFormatter_walk")->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadWrite)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv)
{
    XMLPlatformUtils::Initialize();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    VelDOMUtilites::releaseUtilities();
    XMLPlatformUtils::Terminate();
    return 0;
}
