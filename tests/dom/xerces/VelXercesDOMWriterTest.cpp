#include "dom/DomTestSupport.h"

#include "dom/VelDOMDocument.h"
#include "dom/VelDOMElement.h"
#include "dom/VelDOMNodeList.h"
#include "dom/VelDOMUtilites.h"
#include "dom/xerces/VelDOMCodePageInternal.h"

#include <clocale>
#include <cstdlib>
#include <iostream>

using domtest::fileExists;
using domtest::readFile;
using domtest::scratch;
using domtest::TraceCapture;
using domtest::utilities;
using domtest::writeFile;
using domtest::written;
using domtest::xmllintErrors;
using domtest::xmllintErrorsOnText;

namespace
{
const std::string kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

VelDOMDocument fromText(const std::string& text) { return utilities()->readDocumentFromText(VelString(text.c_str())); }

// Written, checked by xmllint, read back and (unless told otherwise)
// written again to the same text.
std::string writtenAndChecked(VelDOMDocument& doc, int newLines = 0, bool fixpoint = true)
{
    const std::string text = written(doc, newLines);
    EXPECT_EQ(xmllintErrorsOnText(text), "") << text;
    VelDOMDocument again = fromText(text);
    EXPECT_FALSE(again.isNull()) << text;
    if (!again.isNull() && newLines == 0 && fixpoint) {
        EXPECT_EQ(written(again), text);
    }
    return text;
}
}

TEST(VelXercesDOMWriter, CreatedDocumentExactText)
{
    VelDOMDocument doc = utilities()->createDocument("Root");
    EXPECT_EQ(writtenAndChecked(doc), kDecl + "<Root/>");
    // Line breaks: after the declaration's own, one for it as a child, one
    // before each element, one after each child of the document, one at the end.
    EXPECT_EQ(writtenAndChecked(doc, 1), kDecl + "\n\n\n<Root/>\n\n");
    VelDOMElement root = doc.getDocumentElement();
    root.appendTextElement("a", "1");
    root.appendTextElement("b", "");
    // An empty text child keeps the long form (and reads back as no child).
    EXPECT_EQ(writtenAndChecked(doc, 0, false), kDecl + "<Root><a>1</a><b></b></Root>");
    EXPECT_EQ(writtenAndChecked(doc, 1), kDecl + "\n\n\n<Root>\n<a>1</a>\n<b></b></Root>\n\n");
}

TEST(VelXercesDOMWriter, EscapesInAttributesAndText)
{
    VelDOMDocument doc = utilities()->createDocument("Root");
    VelDOMElement root = doc.getDocumentElement();
    ASSERT_EQ(root.setAttribute("q", "say \"hi\" & <go> 'now'"), VelDOM::eOk);
    ASSERT_EQ(root.appendTextElement("t", "a<b && c>d \"e\" 'f'"), VelDOM::eOk);
    const std::string text = writtenAndChecked(doc);
    EXPECT_EQ(text, kDecl + "<Root q=\"say &quot;hi&quot; &amp; &lt;go> 'now'\">"
                            "<t>a&lt;b &amp;&amp; c&gt;d \"e\" 'f'</t></Root>");
    VelDOMDocument back = fromText(text);
    VelDOMElement backRoot = back.getDocumentElement();
    EXPECT_EQ(backRoot.getAttribute("q"), VelString("say \"hi\" & <go> 'now'"));
    VelDOMNodeList list;
    VelDOMNode t;
    backRoot.getElementsByTagName("t", list);
    list.item(0, t);
    VelString value;
    VelDOMElement(t).getChildTextValue(value);
    EXPECT_EQ(value, VelString("a<b && c>d \"e\" 'f'"));
}

