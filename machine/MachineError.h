#pragma once
// An error of the machine path: a block that a machine would refuse, or whose path cannot be
// known. The message names the problem; the reader adds the line.

#include "common/Error.h"

class EMachineError : public EZorvitError
{
public:
    using EZorvitError::EZorvitError;
};
