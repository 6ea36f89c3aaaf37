// GUIDs as text: formatting with StringFromGUID2 and friends, strict parsing with IIDFromString
// and CLSIDFromString, and the well-known interface identifiers.
#include <gtest/gtest.h>
#include <olectl.h>

#include <memory>
#include <string>

namespace {

const GUID kSample = {0xB69003B3, 0xC55E, 0x4B48, {0x83, 0x6C, 0xBC, 0x59, 0x46, 0xFC, 0x3B, 0x28}};

std::u16string Text(REFGUID guid) {
  OLECHAR buffer[39];
  int written = StringFromGUID2(guid, buffer, 39);
  return written ? std::u16string(buffer, written - 1) : std::u16string(u"<none>");
}

TEST(ComGuidTextTest, FormatsInUpperCaseWithBracesAndCountsTheTerminator) {
  OLECHAR buffer[64];
  EXPECT_EQ(StringFromGUID2(kSample, buffer, 64), 39);
  EXPECT_EQ(std::u16string(buffer), u"{B69003B3-C55E-4B48-836C-BC5946FC3B28}");
  EXPECT_EQ(StringFromGUID2(kSample, buffer, 38), 0);
  EXPECT_EQ(StringFromGUID2(kSample, nullptr, 39), 0);
}

TEST(ComGuidTextTest, WellKnownInterfaceIdentifiersHaveWindowsValues) {
  EXPECT_EQ(Text(IID_IUnknown), u"{00000000-0000-0000-C000-000000000046}");
  EXPECT_EQ(Text(IID_IClassFactory), u"{00000001-0000-0000-C000-000000000046}");
  EXPECT_EQ(Text(IID_IDispatch), u"{00020400-0000-0000-C000-000000000046}");
  EXPECT_EQ(Text(IID_IConnectionPointContainer), u"{B196B284-BAB4-101A-B69C-00AA00341D07}");
  EXPECT_EQ(Text(IID_IEnumConnectionPoints), u"{B196B285-BAB4-101A-B69C-00AA00341D07}");
  EXPECT_EQ(Text(IID_IConnectionPoint), u"{B196B286-BAB4-101A-B69C-00AA00341D07}");
  EXPECT_EQ(Text(IID_IEnumConnections), u"{B196B287-BAB4-101A-B69C-00AA00341D07}");
  EXPECT_EQ(Text(IID_NULL), u"{00000000-0000-0000-0000-000000000000}");
  EXPECT_TRUE(IsEqualGUID(GUID_NULL, CLSID_NULL));
}

TEST(ComGuidTextTest, StringFromClsidAllocatesTaskMemory) {
  LPOLESTR text = nullptr;
  ASSERT_EQ(StringFromCLSID(kSample, &text), S_OK);
  EXPECT_EQ(std::u16string(text), u"{B69003B3-C55E-4B48-836C-BC5946FC3B28}");
  CoTaskMemFree(text);
  EXPECT_EQ(StringFromIID(kSample, nullptr), E_INVALIDARG);
}

TEST(ComGuidParseTest, ParsesEitherCaseOfHexDigits) {
  IID iid;
  ASSERT_EQ(IIDFromString(u"{b69003b3-c55e-4b48-836C-BC5946fc3b28}", &iid), S_OK);
  EXPECT_TRUE(IsEqualIID(iid, kSample));
  CLSID clsid;
  ASSERT_EQ(CLSIDFromString(u"{B69003B3-C55E-4b48-836C-BC5946FC3B28}", &clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, kSample));
}

TEST(ComGuidParseTest, NullTextGivesTheNullGuid) {
  IID iid = kSample;
  EXPECT_EQ(IIDFromString(nullptr, &iid), S_OK);
  EXPECT_TRUE(IsEqualIID(iid, GUID_NULL));
  EXPECT_EQ(IIDFromString(u"{B69003B3-C55E-4B48-836C-BC5946FC3B28}", nullptr), E_INVALIDARG);
}

TEST(ComGuidParseTest, MalformedTextIsRejectedAndLeavesTheNullGuid) {
  const char16_t* malformed[] = {
      u"",
      u"B69003B3-C55E-4B48-836C-BC5946FC3B28",     // no braces
      u"{B69003B3-C55E-4B48-836C-BC5946FC3B28",    // no closing brace
      u"{B69003B3-C55E-4B48-836C-BC5946FC3B2}",    // one digit short
      u"{B69003B3-C55E-4B48-836C-BC5946FC3B28}x",  // text after the brace
      u"{B69003B3-C55E-4B48-836CBC5946FC3B28}",    // missing dash
      u"{B69003B3-C55E-4B48-836C-BC5946FC3B2G}",   // not hex
      u"{B69003B3 C55E-4B48-836C-BC5946FC3B28}",   // wrong separator
      u"(B69003B3-C55E-4B48-836C-BC5946FC3B28)",   // wrong brackets
      u"{ B69003B3-C55E-4B48-836C-BC5946FC3B28}",  // blank inside
  };
  for (const char16_t* text : malformed) {
    IID iid = kSample;
    EXPECT_EQ(IIDFromString(text, &iid), CO_E_IIDSTRING);
    EXPECT_TRUE(IsEqualIID(iid, GUID_NULL));
    CLSID clsid;
    EXPECT_EQ(CLSIDFromString(text, &clsid), CO_E_CLASSSTRING);
  }
}

// Each prefix of a good string sits at the very end of its own heap block, so reading one
// character past its terminator would be caught by the address sanitizer.
TEST(ComGuidParseTest, TruncatedTextIsNeverReadPastItsTerminator) {
  const std::u16string good = u"{B69003B3-C55E-4B48-836C-BC5946FC3B28}";
  for (size_t length = 0; length < good.size(); ++length) {
    auto buffer = std::make_unique<OLECHAR[]>(length + 1);
    good.copy(buffer.get(), length);
    buffer[length] = 0;
    IID iid;
    EXPECT_EQ(IIDFromString(buffer.get(), &iid), CO_E_IIDSTRING) << length;
  }
}

}  // namespace
