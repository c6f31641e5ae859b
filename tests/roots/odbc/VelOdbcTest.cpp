#include "roots/odbc/VelOdbc.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {
struct DefaultsFile {
    explicit DefaultsFile(const std::string& content)
    {
        path = std::string(KIV_TEST_TMPDIR) + "/defaults.txt";
        std::ofstream(path) << content;
        setenv("KIV_DEFAULTS_FILE", path.c_str(), 1);
    }
    ~DefaultsFile() { unsetenv("KIV_DEFAULTS_FILE"); }
    std::string path;
};
} // namespace

TEST(VelOdbc, NothingConfiguredFindsNothing)
{
    unsetenv("KIV_DEFAULTS_FILE");
    int value = 42;
    EXPECT_EQ(vel_odbc_getDefault("C0_MinFacetsForCircleApproximations", value, true), 0);
    EXPECT_EQ(value, 42);
    setenv("KIV_DEFAULTS_FILE", "/nonexistent/defaults.txt", 1);
    EXPECT_EQ(vel_odbc_getDefault("C0_MinFacetsForCircleApproximations", value, true), 0);
    unsetenv("KIV_DEFAULTS_FILE");
}

TEST(VelOdbc, ReadsKeysValuesAndRejectsMalformedValues)
{
    DefaultsFile f("# facets\n"
                   "  C0_MinFacetsForCircleApproximations =  16 \n"
                   "; other\n"
                   "Negative=-3\n"
                   "Broken=12abc\n"
                   "Huge=99999999999\n"
                   "Negative=5\n");
    int value = 0;
    EXPECT_EQ(vel_odbc_getDefault("C0_MinFacetsForCircleApproximations", value, true), 1);
    EXPECT_EQ(value, 16);
    EXPECT_EQ(vel_odbc_getDefault(VelString("Negative"), value, true), 1);
    EXPECT_EQ(value, -3);  // the first line naming a key wins
    value = 7;
    EXPECT_EQ(vel_odbc_getDefault("Broken", value, true), 0);
    EXPECT_EQ(vel_odbc_getDefault("Huge", value, true), 0);
    EXPECT_EQ(vel_odbc_getDefault("Missing", value, true), 0);
    EXPECT_EQ(vel_odbc_getDefault("", value, true), 0);
    EXPECT_EQ(vel_odbc_getDefault(static_cast<const char*>(nullptr), value, true), 0);
    EXPECT_EQ(value, 7);
}
