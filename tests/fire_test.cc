#include "combat/fire.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

constexpr std::int64_t kOverwhelming = 2;
constexpr std::int64_t kResilience = 4;
constexpr std::int64_t kAttackerNone = 7;
constexpr std::int64_t kDefenderNone = 6;

TEST(Fire, FactorTableFromMinusEightToFifteen) {
  // Columns d = -8 .. 15.
  const std::int64_t standardKill[] = {-1, 0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                       11, 11, 11, 12, 12, 13, 13, 13, 14, 14, 15, 15};
  const std::int64_t standardSuppression[] = {-6, -5, -4, -3, -2, -1, 0,  1,
                                              2,  3,  4,  5,  6,  7,  8,  9,
                                              10, 11, 12, 13, 14, 15, 16, 17};
  const std::int64_t artilleryKill[] = {-6, -5, -4, -3, -2, -1, 0, 1, 2, 3, 4,  5,
                                        6,  6,  6,  7,  7,  8,  8, 8, 9, 9, 10, 10};
  const std::int64_t artillerySuppression[] = {1,  2,  3,  4,  5,  6,  7,  7,
                                               7,  8,  8,  9,  9,  9,  10, 10,
                                               11, 11, 11, 12, 12, 13, 13, 13};
  for (std::int64_t d = -8; d <= 15; ++d) {
    SCOPED_TRACE(d);
    const std::size_t i = static_cast<std::size_t>(d + 8);
    EXPECT_EQ(killFactor(d, FireFamily::standard), standardKill[i]);
    EXPECT_EQ(suppressionFactor(d, FireFamily::standard), standardSuppression[i]);
    EXPECT_EQ(killFactor(d, FireFamily::artillery), artilleryKill[i]);
    EXPECT_EQ(suppressionFactor(d, FireFamily::artillery), artillerySuppression[i]);
  }
}

struct ScaleCase {
  std::int64_t factor;
  std::int64_t strength;
  Scaling rule;
  std::int64_t expected;
};

TEST(Fire, ScalingRules) {
  using enum Scaling;
  const std::vector<ScaleCase> cases = {
      // truncated: toward zero
      {29, 1, truncated, 1},     {-5, 2, truncated, 0},     {-3, 10, truncated, -1},
      {7, 10, truncated, 3},     {-19, 1, truncated, 0},    {-1, 20, truncated, -1},
      // rounded: a half added, then toward zero
      {1, 10, rounded, 1},       {3, 10, rounded, 2},       {29, 1, rounded, 1},
      {-1, 10, rounded, 0},      {-3, 10, rounded, -1},     {-9, 5, rounded, -1},
      {-5, 10, rounded, -2},     {-31, 1, rounded, -1},     {7, 10, rounded, 4},
      // wholeRounded: a negative whole quotient moves one toward zero
      {3, 10, wholeRounded, 1},  {-3, 10, wholeRounded, 0}, {-9, 5, wholeRounded, -1},
      {29, 1, wholeRounded, 1},  {-19, 1, wholeRounded, 0}, {-6, 10, wholeRounded, -2},
      // a zero strength or factor gives nothing
      {11, 0, rounded, 0},       {0, 10, wholeRounded, 0},
  };
  for (const ScaleCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.factor << " x " << c.strength << " rule "
                                    << static_cast<int>(c.rule));
    EXPECT_EQ(scaleByStrength(c.factor, c.strength, c.rule), c.expected);
  }
}

TEST(Fire, QuarterShareRoundsTowardZero) {
  const std::vector<std::pair<std::int64_t, std::int64_t>> cases = {
      {-10, -2}, {-9, -1}, {-6, -1}, {-5, 0}, {-3, 0}, {0, 0}, {1, 0},
      {2, 1},    {5, 1},   {6, 2},   {9, 2},  {10, 3}};
  for (const auto& [x, share] : cases) {
    SCOPED_TRACE(x);
    EXPECT_EQ(quarterShare(x), share);
  }
}

struct TransferCase {
  const char* name;
  FireResult before;
  std::int64_t shooter;
  std::int64_t target;
  FireResult after;
};

TEST(Fire, LeaderTransfers) {
  const std::vector<TransferCase> cases = {
      {"overwhelming attack", {5, 6}, kOverwhelming, kDefenderNone, {7, 4}},
      {"resilience", {5, 6}, kAttackerNone, kResilience, {4, 7}},
      {"both exclude each other", {5, 6}, kOverwhelming, kResilience, {5, 6}},
      {"choices on the wrong sides", {5, 6}, kResilience, kOverwhelming, {5, 6}},
      {"neither", {5, 6}, 1, 3, {5, 6}},
      // the share of a negative figure is taken toward zero
      {"overwhelming, negative", {-2, -7}, kOverwhelming, kAttackerNone, {-3, -6}},
      {"resilience, negative", {-6, -16}, kAttackerNone, kResilience, {-5, -17}},
      {"small figures move nothing", {1, 1}, kOverwhelming, kDefenderNone, {1, 1}},
  };
  for (const TransferCase& c : cases) {
    SCOPED_TRACE(c.name);
    const FireResult fire = applyLeaderTransfers(c.before, c.shooter, c.target);
    EXPECT_EQ(fire.losses, c.after.losses);
    EXPECT_EQ(fire.suppression, c.after.suppression);
  }
}