TEST(VelXercesDOMWriter, EveryKindOfNodeOfAParsedDocument)
{
    const std::string in = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>"
                           "<!DOCTYPE r [<!ELEMENT r ANY><!ELEMENT e EMPTY><!ATTLIST r z CDATA #IMPLIED a CDATA #IMPLIED>]>"
                           "<!--head--><?app run fast?><r z=\"2\" a=\"1\"><?empty?><![CDATA[<raw> & ]]>"
                           "text &amp; more<e/><!-- c --></r>";
    VelDOMDocument doc = fromText(in);
    ASSERT_FALSE(doc.isNull());
    const std::string text = writtenAndChecked(doc);
    EXPECT_EQ(text, "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
                    "<!DOCTYPE r[<!ELEMENT r ANY><!ELEMENT e EMPTY><!ATTLIST r z CDATA #IMPLIED a CDATA #IMPLIED>]>"
                    "<!--head--><?app run fast?><r a=\"1\" z=\"2\"><?empty?><![CDATA[<raw> & ]]>"
                    "text &amp; more<e/><!-- c --></r>");
    EXPECT_EQ(written(doc, 1),
              "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n\n\n"
              "<!DOCTYPE r[<!ELEMENT r ANY><!ELEMENT e EMPTY><!ATTLIST r z CDATA #IMPLIED a CDATA #IMPLIED>]>\n"
              "<!--head-->\n<?app run fast?>\n\n<r a=\"1\" z=\"2\"><?empty?><![CDATA[<raw> & ]]>"
              "text &amp; more\n<e/><!-- c --></r>\n\n");
    EXPECT_EQ(xmllintErrorsOnText(written(doc, 1)), "");

    // External identifiers, with the DTD beside the file.
    writeFile(scratch("x.dtd"), "<!ELEMENT r EMPTY>");
    const std::string dtdName = scratch("x.dtd").substr(scratch("x.dtd").rfind('/') + 1);
    const std::string withPublic = scratch("public.xml");
    writeFile(withPublic, "<!DOCTYPE r PUBLIC \"-//kiv//x\" \"" + dtdName + "\"><r/>");
    VelDOMDocument pub = utilities()->readDocumentFromFile(VelString(withPublic.c_str()));
    ASSERT_FALSE(pub.isNull());
    EXPECT_EQ(written(pub), "<!DOCTYPE r PUBLIC \"-//kiv//x\" \"" + dtdName + "\"><r/>");
    const std::string withSystem = scratch("system.xml");
    writeFile(withSystem, "<!DOCTYPE r SYSTEM \"" + dtdName + "\" [<!ATTLIST r a CDATA #IMPLIED>]><r a=\"1\"/>");
    VelDOMDocument sys = utilities()->readDocumentFromFile(VelString(withSystem.c_str()));
    ASSERT_FALSE(sys.isNull());
    const std::string sysText = written(sys);
    EXPECT_EQ(sysText, "<!DOCTYPE r SYSTEM \"" + dtdName + "\"[<!ATTLIST r a CDATA #IMPLIED>]><r a=\"1\"/>");
    writeFile(scratch("system.out.xml"), sysText);
    EXPECT_EQ(xmllintErrors(scratch("system.out.xml")), "");
}

TEST(VelXercesDOMWriter, NonAsciiTextIsWrittenAsUtf8)
{
    VelDOMDocument doc = utilities()->createDocument("Root");
    VelDOMElement root = doc.getDocumentElement();
    ASSERT_EQ(root.appendTextElement("t", VelString(L"\u00e4 \u0416 \U0001F600")), VelDOM::eOk);
    ASSERT_EQ(root.setAttribute(VelString(L"n\u00e4me"), VelString(L"\u20ac")), VelDOM::eOk);
    const std::string text = writtenAndChecked(doc);
    EXPECT_EQ(text, kDecl + "<Root n\xC3\xA4me=\"\xE2\x82\xAC\"><t>\xC3\xA4 \xD0\x96 \xF0\x9F\x98\x80</t></Root>");
    VelString out;
    ASSERT_EQ(utilities()->writeDocument(doc, out, 0, 0, 0), VelDOM::eOk);
    EXPECT_NE(std::wstring(out.getStringW()).find(L"<t>\u00e4 \u0416 \U0001F600</t>"), std::wstring::npos);
}

