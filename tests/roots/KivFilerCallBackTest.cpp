#include "roots/KivFileFilerCallBack.h"
#include "roots/KivMemoryFilerCallBack.h"

#include <gtest/gtest.h>

#include <string>

TEST(KivMemoryFilerCallBack, RoundTripAndShortRead)
{
    KivMemoryFilerCallBack filer;
    const double value = 2.5;
    const int count = 3;
    ASSERT_TRUE(filer.saveBytes(&value, sizeof value));
    ASSERT_TRUE(filer.saveBytes(&count, sizeof count));
    EXPECT_TRUE(filer.saveBytes(nullptr, 0));
    EXPECT_FALSE(filer.saveBytes(nullptr, 4));
    EXPECT_FALSE(filer.saveBytes(&count, -1));
    EXPECT_EQ(filer.bytes().size(), sizeof value + sizeof count);

    double v = 0;
    int c = 0;
    ASSERT_TRUE(filer.restoreBytes(&v, sizeof v));
    ASSERT_TRUE(filer.restoreBytes(&c, sizeof c));
    EXPECT_EQ(v, 2.5);
    EXPECT_EQ(c, 3);
    // Nothing left: a further read fails and does not move the cursor.
    EXPECT_FALSE(filer.restoreBytes(&c, 1));
    EXPECT_EQ(filer.readPosition(), filer.bytes().size());
    filer.rewind();
    EXPECT_TRUE(filer.restoreBytes(&v, sizeof v));
}

TEST(KivFileFilerCallBack, RoundTripThroughAFileAndWrongDirection)
{
    const VelString path((std::string(KIV_TEST_TMPDIR) + "/filer.bin").c_str());
    {
        KivFileFilerCallBack out(path, KivFileFilerCallBack::eWrite);
        ASSERT_TRUE(out.isOpen());
        const int data[3] = {1, -2, 300000};
        EXPECT_TRUE(out.saveBytes(data, sizeof data));
        int tmp = 0;
        EXPECT_FALSE(out.restoreBytes(&tmp, sizeof tmp));  // write-only channel
        EXPECT_TRUE(out.close());
    }
    KivFileFilerCallBack in(path, KivFileFilerCallBack::eRead);
    ASSERT_TRUE(in.isOpen());
    int back[3] = {0, 0, 0};
    EXPECT_FALSE(in.saveBytes(back, sizeof back));  // read-only channel
    ASSERT_TRUE(in.restoreBytes(back, sizeof back));
    EXPECT_EQ(back[2], 300000);
    EXPECT_FALSE(in.restoreBytes(back, 1));  // past the end

    KivFileFilerCallBack missing(VelString("/nonexistent/dir/file.bin"), KivFileFilerCallBack::eRead);
    EXPECT_FALSE(missing.isOpen());
    EXPECT_FALSE(missing.restoreBytes(back, 1));
}
