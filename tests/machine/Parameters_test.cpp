#include "machine/Parameters.h"

#include <gtest/gtest.h>

#include "machine/MachineError.h"

namespace {

class TParametersTest : public testing::Test
{
protected:
    TParameters FParameters;
};

TEST_F(TParametersTest, NumberedRangeIsOneToLinuxCncLast)
{
    FParameters.SetNumbered(1, 1.5);
    FParameters.SetNumbered(TParameters::kLastNumbered, 2.5);
    EXPECT_EQ(FParameters.Numbered(1), 1.5);
    EXPECT_EQ(FParameters.Numbered(TParameters::kLastNumbered), 2.5);
    for (int index : {0, -1, TParameters::kLastNumbered + 1}) {
        EXPECT_THROW(FParameters.Numbered(index), EMachineError) << index;
        EXPECT_THROW(FParameters.SetNumbered(index, 1), EMachineError) << index;
    }
}

TEST_F(TParametersTest, CoordinateSystemNamesFollowNumber)
{
    const double expected[] = {540, 550, 560, 570, 580, 590, 591, 592, 593};
    for (int system = 1; system <= TParameters::kCoordinateSystems; ++system) {
        FParameters.SetNumbered(TParameters::kCoordinateSystem, system);
        EXPECT_EQ(FParameters.Named("_coord_system"), expected[system - 1]) << system;
    }
}

TEST_F(TParametersTest, OffsetsLiveInLinuxCncNumbers)
{
    FParameters.SetCoordinateOffset(2, 1, 7);                            // G55 Y
    FParameters.SetCoordinateOffset(9, TParameters::kRotationSlot, 30);  // G59.3 R
    EXPECT_EQ(FParameters.Numbered(5242), 7);
    EXPECT_EQ(FParameters.Numbered(5390), 30);
    EXPECT_THROW(FParameters.SetCoordinateOffset(10, 0, 1), EMachineError);
}

TEST_F(TParametersTest, PositionAndToolReadAsPredefinedNames)
{
    FParameters.SetNumbered(TParameters::kPosition + 2, -4);  // Z
    FParameters.SetNumbered(TParameters::kToolNumber, 3);
    EXPECT_EQ(FParameters.Named("_z"), -4);
    EXPECT_EQ(FParameters.Named("_current_tool"), 3);
}

TEST_F(TParametersTest, MachineStateNamesAskTheHook)
{
    EXPECT_EQ(FParameters.Named("_metric"), 0);  // no machine: nothing known
    FParameters.SetPredefinedSource([](TPredefined name) {
        return name == TPredefined::Metric ? 1.0 : name == TPredefined::Feed ? 250.0 : 0.0;
    });
    EXPECT_EQ(FParameters.Named("_metric"), 1);
    EXPECT_EQ(FParameters.Named("_feed"), 250);
    EXPECT_TRUE(FParameters.NamedExists("_feed"));
}

TEST_F(TParametersTest, PredefinedNamesAreReadOnly)
{
    for (const char* name : {"_x", "_a", "_value", "_metric", "_line"}) {
        try {
            FParameters.SetNamed(name, 1);
            ADD_FAILURE() << name;
        } catch (const EMachineError& error) {
            EXPECT_EQ(error.what(),
                      "Cannot assign to read-only parameter #<" + std::string(name) + ">");
        }
    }
    for (const char* name : {"_xx", "x"})
        EXPECT_NO_THROW(FParameters.SetNamed(name, 1)) << name;
}

TEST_F(TParametersTest, NamesNeverSetAreErrorsAndDoNotExist)
{
    EXPECT_FALSE(FParameters.NamedExists("depth"));
    EXPECT_FALSE(FParameters.NamedExists("_depth"));
    EXPECT_THROW(FParameters.Named("depth"), EMachineError);
    FParameters.SetNamed("_depth", 2);
    EXPECT_EQ(FParameters.Named("_depth"), 2);
}

TEST_F(TParametersTest, CallArgumentsAreLocalAndUnsetOnesReadZero)
{
    for (int i = 1; i <= 31; ++i)
        FParameters.SetNumbered(i, 100 + i);
    const double arguments[] = {1, 2};
    FParameters.Call(arguments, 2);
    EXPECT_EQ(FParameters.CallLevel(), 1);
    EXPECT_EQ(FParameters.Named("_call_level"), 1);
    EXPECT_EQ(FParameters.Numbered(1), 1);
    EXPECT_EQ(FParameters.Numbered(2), 2);
    EXPECT_EQ(FParameters.Numbered(3), 0);
    EXPECT_EQ(FParameters.Numbered(30), 0);
    EXPECT_EQ(FParameters.Numbered(31), 131);  // not an argument: shared
    FParameters.SetNumbered(3, 9);
    FParameters.SetNumbered(31, 4);
    FParameters.Return(std::nullopt);
    EXPECT_EQ(FParameters.CallLevel(), 0);
    EXPECT_EQ(FParameters.Numbered(3), 103);
    EXPECT_EQ(FParameters.Numbered(30), 130);
    EXPECT_EQ(FParameters.Numbered(31), 4);
}

TEST_F(TParametersTest, NamedLocalsBelongToTheirCall)
{
    FParameters.SetNamed("loc", 3);
    FParameters.SetNamed("_glob", 1);
    FParameters.Call(nullptr, 0);
    EXPECT_FALSE(FParameters.NamedExists("loc"));  // the main program's locals are not seen
    EXPECT_EQ(FParameters.Named("_glob"), 1);
    FParameters.SetNamed("loc", 4);
    FParameters.SetNamed("inner", 5);
    FParameters.SetNamed("_glob", 2);
    FParameters.Call(nullptr, 0);  // recursion: a fresh scope again
    EXPECT_FALSE(FParameters.NamedExists("inner"));
    FParameters.Return(std::nullopt);
    EXPECT_EQ(FParameters.Named("inner"), 5);
    FParameters.Return(std::nullopt);
    EXPECT_EQ(FParameters.Named("loc"), 3);
    EXPECT_FALSE(FParameters.NamedExists("inner"));
    EXPECT_EQ(FParameters.Named("_glob"), 2);
    // a scope used again starts empty
    FParameters.Call(nullptr, 0);
    EXPECT_FALSE(FParameters.NamedExists("inner"));
}

TEST_F(TParametersTest, ReturnValueIsKeptUntilTheNextCall)
{
    FParameters.Call(nullptr, 0);
    FParameters.Return(12);
    EXPECT_EQ(FParameters.Named("_value"), 12);
    EXPECT_EQ(FParameters.Named("_value_returned"), 1);
    FParameters.Call(nullptr, 0);
    EXPECT_EQ(FParameters.Named("_value_returned"), 0);
    FParameters.Return(std::nullopt);
    EXPECT_EQ(FParameters.Named("_value"), 0);
    EXPECT_EQ(FParameters.Named("_value_returned"), 0);
    EXPECT_THROW(FParameters.Return(1), EMachineError);  // the main program is not a call
}

}  // namespace