TEST(VelXercesDOMWriter, FilesTerminatorAndTrace)
{
    VelDOMDocument doc = utilities()->createDocument("Root");
    doc.getDocumentElement().appendTextElement("a", "x");
    const std::string path = scratch("out.xml");
    VelString target(path.c_str());
    ASSERT_EQ(utilities()->writeDocument(doc, target, 1, 0, 0), VelDOM::eOk);
    EXPECT_EQ(target, VelString(path.c_str()));  // a file name stays a file name
    EXPECT_EQ(readFile(path), written(doc));
    EXPECT_EQ(xmllintErrors(path), "");
    VelDOMDocument back = utilities()->readDocumentFromFile(VelString(path.c_str()));
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(written(back), written(doc));

    // The terminator: a NUL byte in a file; the end of the text in memory.
    ASSERT_EQ(utilities()->writeDocument(doc, target, 1, 1, 1), VelDOM::eOk);
    const std::string bytes = readFile(path);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.back(), '\0');
    EXPECT_EQ(bytes.substr(0, bytes.size() - 1), written(doc, 1));
    EXPECT_EQ(xmllintErrorsOnText(bytes.substr(0, bytes.size() - 1)), "");
    EXPECT_EQ(written(doc, 1, 1), written(doc, 1, 0));
    EXPECT_FALSE(utilities()->readDocumentFromText(VelString(bytes.c_str())).isNull());

    // The two-argument form writes with line breaks (formatter path under the C locale).
    const std::string path2 = scratch("out2.xml");
    ASSERT_EQ(utilities()->writeDocument(doc, path2.c_str()), VelDOM::eOk);
    EXPECT_EQ(readFile(path2), written(doc, 1));
    EXPECT_EQ(xmllintErrors(path2), "");

    TraceCapture trace(2);
    VelString text;
    utilities()->writeDocument(doc, text, 0, 0, 0);
    EXPECT_NE(trace.text().find(":VelXercesDOMUtilities::writeDocument()\n"), std::string::npos);
}

TEST(VelXercesDOMWriter, RefusedWritesLeaveExistingFilesAlone)
{
    const std::string path = scratch("precious.xml");
    writeFile(path, "<precious/>");
    VelDOMDocument null;
    VelString target(path.c_str());
    EXPECT_EQ(utilities()->writeDocument(null, target, 1, 0, 0), VelDOM::eInvalidArgument);
    EXPECT_EQ(utilities()->writeDocument(null, path.c_str()), VelDOM::eInvalidArgument);
    EXPECT_EQ(readFile(path), "<precious/>");
    VelString memory("kept");
    EXPECT_EQ(utilities()->writeDocument(null, memory, 0, 0, 0), VelDOM::eInvalidArgument);
    EXPECT_EQ(memory, VelString("kept"));

    VelDOMDocument doc = utilities()->createDocument("Root");
    EXPECT_EQ(utilities()->writeDocument(doc, nullptr), VelDOM::eInvalidArgument);
    EXPECT_EQ(utilities()->writeDocument(doc, ""), VelDOM::eEmptyOrMissing);
    VelString unreachable("/nonexistent-folder-for-veldom/out.xml");
    EXPECT_EQ(utilities()->writeDocument(doc, unreachable, 1, 0, 0), VelDOM::eInvalidArgument);
    EXPECT_EQ(utilities()->writeDocument(doc, "/nonexistent-folder-for-veldom/out.xml"), VelDOM::eInvalidArgument);
    EXPECT_FALSE(fileExists("/nonexistent-folder-for-veldom/out.xml"));
    // A refused two-argument write leaves no narrow-writer state behind.
    EXPECT_EQ(utilities()->writeDocument(doc, target, 1, 0, 0), VelDOM::eOk);
    EXPECT_EQ(readFile(path), kDecl + "<Root/>");
}

TEST(VelXercesDOMWriter, EncodingOfADeclarationIsWrittenAsTheProcessEncoding)
{
    // Once settled (here by the first write of this process, UTF-8 unless a
    // child process below), a document's own declaration does not change it.
    VelDOMDocument created = utilities()->createDocument("Root");
    written(created);
    VelDOMDocument latin = fromText("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>x</r>");
    ASSERT_FALSE(latin.isNull());
    EXPECT_EQ(written(latin), kDecl + "<r>x</r>");
}

