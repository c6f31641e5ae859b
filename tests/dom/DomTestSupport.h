#pragma once
// Helpers shared by the veldom tests: scratch files, the trace log, and
// xmllint as an independent reader of what the library writes.

#include "dom/VelDOMTraceInternal.h"
#include "dom/VelDOMUtilites.h"
#include "roots/VelString.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace domtest
{
inline std::string scratch(const std::string& name)
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string prefix = info ? std::string(info->test_suite_name()) + "." + info->name() + "." : "";
    return std::string(KIV_TEST_TMPDIR) + "/veldom." + prefix + name;
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline bool fileExists(const std::string& path)
{
    std::ifstream in(path);
    return in.good();
}

inline VelDOMUtilites* utilities() { return VelDOMUtilites::getUtilities(VelDOM::eXerces); }

// The document as text, as the library writes it to memory.
inline std::string written(VelDOMDocument& doc, int newLines = 0, int terminate = 0)
{
    VelString out;
    const VelDOM::Error rc = utilities()->writeDocument(doc, out, 0, newLines, terminate);
    EXPECT_EQ(rc, VelDOM::eOk);
    return out.getStringA();
}

// xmllint's verdict on a file: empty when well-formed, else its messages.
inline std::string xmllintErrors(const std::string& path)
{
    const std::string log = path + ".xmllint";
    const std::string cmd = "xmllint --noout --nonet '" + path + "' > '" + log + "' 2>&1";
    const int rc = std::system(cmd.c_str());
    std::string text = readFile(log);
    std::remove(log.c_str());
    if (rc == 0)
        return std::string();
    return text.empty() ? std::string("xmllint failed to run (exit ") + std::to_string(rc) + ")" : text;
}

inline std::string xmllintErrorsOnText(const std::string& text, const std::string& name = "check.xml")
{
    const std::string path = scratch(name);
    writeFile(path, text);
    return xmllintErrors(path);
}

// Collects the trace log of one test in a file of its own.
class TraceCapture
{
public:
    explicit TraceCapture(int level = 1) : m_path(scratch("trace.txt")), m_oldLevel(VelDOMTrace::level())
    {
        std::remove(m_path.c_str());
        VelDOMTrace::redirect(m_path);
        VelDOMTrace::setLevel(level);
    }
    ~TraceCapture()
    {
        VelDOMTrace::setLevel(m_oldLevel);
        VelDOMTrace::redirect(std::string());
    }
    std::string text() const { return readFile(m_path); }
    std::vector<std::string> lines() const
    {
        std::vector<std::string> out;
        std::istringstream in(text());
        for (std::string line; std::getline(in, line);)
            out.push_back(line);
        return out;
    }

private:
    std::string m_path;
    int m_oldLevel;
};
}
