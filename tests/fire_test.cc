#include "combat/fire.h"

#include <gtest/gtest.h>

TEST(Fire, placeholder) { EXPECT_EQ(killFactor(4, FireFamily::standard), 11); }
