// GUIDs as text: formatting with StringFromGUID2 and friends, strict parsing with IIDFromString
// and CLSIDFromString, and the well-known interface identifiers.
#include <gtest/gtest.h>
#include <windows.h>

#include <olectl.h>

#include <memory>
#include <string>

#include "support/test_desktop.h"

namespace {

const GUID kSample = {0xB69003B3, 0xC55E, 0x4B48, {0x83, 0x6C, 0xBC, 0x59, 0x46, 0xFC, 0x3B, 0x28}};

WString Text(REFGUID guid) {
  OLECHAR buffer[39];
  int written = StringFromGUID2(guid, buffer, 39);
  return written ? WString(buffer, written - 1) : WString(TEXT("<none>"));
}

TEST(ComGuidTextTest, FormatsInUpperCaseWithBracesAndCountsTheTerminator) {
  OLECHAR buffer[64];
  EXPECT_EQ(StringFromGUID2(kSample, buffer, 64), 39);
  EXPECT_EQ(WString(buffer), TEXT("{B69003B3-C55E-4B48-836C-BC5946FC3B28}"));
  EXPECT_EQ(StringFromGUID2(kSample, buffer, 38), 0);
  SKIP_ON_WINE("a null buffer is undocumented; Wine returns 39 and writes nothing");
  EXPECT_EQ(StringFromGUID2(kSample, nullptr, 39), 0);
}

TEST(ComGuidTextTest, WellKnownInterfaceIdentifiersHaveWindowsValues) {
  EXPECT_EQ(Text(IID_IUnknown), TEXT("{00000000-0000-0000-C000-000000000046}"));
  EXPECT_EQ(Text(IID_IClassFactory), TEXT("{00000001-0000-0000-C000-000000000046}"));
  EXPECT_EQ(Text(IID_IDispatch), TEXT("{00020400-0000-0000-C000-000000000046}"));
  EXPECT_EQ(Text(IID_IConnectionPointContainer), TEXT("{B196B284-BAB4-101A-B69C-00AA00341D07}"));
  EXPECT_EQ(Text(IID_IEnumConnectionPoints), TEXT("{B196B285-BAB4-101A-B69C-00AA00341D07}"));
  EXPECT_EQ(Text(IID_IConnectionPoint), TEXT("{B196B286-BAB4-101A-B69C-00AA00341D07}"));
  EXPECT_EQ(Text(IID_IEnumConnections), TEXT("{B196B287-BAB4-101A-B69C-00AA00341D07}"));
  EXPECT_EQ(Text(IID_NULL), TEXT("{00000000-0000-0000-0000-000000000000}"));
  EXPECT_TRUE(IsEqualGUID(GUID_NULL, CLSID_NULL));
}

TEST(ComGuidTextTest, StringFromClsidAllocatesTaskMemory) {
  LPOLESTR text = nullptr;
  ASSERT_EQ(StringFromCLSID(kSample, &text), S_OK);
  EXPECT_EQ(WString(text), TEXT("{B69003B3-C55E-4B48-836C-BC5946FC3B28}"));
  CoTaskMemFree(text);
  SKIP_ON_WINE("a null result pointer is undocumented; Wine dereferences it");
  EXPECT_EQ(StringFromIID(kSample, nullptr), E_INVALIDARG);
}

TEST(ComGuidParseTest, ParsesEitherCaseOfHexDigits) {
  IID iid;
  ASSERT_EQ(IIDFromString(TEXT("{b69003b3-c55e-4b48-836C-BC5946fc3b28}"), &iid), S_OK);
  EXPECT_TRUE(IsEqualIID(iid, kSample));
  CLSID clsid;
  ASSERT_EQ(CLSIDFromString(TEXT("{B69003B3-C55E-4b48-836C-BC5946FC3B28}"), &clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, kSample));
}

TEST(ComGuidParseTest, NullTextGivesTheNullGuid) {
  IID iid = kSample;
  EXPECT_EQ(IIDFromString(nullptr, &iid), S_OK);
  EXPECT_TRUE(IsEqualIID(iid, GUID_NULL));
  SKIP_ON_WINE("a null result pointer is undocumented; Wine dereferences it");
  EXPECT_EQ(IIDFromString(TEXT("{B69003B3-C55E-4B48-836C-BC5946FC3B28}"), nullptr), E_INVALIDARG);
}

TEST(ComGuidParseTest, MalformedTextIsRejectedAndLeavesTheNullGuid) {
  const WCHAR* malformed[] = {
      TEXT(""),
      TEXT("B69003B3-C55E-4B48-836C-BC5946FC3B28"),     // no braces
      TEXT("{B69003B3-C55E-4B48-836C-BC5946FC3B28"),    // no closing brace
      TEXT("{B69003B3-C55E-4B48-836C-BC5946FC3B2}"),    // one digit short
      TEXT("{B69003B3-C55E-4B48-836C-BC5946FC3B28}x"),  // text after the brace
      TEXT("{B69003B3-C55E-4B48-836CBC5946FC3B28}"),    // missing dash
      TEXT("{B69003B3-C55E-4B48-836C-BC5946FC3B2G}"),   // not hex
      TEXT("{B69003B3 C55E-4B48-836C-BC5946FC3B28}"),   // wrong separator
      TEXT("(B69003B3-C55E-4B48-836C-BC5946FC3B28)"),   // wrong brackets
      TEXT("{ B69003B3-C55E-4B48-836C-BC5946FC3B28}"),  // blank inside
  };
  for (const WCHAR* text : malformed) {
    CLSID clsid;
    EXPECT_EQ(CLSIDFromString(text, &clsid), CO_E_CLASSSTRING);
  }
  SKIP_ON_WINE(
      "IIDFromString documents E_INVALIDARG; Wine answers CO_E_IIDSTRING to some and leaves the IID half "
      "written");
  for (const WCHAR* text : malformed) {
    IID iid = kSample;
    EXPECT_EQ(IIDFromString(text, &iid), E_INVALIDARG);
    EXPECT_TRUE(IsEqualIID(iid, GUID_NULL));
  }
}

// Each prefix of a good string sits at the very end of its own heap block, so reading one
// character past its terminator would be caught by the address sanitizer.
TEST(ComGuidParseTest, TruncatedTextIsNeverReadPastItsTerminator) {
  const WString good = TEXT("{B69003B3-C55E-4B48-836C-BC5946FC3B28}");
  for (size_t length = 0; length < good.size(); ++length) {
    auto buffer = std::make_unique<OLECHAR[]>(length + 1);
    good.copy(buffer.get(), length);
    buffer[length] = 0;
    IID iid;
    EXPECT_EQ(IIDFromString(buffer.get(), &iid), E_INVALIDARG) << length;
  }
}

}  // namespace
