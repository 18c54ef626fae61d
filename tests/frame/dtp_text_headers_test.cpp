// The header tests that decide the Macintosh pass.
#include "frame/dtp_text_headers.h"

#include <gtest/gtest.h>

namespace {

using tessel::frame::pageMakerHeaderNamesMac;
using tessel::frame::xpressHeaderIsMacintosh;

TEST(DtpTextHeaders, PageMaker) {
    EXPECT_TRUE(pageMakerHeaderNamesMac("<PMTags1.0 mac>"));
    EXPECT_TRUE(pageMakerHeaderNamesMac("<PMTags2.0 MAC><@Body:>text"));
    EXPECT_FALSE(pageMakerHeaderNamesMac("<PMTags1.0 win>"));
    EXPECT_FALSE(pageMakerHeaderNamesMac("<pmtags1.0 mac>")) << "the tag is case-sensitive";
    EXPECT_FALSE(pageMakerHeaderNamesMac("<PMTags1.0 mac"));
    EXPECT_FALSE(pageMakerHeaderNamesMac(" <PMTags1.0 mac>"));
    // Only the first ">" counts.
    EXPECT_FALSE(pageMakerHeaderNamesMac("<PMTags1.0 win><mac>"));
    EXPECT_FALSE(pageMakerHeaderNamesMac("<PMTags>"));
}

TEST(DtpTextHeaders, QuarkXPress) {
    EXPECT_TRUE(xpressHeaderIsMacintosh("<v4.00><e0>", ""));
    EXPECT_TRUE(xpressHeaderIsMacintosh("<v1.70><e0>@Normal=<>", ""));
    EXPECT_FALSE(xpressHeaderIsMacintosh("<v4.00><e1>", ""));
    EXPECT_FALSE(xpressHeaderIsMacintosh("<v4.00><e", ""));
    EXPECT_FALSE(xpressHeaderIsMacintosh("<v4.00", ""));
    EXPECT_FALSE(xpressHeaderIsMacintosh("<v4.00>", ""));
    EXPECT_FALSE(xpressHeaderIsMacintosh("@Normal=<e0>", ""));
    // A comment line first: the header is the second line.
    EXPECT_TRUE(xpressHeaderIsMacintosh("#comment", "<v4.00><e0>"));
    EXPECT_FALSE(xpressHeaderIsMacintosh("#comment", "<v4.00><e1>"));
    EXPECT_FALSE(xpressHeaderIsMacintosh("comment", "<v4.00><e0>"));
    // The encoding tag is looked for after the first ">" only.
    EXPECT_FALSE(xpressHeaderIsMacintosh("<v<e0>4.00>", ""));
}

}  // namespace