namespace
{
int check(bool ok, const std::string& what)
{
    if (!ok)
        std::cerr << "failed: " << what << std::endl;
    return ok ? 0 : 1;
}

// Runs in a fresh process: the first write settles the output encoding.
int settledEncodingScenario()
{
    int failures = 0;
    VelDOMDocument latin = fromText("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>x</r>");
    VelString text;
    failures += check(utilities()->writeDocument(latin, text, 0, 0, 0) == VelDOM::eOk, "write latin");
    failures += check(std::string(text.getStringA()) ==
                          "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<r>x</r>", text.getStringA());

    // Every later write uses it, whatever the document's declaration says.
    VelDOMDocument doc = utilities()->createDocument("Root");
    doc.getDocumentElement().appendTextElement("t", VelString(L"\u00e4\u0416"));
    failures += check(utilities()->writeDocument(doc, text, 0, 0, 0) == VelDOM::eOk, "write created");
    failures += check(text == VelString(L"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<Root><t>\u00e4&#x416;</t></Root>"),
                      text.getStringA());
    const std::string path = scratch("latin1.xml");
    VelString target(path.c_str());
    failures += check(utilities()->writeDocument(doc, target, 1, 0, 0) == VelDOM::eOk, "write file");
    failures += check(readFile(path) ==
                          "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<Root><t>\xE4&#x416;</t></Root>",
                      readFile(path));
    const std::string lint = xmllintErrors(path);
    failures += check(lint.empty(), lint);
    VelDOMDocument back = utilities()->readDocumentFromFile(target);
    VelString value;
    VelDOMNodeList list;
    VelDOMNode t;
    back.getDocumentElement().getElementsByTagName("t", list);
    list.item(0, t);
    VelDOMElement(t).getChildTextValue(value);
    failures += check(value == VelString(L"\u00e4\u0416"), "read back");
    return failures;
}
}

TEST(VelXercesDOMWriterDeathTest, FirstWriteOfTheProcessSettlesTheEncoding)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process, not a fork of this one
    EXPECT_EXIT(std::exit(settledEncodingScenario()), ::testing::ExitedWithCode(0), "");
}

TEST(VelDOMCodePage, NumbersNamesAndTheNarrowWriterSwitch)
{
    EXPECT_EQ(VelDOMCodePage::fromCodeSet("UTF-8"), 65001);
    EXPECT_EQ(VelDOMCodePage::fromCodeSet("utf8"), 65001);
    EXPECT_EQ(VelDOMCodePage::fromCodeSet("ANSI_X3.4-1968"), 20127);
    EXPECT_EQ(VelDOMCodePage::fromCodeSet("ISO-8859-1"), 28591);
    EXPECT_EQ(VelDOMCodePage::fromCodeSet("iso88592"), 28592);
    EXPECT_EQ(VelDOMCodePage::fromCodeSet("ISO-8859-5"), 28595);
    EXPECT_EQ(VelDOMCodePage::fromCodeSet("ISO-8859-15"), 28605);
    EXPECT_EQ(VelDOMCodePage::fromCodeSet("CP1251"), 1251);
    EXPECT_EQ(VelDOMCodePage::fromCodeSet("WINDOWS-1250"), 1250);
    EXPECT_EQ(VelDOMCodePage::fromCodeSet("KOI8-R"), 20866);
    EXPECT_EQ(VelDOMCodePage::fromCodeSet("something"), 0);
    EXPECT_EQ(VelDOMCodePage::fromCodeSet(nullptr), 0);

    EXPECT_EQ(VelDOMCodePage::name(1250), "windows-1250");
    EXPECT_EQ(VelDOMCodePage::name(1258), "windows-1258");
    EXPECT_EQ(VelDOMCodePage::name(1249), "UTF-8");
    EXPECT_EQ(VelDOMCodePage::name(1259), "UTF-8");
    EXPECT_EQ(VelDOMCodePage::name(28591), "ISO-8859-1");
    EXPECT_EQ(VelDOMCodePage::name(28592), "ISO-8859-2");
    EXPECT_EQ(VelDOMCodePage::name(28595), "ISO-8859-5");
    EXPECT_EQ(VelDOMCodePage::name(28593), "UTF-8");
    EXPECT_EQ(VelDOMCodePage::name(65001), "UTF-8");

    EXPECT_TRUE(VelDOMCodePage::wantsNarrowWriter(1250));
    EXPECT_FALSE(VelDOMCodePage::wantsNarrowWriter(1252));
    EXPECT_TRUE(VelDOMCodePage::wantsNarrowWriter(28591));
    EXPECT_FALSE(VelDOMCodePage::wantsNarrowWriter(28605));
    EXPECT_FALSE(VelDOMCodePage::wantsNarrowWriter(65001));
    EXPECT_FALSE(VelDOMCodePage::wantsNarrowWriter(20127));
    EXPECT_FALSE(VelDOMCodePage::wantsNarrowWriter(0));
    EXPECT_EQ(VelDOMCodePage::current(), 20127);  // tests run under the C locale
}

