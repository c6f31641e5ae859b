#pragma once
// Library-wide vocabulary of the XML document layer: result codes, node
// types, back ends, the argument checks and the trace log.

class VelDOM
{
public:
    enum Error
    {
        eOk = 0,
        eNotInitialized = 1,
        eInitFailed = 2,
        eNullNode = 3,
        eInvalidArgument = 5,
        eEmptyOrMissing = 6,
        eIndexOutOfRange = 7,
        eNoImplementation = 1000
    };

    // DOM node-type numbers; 13 is the XML declaration, 0 means no node.
    enum NodeType
    {
        eNoNode = 0,
        eElementNode = 1,
        eAttributeNode = 2,
        eTextNode = 3,
        eCDATASectionNode = 4,
        eEntityReferenceNode = 5,
        eEntityNode = 6,
        eProcessingInstructionNode = 7,
        eCommentNode = 8,
        eDocumentNode = 9,
        eDocumentTypeNode = 10,
        eDocumentFragmentNode = 11,
        eNotationNode = 12,
        eXMLDeclNode = 13
    };

    enum Platform
    {
        eXerces = 0
    };

    // eInvalidArgument for null; eOk when allowEmpty is non-zero; otherwise
    // eEmptyOrMissing for "" and eOk for anything else.
    static Error checkString(const char* s, int allowEmpty);

    // Writes to the trace log "VelDOMErrorLog.txt". The trace level (1)
    // admits only calls without an object; handle constructors and the like
    // pass themselves and stay silent. The log lives in the folder named by
    // the environment variable VELDOM_LOG_DIR, else in $TMPDIR, else in /tmp;
    // it is truncated when first written in a process. A log that cannot be
    // opened is skipped silently.
    static void error(const char* message, void* object);

private:
    VelDOM() = delete;
};
