// Uses the XML library through its installed umbrella header: builds a
// document, writes it, reads it back from memory and from a file.
#include <kiv/veldom.h>

#include <cstdio>
#include <cstring>
#include <string>

int main()
{
    VelDOMUtilites* u = VelDOMUtilites::getUtilities(VelDOM::eXerces);
    if (!u)
        return 1;
    VelDOMDocument doc = u->createDocument("Model");
    VelDOMFiler filer(doc);
    if (filer.setAttribute("name", "hall & annex") != VelDOM::eOk || filer.appendElement("length", 2.5) != VelDOM::eOk)
        return 2;
    VelString text;
    if (u->writeDocument(doc, text, 0, 0, 0) != VelDOM::eOk)
        return 3;
    const char* expected = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<Model name=\"hall &amp; annex\"><length>2.500000</length></Model>";
    if (std::strcmp(text.getStringA(), expected) != 0)
        return 4;

    VelDOMDocument back = u->readDocumentFromText(text);
    double length = 0;
    VelDOMNodeList list;
    VelDOMNode node;
    VelString value;
    if (back.isNull() || back.getDocumentElement().getElementsByTagName("length", list) != 1 ||
        list.item(0, node) != VelDOM::eOk || VelDOMElement(node).getChildTextValue(value) != VelDOM::eOk ||
        std::sscanf(value.getStringA(), "%lf", &length) != 1 || length != 2.5)
        return 5;

    const std::string path = "veldom-consumer.xml";
    VelString file(path.c_str());
    if (u->writeDocument(doc, file, 1, 1, 0) != VelDOM::eOk)
        return 6;
    VelDOMDocument fromFile = u->readDocumentFromFile(file);
    if (fromFile.getDocumentElement().getAttribute("name") != VelString("hall & annex"))
        return 7;
    std::remove(path.c_str());
    if (!u->readDocumentFromText(VelString("<broken>")).isNull())
        return 8;
    VelDOMUtilites::releaseUtilities();
    std::printf("veldom ok\n");
    return 0;
}
