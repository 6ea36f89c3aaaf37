// Fault injection: counts, lasting faults, healing and names.
#include <gtest/gtest.h>

#include "world/messenger/faults.h"

namespace world::messenger {
namespace {

TEST(FaultPlanTest, FaultFailsTheGivenNumberOfTimesThenStops) {
  FaultPlan plan;
  ASSERT_TRUE(plan.Fail("get_Count", E_FAIL, 2));
  EXPECT_EQ(plan.Take("get_Count"), E_FAIL);
  EXPECT_EQ(plan.Take("Item"), std::nullopt);
  EXPECT_EQ(plan.Take("get_Count"), E_FAIL);
  EXPECT_EQ(plan.Take("get_Count"), std::nullopt);
}

TEST(FaultPlanTest, LastingFaultFailsUntilHealed) {
  FaultPlan plan;
  plan.Fail("Create", HRESULT(0x80080005), FaultPlan::kUntilHealed);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(plan.Take("Create"), HRESULT(0x80080005));
  plan.Heal();
  EXPECT_EQ(plan.Take("Create"), std::nullopt);
}

TEST(FaultPlanTest, CountZeroRemovesAFaultAndANewFaultReplacesTheOld) {
  FaultPlan plan;
  plan.Fail("Show", E_FAIL, 5);
  plan.Fail("Show", E_ACCESSDENIED, 1);
  EXPECT_EQ(plan.Take("Show"), E_ACCESSDENIED);
  EXPECT_EQ(plan.Take("Show"), std::nullopt);
  plan.Fail("Show", E_FAIL, 5);
  plan.Fail("Show", E_FAIL, 0);
  EXPECT_EQ(plan.Take("Show"), std::nullopt);
}

TEST(FaultPlanTest, UnknownNamesAndSuccessCodesAreRefused) {
  FaultPlan plan;
  EXPECT_FALSE(plan.Fail("get_Nothing", E_FAIL, 1));
  EXPECT_FALSE(plan.Fail("get_count", E_FAIL, 1));  // names are exact
  EXPECT_FALSE(plan.Fail("Show", S_FALSE, 1));
  EXPECT_FALSE(plan.VanishDuring("Quit"));
  EXPECT_TRUE(FaultPlan::IsKnownOperation("FindConnectionPoint"));
}

TEST(FaultPlanTest, VanishingAndArgumentFaultsHappenOnceAndHealClearsThem) {
  FaultPlan plan;
  plan.VanishDuring("get_History");
  plan.CorruptNextWindowArgument(3);
  EXPECT_FALSE(plan.TakeVanish("Close"));
  EXPECT_TRUE(plan.TakeVanish("get_History"));
  EXPECT_FALSE(plan.TakeVanish("get_History"));
  EXPECT_EQ(plan.TakeWindowArgumentCorruption(), 3);
  EXPECT_EQ(plan.TakeWindowArgumentCorruption(), std::nullopt);
  plan.VanishDuring("Close");
  plan.CorruptNextWindowArgument(3);
  plan.Heal();
  EXPECT_FALSE(plan.TakeVanish("Close"));
  EXPECT_EQ(plan.TakeWindowArgumentCorruption(), std::nullopt);
}

}  // namespace
}  // namespace world::messenger
