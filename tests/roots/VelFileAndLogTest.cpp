#include "roots/VelFile.h"
#include "roots/VelLogfile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {
std::string tmpPath(const char* name) { return std::string(KIV_TEST_TMPDIR) + "/" + name; }

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}
} // namespace

TEST(VelFile, WriteAppendAndFailure)
{
    const std::string path = tmpPath("velfile.txt");
    FILE* f = reinterpret_cast<FILE*>(1);
    EXPECT_EQ(velfopen(&f, path.c_str(), "w"), 0);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(velfprintf(f, "%d %s\n", 62, "EOF"), 7);
    EXPECT_EQ(velfclose(f), 0);

    ASSERT_EQ(velfopen(&f, path.c_str(), "a+"), 0);
    velfprintf(f, "more\n");
    velfclose(f);
    EXPECT_EQ(slurp(path), "62 EOF\nmore\n");

    // Failure stores null; null streams are ignored by the writer and closer.
    f = reinterpret_cast<FILE*>(1);
    EXPECT_NE(velfopen(&f, (tmpPath("no/such/dir") + "/x.txt").c_str(), "w"), 0);
    EXPECT_EQ(f, nullptr);
    EXPECT_LT(velfprintf(nullptr, "x"), 0);
    EXPECT_EQ(velfclose(nullptr), 0);
    EXPECT_NE(velfopen(nullptr, path.c_str(), "r"), 0);
}

TEST(VelLogfile, AppendsOnlyWhenSwitchedOnAndIsDurableAtOnce)
{
    const std::string path = tmpPath("log.txt");
    std::remove(path.c_str());
    VelLogfile log(VelString(path.c_str()));
    VelLogfile::setLogStatus(0);
    EXPECT_EQ(log.appendWithSave(VelString("ignored\n")), 0);
    EXPECT_EQ(slurp(path), "");

    VelLogfile::setLogStatus(1);
    EXPECT_EQ(log.appendWithSave(VelString("one\n")), 1);
    // On disk before the log object goes away.
    EXPECT_EQ(slurp(path), "one\n");
    EXPECT_EQ(log.appendWithSave(VelString(L"zwei\n")), 1);
    EXPECT_EQ(slurp(path), "one\nzwei\n");

    VelLogfile bad(VelString((tmpPath("no/such/dir") + "/log.txt").c_str()));
    EXPECT_EQ(bad.appendWithSave(VelString("x")), 0);
    VelLogfile::setLogStatus(0);
}
