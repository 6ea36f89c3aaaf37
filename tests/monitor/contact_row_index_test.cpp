// What a rebuild of the contact list knows of its rows: it may only say "no such row" when a walk
// comparing every row's sign-in name with StrCmpIW would find none, and it places rows where
// that walk would.
#include <gtest/gtest.h>

#include <sim/desktop.h>

#include "monitor/contact_row_index.h"

namespace {

LPCWSTR W(const char16_t* s) { return reinterpret_cast<LPCWSTR>(s); }

class ContactRowIndexTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
  CContactRowIndex index;  // an empty list: the separator alone, at row 0

  // Adds a row as the rebuild does and returns where it went.
  int Add(bool online, const char16_t* friendly, const char16_t* signin) {
    auto place = index.Place(online, W(friendly), onlineCount, rows);
    index.Inserted(place, W(friendly), W(signin));
    if (online) ++onlineCount;
    ++rows;
    return place.row;
  }
  DWORD onlineCount = 0;
  int rows = 1;
};

TEST_F(ContactRowIndexTest, KnowsThatNoRowHasANameItNeverSaw) {
  EXPECT_FALSE(index.MayHaveRow(W(u"bob@example.com")));
  EXPECT_FALSE(index.MayHaveRow(W(u"")));
  Add(true, u"Bob", u"Bob@Example.com");
  EXPECT_TRUE(index.MayHaveRow(W(u"bob@example.com")));
  EXPECT_TRUE(index.MayHaveRow(W(u"BOB@EXAMPLE.COM")));
  EXPECT_FALSE(index.MayHaveRow(W(u"bob@example.org")));
  EXPECT_FALSE(index.MayHaveRow(W(u"bo@example.com")));
}

// Names with other characters may equal a name in ways a simple lower-case form does not show
// (ignorable characters, other scripts): those are compared as the walk compares.
TEST_F(ContactRowIndexTest, NamesBeyondPlainMailAddressesAreComparedAsTheWalkDoes) {
  Add(true, u"Ann", u"ann\u0001@example.com");
  EXPECT_TRUE(index.MayHaveRow(W(u"ann@example.com")));
  EXPECT_TRUE(index.MayHaveRow(W(u"ÄNN@example.com")));
  Add(true, u"Zoë", u"ZOË@example.com");
  EXPECT_TRUE(index.MayHaveRow(W(u"zoë@example.com")));
  EXPECT_FALSE(index.MayHaveRow(W(u"zed@example.com")));
}

// Rows are compared on the first 255 characters of their sign-in names.
TEST_F(ContactRowIndexTest, LongNamesAreKnownAsTheRowGivesThemBack) {
  std::u16string longName(300, u'a');
  Add(false, u"Long", longName.c_str());
  EXPECT_TRUE(index.MayHaveRow(W(longName.substr(0, 255).c_str())));
  EXPECT_FALSE(index.MayHaveRow(W(longName.substr(0, 254).c_str())));
}

TEST_F(ContactRowIndexTest, PlacesRowsAsTheWalkOverFirstCharactersDoes) {
  EXPECT_EQ(Add(true, u"Carl", u"c@x"), 0);
  EXPECT_EQ(Add(true, u"bob", u"b@x"), 0);    // before "C"
  EXPECT_EQ(Add(true, u"Bert", u"bt@x"), 1);  // after "b", before "C"
  EXPECT_EQ(Add(true, u"B", u"b1@x"), 0);     // equal to "b": before it
  EXPECT_EQ(Add(true, u"Dora", u"d@x"), 4);   // after everything: just above the separator
  EXPECT_EQ(Add(false, u"zed", u"z@x"), 6);   // the offline part starts below the separator
  EXPECT_EQ(Add(false, u"al", u"a@x"), 6);
  EXPECT_EQ(Add(false, u"Zoe", u"zo@x"), 8);  // after "z": the end
}

}  // namespace