namespace
{
// A narrow locale built into the scratch folder, or empty when this
// machine cannot build one.
class NarrowLocale
{
public:
    NarrowLocale(const char* source, const char* charmap, const char* name)
    {
        const std::string dir = std::string(KIV_TEST_TMPDIR) + "/locales";
        std::system(("mkdir -p '" + dir + "'").c_str());
        const std::string target = dir + "/" + name;
        const std::string cmd = "localedef -i " + std::string(source) + " -f " + charmap + " '" + target +
                                "' > /dev/null 2>&1";
        if (!fileExists(target + "/LC_CTYPE") && std::system(cmd.c_str()) != 0 && !fileExists(target + "/LC_CTYPE"))
            return;
        setenv("LOCPATH", dir.c_str(), 1);
        m_active = std::setlocale(LC_CTYPE, name) != nullptr;
    }
    ~NarrowLocale()
    {
        std::setlocale(LC_CTYPE, "C");
        unsetenv("LOCPATH");
    }
    bool active() const { return m_active; }

private:
    bool m_active = false;
};

VelDOMDocument narrowSample()
{
    VelDOMDocument doc = utilities()->createDocument("Root");
    VelDOMElement root = doc.getDocumentElement();
    root.setAttribute("a", "\"&<>");
    root.appendTextElement("t", VelString(L"\u00e4 \u0416 <&>"));
    return doc;
}
}

TEST(VelXercesDOMNarrowWriter, LatinOneLocaleWritesTheCodePage)
{
    NarrowLocale locale("en_US", "ISO-8859-1", "en_US.ISO-8859-1");
    if (!locale.active())
        GTEST_SKIP() << "localedef cannot build an ISO-8859-1 locale here";
    ASSERT_EQ(VelDOMCodePage::current(), 28591);
    VelDOMDocument doc = narrowSample();
    const std::string path = scratch("narrow.xml");
    EXPECT_EQ(utilities()->writeDocument(doc, path.c_str()), VelDOM::eNoImplementation);
    const std::string expected = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n\r\n"
                                 "\r\n<Root a=\"&quot;&amp;&lt;>\">\r\n<t>\xE4 &#x416; &lt;&amp;&gt;</t></Root>\r\n";
    EXPECT_EQ(readFile(path), expected);
    EXPECT_EQ(xmllintErrors(path), "");
    VelDOMDocument back = utilities()->readDocumentFromFile(VelString(path.c_str()));
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.getDocumentElement().getAttribute("a"), VelString("\"&<>"));

    // A null document is refused before the file is touched.
    VelDOMDocument null;
    EXPECT_EQ(utilities()->writeDocument(null, path.c_str()), VelDOM::eInvalidArgument);
    EXPECT_EQ(readFile(path), expected);
    // The switch is off again for the general form.
    VelString target(path.c_str());
    EXPECT_EQ(utilities()->writeDocument(doc, target, 1, 0, 0), VelDOM::eOk);
    EXPECT_EQ(readFile(path).substr(0, 38), kDecl.substr(0, 38));
}

TEST(VelXercesDOMNarrowWriter, WindowsCyrillicLocale)
{
    NarrowLocale locale("ru_RU", "CP1251", "ru_RU.CP1251");
    if (!locale.active())
        GTEST_SKIP() << "localedef cannot build a CP1251 locale here";
    ASSERT_EQ(VelDOMCodePage::current(), 1251);
    VelDOMDocument doc = narrowSample();
    const std::string path = scratch("cyrillic.xml");
    EXPECT_EQ(utilities()->writeDocument(doc, path.c_str()), VelDOM::eNoImplementation);
    EXPECT_EQ(readFile(path), "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n\r\n"
                              "\r\n<Root a=\"&quot;&amp;&lt;>\">\r\n<t>&#xE4; \xC6 &lt;&amp;&gt;</t></Root>\r\n");
    EXPECT_EQ(xmllintErrors(path), "");
}
