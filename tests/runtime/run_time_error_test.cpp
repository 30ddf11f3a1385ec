// SPDX-License-Identifier: MIT
#include "runtime/run_time_error.h"

#include <gtest/gtest.h>

namespace vantoril {
namespace {

TEST(RunTimeError, CarriesKindNumberAndUsualText)
{
    EXPECT_STREQ(RunTimeError(ErrorKind::TypeMismatch).what(), "Run-time error '13': Type mismatch");
    EXPECT_STREQ(RunTimeError(ErrorKind::Overflow).what(), "Run-time error '6': Overflow");
    const RunTimeError fault(ErrorKind::ArithmeticFault);
    EXPECT_EQ(fault.kind(), ErrorKind::ArithmeticFault);
    EXPECT_EQ(std::string(fault.what()).rfind("Run-time error '16': Arithmetic fault", 0), 0u);
}

} // namespace
} // namespace vantoril