struct ResolveCase {
  const char* name;
  std::int64_t d;
  std::int64_t strength;
  FireFamily family;
  Scaling rule;
  std::int64_t shooter;
  std::int64_t target;
  std::int64_t losses;
  std::int64_t suppression;
};

TEST(Fire, ResolveFireWorkedExamples) {
  using enum FireFamily;
  using enum Scaling;
  const std::vector<ResolveCase> cases = {
      {"standard d 0", 0, 10, standard, truncated, 7, 6, 3, 1},
      {"artillery d 0", 0, 10, artillery, rounded, 7, 6, 1, 4},
      {"very poor difference", -10, 40, standard, truncated, 7, 6, -6, -16},
      {"tank at infantry", 6, 10, standard, truncated, 7, 6, 5, 4},
      {"infantry answers", 2, 8, standard, truncated, 6, 7, 3, 1},
      {"half strength under cloud", 6, 7, standard, truncated, 3, 7, 3, 2},
      // a supporting piece: -30/20 raised to 0, 40/20 = 2, then a share of 1
      {"artillery piece", -5, 10, artillery, wholeRounded, 2, 7, 1, 1},
      {"artillery piece, target resilient", -5, 10, artillery, wholeRounded, 2, 4, 0, 2},
      {"shooter resilience is nothing", 0, 20, standard, truncated, 4, 2, 7, 2},
  };
  for (const ResolveCase& c : cases) {
    SCOPED_TRACE(c.name);
    const FireResult fire =
        resolveFire(c.d, c.strength, c.family, c.rule, c.shooter, c.target);
    EXPECT_EQ(fire.losses, c.losses);
    EXPECT_EQ(fire.suppression, c.suppression);
  }
}

TEST(Fire, HugeDifferencesAndStrengthsStayExactOrHeldAtTheEnds) {
  using enum FireFamily;
  using enum Scaling;
  // (4 * 4e11 - 16) / 10 + 11 = 160000000009; times 1e9 passes 64 bits before
  // the division by 20 but the quotient fits.
  EXPECT_EQ(killFactor(400000000000, standard), 160000000009);
  EXPECT_EQ(killFactor(400000000000, artillery), 160000000004);
  EXPECT_EQ(suppressionFactor(400000000000, artillery), 160000000007);
  FireResult fire = resolveFire(400000000000, 1000000000, standard, truncated,
                                kAttackerNone, kDefenderNone);
  EXPECT_EQ(fire.losses, 8000000000450000000);
  EXPECT_EQ(fire.suppression, kMax);  // 2.00000000001e19 does not fit

  fire = resolveFire(-400000000000, 1000000000, standard, truncated,
                     kAttackerNone, kDefenderNone);
  EXPECT_EQ(fire.losses, kMin);
  EXPECT_EQ(fire.suppression, kMin);
  fire = resolveFire(-400000000000, 1000000000, artillery, rounded,
                     kAttackerNone, kDefenderNone);
  EXPECT_EQ(fire.losses, kMin);
  EXPECT_EQ(fire.suppression, kMin);

  // The ends of the 64-bit range themselves.
  EXPECT_EQ(suppressionFactor(kMax, standard), kMax);
  EXPECT_EQ(killFactor(kMin, standard), kMin + 7);
  EXPECT_EQ(suppressionFactor(kMin, artillery), kMin + 9);
  EXPECT_GT(killFactor(kMax, standard), 0);
  EXPECT_GT(killFactor(kMax, artillery), 0);
  for (const Scaling rule : {truncated, rounded, wholeRounded}) {
    SCOPED_TRACE(static_cast<int>(rule));
    EXPECT_EQ(scaleByStrength(kMax, kMax, rule), kMax);
    EXPECT_EQ(scaleByStrength(kMin, kMax, rule), kMin);
    EXPECT_EQ(scaleByStrength(kMin, kMin, rule), kMax);
    EXPECT_EQ(scaleByStrength(kMax, 1, rule), kMax / 20);
  }
  EXPECT_EQ(quarterShare(kMax), kMax / 4 + 1);
  EXPECT_EQ(quarterShare(kMin), kMin / 4 + 1);

  // Transfers on held figures keep their signs.
  fire = resolveFire(kMax, kMax, standard, truncated, kOverwhelming, kDefenderNone);
  EXPECT_EQ(fire.losses, kMax);
  EXPECT_GT(fire.suppression, 0);
  fire = resolveFire(kMin, kMax, standard, truncated, kAttackerNone, kResilience);
  EXPECT_LT(fire.losses, 0);
  EXPECT_EQ(fire.suppression, kMin);
}

}  // namespace
