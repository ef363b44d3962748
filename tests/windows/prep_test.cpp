#include "main/reference_texts.h"

#include <gtest/gtest.h>

TEST(RebarAreaTable, FirstRow)
{
    EXPECT_NE(kj::rebarAreaText().find("  6   28   57   85  113  141   6  170  198  226  254 0.222    6"),
              std::string::npos);
}
