// The recency of phrase sets in history text, which decides ringing, talking and ready.
#include <gtest/gtest.h>

#include "monitor/phrase_recency.h"

namespace {

CPhrase P(const char16_t* s) { return CPhrase(reinterpret_cast<const WCHAR*>(s)); }

DWORD Recency(const char16_t* text, std::vector<CPhrase> phrases) {
  CPhrase t = P(text);
  return FindRecency(t.data(), t.size(), phrases);
}

TEST(PhraseRecencyTest, DistanceRunsFromThePhrasesStartToTheEndOfTheText) {
  EXPECT_EQ(Recency(u"xx ring yy", {P(u"ring")}), 7u);
  EXPECT_EQ(Recency(u"ring", {P(u"ring")}), 4u);
}

TEST(PhraseRecencyTest, NoOccurrenceIsNone) {
  EXPECT_EQ(Recency(u"nothing here", {P(u"ring")}), RECENCY_NONE);
  EXPECT_EQ(Recency(u"", {P(u"ring")}), RECENCY_NONE);
  EXPECT_EQ(Recency(u"ring", {}), RECENCY_NONE);
}

TEST(PhraseRecencyTest, APhraseCountsByItsLaterOccurrence) {
  EXPECT_EQ(Recency(u"ring .. ring ..", {P(u"ring")}), 7u);
}

TEST(PhraseRecencyTest, TheSmallestDistanceOverThePhrasesWins) {
  EXPECT_EQ(Recency(u"ended ... declined .", {P(u"ended"), P(u"declined")}), 10u);
}

TEST(PhraseRecencyTest, OccurrencesMayOverlapByOneCharacterOnly) {
  // "aba" at 0 and 2 share one character: both are seen.
  EXPECT_EQ(Recency(u"ababa", {P(u"aba")}), 3u);
  // "aaa" at 0, then the search goes on from offset 2, where "aa" is too short: the
  // occurrence at offset 1 overlaps by two characters and is not seen.
  EXPECT_EQ(Recency(u"aaaa", {P(u"aaa")}), 4u);
}

TEST(PhraseRecencyTest, AOneCharacterPhraseIsFoundByItsLastOccurrence) {
  EXPECT_EQ(Recency(u"x.x.x", {P(u"x")}), 1u);
  EXPECT_EQ(Recency(u"xxxx", {P(u"x")}), 1u);
}

TEST(PhraseRecencyTest, MatchingIsCaseSensitiveAndExact) {
  EXPECT_EQ(Recency(u"RING", {P(u"ring")}), RECENCY_NONE);
  EXPECT_EQ(Recency(u"möchte ein Sprachgespräch", {P(u"Sprachgespräch")}), 14u);
}

TEST(PhraseRecencyTest, KmpFallbackFindsMatchesAfterPartialOnes) {
  EXPECT_EQ(Recency(u"aabaabaaab", {P(u"aaab")}), 4u);
  EXPECT_EQ(FindLastOccurrence(P(u"abcabd").data(), 6, P(u"abd")), 3);
}

}  // namespace
